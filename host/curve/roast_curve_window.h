// The "Roast curve" window: the bean temperature and its rate of rise
// against the roast's elapsed time, a mark where each step began, cooling
// drawn in blue on a shaded band, and the last values as text. It shows a
// recorder's running or last recording and follows it sample by sample, or
// a log read from a file. Beside the curve: the roast's event marks (made
// here, by buttons and keys, while a roast is recorded), the bar of its
// phases, its notes, and a saved roast drawn faintly behind it to roast
// against. Closing it changes nothing of a recording.
#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QSizeF>
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "curve_scales.h"
#include "curve_tracer.h"
#include "roast_log.h"
#include "roast_marks.h"
#include "roast_recorder.h"

class PhaseBar;
class RoastNotesPanel;
class QSplitter;
class QAbstractAxis;
class QAbstractSeries;
class QAreaSeries;
class QCategoryAxis;
class QChart;
class QChartView;
class QGraphicsSimpleTextItem;
class QLabel;
class QLineSeries;
class QPushButton;
class QTimer;
class QValueAxis;

class RoastCurveWindow : public QWidget, private CurveSink {
    Q_OBJECT
public:
    // `roasts_folder` is where "Open roast…" starts and what "Open folder"
    // opens. The window is a top-level window of its own; with a parent it
    // stays usable while the parent runs modally.
    explicit RoastCurveWindow(QString roasts_folder, QWidget* parent = nullptr);
    ~RoastCurveWindow() override;

    // Shows `recorder`'s running or last recording, and marks it; null
    // shows nothing.
    void Follow(RoastRecorder* recorder);
    // The followed recorder's news: a new recording is shown from its
    // start, a sample is added to the curve.
    void OnRoastEvent(RoastEvent event);
    // Shows `log`, read from `path`, instead of the recorder's.
    void ShowLog(RoastLog log, const QString& path);
    // Shows the saved roast at `path` as "Open roast…" does: here, or
    // beside a roast being recorded in a read-only window. A file that
    // does not read is said in a box and nothing changes.
    void OpenRoastFile(const QString& path);
    // Draws the saved roast at `path` faintly behind the curve, aligned at
    // the start, until cleared; it stays across new roasts. A file that
    // does not read is said in a box and nothing changes.
    void ShowBackgroundFile(const QString& path);
    void ClearBackground();
    // Shows the window in front, with the keyboard (the user asked for it).
    void ShowActive();
    // Shows the window when it opens by itself: the keyboard stays with
    // the window that has it.
    void ShowPassively();
    // Temperatures in °C (true) or °F, as the panel shows them.
    void SetCelsius(bool celsius);
    bool celsius() const { return celsius_; }
    // True while the window shows the followed recorder's recording.
    bool live() const { return recorder_ && shown_ == &recorder_->log(); }

    // The file choices, each returning the path chosen or an empty string
    // when cancelled: Qt's file dialogs unless replaced (tests). The
    // argument is the folder to start in, or the suggested file.
    std::function<QString(const QString& folder)> choose_log_to_open;
    std::function<QString(const QString& suggested)> choose_log_to_save;
    std::function<QString(const QString& suggested)> choose_picture_to_save;
    // Opens the roasts folder in the desktop's file manager.
    std::function<bool(const QString& folder)> open_folder;
    std::function<QString(const QString& folder)> choose_background_log;
    // Told of every read-only window this one opens for a roast chosen
    // while a recording runs.
    std::function<void(RoastCurveWindow&)> on_viewer_opened;
    // Shows the roast history ("History…"); the button is hidden without it.
    std::function<void()> show_history;
    // The saved file of the recorder's last recording; empty while one
    // runs and when it could not be saved. Notes edited after a roast are
    // written into it.
    std::function<std::string()> saved_roast_file;

    // The buttons' actions.
    void OpenRoast();
    void SavePicture();
    void SaveLogAs();
    void OpenFolder();
    void ShowBackground();
    // Marks `kind` now in the roast being recorded; nothing otherwise.
    void MarkNow(MarkKind kind);
    void UndoMark();
    // Keeps the notes as typed with the roast shown, if they changed.
    void CommitNotes();

    // What is drawn (tests): the bean-temperature lines, the rate lines,
    // the step marks as (seconds, label), the cooling bands, the text.
    QChart* chart() const { return chart_; }
    // Lines in the order they were made.
    const std::vector<QLineSeries*>& bean_lines() const { return bean_.lines; }
    const std::vector<QLineSeries*>& rate_lines() const { return rate_.lines; }
    std::vector<std::pair<double, QString>> marks() const;
    const std::vector<QAreaSeries*>& cooling_bands() const { return cooling_bands_; }
    QString reading_text() const;
    QValueAxis* temperature_axis() const { return temperature_axis_; }
    QPushButton* button(const QString& text) const;
    // The event marks drawn as (seconds, label): the shown roast's, and
    // the background's.
    std::vector<std::pair<double, QString>> event_marks() const;
    std::vector<std::pair<double, QString>> background_marks() const;
    // The background's lines (bean and rate), empty without one.
    const std::vector<QLineSeries*>& background_lines() const { return background_lines_; }
    PhaseBar* phase_bar() const { return phase_bar_; }
    RoastNotesPanel* notes() const { return notes_; }

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // CurveSink
    void BeginBeanLine(bool cooling) override;
    void AddBeanPoint(double seconds, double degrees) override;
    void BeginRateLine() override;
    void AddRatePoint(double seconds, double degrees_per_minute) override;
    void AddMark(double seconds, const std::string& label) override;
    void BeginCooling(double seconds) override;
    void ExtendCooling(double seconds) override;

