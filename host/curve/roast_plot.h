// The plot of the roast curve: a roast log's bean temperature and its rate
// of rise against its elapsed time (Qt Charts), a dashed mark where each
// step began, cooling drawn in blue on a shaded band, the roast's event
// marks along their lines, and another roast drawn faintly behind it. It
// draws a log afresh or grows with the log's last sample, and keeps its
// lines thinned to what the plot can show, so a long roast costs as little
// to draw as a short one.
#pragma once

#include <QObject>
#include <QSizeF>
#include <memory>
#include <utility>
#include <vector>

#include "curve_chart.h"
#include "curve_scales.h"
#include "curve_tracer.h"
#include "roast_log.h"

class ForecastLayer;
struct Forecast;

class QAbstractAxis;
class QAbstractSeries;
class QAreaSeries;
class QCategoryAxis;
class QChart;
class QChartView;
class QColor;
class QGraphicsSimpleTextItem;
class QLineSeries;
class QPointF;
class QRectF;
class QString;
class QTimer;
class QValueAxis;
class QWidget;

class RoastPlot : public QObject, private CurveSink {
    Q_OBJECT
public:
    // The view is made a child of `view_parent`.
    explicit RoastPlot(QWidget* view_parent);
    ~RoastPlot() override;

    // The view to lay out.
    QChartView* view() const { return chart_.view(); }

    // What the plot draws from now on: `shown` (null: nothing) in front of
    // `background` (null: none), in °C (true) or °F. Both stay the
    // caller's and must live while they are drawn. Draws nothing yet.
    void SetLogs(const RoastLog* shown, const RoastLog* background, bool celsius);
    // What the roaster's model foresees, drawn dashed in front (null:
    // nothing); it stays the caller's and must live while it is drawn.
    // Draws nothing yet.
    void SetForecast(const Forecast* forecast) { forecast_ = forecast; }
    const ForecastLayer& forecast_layer() const { return *forecast_layer_; }
    // Draws the logs afresh.
    void Draw();
    // True once drawn.
    bool drawn() const { return tracer_ != nullptr; }
    // The shown log grew by its last sample.
    void AddLastSample();
    // The shown log's marks changed.
    void RedrawEventMarks();

    // What is drawn (tests): the bean-temperature lines, the rate lines
    // (in the order they were made), the step marks and the event marks as
    // (seconds, label), the cooling bands, and the background's.
    QChart* chart() const { return chart_.chart(); }
    const std::vector<QLineSeries*>& bean_lines() const { return bean_.lines; }
    const std::vector<QLineSeries*>& rate_lines() const { return rate_.lines; }
    std::vector<std::pair<double, QString>> marks() const;
    // The step marks' labels shown, with where they stand on the chart.
    std::vector<std::pair<QString, QRectF>> shown_step_labels() const;
    const std::vector<QAreaSeries*>& cooling_bands() const { return cooling_bands_; }
    QValueAxis* temperature_axis() const { return chart_.temperature_axis(); }
    QValueAxis* rate_axis() const { return chart_.rate_axis(); }
    std::vector<std::pair<double, QString>> event_marks() const;
    std::vector<std::pair<double, QString>> background_marks() const;
    const std::vector<QLineSeries*>& background_lines() const { return background_lines_; }

private:
    // CurveSink
    void BeginBeanLine(bool cooling) override;
    void AddBeanPoint(double seconds, double degrees) override;
    void BeginRateLine() override;
    void AddRatePoint(double seconds, double degrees_per_minute) override;
    void AddMark(double seconds, const std::string& label) override;
    void BeginCooling(double seconds) override;
    void ExtendCooling(double seconds) override;

    // A line without a break is drawn as two series: its last points, to
    // which each sample adds one, and before them its history, thinned.
    struct Segment {
        QLineSeries* history = nullptr;
        QLineSeries* live = nullptr;
    };
    // The lines of one kind.
    struct LineFamily {
        std::vector<Segment> segments;
        std::vector<QLineSeries*> lines;  // every series of them, in the order made
    };
    // Where a mark's label goes: above the plot (a step's), or along its
    // line at the top (the shown roast's events) or at the bottom (the
    // background's, pale).
    enum class LabelPlace { AbovePlot, AlongTop, AlongBottom };
    // A step mark or an event mark (dry end, first crack...): its line
    // across the plot and its label.
    struct Mark {
        double seconds;
        QLineSeries* line;
        QGraphicsSimpleTextItem* label;
        LabelPlace place;
    };
    // What the time, temperature and rate axes span.
    struct AxisSpans {
        double seconds = 0, temperature = 0, rate = 0;
    };

    void DrawBackground();
    // The axes for what `tracer` has drawn, and the background.
    void UpdateScales(const CurveTracer& tracer);
    AxisSpans CurrentSpans() const;
    QLineSeries* NewLine(const QColor& colour, qreal width, QValueAxis* y_axis);
    // Puts a series on the chart; while drawing afresh, only once all are made.
    void Attach(QAbstractSeries* series, QAbstractAxis* y_axis);
    void BeginLine(LineFamily& family, const QColor& colour, qreal width, QValueAxis* y_axis);
    // The last line grown by one point.
    void AppendPoint(LineFamily& family, double seconds, double value, QValueAxis* y_axis, const ValueScale& y_scale);
    // Of `points`, those needed to draw them on the plot as it is now.
    QList<QPointF> Thinned(const QList<QPointF>& points, const ValueScale& y_scale);
    // A mark's line across the plot at `seconds`, and its label.
    QLineSeries* NewMarkLine(double seconds, const QColor& colour, qreal width, Qt::PenStyle style);
    QGraphicsSimpleTextItem* NewMarkLabel(const std::string& text, bool bold, const QColor& colour);
    void AddEventMark(std::vector<Mark>& into, const RoastMark& mark, bool background);
    void PlaceLabel(const Mark& mark);
    void PlaceAllLabels();
    // Shows the step labels that fit side by side above the plot, the
    // latest first: a program of many short steps would print its numbers
    // over each other.
    void SpaceStepLabels();
    // The plot grew: lines thinned for a smaller one are drawn afresh.
    void OnPlotAreaChanged(const QRectF& plot);

    const RoastLog* shown_ = nullptr;
    const RoastLog* background_ = nullptr;
    const Forecast* forecast_ = nullptr;
    bool celsius_ = false;
    std::unique_ptr<CurveTracer> tracer_;

    CurveChart chart_;

    LineFamily bean_;
    LineFamily rate_;
    std::vector<Mark> step_marks_;
    std::vector<QAreaSeries*> cooling_bands_;
    std::vector<Mark> event_marks_;
    // The background's lines and marks, and its extent in the panel's unit.
    std::vector<QLineSeries*> background_lines_;
    std::vector<Mark> background_marks_;
    double background_seconds_ = 0;
    ValueSpan background_temperatures_;
    ValueSpan background_rates_;
    std::unique_ptr<ForecastLayer> forecast_layer_;
    double forecast_seconds_ = 0;  // the forecast's extent
    ValueSpan forecast_temperatures_;

    bool drawing_ = false;  // drawing afresh
    std::vector<std::pair<QAbstractSeries*, QAbstractAxis*>> unattached_;  // made while drawing afresh
    QSizeF thinned_for_;  // the largest plot lines were thinned for
    AxisSpans drawn_spans_;  // when the lines were last drawn afresh
    bool thinning_pending_ = false;  // lines were drawn before the plot had a size
    QTimer* draw_later_ = nullptr;
};
