#include "roast_curve_window.h"

#include <QApplication>
#include <QAreaSeries>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QGraphicsSimpleTextItem>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineSeries>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QSplitter>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>

#include "curve_polylines.h"
#include "curve_text.h"
#include "curve_thinning.h"
#include "free_heap.h"
#include "phase_bar.h"
#include "program_names.h"
#include "rate_of_rise.h"
#include "roast_log_files.h"
#include "roast_notes.h"
#include "roast_notes_panel.h"
#include "roast_phases.h"

namespace {

const QString kTitle = QStringLiteral("Roast curve");
const QString kLogFilter = QStringLiteral("Roast log (*.csv)");
const QString kPictureFilter = QStringLiteral("PNG picture (*.png)");
const QString kOpenRoast = QStringLiteral("Open roast\u2026");
const QString kSavePicture = QStringLiteral("Save picture\u2026");
const QString kSaveLog = QStringLiteral("Save log as\u2026");
const QString kOpenFolder = QStringLiteral("Open folder");
const QString kHistory = QStringLiteral("History\u2026");
const QString kShowBackground = QStringLiteral("Show as background\u2026");
const QString kClearBackground = QStringLiteral("Clear background");
const QString kUndoMark = QStringLiteral("Undo mark");
const QString kNotesToggle = QStringLiteral("Notes");

// The marks made by hand, their buttons and keys.
const struct {
    MarkKind kind;
    Qt::Key key;
    const char* key_name;
} kMarkKeys[] = {{MarkKind::DryEnd, Qt::Key_D, "D"},
                 {MarkKind::FirstCrack, Qt::Key_F, "F"},
                 {MarkKind::FirstCrackEnd, Qt::Key_E, "E"},
                 {MarkKind::SecondCrack, Qt::Key_S, "S"}};

const QColor kHeatingColour(204, 40, 32);
const QColor kCoolingColour(32, 96, 208);
const QColor kRateColour(0, 128, 96);
const QColor kMarkColour(110, 110, 110);
const QColor kCoolingBandColour(32, 96, 208, 28);
const QColor kEventColour(120, 50, 150);
// The background roast: the same colours, pale, on thinner lines.
const QColor kBackgroundHeatingColour(236, 170, 164);
const QColor kBackgroundCoolingColour(166, 190, 234);
const QColor kBackgroundRateColour(150, 206, 186);
const QColor kBackgroundMarkColour(190, 160, 206);
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

QString ColourName(const QColor& c) { return c.name(QColor::HexRgb); }

QString ReadFailure(const QString& path, const RoastLogParse& parsed) {
    return parsed.bad_line > 0 ? QStringLiteral("Cannot read the roast log %1: line %2: %3")
                                     .arg(path)
                                     .arg(parsed.bad_line)
                                     .arg(FromStd(parsed.problem))
                               : QStringLiteral("Cannot read the roast log %1: %2").arg(path, FromStd(parsed.problem));
}

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

QString SaveDialog(QWidget* parent, const QString& title, const QString& suggested, const QString& filter,
                   const QString& suffix) {
    // Qt's save dialog asks before it replaces a file, and adds the suffix
    // to a name typed without one.
    QFileDialog dialog(parent, title, suggested, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(suffix);
    if (dialog.exec() != QDialog::Accepted) return {};
    return dialog.selectedFiles().value(0);
}

}  // namespace

RoastCurveWindow::RoastCurveWindow(QString roasts_folder, QWidget* parent)
    : QWidget(parent, Qt::Window), folder_(std::move(roasts_folder)) {
    setWindowTitle(kTitle);
    // As narrow as the buttons allow: the layout sets the width.
    setMinimumHeight(400);
    resize(1040, 640);

    choose_log_to_open = [this](const QString& folder) {
        return QFileDialog::getOpenFileName(this, QStringLiteral("Open roast"), folder, kLogFilter);
    };
    choose_log_to_save = [this](const QString& suggested) {
        return SaveDialog(this, QStringLiteral("Save log as"), suggested, kLogFilter, QStringLiteral("csv"));
    };
    choose_picture_to_save = [this](const QString& suggested) {
        return SaveDialog(this, QStringLiteral("Save picture"), suggested, kPictureFilter, QStringLiteral("png"));
    };
    choose_background_log = [this](const QString& folder) {
        return QFileDialog::getOpenFileName(this, QStringLiteral("Show as background"), folder, kLogFilter);
    };
    open_folder = [](const QString& folder) { return QDesktopServices::openUrl(QUrl::fromLocalFile(folder)); };

    // What "Save picture…" saves: the texts and the chart, not the buttons.
    auto* picture = new QWidget(this);
    picture->setObjectName(QStringLiteral("picture"));
    picture->setAutoFillBackground(true);
    QPalette white = picture->palette();
    white.setColor(QPalette::Window, Qt::white);
    picture->setPalette(white);

    summary_ = new QLabel(picture);
    summary_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    legend_ = new QLabel(picture);
    reading_ = new QLabel(picture);
    reading_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    QFont reading_font = reading_->font();
    reading_font.setPointSizeF(reading_font.pointSizeF() * 1.2);
    reading_font.setBold(true);
    reading_->setFont(reading_font);
    reading_->setFixedHeight(QFontMetrics(reading_font).height() + 4);

    BuildChart();
    phase_bar_ = new PhaseBar(picture);

    // The legend under the chart, so the line above it has the width for
    // what is shown and its background.
    auto* picture_layout = new QVBoxLayout(picture);
    picture_layout->setContentsMargins(8, 6, 8, 6);
    picture_layout->setSpacing(2);
    picture_layout->addWidget(summary_);
    picture_layout->addWidget(reading_);
    picture_layout->addWidget(view_, 1);
    picture_layout->addWidget(legend_, 0, Qt::AlignRight);
    picture_layout->addWidget(phase_bar_);

    // The notes beside the picture; the splitter gives the curve the room
    // the user wants, and "Notes" folds them away.
    notes_ = new RoastNotesPanel(this);
    connect(notes_, &RoastNotesPanel::Edited, this, &RoastCurveWindow::CommitNotes);
    connect(notes_, &RoastNotesPanel::Done, this, [this] { view_->setFocus(); });
    splitter_ = new QSplitter(Qt::Horizontal, this);
    splitter_->addWidget(picture);
    splitter_->addWidget(notes_);
    splitter_->setStretchFactor(0, 1);
    splitter_->setStretchFactor(1, 0);
    splitter_->setCollapsible(0, false);
    splitter_->setSizes({800, 240});

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 8);
    layout->setSpacing(6);
    layout->addWidget(splitter_, 1);
    layout->addWidget(BuildButtons());

