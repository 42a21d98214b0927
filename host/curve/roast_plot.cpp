#include "roast_plot.h"

#include <QAreaSeries>
#include <QChart>
#include <QGraphicsSimpleTextItem>
#include <QLineSeries>
#include <QTimer>
#include <QValueAxis>
#include <algorithm>
#include <limits>

#include "curve_colours.h"
#include "curve_polylines.h"
#include "curve_text.h"
#include "forecast_layer.h"
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

QList<QPointF> ToQt(const std::vector<CurvePoint>& points) {
    QList<QPointF> list;
    list.reserve(static_cast<qsizetype>(points.size()));
    for (const CurvePoint& p : points) list.append(QPointF(p.x, p.y));
    return list;
}

}  // namespace

RoastPlot::RoastPlot(QWidget* view_parent)
    : chart_(view_parent), forecast_layer_(std::make_unique<ForecastLayer>(chart_)) {
    // Resizing by hand gives a burst of changes; one rebuild follows them.
    draw_later_ = new QTimer(this);
    draw_later_->setSingleShot(true);
    draw_later_->setInterval(300);
    connect(draw_later_, &QTimer::timeout, this, &RoastPlot::Draw);
    connect(chart_.chart(), &QChart::plotAreaChanged, this, &RoastPlot::OnPlotAreaChanged);
}

RoastPlot::~RoastPlot() = default;

void RoastPlot::SetLogs(const RoastLog* shown, const RoastLog* background, bool celsius) {
    shown_ = shown;
    background_ = background;
    celsius_ = celsius;
}

void RoastPlot::Draw() {
    draw_later_->stop();
    forecast_layer_->Clear();
    chart_.chart()->removeAllSeries();
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
    chart_.ForgetScales();
    // The axes first, so the lines are thinned for them as they are drawn.
    NoDrawing no_drawing;
    CurveTracer ranges(no_drawing, celsius_, shown_ ? shown_->gap_seconds : kRoastGapSeconds);
    if (shown_)
        for (const RoastSample& sample : shown_->samples) ranges.Add(sample);
    CurvePolylines background;
    CurveTracer background_tracer(background, celsius_, background_ ? background_->gap_seconds : kRoastGapSeconds);
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
    forecast_seconds_ = forecast_ ? ForecastLayer::LastSeconds(*forecast_) : 0.0;
    forecast_temperatures_ = forecast_ ? ForecastLayer::Temperatures(*forecast_, celsius_) : ValueSpan{};
    UpdateScales(ranges);
    drawn_spans_ = CurrentSpans();
    // The series are filled before they go on the chart: a point added to
    // a series on the chart makes the chart lay the series out again. The
    // background goes first, so it is drawn behind.
    drawing_ = true;
    if (background_) {
        for (const CurvePolylines::Line& line : background.lines()) {
            QValueAxis* axis = line.rate ? chart_.rate_axis() : chart_.temperature_axis();
            const QColor colour = line.rate ? kBackgroundRate : line.cooling ? kBackgroundCooling : kBackgroundHeating;
            QLineSeries* series = NewLine(colour, kBackgroundWidth, axis);
            series->append(Thinned(ToQt(line.points), line.rate ? chart_.rate_scale() : chart_.temperature_scale()));
            background_lines_.push_back(series);
        }
        for (const RoastMark& mark : background_->marks.list()) AddEventMark(background_marks_, mark, true);
    }
    if (forecast_)
        forecast_layer_->Draw(
            *forecast_, celsius_, [this](QAbstractSeries* series, QAbstractAxis* axis) { Attach(series, axis); },
            [this](const QList<QPointF>& points) { return Thinned(points, chart_.temperature_scale()); });
    tracer_ = std::make_unique<CurveTracer>(static_cast<CurveSink&>(*this), celsius_,
                                            shown_ ? shown_->gap_seconds : kRoastGapSeconds);
    if (shown_) {
        for (const RoastSample& sample : shown_->samples) tracer_->Add(sample);
        for (const RoastMark& mark : shown_->marks.list()) AddEventMark(event_marks_, mark, false);
    }
    drawing_ = false;
    for (const auto& [series, y_axis] : unattached_) Attach(series, y_axis);
    unattached_.clear();
    chart_.SetUnit(celsius_);
}

