// The rows of the "Roast history": one saved roast a row (start, profile,
// bean, duration, end temperature, weight loss) over the summaries read of
// the roasts folder. Rows are merged in as summaries come: a roast already
// listed is updated in its place, so a second reading of the folder moves
// nothing that did not change.
#pragma once

#include <QAbstractTableModel>
#include <QDate>
#include <QString>
#include <memory>
#include <unordered_map>
#include <vector>

#include "roast_summary.h"

class RoastHistoryModel : public QAbstractTableModel {
public:
    enum Column { kStart, kProfile, kBean, kDuration, kEndTemperature, kWeightLoss, kColumns };
    // The roast's file, on every cell; and what is wrong with it, for a log
    // that does not read (empty for one that does).
    static constexpr int kPathRole = Qt::UserRole + 2;
    static constexpr int kProblemRole = Qt::UserRole + 3;
    // True for a followed roast that kept its steering as a program.
    static constexpr int kSteeredRole = Qt::UserRole + 4;

    using Summary = std::shared_ptr<const RoastSummary>;

    explicit RoastHistoryModel(QObject* parent = nullptr);

    // Temperatures in °C (true) or °F.
    void SetCelsius(bool celsius);

    // A reading of the folder begins: what it does not list again goes at
    // its end (RemoveUnlisted).
    void BeginListing();
    // Adds the summaries' roasts, or updates those already listed.
    void Merge(const std::vector<Summary>& summaries);
    // The listing is whole: roasts it did not list are gone.
    void RemoveUnlisted();
    // Removes a roast's row (its file was deleted).
    void Remove(const QString& path);

    const RoastSummary& summary(int row) const { return *rows_[static_cast<std::size_t>(row)].summary; }
    // The local date the roast started (the file's name's for a log that
    // does not read); invalid when neither says one.
    QDate date(int row) const { return rows_[static_cast<std::size_t>(row)].date; }
    // True when row `a` sorts before row `b` by `column`: numbers as
    // numbers, a missing value first, texts without regard to case.
    bool Less(int a, int b, int column) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    struct Row {
        Summary summary;
        QString profile_key, bean_key;  // folded for sorting
        QDate date;
        unsigned listing = 0;  // the last reading that listed it
    };
    Row MakeRow(Summary summary) const;
    QString Text(const RoastSummary& roast, int column) const;
    void ReindexFrom(std::size_t row);

    std::vector<Row> rows_;
    std::unordered_map<std::string, std::size_t> row_of_path_;
    unsigned listing_ = 0;
    bool celsius_ = false;
};
