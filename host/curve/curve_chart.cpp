#include "curve_chart.h"

#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QLineSeries>
#include <QValueAxis>
#include <algorithm>

#include "curve_colours.h"
#include "curve_thinning.h"

CurveChart::CurveChart(QWidget* view_parent) {
    chart_ = new QChart;
    chart_->setAnimationOptions(QChart::NoAnimation);
    chart_->legend()->hide();
    chart_->setBackgroundRoundness(0);
    // Room above the plot for the step marks' labels.
    chart_->setMargins(QMargins(4, 16, 4, 2));
    chart_->layout()->setContentsMargins(0, 0, 0, 0);

    time_axis_ = new QCategoryAxis;
    time_axis_->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    time_axis_->setTitleText(QStringLiteral("Time (mm:ss)"));
    chart_->addAxis(time_axis_, Qt::AlignBottom);

    temperature_axis_ = new QValueAxis;
    temperature_axis_->setLabelFormat(QStringLiteral("%.0f"));
    temperature_axis_->setTitleBrush(curve_colour::kHeating);
    chart_->addAxis(temperature_axis_, Qt::AlignLeft);

    rate_axis_ = new QValueAxis;
    rate_axis_->setLabelFormat(QStringLiteral("%.0f"));
    rate_axis_->setGridLineVisible(false);
    rate_axis_->setTitleBrush(curve_colour::kRate);
    rate_axis_->setLabelsColor(curve_colour::kRate);
    chart_->addAxis(rate_axis_, Qt::AlignRight);

    fraction_axis_ = new QValueAxis;
    fraction_axis_->setRange(0, 1);
    fraction_axis_->setVisible(false);
    chart_->addAxis(fraction_axis_, Qt::AlignRight);

    view_ = new QChartView(chart_, view_parent);
    view_->setRenderHint(QPainter::Antialiasing);
    // The lines change shape with every sample. The scene's default index
    // (a tree of item areas, for scenes of many items that rarely move)
    // would re-file them each time; a chart has a few dozen items, which
    // the scene finds as fast by looking at each.
    view_->scene()->setItemIndexMethod(QGraphicsScene::NoIndex);
}

void CurveChart::ForgetScales() {
    time_scale_ = TimeScale{};
    temperature_scale_ = rate_scale_ = ValueScale{};
}

bool CurveChart::SetTimeScale(const TimeScale& scale) {
    if (scale == time_scale_) return false;
    time_scale_ = scale;
    for (const QString& label : time_axis_->categoriesLabels()) time_axis_->remove(label);
    time_axis_->setStartValue(scale.min_seconds - scale.tick_seconds);
    for (double t = scale.min_seconds; t <= scale.max_seconds + 0.5; t += scale.tick_seconds)
        time_axis_->append(QString::fromStdString(ClockText(t)), t);
    time_axis_->setRange(scale.min_seconds, scale.max_seconds);
    return true;
}

void CurveChart::SetValueScales(const ValueSpan& temperatures, const ValueSpan& rates, bool celsius) {
    temperatures_seen_ = temperatures;
    celsius_ = celsius;
    const ValueScale temperature = TemperatureScaleFor(temperatures, celsius, ValueIntervals());
    if (temperature != temperature_scale_) {
        temperature_scale_ = temperature;
        temperature_axis_->setRange(temperature.low, temperature.high);
        temperature_axis_->setTickCount(temperature.Intervals() + 1);
    }
    const ValueScale rate = RateScaleFor(rates, temperature.Intervals(), celsius);
    if (rate != rate_scale_) {
        rate_scale_ = rate;
        rate_axis_->setRange(rate.low, rate.high);
        rate_axis_->setTickCount(rate.Intervals() + 1);
    }
}

void CurveChart::SetUnit(bool celsius) {
    const QString unit = celsius ? QStringLiteral("\u00b0C") : QStringLiteral("\u00b0F");
    temperature_axis_->setTitleText(QStringLiteral("Bean ") + unit);
    rate_axis_->setTitleText(QStringLiteral("Rate of rise ") + unit + QStringLiteral("/min"));
}

int CurveChart::TimeTicks() const {
    // Room for a label "00:00" and its gap at each tick.
    constexpr double kTickWidth = 56;
    constexpr int kMostTicks = 12;
    const double width = chart_->plotArea().width();
    return width <= 0 ? kMostTicks : std::clamp(static_cast<int>(width / kTickWidth), 4, kMostTicks);
}

int CurveChart::ValueIntervals() const {
    // Room for a label's line of text and a gap at each grid line: any
    // less and the axis shows "..." for its numbers.
    constexpr double kIntervalHeight = 24;
    constexpr int kMostIntervals = 10;
    const double height = chart_->plotArea().height();
    return height <= 0 ? kMostIntervals : std::min(static_cast<int>(height / kIntervalHeight), kMostIntervals);
}

bool CurveChart::ValueScalesFit() const {
    return TemperatureScaleFor(temperatures_seen_, celsius_, ValueIntervals()) == temperature_scale_;
}

double CurveChart::XOf(double seconds) const {
    const QRectF plot = chart_->plotArea();
    const double span = time_scale_.Span();
    return span > 0 ? plot.left() + plot.width() * (seconds - time_scale_.min_seconds) / span : plot.left();
}

double CurveChart::YOf(double degrees) const {
    const QRectF plot = chart_->plotArea();
    const double span = temperature_scale_.high - temperature_scale_.low;
    return span > 0 ? plot.bottom() - plot.height() * (degrees - temperature_scale_.low) / span : plot.bottom();
}

QLineSeries* CurveChart::NewLine(const QColor& colour, double width) {
    auto* line = new QLineSeries;
    // Bevelled joins: round ones cost the stroker curves at every point
    // of every repaint, and look the same at these widths.
    line->setPen(QPen(colour, width, Qt::SolidLine, Qt::FlatCap, Qt::BevelJoin));
    return line;
}

void CurveChart::Attach(QAbstractSeries* series, QAbstractAxis* y_axis) {
    chart_->addSeries(series);
    series->attachAxis(time_axis_);
    series->attachAxis(y_axis);
}

QList<QPointF> CurveChart::Thinned(const QList<QPointF>& points, const ValueScale& y_scale, QSizeF* plot_size) const {
    const QSizeF plot = chart_->plotArea().size();
    if (plot_size) *plot_size = plot;
    if (plot.isEmpty() || time_scale_.Span() <= 0 || y_scale.high <= y_scale.low) return points;
    std::vector<CurvePoint> all;
    all.reserve(static_cast<std::size_t>(points.size()));
    for (const QPointF& p : points) all.push_back({p.x(), p.y()});
    const std::vector<CurvePoint> kept =
        ThinLine(all, plot.width() / time_scale_.Span(), plot.height() / (y_scale.high - y_scale.low));
    QList<QPointF> thinned;
    thinned.reserve(static_cast<qsizetype>(kept.size()));
    for (const CurvePoint& p : kept) thinned.append(QPointF(p.x, p.y));
    return thinned;
}
