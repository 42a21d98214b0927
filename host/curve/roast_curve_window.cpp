#include "roast_curve_window.h"

#include <QApplication>
#include <QChartView>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QVBoxLayout>
#include <algorithm>

#include "curve_colours.h"
#include "curve_text.h"
#include "flow_layout.h"
#include "mark_controls.h"
#include "phase_bar.h"
#include "program_names.h"
#include "roast_files.h"
#include "roast_log_names.h"
#include "roast_notes_panel.h"
#include "roast_phases.h"
#include "warning_box.h"
#include "window_settings.h"

namespace {

const QString kTitle = QStringLiteral("Roast curve");
const QString kOpenRoast = QStringLiteral("Open roast\u2026");
const QString kSavePicture = QStringLiteral("Save picture\u2026");
const QString kSaveLog = QStringLiteral("Save log as\u2026");
const QString kExportArtisan = QStringLiteral("Export for Artisan\u2026");
const QString kOpenFolder = QStringLiteral("Open folder");
const QString kHistory = QStringLiteral("History\u2026");
const QString kShowBackground = QStringLiteral("Show as background\u2026");
const QString kClearBackground = QStringLiteral("Clear background");
const QString kNotesToggle = QStringLiteral("Notes");
const QString kPanel = QStringLiteral("Panel");
const QString kFollow = QStringLiteral("Follow background");
const QString kRoastAgain = QStringLiteral("Roast again");
const QString kSaveSteps = QStringLiteral("Save steps as profile…");
const QString kPlanProgram = QStringLiteral("Plan a program");
// Whether the notes are shown beside the curve, kept between runs.
const QString kNotesShownKey = QStringLiteral("curve/notes_shown");
// The notes give way where the curve beside them would be narrower than
// this (a window beside the panel on a small screen): the curve would be
// too narrow to read.
constexpr int kUsableCurveWidth = 480;

QString FromStd(const std::string& text) { return QString::fromStdString(text); }

QString ColourName(const QColor& c) { return c.name(QColor::HexRgb); }

}  // namespace

RoastCurveWindow::RoastCurveWindow(QString roasts_folder, QWidget* parent)
    : QWidget(parent, Qt::Window),
      plot_(this),
      files_(this, std::move(roasts_folder)),
      notes_(new RoastNotesPanel(this)),
      notes_binding_(*notes_, [this](const QString& text) { ShowWarning(this, text); }) {
    setWindowTitle(kTitle);
    // As narrow as the buttons allow: the layout sets the width.
    setMinimumHeight(400);
    resize(1040, 640);

    files_.open_log = [this](const QString& path) { OpenRoastFile(path); };
    files_.show_background = [this](const QString& path) { ShowBackgroundFile(path); };

    // The notes beside the picture; the splitter gives the curve the room
    // the user wants, and "Notes" folds them away.
    connect(notes_, &RoastNotesPanel::Edited, this, &RoastCurveWindow::CommitNotes);
    connect(notes_, &RoastNotesPanel::Done, this, [this] { plot_.view()->setFocus(); });
    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->addWidget(BuildPicture());
    splitter->addWidget(notes_);
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 0);
    splitter->setCollapsible(0, false);
    splitter->setSizes({800, 240});

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 8);
    layout->setSpacing(6);
    layout->addWidget(splitter, 1);
    layout->addWidget(BuildButtons());

    // The keys of the marks reach the window from the curve, which has the
    // keyboard when the window opens (a notes field would take the letters).
    plot_.view()->setFocusPolicy(Qt::StrongFocus);
    plot_.view()->setFocus();

    Rebuild();
    UpdateButtons();
}

RoastCurveWindow::~RoastCurveWindow() {
    // The program may end with a notes field still being typed in.
    CommitNotes();
}

