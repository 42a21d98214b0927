#include "roast_plot.h"

#include <QAreaSeries>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QGraphicsSimpleTextItem>
#include <QLineSeries>
#include <QTimer>
#include <QValueAxis>
#include <algorithm>

#include "curve_colours.h"
#include "curve_polylines.h"
#include "curve_text.h"
#include "curve_thinning.h"
#include "free_heap.h"
#include "rate_of_rise.h"

namespace {

using namespace curve_colour;

constexpr qreal kBackgroundWidth = 1.2;

// Qt Charts lays a whole series out again, and redraws all the plot it
// covers, for each point added to it, and keeps a few hundred bytes for
// every point. So each sample joins a short live series; when that has
// this many points they move to the line's history, keeping only those
// needed on screen. A sample then costs the same however long the roast,
// and memory follows the line's shape on screen, not the roast's length.
// About half a minute of samples: every sample strokes the whole live
// series again, so a short one keeps that work and the memory it churns
// small.
constexpr int kLivePoints = 64;

// Lines keep the points needed at the scales they were thinned for. Once
// an axis spans this much more, many of those points lie within a pixel of
// the others and the lines are drawn afresh: a roast that outgrows its
// first ten minutes keeps about as many points as the plot has room for,
// not as many as it had samples.
constexpr double kCoarsening = 1.25;

// Above everything the chart draws.
constexpr qreal kMarkLabelZ = 100;

// Traces a log for its ranges only.
class NoDrawing final : public CurveSink {
    void BeginBeanLine(bool) override {}
    void AddBeanPoint(double, double) override {}
    void BeginRateLine() override {}
    void AddRatePoint(double, double) override {}
    void AddMark(double, const std::string&) override {}
    void BeginCooling(double) override {}
    void ExtendCooling(double) override {}
};

QString FromStd(const std::string& text) { return QString::fromStdString(text); }

void Join(ValueSpan& span, const ValueSpan& other) {
    if (other.empty) return;
    span.Add(other.low);
    span.Add(other.high);
}

QList<QPointF> ToQt(const std::vector<CurvePoint>& points) {
    QList<QPointF> list;
    list.reserve(static_cast<qsizetype>(points.size()));
    for (const CurvePoint& p : points) list.append(QPointF(p.x, p.y));
    return list;
}

}  // namespace

RoastPlot::RoastPlot(QWidget* view_parent) {
    BuildChart();
    view_->setParent(view_parent);
}

RoastPlot::~RoastPlot() = default;

void RoastPlot::BuildChart() {
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
    temperature_axis_->setTitleBrush(kHeating);
    chart_->addAxis(temperature_axis_, Qt::AlignLeft);

    rate_axis_ = new QValueAxis;
    rate_axis_->setLabelFormat(QStringLiteral("%.0f"));
    rate_axis_->setGridLineVisible(false);
    rate_axis_->setTitleBrush(kRate);
    rate_axis_->setLabelsColor(kRate);
    chart_->addAxis(rate_axis_, Qt::AlignRight);

    fraction_axis_ = new QValueAxis;
    fraction_axis_->setRange(0, 1);
    fraction_axis_->setVisible(false);
    chart_->addAxis(fraction_axis_, Qt::AlignRight);

    view_ = new QChartView(chart_);
    view_->setRenderHint(QPainter::Antialiasing);
    // The lines change shape with every sample. The scene's default index
    // (a tree of item areas, for scenes of many items that rarely move)
    // would re-file them each time; a chart has a few dozen items, which
    // the scene finds as fast by looking at each.
    view_->scene()->setItemIndexMethod(QGraphicsScene::NoIndex);

    // Resizing by hand gives a burst of changes; one rebuild follows them.
    draw_later_ = new QTimer(this);
    draw_later_->setSingleShot(true);
    draw_later_->setInterval(300);
    connect(draw_later_, &QTimer::timeout, this, &RoastPlot::Draw);
    connect(chart_, &QChart::plotAreaChanged, this, &RoastPlot::OnPlotAreaChanged);
}

