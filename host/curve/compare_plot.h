// The chart of a comparison of roasts: each roast's bean temperature (and,
// while it heated, its rate of rise on the axis of its own) in a colour of
// its own, shifted so the roasts line up at the point chosen, with the
// roast's name in the legend; a click on a legend entry hides or shows
// that roast.
#pragma once

#include <QColor>
#include <QObject>
#include <QString>
#include <vector>

#include "curve_chart.h"
#include "roast_log.h"

class QLegendMarker;
class QLineSeries;

class ComparePlot : public QObject {
public:
    // One roast to draw: its log (kept by the caller while drawn), its
    // name, its colour and how far its times are moved left.
    struct Roast {
        const RoastLog* log = nullptr;
        QString name;
        QColor colour;
        double offset_s = 0;
    };

    // The view is made a child of `view_parent`.
    explicit ComparePlot(QWidget* view_parent);

    QChartView* view() const { return chart_.view(); }
    // Draws `roasts` afresh, in °C (true) or °F; roasts hidden before stay
    // hidden.
    void Draw(const std::vector<Roast>& roasts, bool celsius);

    // Hides or shows roast `index`.
    void SetShown(std::size_t index, bool shown);
    bool shown(std::size_t index) const { return index < shown_.size() && shown_[index]; }

    // What is drawn (tests): the bean lines of roast `index`, the time and
    // rate axes, and the legend's entries, a roast each.
    const std::vector<QLineSeries*>& bean_lines(std::size_t index) const { return lines_[index].bean; }
    const CurveChart& chart() const { return chart_; }
    std::vector<QLegendMarker*> legend_entries() const;

private:
    struct Lines {
        std::vector<QLineSeries*> bean;
        std::vector<QLineSeries*> rate;
    };
    void Redraw();

    CurveChart chart_;
    std::vector<Roast> roasts_;
    bool celsius_ = false;
    std::vector<Lines> lines_;
    std::vector<bool> shown_;
};