QWidget* RoastCurveWindow::BuildPicture() {
    // What "Save picture…" saves: the texts and the chart, not the buttons.
    picture_ = new QWidget(this);
    picture_->setObjectName(QStringLiteral("picture"));
    picture_->setAutoFillBackground(true);
    QPalette white = picture_->palette();
    white.setColor(QPalette::Window, Qt::white);
    picture_->setPalette(white);

    summary_ = new QLabel(picture_);
    summary_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    legend_ = new QLabel(picture_);
    // In a narrow window (beside the panel) the legend wraps rather than
    // widen it.
    legend_->setWordWrap(true);
    legend_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    reading_ = new QLabel(picture_);
    // In a narrow window the line wraps between its figures rather than
    // widen the window or drop any.
    reading_->setWordWrap(true);
    reading_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    QFont reading_font = reading_->font();
    reading_font.setPointSizeF(reading_font.pointSizeF() * 1.2);
    reading_font.setBold(true);
    reading_->setFont(reading_font);
    phase_bar_ = new PhaseBar(picture_);
    // What the roaster's model rests on and foresees.
    model_line_ = new QLabel(picture_);
    model_line_->setObjectName(QStringLiteral("model line"));
    model_line_->setWordWrap(true);
    model_line_->setStyleSheet(QStringLiteral("color: %1").arg(ColourName(curve_colour::kForecast)));
    model_line_->hide();

    // The legend under the chart, so the line above it has the width for
    // what is shown and its background.
    auto* layout = new QVBoxLayout(picture_);
    layout->setContentsMargins(8, 6, 8, 6);
    layout->setSpacing(2);
    layout->addWidget(summary_);
    layout->addWidget(reading_);
    layout->addWidget(model_line_);
    layout->addWidget(plot_.view(), 1);
    layout->addWidget(legend_);
    layout->addWidget(phase_bar_);
    return picture_;
}

QWidget* RoastCurveWindow::BuildButtons() {
    // The buttons wrap onto further rows in a narrow window (one beside the
    // panel on a small screen).
    auto* rows = new QWidget(this);
    auto* flow = new FlowLayout(rows, 6);
    flow->setContentsMargins(8, 0, 8, 0);
    auto add = [this, rows, flow](const QString& text, auto action) {
        auto* b = new QPushButton(text, rows);
        b->setObjectName(text);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, action);
        flow->addWidget(b);
        return b;
    };
    mark_controls_ = new MarkControls(rows);
    flow->addWidget(mark_controls_);
    add(kShowBackground, [this] { files_.ShowBackground(); })
        ->setToolTip(QStringLiteral("Draws a saved roast faintly behind the curve, to roast against"));
    add(kClearBackground, &RoastCurveWindow::ClearBackground);
    QPushButton* follow = add(kFollow, [this](bool on) {
        if (follow_toggled) follow_toggled(on);
    });
    follow->setCheckable(true);
    follow->setToolTip(QStringLiteral("Steers the running step's heat and fan so the beans follow the background; "
                                      "any key or button of the panel that changes the roast gives them back to you"));
    follow_status_ = new QLabel(rows);
    follow_status_->setObjectName(QStringLiteral("follow status"));
    // A long status asks for no wider window: it takes the rest of its row
    // and wraps.
    follow_status_->setWordWrap(true);
    follow_status_->setMinimumWidth(120);
    follow_status_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    flow->addWidget(follow_status_);
    // A row of its own.
    flow->AddBreak();
    profile_note_ = new QLabel(rows);
    profile_note_->setObjectName(QStringLiteral("profile note"));
    profile_note_->setWordWrap(true);
    profile_note_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    profile_note_->setMinimumWidth(120);
    profile_note_->hide();
    flow->addWidget(profile_note_);

    flow->AddBreak();
    add(kOpenRoast, [this] { files_.OpenRoast(); });
    add(kSavePicture, [this] {
        const std::string name = shown_ ? SuggestedLogName(*shown_) : "roast.csv";
        files_.SavePicture(picture_, QFileInfo(FromStd(name)).completeBaseName());
    });
    add(kSaveLog, [this] {
        CommitNotes();
        files_.SaveLogAs(shown_);
    });
    add(kExportArtisan, [this] {
        CommitNotes();
        files_.ExportForArtisan(shown_, celsius_);
    })->setToolTip(QStringLiteral("Writes this roast as an Artisan profile (.alog), in the panel's unit"));
    add(kRoastAgain, [this] {
        CommitNotes();
        if (roast_again && shown_) roast_again(*shown_, ShownPath());
    })->setToolTip(kRoastAgainTip);
    add(kSaveSteps, [this] {
        if (save_steps_as_profile && shown_) save_steps_as_profile(*shown_);
    })->setToolTip(kSaveStepsTip);
    add(kPlanProgram, [this] {
        CommitNotes();
        if (!plan_program) return;
        if (background_)
            plan_program(*background_, background_path_);
        else if (shown_)
            plan_program(*shown_, ShownPath());
    });
    add(kOpenFolder, [this] { files_.OpenFolder(); });
    add(kHistory, [this] {
        if (show_history) show_history();
    });
    QPushButton* notes = add(kNotesToggle, [this](bool shown) { ShowNotes(shown); });
    notes->setCheckable(true);
    notes_wanted_ = WindowSettings().value(kNotesShownKey, true).toBool();
    notes->setChecked(notes_wanted_);
    notes_->setVisible(notes_wanted_);
    notes->setToolTip(QStringLiteral("Shows or hides the notes beside the curve"));
    add(kPanel, [this] {
        if (show_panel) show_panel();
    })->setToolTip(QStringLiteral("Brings the roaster's panel to the front (key P)"));
    return rows;
}