    // The keys of the marks reach the window from the curve, which has the
    // keyboard when the window opens (a notes field would take the letters).
    view_->setFocusPolicy(Qt::StrongFocus);
    view_->setFocus();

    Rebuild();
    UpdateButtons();
}

QWidget* RoastCurveWindow::BuildButtons() {
    auto* rows = new QWidget(this);
    auto add = [this, rows](QHBoxLayout* row, const QString& text, auto action) {
        auto* b = new QPushButton(text, rows);
        b->setObjectName(text);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, action);
        row->addWidget(b);
        return b;
    };
    auto* marks = new QHBoxLayout;
    for (const auto& mark : kMarkKeys) {
        QPushButton* b = add(marks, FromStd(MarkLabel(mark.kind)), [this, kind = mark.kind] { MarkNow(kind); });
        b->setToolTip(QStringLiteral("Marks the %1 now (key %2)")
                          .arg(FromStd(MarkLabel(mark.kind)).toLower(), QLatin1String(mark.key_name)));
        // A click leaves the keyboard where it was, with the curve.
        b->setFocusPolicy(Qt::TabFocus);
    }
    add(marks, kUndoMark, &RoastCurveWindow::UndoMark)->setToolTip(QStringLiteral("Takes back the last mark (Ctrl+Z)"));
    marks->addStretch(1);
    add(marks, kShowBackground, &RoastCurveWindow::ShowBackground)
        ->setToolTip(QStringLiteral("Draws a saved roast faintly behind the curve, to roast against"));
    add(marks, kClearBackground, &RoastCurveWindow::ClearBackground);

    auto* files = new QHBoxLayout;
    add(files, kOpenRoast, &RoastCurveWindow::OpenRoast);
    add(files, kSavePicture, &RoastCurveWindow::SavePicture);
    add(files, kSaveLog, &RoastCurveWindow::SaveLogAs);
    add(files, kOpenFolder, &RoastCurveWindow::OpenFolder);
    add(files, kHistory, [this] {
        if (show_history) show_history();
    });
    files->addStretch(1);
    QPushButton* notes = add(files, kNotesToggle, [this](bool shown) { notes_->setVisible(shown); });
    notes->setCheckable(true);
    notes->setChecked(true);
    notes->setToolTip(QStringLiteral("Shows or hides the notes beside the curve"));

    auto* layout = new QVBoxLayout(rows);
    layout->setContentsMargins(8, 0, 8, 0);
    layout->setSpacing(4);
    layout->addLayout(marks);
    layout->addLayout(files);
    return rows;
}

