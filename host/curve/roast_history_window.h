// The "Roast history" window: the saved roasts of the roasts folder, one a
// row (start, profile, bean, duration, end temperature, weight loss),
// sortable by any column, newest first when opened; a search box (profile,
// bean, notes) and a range of dates narrow what is shown. The folder is read
// off the window's thread and the list fills as the logs are read. A roast
// is opened, set as the background of the curve, roasted again, or deleted
// after a question; several are compared. What opening means is the
// owner's.
#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>

#include "roast_history.h"
#include "roast_history_loader.h"

class QCheckBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class RoastHistoryFilter;
class RoastHistoryModel;

class RoastHistoryWindow : public QWidget {
public:
    // A top-level window of its own; with a parent it stays usable while
    // the parent runs modally.
    explicit RoastHistoryWindow(QString roasts_folder, QWidget* parent = nullptr);
    ~RoastHistoryWindow() override;

    // Reads the folder again (now if shown, else when next shown).
    void Refresh();
    // Temperatures in °C (true) or °F, as the panel shows them.
    void SetCelsius(bool celsius);

    // What the buttons do with the chosen roast's file, and "Compare" with
    // the chosen roasts' files (two to kMostCompared).
    std::function<void(const QString& path)> open_roast;
    std::function<void(const QString& path)> show_as_background;
    std::function<void(const QStringList& paths)> compare;
    static constexpr int kMostCompared = 8;
    std::function<void(const QString& path)> roast_again;
    // "Plan a program" for the chosen roast: enabled while `available`
    // (the roaster's model can plan), `why` saying otherwise why not.
    std::function<void(const QString& path)> plan_program;
    void SetPlanAvailable(bool available, const QString& why);
    // "Export for Artisan…": the chosen roasts' files (those that read).
    std::function<void(const QStringList& paths)> export_for_artisan;
    // Asks a yes/no question: a message box unless replaced (tests).
    std::function<bool(const QString& question)> ask_yes_no;

    void OpenChosen();
    void ShowChosenAsBackground();
    void DeleteChosen();
    void CompareChosen();
    void RoastChosenAgain();
    void PlanChosen();
    void ExportChosen();

    // True while the folder is being read.
    bool loading() const { return loader_.loading(); }

    // Tests: the table as shown, a row chosen, a button, the filters.
    QTableView* table() const { return table_; }
    QString cell(int row, int column) const;
    void Choose(int row);
    QPushButton* button(const QString& text) const;
    QLineEdit* search_box() const { return search_; }
    // The date range's ends: a box that bounds it and its date.
    QCheckBox* from_bound() const { return from_on_; }
    QDateEdit* from_date() const { return from_; }
    QCheckBox* to_bound() const { return to_on_; }
    QDateEdit* to_date() const { return to_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void OnBatch(const RoastHistoryLoader::Batch& batch);
    void OnLoaded();
    void ApplyDates();
    // The rows shown changed (a search, the dates).
    void ShownChanged();
    void FitColumns();
    void UpdateCount();
    // The one roast chosen; empty when none or several are.
    QString ChosenPath() const;
    // The chosen roasts that read, in the list's order.
    QStringList ChosenPaths() const;
    void UpdateButtons();

    QString folder_;
    bool stale_ = true;
    bool fitted_ = false;   // the columns fit the first rows shown, or as the user left them
    bool fitting_ = false;  // the window, not the user, is setting their widths
    RoastHistoryLoader loader_;
    RoastHistoryModel* model_ = nullptr;
    RoastHistoryFilter* filter_ = nullptr;
    QTableView* table_ = nullptr;
    QLineEdit* search_ = nullptr;
    QCheckBox* from_on_ = nullptr;
    QCheckBox* to_on_ = nullptr;
    QDateEdit* from_ = nullptr;
    QDateEdit* to_ = nullptr;
    QLabel* count_ = nullptr;
    bool plan_available_ = false;
    QString plan_unavailable_why_;
};
