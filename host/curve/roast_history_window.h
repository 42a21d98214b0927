// The "Roast history" window: the saved roasts of the roasts folder, one a
// row (start, profile, bean, duration, end temperature, weight loss),
// sortable by any column. A roast is opened, set as the background of the
// curve, roasted again, or deleted after a question; what opening means is
// the owner's.
#pragma once

#include <QString>
#include <QWidget>
#include <functional>
#include <vector>

#include "roast_history.h"

class QPushButton;
class QStandardItemModel;
class QTableView;

class RoastHistoryWindow : public QWidget {
public:
    // A top-level window of its own; with a parent it stays usable while
    // the parent runs modally.
    explicit RoastHistoryWindow(QString roasts_folder, QWidget* parent = nullptr);

    // Reads the folder again (now if shown, else when next shown).
    void Refresh();
    // Temperatures in °C (true) or °F, as the panel shows them.
    void SetCelsius(bool celsius);

    // What the buttons do with the chosen roast's file.
    std::function<void(const QString& path)> open_roast;
    std::function<void(const QString& path)> show_as_background;
    std::function<void(const QString& path)> roast_again;
    // Asks a yes/no question: a message box unless replaced (tests).
    std::function<bool(const QString& question)> ask_yes_no;

    void OpenChosen();
    void ShowChosenAsBackground();
    void DeleteChosen();
    void RoastChosenAgain();

    // Tests: the table as shown, a row chosen, a button.
    QTableView* table() const { return table_; }
    QString cell(int row, int column) const;
    void Choose(int row);
    QPushButton* button(const QString& text) const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Fill();
    QString ChosenPath() const;
    void UpdateButtons();

    QString folder_;
    bool celsius_ = false;
    bool stale_ = true;
    std::vector<RoastSummary> roasts_;
    QStandardItemModel* model_ = nullptr;
    QTableView* table_ = nullptr;
};