void RoastPlot::SetLogs(const RoastLog* shown, const RoastLog* background, bool celsius) {
    shown_ = shown;
    background_ = background;
    celsius_ = celsius;
}

void RoastPlot::Draw() {
    draw_later_->stop();
    chart_->removeAllSeries();
    bean_ = LineFamily{};
    rate_ = LineFamily{};
    for (const std::vector<Mark>* marks : {&step_marks_, &event_marks_, &background_marks_})
        for (const Mark& mark : *marks) delete mark.label;
    step_marks_.clear();
    event_marks_.clear();
    background_marks_.clear();
    background_lines_.clear();
    cooling_bands_.clear();
    thinned_for_ = QSizeF();
    thinning_pending_ = false;
    time_scale_ = TimeScale{};
    temperature_scale_ = rate_scale_ = ValueScale{};
    // The axes first, so the lines are thinned for them as they are drawn.
    NoDrawing no_drawing;
    CurveTracer ranges(no_drawing, celsius_);
    if (shown_)
        for (const RoastSample& sample : shown_->samples) ranges.Add(sample);
    CurvePolylines background;
    CurveTracer background_tracer(background, celsius_);
    if (background_)
        for (const RoastSample& sample : background_->samples) background_tracer.Add(sample);
    background_seconds_ = background_tracer.last_seconds();
    background_temperatures_ = background_tracer.temperatures();
    // Only the background's heating widens the rate axis: its steep
    // cooling would squash the live rates long before the live roast cools.
    background_rates_ = ValueSpan{};
    if (background_)
        for (const RoastSample& sample : background_->samples)
            if (sample.ror_f_per_min && !IsCoolingPhase(sample.run_phase))
                background_rates_.Add(DegreesInUnit(*sample.ror_f_per_min, celsius_));
    UpdateScales(ranges);
    drawn_spans_ = CurrentSpans();
    // The series are filled before they go on the chart: a point added to
    // a series on the chart makes the chart lay the series out again. The
    // background goes first, so it is drawn behind.
    drawing_ = true;
    if (background_) {
        for (const CurvePolylines::Line& line : background.lines()) {
            QValueAxis* axis = line.rate ? rate_axis_ : temperature_axis_;
            const QColor colour = line.rate ? kBackgroundRate : line.cooling ? kBackgroundCooling : kBackgroundHeating;
            QLineSeries* series = NewLine(colour, kBackgroundWidth, axis);
            series->append(Thinned(ToQt(line.points), line.rate ? rate_scale_ : temperature_scale_));
            background_lines_.push_back(series);
        }
        for (const RoastMark& mark : background_->marks.list()) AddEventMark(background_marks_, mark, true);
    }
    tracer_ = std::make_unique<CurveTracer>(static_cast<CurveSink&>(*this), celsius_);
    if (shown_) {
        for (const RoastSample& sample : shown_->samples) tracer_->Add(sample);
        for (const RoastMark& mark : shown_->marks.list()) AddEventMark(event_marks_, mark, false);
    }
    drawing_ = false;
    for (const auto& [series, y_axis] : unattached_) Attach(series, y_axis);
    unattached_.clear();
    UpdateAxisTitles();
}

int RoastPlot::TimeTicks() const {
    // Room for a label "00:00" and its gap at each tick.
    constexpr double kTickWidth = 56;
    constexpr int kMostTicks = 12;
    const double width = chart_->plotArea().width();
    return width <= 0 ? kMostTicks : std::clamp(static_cast<int>(width / kTickWidth), 4, kMostTicks);
}

