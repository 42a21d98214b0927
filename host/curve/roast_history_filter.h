// What the "Roast history" shows of its rows, and in which order: the roasts
// whose profile, bean or notes hold every word typed (in any case), started
// within a range of dates (either end open), sorted by the column chosen.
#pragma once

#include <QDate>
#include <QSortFilterProxyModel>
#include <QStringList>

class RoastHistoryModel;

class RoastHistoryFilter : public QSortFilterProxyModel {
public:
    explicit RoastHistoryFilter(RoastHistoryModel* rows, QObject* parent = nullptr);

    // Words to find, separated by spaces; none: every roast.
    void SetText(const QString& text);
    // The first and the last day shown; an invalid date leaves that end open.
    void SetDates(const QDate& from, const QDate& to);
    // True while the text or the dates hide some roasts.
    bool Filtering() const { return !words_.isEmpty() || from_.isValid() || to_.isValid(); }

protected:
    bool filterAcceptsRow(int source_row, const QModelIndex& source_parent) const override;
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;

private:
    void Refilter();

    RoastHistoryModel* rows_;
    QStringList words_;
    QDate from_, to_;
};