RoastCurveWindow::~RoastCurveWindow() {
    // The program may end with a notes field still being typed in.
    CommitNotes();
}

void RoastCurveWindow::BuildChart() {
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
    temperature_axis_->setTitleBrush(kHeatingColour);
    chart_->addAxis(temperature_axis_, Qt::AlignLeft);

    rate_axis_ = new QValueAxis;
    rate_axis_->setLabelFormat(QStringLiteral("%.0f"));
    rate_axis_->setGridLineVisible(false);
    rate_axis_->setTitleBrush(kRateColour);
    rate_axis_->setLabelsColor(kRateColour);
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
    rebuild_later_ = new QTimer(this);
    rebuild_later_->setSingleShot(true);
    rebuild_later_->setInterval(300);
    connect(rebuild_later_, &QTimer::timeout, this, &RoastCurveWindow::Rebuild);
    connect(chart_, &QChart::plotAreaChanged, this, &RoastCurveWindow::OnPlotAreaChanged);
}

// --- what is shown -----------------------------------------------------------

void RoastCurveWindow::Follow(RoastRecorder* recorder) {
    CommitNotes();
    recorder_ = recorder;
    shown_ = recorder ? &recorder->log() : nullptr;
    Rebuild();
    ShowNotesOfShown();
    UpdateButtons();
}

void RoastCurveWindow::OnRoastEvent(RoastEvent event) {
    if (!recorder_) return;
    switch (event) {
    case RoastEvent::Started:
        // Notes still being typed belong to what was shown before; the
        // recorder's last roast is in its file only now.
        if (notes_target_ == NotesTarget::LastRoast && notes_->Pending())
            CommitNotesToFile(last_roast_file_);
        else
            CommitNotes();
        // A new recording replaces whatever was shown.
        shown_ = &recorder_->log();
        opened_ = RoastLog{};
        opened_path_.clear();
        Rebuild();
        ShowNotesOfShown();
        UpdateButtons();
        break;
    case RoastEvent::Sample:
        if (!live()) return;
        if (stale_ || !isVisible()) {
            stale_ = true;  // drawn in full when shown again
            return;
        }
        AddLastSample();
        UpdatePhases();
        break;
    case RoastEvent::Marked:
        if (!live()) return;
        if (stale_ || !isVisible()) {
            stale_ = true;
            return;
        }
        RedrawEventMarks();
        UpdatePhases();
        break;
    case RoastEvent::Ended:
        if (!live()) return;
        notes_target_ = NotesTarget::LastRoast;
        last_roast_file_ = saved_roast_file ? saved_roast_file() : std::string();
        // Notes typed during the roast and not yet kept go into its file.
        CommitNotes();
        UpdateTexts();
        UpdatePhases();
        UpdateButtons();
        break;
    }
}

void RoastCurveWindow::ShowLog(RoastLog log, const QString& path) {
    CommitNotes();
    opened_ = std::move(log);
    opened_path_ = path;
    shown_ = &opened_;
    Rebuild();
    ShowNotesOfShown();
    UpdateButtons();
}

void RoastCurveWindow::SetCelsius(bool celsius) {
    for (const QPointer<RoastCurveWindow>& viewer : viewers_)
        if (viewer) viewer->SetCelsius(celsius);
    if (celsius == celsius_) return;
    celsius_ = celsius;
    Rebuild();
}

void RoastCurveWindow::ShowActive() {
    keyboard_owner_ = nullptr;
    setAttribute(Qt::WA_ShowWithoutActivating, false);
    show();
    raise();
    activateWindow();
}

void RoastCurveWindow::ShowPassively() {
    if (isVisible()) return;
    keyboard_owner_ = QApplication::activeWindow();
    since_passive_show_.start();
    setAttribute(Qt::WA_ShowWithoutActivating, true);
    show();
}