// --- what is shown -----------------------------------------------------------

void RoastCurveWindow::Follow(RoastRecorder* recorder) {
    CommitNotes();
    recorder_ = recorder;
    shown_ = recorder ? &recorder->log() : nullptr;
    Rebuild();
    BindNotes();
    UpdateButtons();
}

void RoastCurveWindow::OnRoastEvent(RoastEvent event) {
    if (!recorder_) return;
    switch (event) {
    case RoastEvent::Started:
        // Notes still being typed belong to what was shown before.
        notes_binding_.NewRecordingBegins();
        // A new recording replaces whatever was shown.
        shown_ = &recorder_->log();
        opened_ = RoastLog{};
        opened_path_.clear();
        Rebuild();
        BindNotes();
        UpdateButtons();
        break;
    case RoastEvent::Sample:
    case RoastEvent::Marked:
        if (!live()) return;
        if (stale_ || !isVisible()) {
            stale_ = true;  // drawn in full when shown again
            return;
        }
        if (event == RoastEvent::Sample) {
            plot_.AddLastSample();
            UpdateTexts();
        } else {
            plot_.RedrawEventMarks();
        }
        UpdatePhases();
        break;
    case RoastEvent::Ended:
        if (!live()) return;
        // Notes typed during the roast and not yet kept go into its file.
        notes_binding_.RecordingEnded(saved_roast_file ? saved_roast_file() : std::string());
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
    BindNotes();
    UpdateButtons();
}

void RoastCurveWindow::BindNotes() {
    if (Recording())
        notes_binding_.ToRecording(*recorder_);
    else if (live() && !shown_->samples.empty())
        notes_binding_.ToLastRoast(*recorder_, saved_roast_file ? saved_roast_file() : std::string());
    else if (shown_ && shown_ == &opened_ && RoastFileKeepsNotes(opened_path_.toStdString()))
        notes_binding_.ToOpenedFile(opened_, opened_path_.toStdString());
    else
        notes_binding_.ToNothing(shown_);
}

void RoastCurveWindow::OpenRoastFile(const QString& path) {
    std::optional<RoastLog> log = files_.ReadLogOrWarn(path);
    if (!log) return;
    if (Recording()) {
        // The running roast stays on screen; the saved one opens beside it,
        // read only, and goes when closed.
        auto* viewer = new RoastCurveWindow(files_.folder(), parentWidget());
        viewer->setAttribute(Qt::WA_DeleteOnClose);
        viewer->setWindowTitle(kTitle + QStringLiteral(" \u2013 ") + QFileInfo(path).fileName());
        viewer->files().ChooseAs(files_);
        viewer->show_history = show_history;
        viewer->show_panel = show_panel;
        viewer->roast_again = roast_again;
        viewer->save_steps_as_profile = save_steps_as_profile;
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

void RoastCurveWindow::ShowBackgroundFile(const QString& path) {
    std::optional<RoastLog> log = files_.ReadLogOrWarn(path);
    if (log) ShowBackground(std::move(*log), path);
}

void RoastCurveWindow::ShowBackground(RoastLog log, const QString& path) {
    background_ = std::move(log);
    background_path_ = path;
    BackgroundChanged();
    Rebuild();
    UpdateButtons();
}

void RoastCurveWindow::ClearBackground() {
    if (!background_) return;
    background_.reset();
    background_path_.clear();
    BackgroundChanged();
    Rebuild();
    UpdateButtons();
}

void RoastCurveWindow::BackgroundChanged() {
    if (background_changed) background_changed();
    QPushButton* follow = button(kFollow);
    if (!follow->isChecked()) return;
    follow->setChecked(false);
    if (follow_toggled) follow_toggled(false);
}

void RoastCurveWindow::SetFollowStatus(bool on, const QString& text) {
    const QSignalBlocker quiet(button(kFollow));
    button(kFollow)->setChecked(on);
    follow_status_->setText(text);
    // An empty status takes no room in the rows of buttons.
    follow_status_->setVisible(static_cast<bool>(follow_toggled) && !text.isEmpty());
}

QString RoastCurveWindow::follow_status() const { return follow_status_->text(); }

void RoastCurveWindow::SetProfileNote(const QString& text) {
    profile_note_->setText(text);
    profile_note_->setVisible(!text.isEmpty());
}

QString RoastCurveWindow::profile_note() const { return profile_note_->text(); }

QString RoastCurveWindow::ShownPath() const {
    if (shown_ == &opened_) return opened_path_;
    return QString::fromStdString(saved_roast_file && !Recording() ? saved_roast_file() : std::string());
}

void RoastCurveWindow::SetCelsius(bool celsius) {
    for (const QPointer<RoastCurveWindow>& viewer : viewers_)
        if (viewer) viewer->SetCelsius(celsius);
    if (celsius == celsius_) return;
    celsius_ = celsius;
    Rebuild();
}

// --- keyboard and showing ------------------------------------------------------

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
    button(kHistory)->setVisible(static_cast<bool>(show_history));
    button(kPanel)->setVisible(static_cast<bool>(show_panel));
    button(kFollow)->setVisible(static_cast<bool>(follow_toggled));
    follow_status_->setVisible(static_cast<bool>(follow_toggled) && !follow_status_->text().isEmpty());
    button(kRoastAgain)->setVisible(static_cast<bool>(roast_again));
    button(kSaveSteps)->setVisible(static_cast<bool>(save_steps_as_profile));
    button(kPlanProgram)->setVisible(static_cast<bool>(plan_program));
    FitNotes();
    if (stale_) Rebuild();
    QWidget::showEvent(event);
}

void RoastCurveWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    FitNotes();
}

bool RoastCurveWindow::RoomForNotes(int window_width) const {
    return window_width - notes_->sizeHint().width() >= kUsableCurveWidth;
}

void RoastCurveWindow::FitNotes() {
    const bool shown = notes_wanted_ && RoomForNotes(width());
    if (notes_->isVisibleTo(this) == shown && button(kNotesToggle)->isChecked() == shown) return;
    notes_->setVisible(shown);
    const QSignalBlocker quiet(button(kNotesToggle));
    button(kNotesToggle)->setChecked(shown);
}

void RoastCurveWindow::ShowNotes(bool shown) {
    notes_wanted_ = shown;
    WindowSettings().setValue(kNotesShownKey, shown);
    if (shown && !RoomForNotes(width()) && screen()) {
        // Asked for in a window too narrow for them: it widens, within its
        // screen, to make room beside the curve.
        int wider = width();
        while (!RoomForNotes(wider)) wider += 10;
        const QRect area = screen()->availableGeometry();
        const int decorations = frameGeometry().width() - width();
        wider = std::min(wider, area.width() - decorations);
        QRect frame = frameGeometry();
        frame.setWidth(wider + decorations);
        if (frame.right() > area.right()) frame.moveRight(area.right());
        if (frame.left() < area.left()) frame.moveLeft(area.left());
        move(frame.topLeft());
        resize(wider, height());
    }
    FitNotes();
}

void RoastCurveWindow::keyPressEvent(QKeyEvent* event) {
    // Letters typed into a notes field never come here: the field takes them.
    if (mark_controls_->HandleKey(event)) return;
    if (event->key() == Qt::Key_P && !(event->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier))) {
        if (!event->isAutoRepeat() && show_panel) show_panel();
        return;
    }
    QWidget::keyPressEvent(event);
}

