// What the roaster's model foresees, drawn on the roast curve: the beans'
// temperature as a dashed line, a short tick where each step of the
// program begins, first crack as a dot and the temperature at the drop
// beside its end. Its series go on the chart as the plot attaches them;
// its labels are placed again whenever the plot moves.
#pragma once

#include <QList>
#include <QPointF>
#include <functional>
#include <vector>

#include "curve_chart.h"
#include "curve_scales.h"
#include "forecast.h"

class QAbstractAxis;
class QAbstractSeries;
class QGraphicsSimpleTextItem;
class QLineSeries;
class QScatterSeries;

class ForecastLayer {
public:
    using Attach = std::function<void(QAbstractSeries* series, QAbstractAxis* y_axis)>;
    explicit ForecastLayer(CurveChart& chart) : chart_(chart) {}
    ~ForecastLayer();
    ForecastLayer(const ForecastLayer&) = delete;
    ForecastLayer& operator=(const ForecastLayer&) = delete;

    // What `forecast` spans, in the panel's unit: its last second and its
    // temperatures.
    static double LastSeconds(const Forecast& forecast) { return forecast.drop_seconds(); }
    static ValueSpan Temperatures(const Forecast& forecast, bool celsius);

    // Draws `forecast`, its series put on the chart by `attach`, thinned
    // by `thin` for the plot as it is.
    void Draw(const Forecast& forecast, bool celsius, const Attach& attach,
              const std::function<QList<QPointF>(const QList<QPointF>&)>& thin);
    // Forgets what was drawn; its series went with the chart's.
    void Clear();
    // Puts the labels where their points are now.
    void PlaceLabels();

    // What is drawn (tests): the line's points, and the labels' texts.
    QLineSeries* line() const { return line_; }
    std::vector<QString> labels() const;

private:
    struct Label {
        QPointF at;  // seconds, degrees
        QGraphicsSimpleTextItem* item;
        bool above;  // above its point, else to its right
    };
    QGraphicsSimpleTextItem* NewLabel(const QString& text, bool bold);

    CurveChart& chart_;
    QLineSeries* line_ = nullptr;
    std::vector<Label> labels_;
};