void RoastPlot::OnPlotAreaChanged(const QRectF& plot) {
    PlaceAllLabels();
    // A plot too narrow or wide for its time labels, or too short or tall
    // for its temperature labels, has them chosen again.
    const TimeScale& time = chart_.time_scale();
    if (tracer_ && (TimeScaleFor(time.max_seconds, chart_.TimeTicks()).tick_seconds != time.tick_seconds ||
                    !chart_.ValueScalesFit()))
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
    const ValueScale& temperature = chart_.temperature_scale();
    const ValueScale& rate = chart_.rate_scale();
    return {chart_.time_scale().Span(), temperature.high - temperature.low, rate.high - rate.low};
}

void RoastPlot::UpdateScales(const CurveTracer& tracer) {
    // The axes hold the background roast too.
    const double last = std::max({tracer.last_seconds(), background_seconds_, forecast_seconds_});
    if (chart_.SetTimeScale(TimeScaleFor(last, chart_.TimeTicks()))) PlaceAllLabels();
    ValueSpan temperatures = tracer.temperatures();
    temperatures.Add(background_temperatures_);
    temperatures.Add(forecast_temperatures_);
    ValueSpan rates = tracer.rates();
    rates.Add(background_rates_);
    chart_.SetValueScales(temperatures, rates, celsius_);
}

QLineSeries* RoastPlot::NewLine(const QColor& colour, qreal width, QValueAxis* y_axis) {
    QLineSeries* line = CurveChart::NewLine(colour, width);
    Attach(line, y_axis);
    return line;
}

void RoastPlot::Attach(QAbstractSeries* series, QAbstractAxis* y_axis) {
    if (drawing_) {
        unattached_.emplace_back(series, y_axis);
        return;
    }
    chart_.Attach(series, y_axis);
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
    QSizeF plot;
    QList<QPointF> thinned = chart_.Thinned(points, y_scale, &plot);
    if (plot.isEmpty())
        thinning_pending_ = true;
    else
        thinned_for_ = thinned_for_.expandedTo(plot);  // a larger plot needs the lines drawn afresh
    return thinned;
}

void RoastPlot::BeginBeanLine(bool cooling) {
    BeginLine(bean_, cooling ? kCooling : kHeating, 2.0, chart_.temperature_axis());
}

void RoastPlot::AddBeanPoint(double seconds, double degrees) {
    AppendPoint(bean_, seconds, degrees, chart_.temperature_axis(), chart_.temperature_scale());
}

void RoastPlot::BeginRateLine() { BeginLine(rate_, kRate, 1.5, chart_.rate_axis()); }

void RoastPlot::AddRatePoint(double seconds, double degrees_per_minute) {
    AppendPoint(rate_, seconds, degrees_per_minute, chart_.rate_axis(), chart_.rate_scale());
}

QLineSeries* RoastPlot::NewMarkLine(double seconds, const QColor& colour, qreal width, Qt::PenStyle style) {
    // From the plot's bottom to its top whatever the temperature range.
    QLineSeries* line = NewLine(colour, width, chart_.fraction_axis());
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
    auto* label = new QGraphicsSimpleTextItem(FromStd(text), chart_.chart());
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
    SpaceStepLabels();
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
    const QRectF plot = chart_.chart()->plotArea();
    if (chart_.time_scale().Span() <= 0) return;
    const QRectF size = mark.label->boundingRect();
    const double x = chart_.XOf(mark.seconds);
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
    SpaceStepLabels();
    forecast_layer_->PlaceLabels();
}

void RoastPlot::SpaceStepLabels() {
    constexpr double kSpace = 3;  // pixels between two labels
    double free_until = std::numeric_limits<double>::infinity();
    for (auto mark = step_marks_.rbegin(); mark != step_marks_.rend(); ++mark) {
        const QRectF at = mark->label->mapRectToScene(mark->label->boundingRect());
        const bool fits = at.right() + kSpace <= free_until;
        mark->label->setVisible(fits);
        if (fits) free_until = at.left();
    }
}

void RoastPlot::RedrawEventMarks() {
    // A handful of marks at most: all drawn afresh when one changes.
    for (const Mark& mark : event_marks_) {
        chart_.chart()->removeSeries(mark.line);
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
    Attach(band, chart_.fraction_axis());
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

std::vector<std::pair<QString, QRectF>> RoastPlot::shown_step_labels() const {
    std::vector<std::pair<QString, QRectF>> out;
    for (const Mark& mark : step_marks_)
        if (mark.label->isVisible())
            out.emplace_back(mark.label->text(), mark.label->mapRectToScene(mark.label->boundingRect()));
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