void RoastCurveWindow::closeEvent(QCloseEvent* event) {
    CommitNotes();
    QWidget::closeEvent(event);
}

// --- texts ---------------------------------------------------------------------

void RoastCurveWindow::Rebuild() {
    if (!isVisible() && plot_.drawn()) {
        stale_ = true;
        return;
    }
    stale_ = false;
    plot_.SetLogs(shown_, background_ ? &*background_ : nullptr, celsius_);
    plot_.SetForecast(ForecastShown() ? &*forecast_ : nullptr);
    plot_.Draw();
    UpdateTexts();
    UpdateLegend();
    UpdatePhases();
}

void RoastCurveWindow::UpdateTexts() {
    std::optional<RoastSample> last;
    if (shown_ && !shown_->samples.empty()) last = shown_->samples.back();
    // The figures, each kept whole where the line wraps; how far the beans
    // are from the background comes first, so a narrow window shows it.
    // It is said while the roast is recorded and both curves have a value
    // now: after the roast there is no "now" to compare.
    QStringList figures = FromStd(ReadingText(last, celsius_)).split(QStringLiteral("   "));
    if (background_ && last && Recording()) {
        const std::optional<double> bean = last->bean_f ? std::optional<double>(*last->bean_f) : std::nullopt;
        const std::string versus = BackgroundDifferenceText(bean, BeanAt(*background_, last->seconds), celsius_);
        if (!versus.empty()) figures.prepend(FromStd(versus));
    }
    for (QString& figure : figures) figure.replace(QLatin1Char(' '), QChar::Nbsp);
    reading_->setText(figures.join(QStringLiteral("   ")));
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
    using namespace curve_colour;
    // Each key and its label are kept on one line where the legend wraps:
    // the label's spaces do not break, and the predicted line's key is two
    // minus signs, which (unlike hyphens) a line does not break after.
    QStringList entries;
    const auto entry = [&entries](const QString& colour, const QString& key, QString label) {
        entries << QStringLiteral("<span style='color:%1'>%2</span>&nbsp;%3")
                       .arg(colour, key, label.replace(QLatin1Char(' '), QStringLiteral("&nbsp;")));
    };
    const QString square = QStringLiteral("\u25a0");
    entry(ColourName(kHeating), square, QStringLiteral("Bean, heating"));
    entry(ColourName(kCooling), square, QStringLiteral("Bean, cooling"));
    entry(ColourName(kRate), square, QStringLiteral("Rate of rise"));
    if (background_) entry(ColourName(kBackgroundHeating), square, QStringLiteral("Background"));
    if (ForecastShown())
        entry(ColourName(kForecast), QStringLiteral("<b>\u2212&nbsp;\u2212</b>"), QStringLiteral("Predicted"));
    legend_->setText(entries.join(QStringLiteral(" &nbsp; ")));
}