void RoastPlot::OnPlotAreaChanged(const QRectF& plot) {
    PlaceAllLabels();
    // A plot too narrow or wide for its time labels has them chosen again.
    if (tracer_ && TimeScaleFor(time_scale_.max_seconds, TimeTicks()).tick_seconds != time_scale_.tick_seconds)
        draw_later_->start();
    constexpr double kGrowth = 1.05;
    if (plot.isEmpty()) return;
    // Lines drawn before the plot had its size (the window not laid out
    // yet) are thinned once it has.
    if (thinning_pending_ || (!thinned_for_.isEmpty() && (plot.width() > thinned_for_.width() * kGrowth ||
                                                          plot.height() > thinned_for_.height() * kGrowth)))
        draw_later_->start();
}

void RoastPlot::AddLastSample() {
    if (!shown_ || shown_->samples.empty() || !tracer_) return;
    tracer_->Add(shown_->samples.back());
    UpdateScales(*tracer_);
    const AxisSpans now = CurrentSpans();
    const bool coarser = now.seconds > drawn_spans_.seconds * kCoarsening ||
                         now.temperature > drawn_spans_.temperature * kCoarsening ||
                         now.rate > drawn_spans_.rate * kCoarsening;
    if (coarser && !draw_later_->isActive()) draw_later_->start();
}

RoastPlot::AxisSpans RoastPlot::CurrentSpans() const {
    return {time_scale_.max_seconds, temperature_scale_.high - temperature_scale_.low,
            rate_scale_.high - rate_scale_.low};
}

void RoastPlot::UpdateScales(const CurveTracer& tracer) {
    // The axes hold the background roast too.
    const TimeScale time = TimeScaleFor(std::max(tracer.last_seconds(), background_seconds_), TimeTicks());
    if (time != time_scale_) {
        time_scale_ = time;
        for (const QString& label : time_axis_->categoriesLabels()) time_axis_->remove(label);
        time_axis_->setStartValue(-time.tick_seconds);
        for (double t = 0; t <= time.max_seconds + 0.5; t += time.tick_seconds) time_axis_->append(FromStd(ClockText(t)), t);
        time_axis_->setRange(0, time.max_seconds);
        PlaceAllLabels();
    }
    ValueSpan temperatures = tracer.temperatures();
    Join(temperatures, background_temperatures_);
    ValueSpan rates = tracer.rates();
    Join(rates, background_rates_);
    const ValueScale temperature = TemperatureScaleFor(temperatures, celsius_);
    if (temperature != temperature_scale_) {
        temperature_scale_ = temperature;
        temperature_axis_->setRange(temperature.low, temperature.high);
        temperature_axis_->setTickCount(temperature.Intervals() + 1);
    }
    const ValueScale rate = RateScaleFor(rates, temperature.Intervals(), celsius_);
    if (rate != rate_scale_) {
        rate_scale_ = rate;
        rate_axis_->setRange(rate.low, rate.high);
        rate_axis_->setTickCount(rate.Intervals() + 1);
    }
}

void RoastPlot::UpdateAxisTitles() {
    const QString unit = celsius_ ? QStringLiteral("\u00b0C") : QStringLiteral("\u00b0F");
    temperature_axis_->setTitleText(QStringLiteral("Bean ") + unit);
    rate_axis_->setTitleText(QStringLiteral("Rate of rise ") + unit + QStringLiteral("/min"));
}

QLineSeries* RoastPlot::NewLine(const QColor& colour, qreal width, QValueAxis* y_axis) {
    auto* line = new QLineSeries;
    // Bevelled joins: round ones cost the stroker curves at every point
    // of every repaint, and look the same at these widths.
    QPen pen(colour, width, Qt::SolidLine, Qt::FlatCap, Qt::BevelJoin);
    line->setPen(pen);
    Attach(line, y_axis);
    return line;
}

void RoastPlot::Attach(QAbstractSeries* series, QAbstractAxis* y_axis) {
    if (drawing_) {
        unattached_.emplace_back(series, y_axis);
        return;
    }
    chart_->addSeries(series);
    series->attachAxis(time_axis_);
    series->attachAxis(y_axis);
}

void RoastPlot::BeginLine(LineFamily& family, const QColor& colour, qreal width, QValueAxis* y_axis) {
    QLineSeries* live = NewLine(colour, width, y_axis);
    family.segments.push_back({nullptr, live});
    family.lines.push_back(live);
}