bool RoastCurveWindow::event(QEvent* event) {
    // Most window systems leave the keyboard where it was when a window
    // shows without activating; one that activates it all the same has the
    // keyboard handed back, so a key or a held button on the panel goes on
    // where it began.
    constexpr qint64 kActivationWaitMs = 1000;
    if (event->type() == QEvent::WindowActivate && keyboard_owner_ && since_passive_show_.isValid() &&
        since_passive_show_.elapsed() < kActivationWaitMs && QApplication::mouseButtons() == Qt::NoButton) {
        QPointer<QWidget> owner = keyboard_owner_;
        keyboard_owner_ = nullptr;
        owner->activateWindow();
    } else if (event->type() == QEvent::WindowActivate) {
        keyboard_owner_ = nullptr;
    }
    return QWidget::event(event);
}

void RoastCurveWindow::showEvent(QShowEvent* event) {
    if (stale_) Rebuild();
    QWidget::showEvent(event);
}

void RoastCurveWindow::Rebuild() {
    if (!isVisible() && tracer_) {
        stale_ = true;
        return;
    }
    stale_ = false;
    rebuild_later_->stop();
    chart_->removeAllSeries();
    bean_ = LineFamily{};
    rate_ = LineFamily{};
    for (const Mark& mark : marks_) delete mark.label;
    marks_.clear();
    for (const EventMark& mark : event_marks_) delete mark.label;
    event_marks_.clear();
    for (const EventMark& mark : background_marks_) delete mark.label;
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
    rebuilding_ = true;
    if (background_) {
        for (const CurvePolylines::Line& line : background.lines()) {
            QValueAxis* axis = line.rate ? rate_axis_ : temperature_axis_;
            const QColor colour =
                line.rate ? kBackgroundRateColour : line.cooling ? kBackgroundCoolingColour : kBackgroundHeatingColour;
            QLineSeries* series = NewLine(colour, kBackgroundWidth, axis);
            series->append(Thinned(ToQt(line.points), line.rate ? rate_scale_ : temperature_scale_));
            background_lines_.push_back(series);
        }
        for (const RoastMark& mark : background_->marks.list()) AddEventMark(background_marks_, mark, true);
    }
    tracer_ = std::make_unique<CurveTracer>(static_cast<CurveSink&>(*this), celsius_);
    if (shown_)
        for (const RoastSample& sample : shown_->samples) tracer_->Add(sample);
    if (shown_)
        for (const RoastMark& mark : shown_->marks.list()) AddEventMark(event_marks_, mark, false);
    rebuilding_ = false;
    for (const auto& [series, y_axis] : unattached_) Attach(series, y_axis);
    unattached_.clear();
    UpdateTexts();
    UpdateAxisTitles();
    UpdateLegend();
    UpdatePhases();
}

void RoastCurveWindow::OnPlotAreaChanged(const QRectF& plot) {
    PlaceAllLabels();
    constexpr double kGrowth = 1.05;
    if (plot.isEmpty()) return;
    // Lines drawn before the plot had its size (the window not laid out
    // yet) are thinned once it has.
    if (thinning_pending_ || (!thinned_for_.isEmpty() && (plot.width() > thinned_for_.width() * kGrowth ||
                                                          plot.height() > thinned_for_.height() * kGrowth)))
        rebuild_later_->start();
}

void RoastCurveWindow::AddLastSample() {
    if (!shown_ || shown_->samples.empty()) return;
    tracer_->Add(shown_->samples.back());
    UpdateScales(*tracer_);
    const AxisSpans now = CurrentSpans();
    const bool coarser = now.seconds > drawn_spans_.seconds * kCoarsening ||
                         now.temperature > drawn_spans_.temperature * kCoarsening ||
                         now.rate > drawn_spans_.rate * kCoarsening;
    if (coarser && !rebuild_later_->isActive()) rebuild_later_->start();
    UpdateTexts();
}

RoastCurveWindow::AxisSpans RoastCurveWindow::CurrentSpans() const {
    return {time_scale_.max_seconds, temperature_scale_.high - temperature_scale_.low,
            rate_scale_.high - rate_scale_.low};
}

