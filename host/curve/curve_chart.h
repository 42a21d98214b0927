// The chart roast curves are drawn on: a Qt Charts view with the time along
// the bottom (mm:ss), the bean temperature on the left, its rate of rise on
// the right (on the temperature's grid lines), and a hidden axis from the
// plot's bottom (0) to its top (1) for marks and bands. It applies the
// scales, keeps lines to the points the plot can show, and makes lines
// that draw cheaply.
#pragma once

#include <QList>
#include <QPointF>
#include <QSizeF>

#include "curve_scales.h"

class QAbstractAxis;
class QAbstractSeries;
class QCategoryAxis;
class QChart;
class QChartView;
class QColor;
class QLineSeries;
class QValueAxis;
class QWidget;

class CurveChart {
public:
    // The view is made a child of `view_parent`.
    explicit CurveChart(QWidget* view_parent);

    QChart* chart() const { return chart_; }
    QChartView* view() const { return view_; }
    QCategoryAxis* time_axis() const { return time_axis_; }
    QValueAxis* temperature_axis() const { return temperature_axis_; }
    QValueAxis* rate_axis() const { return rate_axis_; }
    QValueAxis* fraction_axis() const { return fraction_axis_; }

    const TimeScale& time_scale() const { return time_scale_; }
    const ValueScale& temperature_scale() const { return temperature_scale_; }
    const ValueScale& rate_scale() const { return rate_scale_; }
    // Forgets the scales, so the next ones are applied whatever they are.
    void ForgetScales();
    // Applies a time scale; true when it changed the axis.
    bool SetTimeScale(const TimeScale& scale);
    // The temperature and rate axes for what is drawn, in the unit shown.
    void SetValueScales(const ValueSpan& temperatures, const ValueSpan& rates, bool celsius);
    // The axes' titles in °C (true) or °F.
    void SetUnit(bool celsius);

    // How many time ticks have room on the plot as it is now.
    int TimeTicks() const;
    // How many temperature intervals have room for their labels up the
    // plot as it is now.
    int ValueIntervals() const;
    // Whether the temperature axis applied is still the one for the plot's
    // height (a window made shorter or taller may want other steps).
    bool ValueScalesFit() const;
    // Where `seconds` lies across the plot, in the chart's coordinates.
    double XOf(double seconds) const;
    // Where a temperature (in the unit shown) lies up the plot.
    double YOf(double degrees) const;

    // A line of `colour` and `width` that is on no chart yet.
    static QLineSeries* NewLine(const QColor& colour, double width);
    // Puts `series` on the chart, on the time axis and `y_axis`.
    void Attach(QAbstractSeries* series, QAbstractAxis* y_axis);
    // Of `points`, those needed to draw them on the plot as it is now, on
    // an axis of `y_scale`; all of them while the plot has no size yet
    // (`plot_size` then tells it is empty).
    QList<QPointF> Thinned(const QList<QPointF>& points, const ValueScale& y_scale, QSizeF* plot_size = nullptr) const;

private:
    QChart* chart_ = nullptr;
    QChartView* view_ = nullptr;
    QCategoryAxis* time_axis_ = nullptr;
    QValueAxis* temperature_axis_ = nullptr;
    QValueAxis* rate_axis_ = nullptr;
    QValueAxis* fraction_axis_ = nullptr;
    TimeScale time_scale_;
    ValueScale temperature_scale_;
    ValueScale rate_scale_;
    // What the value scales were last made for.
    ValueSpan temperatures_seen_;
    bool celsius_ = false;
};
