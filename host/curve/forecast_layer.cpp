#include "forecast_layer.h"

#include <QChart>
#include <QGraphicsSimpleTextItem>
#include <QLineSeries>
#include <QScatterSeries>
#include <QValueAxis>
#include <cmath>

#include "curve_colours.h"
#include "rate_of_rise.h"

namespace {
// Above the lines, below the marks' labels.
constexpr qreal kLabelZ = 90;
// A step's tick spans this much either side of the line, °F.
constexpr double kTickF = 12.0;
}  // namespace

ForecastLayer::~ForecastLayer() { Clear(); }

ValueSpan ForecastLayer::Temperatures(const Forecast& forecast, bool celsius) {
    ValueSpan span;
    for (double f : forecast.beans_f) span.Add(TemperatureInUnit(f, celsius));
    return span;
}

QGraphicsSimpleTextItem* ForecastLayer::NewLabel(const QString& text, bool bold) {
    auto* item = new QGraphicsSimpleTextItem(text, chart_.chart());
    QFont font = item->font();
    font.setBold(bold);
    if (!bold) font.setPointSizeF(font.pointSizeF() * 0.85);
    item->setFont(font);
    item->setBrush(curve_colour::kForecast);
    item->setZValue(kLabelZ);
    return item;
}

void ForecastLayer::Draw(const Forecast& f, bool celsius, const Attach& attach,
                         const std::function<QList<QPointF>(const QList<QPointF>&)>& thin) {
    Clear();
    if (f.beans_f.empty()) return;
    auto degrees = [celsius](double fahrenheit) { return TemperatureInUnit(fahrenheit, celsius); };
    auto at = [&](double seconds) {
        const double i = std::clamp(seconds - f.from_seconds, 0.0, static_cast<double>(f.beans_f.size() - 1));
        return degrees(f.beans_f[static_cast<std::size_t>(std::lround(i))]);
    };
    QList<QPointF> points;
    for (std::size_t s = 0; s < f.beans_f.size(); ++s)
        points.append(QPointF(f.from_seconds + static_cast<double>(s), degrees(f.beans_f[s])));
    line_ = CurveChart::NewLine(curve_colour::kForecast, 1.6);
    QPen pen = line_->pen();
    pen.setStyle(Qt::DashLine);
    line_->setPen(pen);
    line_->append(thin(points));
    attach(line_, chart_.temperature_axis());
    // A tick across the line where each later step begins, numbered.
    const double tick = DegreesInUnit(kTickF, celsius);
    int step = 2;
    for (double seconds : f.step_seconds) {
        QLineSeries* mark = CurveChart::NewLine(curve_colour::kForecast, 1.2);
        mark->append(seconds, at(seconds) - tick);
        mark->append(seconds, at(seconds) + tick);
        attach(mark, chart_.temperature_axis());
        labels_.push_back({QPointF(seconds, at(seconds) + tick), NewLabel(QString::number(step++), false), true});
    }
    if (f.first_crack_seconds) {
        auto* dot = new QScatterSeries;
        dot->setMarkerSize(9);
        dot->setColor(curve_colour::kForecast);
        dot->setBorderColor(Qt::white);
        dot->append(*f.first_crack_seconds, degrees(f.first_crack_f));
        attach(dot, chart_.temperature_axis());
        labels_.push_back({QPointF(*f.first_crack_seconds, degrees(f.first_crack_f)),
                           NewLabel(QStringLiteral("First crack?"), false), false});
    }
    labels_.push_back({QPointF(f.drop_seconds(), degrees(f.drop_f())),
                       NewLabel(QString::number(std::lround(degrees(f.drop_f()))) + (celsius ? QStringLiteral(" \u00b0C")
                                                                                              : QStringLiteral(" \u00b0F")),
                                true),
                       false});
    PlaceLabels();
}

void ForecastLayer::Clear() {
    for (const Label& l : labels_) delete l.item;
    labels_.clear();
    line_ = nullptr;
}

void ForecastLayer::PlaceLabels() {
    for (const Label& l : labels_) {
        const QRectF size = l.item->boundingRect();
        const double x = chart_.XOf(l.at.x()), y = chart_.YOf(l.at.y());
        if (l.above)
            l.item->setPos(x - size.width() / 2, y - size.height());
        else
            l.item->setPos(x + 6, y - size.height() / 2);
    }
}

std::vector<QString> ForecastLayer::labels() const {
    std::vector<QString> out;
    for (const Label& l : labels_) out.push_back(l.item->text());
    return out;
}