void RoastCurveWindow::UpdateScales(const CurveTracer& tracer) {
    // The axes hold the background roast too.
    const TimeScale time = TimeScaleFor(std::max(tracer.last_seconds(), background_seconds_));
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

void RoastCurveWindow::UpdateTexts() {
    std::optional<RoastSample> last;
    if (shown_ && !shown_->samples.empty()) last = shown_->samples.back();
    std::string reading = ReadingText(last, celsius_);
    if (background_ && last) {
        const std::optional<double> bean = last->bean_f ? std::optional<double>(*last->bean_f) : std::nullopt;
        const std::string versus = BackgroundDifferenceText(bean, BeanAt(*background_, last->seconds), celsius_);
        if (!versus.empty()) reading += "   " + versus;
    }
    reading_->setText(FromStd(reading));
    const std::string file = live() || opened_path_.isEmpty() ? std::string()
                                                              : QFileInfo(opened_path_).fileName().toStdString();
    QString summary = shown_ ? FromStd(LogSummaryText(*shown_, file)) : QString();
    if (background_) {
        if (!summary.isEmpty()) summary += QStringLiteral("   ");
        summary += QStringLiteral("Background: ") + QFileInfo(background_path_).completeBaseName();
    }
    summary_->setText(summary);
}

void RoastCurveWindow::UpdateLegend() {
    QString legend = QStringLiteral("<span style='color:%1'>\u25a0</span> Bean, heating &nbsp; "
                                    "<span style='color:%2'>\u25a0</span> Bean, cooling &nbsp; "
                                    "<span style='color:%3'>\u25a0</span> Rate of rise")
                         .arg(ColourName(kHeatingColour), ColourName(kCoolingColour), ColourName(kRateColour));
    if (background_)
        legend += QStringLiteral(" &nbsp; <span style='color:%1'>\u25a0</span> Background")
                      .arg(ColourName(kBackgroundHeatingColour));
    legend_->setText(legend);
}

void RoastCurveWindow::UpdatePhases() {
    const bool running = CanMark();
    if (!shown_ || (shown_->samples.empty() && !running)) {
        phase_bar_->SetPhases(std::nullopt);
        return;
    }
    const double now = running ? recorder_->ElapsedSeconds() : shown_->samples.back().seconds;
    phase_bar_->SetPhases(ComputePhases(shown_->marks.list(), now, running));
}

bool RoastCurveWindow::CanMark() const { return live() && recorder_->recording(); }

void RoastCurveWindow::UpdateButtons() {
    const bool can_mark = CanMark();
    for (const auto& mark : kMarkKeys) button(FromStd(MarkLabel(mark.kind)))->setEnabled(can_mark);
    button(kUndoMark)->setEnabled(can_mark);
    button(kClearBackground)->setEnabled(background_.has_value());
}

void RoastCurveWindow::UpdateAxisTitles() {
    const QString unit = celsius_ ? QStringLiteral("\u00b0C") : QStringLiteral("\u00b0F");
    temperature_axis_->setTitleText(QStringLiteral("Bean ") + unit);
    rate_axis_->setTitleText(QStringLiteral("Rate of rise ") + unit + QStringLiteral("/min"));
}

// --- drawing -----------------------------------------------------------------

QLineSeries* RoastCurveWindow::NewLine(const QColor& colour, qreal width, QValueAxis* y_axis) {
    auto* line = new QLineSeries;
    // Bevelled joins: round ones cost the stroker curves at every point
    // of every repaint, and look the same at these widths.
    QPen pen(colour, width, Qt::SolidLine, Qt::FlatCap, Qt::BevelJoin);
    line->setPen(pen);
    Attach(line, y_axis);
    return line;
}

void RoastCurveWindow::Attach(QAbstractSeries* series, QAbstractAxis* y_axis) {
    if (rebuilding_) {
        unattached_.emplace_back(series, y_axis);
        return;
    }
    chart_->addSeries(series);
    series->attachAxis(time_axis_);
    series->attachAxis(y_axis);
}

void RoastCurveWindow::BeginLine(LineFamily& family, const QColor& colour, qreal width, QValueAxis* y_axis) {
    QLineSeries* live = NewLine(colour, width, y_axis);
    family.segments.push_back({nullptr, live});
    family.lines.push_back(live);
}

void RoastCurveWindow::AppendPoint(LineFamily& family, double seconds, double value, QValueAxis* y_axis,
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
    if (!rebuilding_) ReturnFreeHeapPages();
}

QList<QPointF> RoastCurveWindow::Thinned(const QList<QPointF>& points, const ValueScale& y_scale) {
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

void RoastCurveWindow::BeginBeanLine(bool cooling) {
    BeginLine(bean_, cooling ? kCoolingColour : kHeatingColour, 2.0, temperature_axis_);
}

void RoastCurveWindow::AddBeanPoint(double seconds, double degrees) {
    AppendPoint(bean_, seconds, degrees, temperature_axis_, temperature_scale_);
}

void RoastCurveWindow::BeginRateLine() { BeginLine(rate_, kRateColour, 1.5, rate_axis_); }

void RoastCurveWindow::AddRatePoint(double seconds, double degrees_per_minute) {
    AppendPoint(rate_, seconds, degrees_per_minute, rate_axis_, rate_scale_);
}

void RoastCurveWindow::AddMark(double seconds, const std::string& label) {
    // From the plot's bottom to its top whatever the temperature range.
    QLineSeries* line = NewLine(kMarkColour, 1.0, fraction_axis_);
    QPen pen = line->pen();
    pen.setStyle(Qt::DashLine);
    line->setPen(pen);
    line->append(seconds, 0);
    line->append(seconds, 1);
    // Labelled above the plot by an item of its own: a series' point
    // labels lie outside what the series repaints, and a repaint of the
    // plot beside them would cut them.
    auto* text = new QGraphicsSimpleTextItem(FromStd(label), chart_);
    QFont font = text->font();
    font.setBold(true);
    text->setFont(font);
    text->setBrush(QColor(60, 60, 60));
    text->setZValue(kMarkLabelZ);
    marks_.push_back({seconds, line, text});
    PlaceMarkLabel(marks_.back());
}

void RoastCurveWindow::PlaceMarkLabel(const Mark& mark) {
    const QRectF plot = chart_->plotArea();
    if (time_scale_.max_seconds <= 0) return;
    const QRectF size = mark.label->boundingRect();
    const double x = plot.left() + plot.width() * mark.seconds / time_scale_.max_seconds;
    mark.label->setPos(x - size.width() / 2, plot.top() - size.height());
}

void RoastCurveWindow::AddEventMark(std::vector<EventMark>& into, const RoastMark& mark, bool background) {
    QLineSeries* line = NewLine(background ? kBackgroundMarkColour : kEventColour, background ? 1.0 : 1.5, fraction_axis_);
    if (background) {
        QPen pen = line->pen();
        pen.setStyle(Qt::DashDotLine);
        line->setPen(pen);
    }
    line->append(mark.seconds, 0);
    line->append(mark.seconds, 1);
    auto* text = new QGraphicsSimpleTextItem(FromStd(background ? MarkLabel(mark.kind) : MarkText(mark, celsius_)),
                                             chart_);
    QFont font = text->font();
    font.setBold(!background);
    text->setFont(font);
    text->setBrush(background ? kBackgroundMarkColour.darker(130) : kEventColour);
    // Along the line, reading upwards, so marks close together stay apart.
    text->setRotation(-90);
    text->setZValue(kMarkLabelZ);
    into.push_back({mark.seconds, line, text, background});
    PlaceEventLabel(into.back());
}

void RoastCurveWindow::PlaceEventLabel(const EventMark& mark) {
    const QRectF plot = chart_->plotArea();
    if (time_scale_.max_seconds <= 0) return;
    // Turned a quarter left, the text runs up from its position, and its
    // height lies to the right of it: it ends just left of the line, the
    // shown roast's at the top of the plot, the background's at the bottom.
    const QRectF size = mark.label->boundingRect();
    const double x = plot.left() + plot.width() * mark.seconds / time_scale_.max_seconds;
    const double bottom = mark.background ? plot.bottom() - 4 : plot.top() + 4 + size.width();
    mark.label->setPos(x - size.height() - 1, bottom);
}

void RoastCurveWindow::PlaceAllLabels() {
    for (const Mark& mark : marks_) PlaceMarkLabel(mark);
    for (const EventMark& mark : event_marks_) PlaceEventLabel(mark);
    for (const EventMark& mark : background_marks_) PlaceEventLabel(mark);
}

void RoastCurveWindow::RedrawEventMarks() {
    // A handful of marks at most: all drawn afresh when one changes.
    for (const EventMark& mark : event_marks_) {
        chart_->removeSeries(mark.line);
        delete mark.line;
        delete mark.label;
    }
    event_marks_.clear();
    if (shown_)
        for (const RoastMark& mark : shown_->marks.list()) AddEventMark(event_marks_, mark, false);
}

void RoastCurveWindow::BeginCooling(double seconds) {
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
    band->setBrush(kCoolingBandColour);
    Attach(band, fraction_axis_);
    cooling_bands_.push_back(band);
}

void RoastCurveWindow::ExtendCooling(double seconds) {
    if (cooling_bands_.empty()) return;
    QAreaSeries* band = cooling_bands_.back();
    band->upperSeries()->replace(1, QPointF(seconds, 1));
    band->lowerSeries()->replace(1, QPointF(seconds, 0));
}

// --- test access -------------------------------------------------------------

std::vector<std::pair<double, QString>> RoastCurveWindow::marks() const {
    std::vector<std::pair<double, QString>> out;
    for (const Mark& mark : marks_) out.emplace_back(mark.seconds, mark.label->text());
    return out;
}

std::vector<std::pair<double, QString>> RoastCurveWindow::event_marks() const {
    std::vector<std::pair<double, QString>> out;
    for (const EventMark& mark : event_marks_) out.emplace_back(mark.seconds, mark.label->text());
    return out;
}

std::vector<std::pair<double, QString>> RoastCurveWindow::background_marks() const {
    std::vector<std::pair<double, QString>> out;
    for (const EventMark& mark : background_marks_) out.emplace_back(mark.seconds, mark.label->text());
    return out;
}

QString RoastCurveWindow::reading_text() const { return reading_->text(); }

QPushButton* RoastCurveWindow::button(const QString& text) const { return findChild<QPushButton*>(text); }

// --- buttons -----------------------------------------------------------------

QString RoastCurveWindow::Folder() const {
    // Made when first needed, so the dialogs can start in it.
    QDir().mkpath(folder_);
    return folder_;
}

void RoastCurveWindow::OpenRoast() {
    const QString path = choose_log_to_open(Folder());
    if (!path.isEmpty()) OpenRoastFile(path);
}

std::optional<RoastLog> RoastCurveWindow::ReadLogOrWarn(const QString& path) {
    RoastLogParse parsed = ReadRoastLogFile(path.toStdString());
    if (!parsed.ok) {
        Warn(ReadFailure(path, parsed));  // nothing shown changes
        return std::nullopt;
    }
    return std::move(parsed.log);
}

void RoastCurveWindow::OpenRoastFile(const QString& path) {
    std::optional<RoastLog> log = ReadLogOrWarn(path);
    if (!log) return;
    if (live() && recorder_->recording()) {
        // The running roast stays on screen; the saved one opens beside it,
        // read only, and goes when closed.
        auto* viewer = new RoastCurveWindow(folder_, parentWidget());
        viewer->setAttribute(Qt::WA_DeleteOnClose);
        viewer->setWindowTitle(kTitle + QStringLiteral(" \u2013 ") + QFileInfo(path).fileName());
        viewer->choose_log_to_open = choose_log_to_open;
        viewer->choose_log_to_save = choose_log_to_save;
        viewer->choose_picture_to_save = choose_picture_to_save;
        viewer->open_folder = open_folder;
        viewer->choose_background_log = choose_background_log;
        viewer->show_history = show_history;
        viewer->SetCelsius(celsius_);
        viewer->show();
        viewer->ShowLog(std::move(*log), path);
        viewers_.erase(std::remove(viewers_.begin(), viewers_.end(), nullptr), viewers_.end());
        viewers_.emplace_back(viewer);
        if (on_viewer_opened) on_viewer_opened(*viewer);
        return;
    }
    ShowLog(std::move(*log), path);
}

void RoastCurveWindow::SavePicture() {
    const QString stem = QFileInfo(FromStd(shown_ ? SuggestedLogName(*shown_) : "roast.csv")).completeBaseName();
    const QString path = choose_picture_to_save(QDir(Folder()).filePath(stem + QStringLiteral(".png")));
    if (path.isEmpty()) return;
    if (!findChild<QWidget*>(QStringLiteral("picture"))->grab().save(path, "PNG"))
        Warn(QStringLiteral("Cannot save the picture %1.").arg(path));
}

void RoastCurveWindow::SaveLogAs() {
    CommitNotes();
    if (!shown_ || shown_->samples.empty()) {
        Warn(QStringLiteral("There is no roast to save."));
        return;
    }
    const QString path = choose_log_to_save(QDir(Folder()).filePath(FromStd(SuggestedLogName(*shown_))));
    if (path.isEmpty()) return;
    const FileResult saved = SaveRoastLog(*shown_, path.toStdString());
    if (!saved.ok) Warn(QStringLiteral("Cannot save the roast log %1: %2").arg(path, FromStd(saved.reason)));
}

void RoastCurveWindow::OpenFolder() {
    if (!QDir().mkpath(folder_)) {
        Warn(QStringLiteral("Cannot make the roasts folder %1.").arg(folder_));
        return;
    }
    if (!open_folder(folder_)) Warn(QStringLiteral("Cannot open the roasts folder %1.").arg(folder_));
}

void RoastCurveWindow::ShowBackground() {
    const QString path = choose_background_log(Folder());
    if (!path.isEmpty()) ShowBackgroundFile(path);
}

void RoastCurveWindow::ShowBackgroundFile(const QString& path) {
    std::optional<RoastLog> log = ReadLogOrWarn(path);
    if (!log) return;
    background_ = std::move(*log);
    background_path_ = path;
    Rebuild();
    UpdateButtons();
}

void RoastCurveWindow::ClearBackground() {
    if (!background_) return;
    background_.reset();
    background_path_.clear();
    Rebuild();
    UpdateButtons();
}

// --- marks and notes -----------------------------------------------------------

void RoastCurveWindow::MarkNow(MarkKind kind) {
    if (CanMark()) recorder_->Mark(kind);
}

void RoastCurveWindow::UndoMark() {
    if (CanMark()) recorder_->UndoMark();
}

void RoastCurveWindow::keyPressEvent(QKeyEvent* event) {
    // Letters typed into a notes field never come here: the field takes them.
    if (event->matches(QKeySequence::Undo)) {
        if (!event->isAutoRepeat()) UndoMark();
        return;
    }
    if (!(event->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier))) {
        for (const auto& mark : kMarkKeys) {
            if (event->key() != mark.key) continue;
            // A held key marks once.
            if (!event->isAutoRepeat()) MarkNow(mark.kind);
            return;
        }
    }
    QWidget::keyPressEvent(event);
}

void RoastCurveWindow::closeEvent(QCloseEvent* event) {
    CommitNotes();
    QWidget::closeEvent(event);
}

void RoastCurveWindow::ShowNotesOfShown() {
    if (live() && recorder_->recording()) {
        notes_target_ = NotesTarget::Recording;
    } else if (live() && !shown_->samples.empty()) {
        notes_target_ = NotesTarget::LastRoast;
        last_roast_file_ = saved_roast_file ? saved_roast_file() : std::string();
    } else if (shown_ && shown_ == &opened_) {
        notes_target_ = NotesTarget::OpenedFile;
    } else {
        notes_target_ = NotesTarget::None;
    }
    notes_->Show(shown_ ? NotesOf(*shown_) : RoastNotes{}, notes_target_ != NotesTarget::None);
}

void RoastCurveWindow::CommitNotes() {
    if (!notes_->Pending()) return;
    const RoastNotes notes = notes_->Notes();
    switch (notes_target_) {
    case NotesTarget::None:
        return;
    case NotesTarget::Recording:
        // Into the partial log at once, and into the log at its end.
        recorder_->SetNotes(notes);
        break;
    case NotesTarget::LastRoast:
        recorder_->SetNotes(notes);
        if (!last_roast_file_.empty()) {
            const FileResult written = RewriteRoastHeader(last_roast_file_, recorder_->log());
            if (!written.ok) {
                ShowRewriteFailure(last_roast_file_, written.reason);
                return;
            }
        }
        break;
    case NotesTarget::OpenedFile: {
        // The whole header read from the file, keys unknown here included.
        RoastLog updated;
        updated.header = opened_.header;
        updated.marks = opened_.marks;
        WriteNotes(updated, notes);
        const std::string path = opened_path_.toStdString();
        const FileResult written = RewriteRoastHeader(path, updated);
        if (!written.ok) {
            ShowRewriteFailure(path, written.reason);
            return;
        }
        opened_.header = std::move(updated.header);
        break;
    }
    }
    notes_->Kept(notes);
}

void RoastCurveWindow::CommitNotesToFile(const std::string& path) {
    if (path.empty() || !notes_->Pending()) return;
    RoastLogParse read = ReadRoastLogFile(path);
    if (!read.ok) {
        ShowRewriteFailure(path, read.problem);
        return;
    }
    WriteNotes(read.log, notes_->Notes());
    const FileResult written = RewriteRoastHeader(path, read.log);
    if (!written.ok) ShowRewriteFailure(path, written.reason);
}

void RoastCurveWindow::ShowRewriteFailure(const std::string& path, const std::string& reason) {
    Warn(QStringLiteral("Cannot save the notes in the roast log %1: %2").arg(FromStd(path), FromStd(reason)));
}

void RoastCurveWindow::Warn(const QString& text) {
    // open(), not exec(): the roast goes on being drawn while it shows.
    auto* box = new QMessageBox(QMessageBox::Warning, kProgramName, text, QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}