void RoastCurveWindow::UpdatePhases() {
    const bool running = Recording();
    if (!shown_ || (shown_->samples.empty() && !running)) {
        phase_bar_->SetPhases(std::nullopt);
        return;
    }
    const double now = running ? recorder_->ElapsedSeconds() : shown_->samples.back().seconds;
    phase_bar_->SetPhases(ComputePhases(shown_->marks.list(), now, running));
}

void RoastCurveWindow::UpdateButtons() {
    mark_controls_->SetTarget(Recording() ? recorder_ : nullptr);
    button(kClearBackground)->setEnabled(background_.has_value());
    button(kFollow)->setEnabled(background_.has_value());
    // During a run "Roast again" says why it cannot.
    const bool roast = shown_ && (Recording() || !shown_->samples.empty());
    button(kRoastAgain)->setEnabled(roast);
    button(kSaveSteps)->setEnabled(roast);
    const bool steered = shown_ && shown_->Has(roastkey::kSteeredSteps);
    button(kRoastAgain)->setToolTip(steered ? kRoastAgainSteeredTip : kRoastAgainTip);
    button(kSaveSteps)->setToolTip(steered ? kSaveStepsSteeredTip : kSaveStepsTip);
    UpdatePlanButton();
}

void RoastCurveWindow::UpdatePlanButton() {
    QPushButton* plan = button(kPlanProgram);
    const bool roast = background_ || (shown_ && !shown_->samples.empty() && !Recording());
    plan->setEnabled(plan_available_ && roast);
    if (!plan_available_) {
        plan->setToolTip(plan_unavailable_why_);
        return;
    }
    plan->setToolTip(background_ ? kPlanBackgroundTip : kPlanShownTip);
}

void RoastCurveWindow::ShowForecast(std::optional<Forecast> forecast) {
    forecast_ = std::move(forecast);
    Rebuild();
}

void RoastCurveWindow::SetModelText(const QString& text, const QString& tooltip) {
    model_line_->setText(text);
    model_line_->setToolTip(tooltip);
    model_line_->setVisible(!text.isEmpty());
}

QString RoastCurveWindow::model_text() const { return model_line_->text(); }

void RoastCurveWindow::SetPlanAvailable(bool available, const QString& why) {
    plan_available_ = available;
    plan_unavailable_why_ = why;
    UpdatePlanButton();
}

QString RoastCurveWindow::reading_text() const {
    return reading_->text().replace(QChar::Nbsp, QLatin1Char(' '));
}

QPushButton* RoastCurveWindow::button(const QString& text) const { return findChild<QPushButton*>(text); }
