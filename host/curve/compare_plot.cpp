#include "compare_plot.h"

#include <QChart>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QTimer>
#include <QValueAxis>
#include <algorithm>

#include "curve_polylines.h"
#include "curve_tracer.h"

namespace {

QList<QPointF> Shifted(const std::vector<CurvePoint>& points, double offset) {
    QList<QPointF> list;
    list.reserve(static_cast<qsizetype>(points.size()));
    for (const CurvePoint& p : points) list.append(QPointF(p.x - offset, p.y));
    return list;
}

}  // namespace

ComparePlot::ComparePlot(QWidget* view_parent) : chart_(view_parent) {
    QLegend* legend = chart_.chart()->legend();
    legend->setAlignment(Qt::AlignBottom);
    legend->show();
    // The lines are thinned for the plot's size: once it has one, and when
    // it grows, they are drawn again.
    auto* later = new QTimer(this);
    later->setSingleShot(true);
    later->setInterval(300);
    connect(later, &QTimer::timeout, this, &ComparePlot::Redraw);
    connect(chart_.chart(), &QChart::plotAreaChanged, this, [later](const QRectF& plot) {
        if (!plot.isEmpty()) later->start();
    });
}

void ComparePlot::Draw(const std::vector<Roast>& roasts, bool celsius) {
    roasts_ = roasts;
    celsius_ = celsius;
    shown_.resize(roasts_.size(), true);
    Redraw();
}

void ComparePlot::Redraw() {
    chart_.chart()->removeAllSeries();
    lines_.assign(roasts_.size(), Lines{});
    // Trace every roast first, for the axes that hold them all.
    std::vector<CurvePolylines> traced(roasts_.size());
    ValueSpan temperatures, rates;
    double first = 0, last = 0;
    for (std::size_t i = 0; i < roasts_.size(); ++i) {
        CurveTracer tracer(traced[i], celsius_, roasts_[i].log->gap_seconds);
        for (const RoastSample& sample : roasts_[i].log->samples) tracer.Add(sample);
        temperatures.Add(tracer.temperatures());
        rates.Add(tracer.rates());
        first = std::min(first, -roasts_[i].offset_s);
        last = std::max(last, tracer.last_seconds() - roasts_[i].offset_s);
    }
    chart_.ForgetScales();
    chart_.SetTimeScale(TimeScaleSpanning(first, last, chart_.TimeTicks()));
    chart_.SetValueScales(temperatures, rates, celsius_);
    chart_.SetUnit(celsius_);

    for (std::size_t i = 0; i < roasts_.size(); ++i) {
        const Roast& roast = roasts_[i];
        for (const CurvePolylines::Line& line : traced[i].lines()) {
            // The rate of rise thinner and dashed; the cooling paler.
            QColor colour = roast.colour;
            if (line.cooling) colour.setAlpha(140);
            QLineSeries* series = CurveChart::NewLine(colour, line.rate ? 1.2 : 2.0);
            if (line.rate) {
                QPen pen = series->pen();
                pen.setStyle(Qt::DashLine);
                series->setPen(pen);
            }
            const ValueScale& scale = line.rate ? chart_.rate_scale() : chart_.temperature_scale();
            series->append(chart_.Thinned(Shifted(line.points, roast.offset_s), scale));
            series->setName(roast.name);
            chart_.Attach(series, line.rate ? static_cast<QAbstractAxis*>(chart_.rate_axis())
                                            : static_cast<QAbstractAxis*>(chart_.temperature_axis()));
            (line.rate ? lines_[i].rate : lines_[i].bean).push_back(series);
        }
    }
    // One legend entry a roast: its first bean line's; a click on it hides
    // or shows the roast.
    QLegend* legend = chart_.chart()->legend();
    for (std::size_t i = 0; i < roasts_.size(); ++i) {
        bool first_bean = true;
        for (const std::vector<QLineSeries*>* lines : {&lines_[i].bean, &lines_[i].rate}) {
            for (QLineSeries* series : *lines) {
                for (QLegendMarker* marker : legend->markers(series)) {
                    const bool entry = first_bean && lines == &lines_[i].bean;
                    marker->setVisible(entry);
                    if (entry)
                        connect(marker, &QLegendMarker::clicked, this, [this, i] { SetShown(i, !shown(i)); });
                }
                first_bean = false;
            }
        }
        SetShown(i, shown_[i]);
    }
}

void ComparePlot::SetShown(std::size_t index, bool shown) {
    if (index >= lines_.size()) return;
    shown_[index] = shown;
    for (const std::vector<QLineSeries*>* lines : {&lines_[index].bean, &lines_[index].rate})
        for (QLineSeries* series : *lines) series->setVisible(shown);
    // The legend entry stays, greyed while its roast is hidden.
    if (!lines_[index].bean.empty())
        for (QLegendMarker* marker : chart_.chart()->legend()->markers(lines_[index].bean.front())) {
            marker->setVisible(true);
            QColor label = shown ? QColor(Qt::black) : QColor(Qt::gray);
            marker->setLabelBrush(label);
            QColor swatch = roasts_[index].colour;
            if (!shown) swatch.setAlpha(60);
            marker->setBrush(swatch);
        }
}

std::vector<QLegendMarker*> ComparePlot::legend_entries() const {
    std::vector<QLegendMarker*> entries;
    for (const Lines& lines : lines_)
        if (!lines.bean.empty())
            for (QLegendMarker* marker : chart_.chart()->legend()->markers(lines.bean.front())) entries.push_back(marker);
    return entries;
}