void RoastPlot::AppendPoint(LineFamily& family, double seconds, double value, QValueAxis* y_axis,
                                   const ValueScale& y_scale) {
    Segment& segment = family.segments.back();
    segment.live->append(seconds, value);
    if (segment.live->count() < kLivePoints) return;
    const QList<QPointF> thinned = Thinned(segment.live->points(), y_scale);
    if (!segment.history) {
        segment.history = NewLine(segment.live->pen().color(), segment.live->pen().widthF(), y_axis);
        family.lines.push_back(segment.history);
        segment.history->append(thinned);
    } else {
        segment.history->append(thinned.mid(1));  // its first point ends the history already
    }
    segment.live->replace(QList<QPointF>{thinned.back()});
    // The history was laid out again into larger buffers than before.
    if (!drawing_) ReturnFreeHeapPages();
}

QList<QPointF> RoastPlot::Thinned(const QList<QPointF>& points, const ValueScale& y_scale) {
    const QSizeF plot = chart_->plotArea().size();
    if (plot.isEmpty() || time_scale_.max_seconds <= 0 || y_scale.high <= y_scale.low) {
        if (plot.isEmpty()) thinning_pending_ = true;
        return points;
    }
    std::vector<CurvePoint> all;
    all.reserve(static_cast<std::size_t>(points.size()));
    for (const QPointF& p : points) all.push_back({p.x(), p.y()});
    const std::vector<CurvePoint> kept =
        ThinLine(all, plot.width() / time_scale_.max_seconds, plot.height() / (y_scale.high - y_scale.low));
    QList<QPointF> thinned;
    thinned.reserve(static_cast<qsizetype>(kept.size()));
    for (const CurvePoint& p : kept) thinned.append(QPointF(p.x, p.y));
    // Thinned for this plot; a larger one needs the lines drawn afresh.
    thinned_for_ = thinned_for_.expandedTo(plot);
    return thinned;
}

void RoastPlot::BeginBeanLine(bool cooling) {
    BeginLine(bean_, cooling ? kCooling : kHeating, 2.0, temperature_axis_);
}

void RoastPlot::AddBeanPoint(double seconds, double degrees) {
    AppendPoint(bean_, seconds, degrees, temperature_axis_, temperature_scale_);
}

void RoastPlot::BeginRateLine() { BeginLine(rate_, kRate, 1.5, rate_axis_); }

void RoastPlot::AddRatePoint(double seconds, double degrees_per_minute) {
    AppendPoint(rate_, seconds, degrees_per_minute, rate_axis_, rate_scale_);
}

QLineSeries* RoastPlot::NewMarkLine(double seconds, const QColor& colour, qreal width, Qt::PenStyle style) {
    // From the plot's bottom to its top whatever the temperature range.
    QLineSeries* line = NewLine(colour, width, fraction_axis_);
    QPen pen = line->pen();
    pen.setStyle(style);
    line->setPen(pen);
    line->append(seconds, 0);
    line->append(seconds, 1);
    return line;
}

QGraphicsSimpleTextItem* RoastPlot::NewMarkLabel(const std::string& text, bool bold, const QColor& colour) {
    // An item of its own: a series' point labels lie outside what the
    // series repaints, and a repaint of the plot beside them would cut them.
    auto* label = new QGraphicsSimpleTextItem(FromStd(text), chart_);
    QFont font = label->font();
    font.setBold(bold);
    label->setFont(font);
    label->setBrush(colour);
    label->setZValue(kMarkLabelZ);
    return label;
}

void RoastPlot::AddMark(double seconds, const std::string& label) {
    // Labelled above the plot.
    step_marks_.push_back({seconds, NewMarkLine(seconds, kStepMark, 1.0, Qt::DashLine),
                           NewMarkLabel(label, true, QColor(60, 60, 60)), LabelPlace::AbovePlot});
    PlaceLabel(step_marks_.back());
}