    void BuildChart();
    QWidget* BuildButtons();
    // Draws the shown log afresh; the texts and scales follow.
    void Rebuild();
    // Adds the shown log's last sample to what is drawn.
    void AddLastSample();
    // The axes for what `tracer` has drawn.
    void UpdateScales(const CurveTracer& tracer);
    // What the time, temperature and rate axes span now.
    struct AxisSpans {
        double seconds = 0, temperature = 0, rate = 0;
    };
    AxisSpans CurrentSpans() const;
    void UpdateTexts();
    void UpdateAxisTitles();
    void UpdateLegend();
    // The phases of what is shown: while recording up to now, else to
    // its last sample.
    void UpdatePhases();
    void UpdateButtons();
    bool CanMark() const;
    QLineSeries* NewLine(const QColor& colour, qreal width, QValueAxis* y_axis);
    // Puts a series on the chart; while rebuilding, only once all are made.
    void Attach(QAbstractSeries* series, QAbstractAxis* y_axis);
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
    void BeginLine(LineFamily& family, const QColor& colour, qreal width, QValueAxis* y_axis);
    // The last line grown by one point.
    void AppendPoint(LineFamily& family, double seconds, double value, QValueAxis* y_axis, const ValueScale& y_scale);
    // Of `points`, those needed to draw them on the plot as it is now.
    QList<QPointF> Thinned(const QList<QPointF>& points, const ValueScale& y_scale);
    // A step mark: its line, and its label above the plot.
    struct Mark {
        double seconds;
        QLineSeries* line;
        QGraphicsSimpleTextItem* label;
    };
    void PlaceMarkLabel(const Mark& mark);
    // An event mark (dry end, first crack...): a line across the plot and
    // its name along it, at the top for the shown roast, at the bottom and
    // pale for the background's.
    struct EventMark {
        double seconds;
        QLineSeries* line;
        QGraphicsSimpleTextItem* label;
        bool background;
    };
    void AddEventMark(std::vector<EventMark>& into, const RoastMark& mark, bool background);
    void PlaceEventLabel(const EventMark& mark);
    void PlaceAllLabels();
    // The shown roast's marks drawn afresh (they changed).
    void RedrawEventMarks();
    // The background's lines and marks; their extent joins the scales.
    void DrawBackground();
    // Where notes typed now go, and the notes shown for what is shown.
    enum class NotesTarget { None, Recording, LastRoast, OpenedFile };
    void ShowNotesOfShown();
    // Notes typed for the recorder's last roast once the recorder moved
    // on: they go into its saved file directly.
    void CommitNotesToFile(const std::string& path);
    void ShowRewriteFailure(const std::string& path, const std::string& reason);
    // The plot grew: lines thinned for a smaller one are drawn afresh.
    void OnPlotAreaChanged(const QRectF& plot);
    // A non-blocking warning titled with the program's name.
    void Warn(const QString& text);
    // The log of a file, or a box naming the file and its first bad line.
    std::optional<RoastLog> ReadLogOrWarn(const QString& path);
    QString Folder() const;

    QString folder_;
    RoastRecorder* recorder_ = nullptr;
    RoastLog opened_;          // a log read from a file
    QString opened_path_;
    const RoastLog* shown_ = nullptr;
    bool celsius_ = false;
    bool stale_ = false;       // samples came while hidden; drawn when shown
    std::unique_ptr<CurveTracer> tracer_;

    QLabel* summary_ = nullptr;
    QLabel* legend_ = nullptr;
    QLabel* reading_ = nullptr;
    PhaseBar* phase_bar_ = nullptr;
    RoastNotesPanel* notes_ = nullptr;
    QSplitter* splitter_ = nullptr;
    NotesTarget notes_target_ = NotesTarget::None;
    std::string last_roast_file_;  // the recorder's last roast's file, once ended
    QChart* chart_ = nullptr;
    QChartView* view_ = nullptr;
    QCategoryAxis* time_axis_ = nullptr;
    QValueAxis* temperature_axis_ = nullptr;
    QValueAxis* rate_axis_ = nullptr;
    QValueAxis* fraction_axis_ = nullptr;  // 0 at the plot's bottom, 1 at its top
    TimeScale time_scale_;
    ValueScale temperature_scale_;
    ValueScale rate_scale_;

    LineFamily bean_;
    LineFamily rate_;
    std::vector<Mark> marks_;
    std::vector<QAreaSeries*> cooling_bands_;
    std::vector<EventMark> event_marks_;
    // The background roast: its log, its file, what is drawn of it, and
    // its extent in the panel's unit.
    std::optional<RoastLog> background_;
    QString background_path_;
    std::vector<QLineSeries*> background_lines_;
    std::vector<EventMark> background_marks_;
    double background_seconds_ = 0;
    ValueSpan background_temperatures_;
    ValueSpan background_rates_;
    bool rebuilding_ = false;
    std::vector<std::pair<QAbstractSeries*, QAbstractAxis*>> unattached_;  // made while rebuilding
    QSizeF thinned_for_;  // the largest plot lines were thinned for
    AxisSpans drawn_spans_;  // when the lines were last drawn afresh
    bool thinning_pending_ = false;  // lines were drawn before the plot had a size
    QTimer* rebuild_later_ = nullptr;
    std::vector<QPointer<RoastCurveWindow>> viewers_;  // read-only windows opened from this one
    QPointer<QWidget> keyboard_owner_;  // had the keyboard when this opened by itself
    QElapsedTimer since_passive_show_;
};
