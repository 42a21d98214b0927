// The "Compare roasts" window: two to eight saved roasts drawn together,
// each in its own colour with its name in the legend, lined up at the start
// of their recordings or at a mark chosen in the window; under the chart a
// table of each roast (start, profile, bean, its marks, phases and results)
// with the mean and spread of every column. The picture and the table can
// be saved. Temperatures follow the panel's unit.
#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>
#include <vector>

#include "compare_plot.h"
#include "curve_file_actions.h"
#include "roast_comparison.h"
#include "roast_log.h"

class QComboBox;
class QLabel;
class QPushButton;
class QSplitter;
class QTableWidget;

class RoastCompareWindow : public QWidget {
public:
    // A roast read for the comparison, and its file.
    struct Entry {
        QString path;
        RoastLog log;
    };

    // A top-level window of its own; with a parent it stays usable while
    // the parent runs modally. `roasts_folder` is where the save dialogs
    // start.
    RoastCompareWindow(std::vector<Entry> roasts, QString roasts_folder, bool celsius, QWidget* parent = nullptr);

    void SetCelsius(bool celsius);
    void AlignAt(AlignPoint point);
    // True when the window compares the roasts of `paths`, in any order.
    bool Compares(const QStringList& paths) const;

    // The colour of the roasts' lines, the first one's first.
    static QColor ColourOf(std::size_t index);

    // What is shown (tests): the chart, the table, the alignment choice, a
    // button by its text, and the file choices.
    ComparePlot& plot() { return plot_; }
    QTableWidget* table() const { return table_; }
    QComboBox* alignment() const { return alignment_; }
    QPushButton* button(const QString& text) const;
    CurveFileActions& files() { return files_; }
    // The line over the chart, saved with the picture: what the roasts are
    // aligned at.
    QString aligned_text() const;

private:
    void Redraw();
    void FillTable();
    QString NameOf(std::size_t index) const;

    std::vector<Entry> entries_;
    std::vector<ComparedRoast> roasts_;
    std::vector<RoastAlignment> alignment_of_;
    AlignPoint point_ = AlignPoint::Start;
    bool celsius_ = false;
    ComparePlot plot_;
    CurveFileActions files_;
    QComboBox* alignment_ = nullptr;
    QTableWidget* table_ = nullptr;
    QWidget* picture_ = nullptr;  // what "Save picture…" saves
    QLabel* aligned_text_ = nullptr;
};