void RoastPlot::AddEventMark(std::vector<Mark>& into, const RoastMark& mark, bool background) {
    QLineSeries* line = background ? NewMarkLine(mark.seconds, kBackgroundMark, 1.0, Qt::DashDotLine)
                                   : NewMarkLine(mark.seconds, kEvent, 1.5, Qt::SolidLine);
    QGraphicsSimpleTextItem* label =
        background ? NewMarkLabel(MarkLabel(mark.kind), false, kBackgroundMark.darker(130))
                   : NewMarkLabel(MarkText(mark, celsius_), true, kEvent);
    // Along the line, reading upwards, so marks close together stay apart.
    label->setRotation(-90);
    // The shown roast's at the top of the plot, the background's at the bottom.
    into.push_back({mark.seconds, line, label, background ? LabelPlace::AlongBottom : LabelPlace::AlongTop});
    PlaceLabel(into.back());
}

void RoastPlot::PlaceLabel(const Mark& mark) {
    const QRectF plot = chart_->plotArea();
    if (time_scale_.max_seconds <= 0) return;
    const QRectF size = mark.label->boundingRect();
    const double x = plot.left() + plot.width() * mark.seconds / time_scale_.max_seconds;
    if (mark.place == LabelPlace::AbovePlot) {
        mark.label->setPos(x - size.width() / 2, plot.top() - size.height());
        return;
    }
    // Turned a quarter left, the text runs up from its position, and its
    // height lies to the right of it: it ends just left of the line.
    const double bottom = mark.place == LabelPlace::AlongBottom ? plot.bottom() - 4 : plot.top() + 4 + size.width();
    mark.label->setPos(x - size.height() - 1, bottom);
}

void RoastPlot::PlaceAllLabels() {
    for (const std::vector<Mark>* marks : {&step_marks_, &event_marks_, &background_marks_})
        for (const Mark& mark : *marks) PlaceLabel(mark);
}

void RoastPlot::RedrawEventMarks() {
    // A handful of marks at most: all drawn afresh when one changes.
    for (const Mark& mark : event_marks_) {
        chart_->removeSeries(mark.line);
        delete mark.line;
        delete mark.label;
    }
    event_marks_.clear();
    if (shown_)
        for (const RoastMark& mark : shown_->marks.list()) AddEventMark(event_marks_, mark, false);
}

void RoastPlot::BeginCooling(double seconds) {
    auto* upper = new QLineSeries;
    auto* lower = new QLineSeries;
    upper->append(seconds, 1);
    upper->append(seconds, 1);
    lower->append(seconds, 0);
    lower->append(seconds, 0);
    auto* band = new QAreaSeries(upper, lower);
    upper->setParent(band);
    lower->setParent(band);
    band->setPen(Qt::NoPen);
    band->setBrush(kCoolingBand);
    Attach(band, fraction_axis_);
    cooling_bands_.push_back(band);
}

void RoastPlot::ExtendCooling(double seconds) {
    if (cooling_bands_.empty()) return;
    QAreaSeries* band = cooling_bands_.back();
    band->upperSeries()->replace(1, QPointF(seconds, 1));
    band->lowerSeries()->replace(1, QPointF(seconds, 0));
}

// What is drawn.

std::vector<std::pair<double, QString>> RoastPlot::marks() const {
    std::vector<std::pair<double, QString>> out;
    for (const Mark& mark : step_marks_) out.emplace_back(mark.seconds, mark.label->text());
    return out;
}

std::vector<std::pair<double, QString>> RoastPlot::event_marks() const {
    std::vector<std::pair<double, QString>> out;
    for (const Mark& mark : event_marks_) out.emplace_back(mark.seconds, mark.label->text());
    return out;
}

std::vector<std::pair<double, QString>> RoastPlot::background_marks() const {
    std::vector<std::pair<double, QString>> out;
    for (const Mark& mark : background_marks_) out.emplace_back(mark.seconds, mark.label->text());
    return out;
}
