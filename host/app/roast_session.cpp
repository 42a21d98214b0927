#include "roast_session.h"

#include <QFileInfo>
#include <QMessageBox>
#include <QStandardPaths>
#include <QTimer>

#include "program_names.h"
#include "roaster_controller.h"

namespace {

const std::string kProgramAndVersion = kConsoleProgram + " " + KAVOLO_VERSION;

}  // namespace

QString RoastSession::DefaultFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/kavolo-roaster/roasts");
}

RoastSession::RoastSession(RoasterController& controller, QWidget* main_window, const QString& roasts_folder)
    : controller_(controller),
      main_window_(main_window),
      folder_(roasts_folder.isEmpty() ? DefaultFolder() : roasts_folder),
      files_(folder_.toStdString()),
      recorder_(clock_, &files_, kProgramAndVersion),
      curve_(recorder_, &files_, folder_, main_window, [&controller] { return controller.state().show_celsius != 0; }),
      follow_(recorder_, controller.step_values),
      again_(controller, curve_),
      followed_profile_(controller, follow_, again_, curve_),
      model_(folder_),
      forecast_(controller.console, model_, recorder_, curve_,
                [&controller] { return controller.state().show_celsius != 0; }),
      planning_(controller, curve_, model_) {
    files_.on_failure = [this](const std::string& path, const std::string& reason) {
        ReportWriteFailure(path, reason);
    };
    RecoverInterruptedLogs(folder_.toStdString());
    // Follow mode before the recorder: it sees a run's end while the
    // recording can still take its last line.
    controller_.events().Add(follow_);
    controller_.events().Add(recorder_);
    controller_.events().Add(curve_);
    controller_.events().Add(followed_profile_);
    controller_.events().Add(forecast_);
    // The model learns again from every roast saved, and what it foresees
    // follows it.
    model_.on_change = [this] { forecast_.ModelChanged(); };
    recorder_.AddListener([this](RoastEvent event) {
        if (event == RoastEvent::Ended && !closed_) model_.Refresh();
    });
    curve_.plan_program = [this](const RoastLog& log, const QString& path) { planning_.Plan(log, path); };
    planning_.on_planned = [this](const std::string& name, const RoastPlan& plan) {
        forecast_.Planned(name, static_cast<int>(plan.steps.size()), plan.rms_f);
    };
    follow_.on_change = [this] { ShowFollowStatus(); };
    followed_profile_.on_change = [this] { ShowFollowStatus(); };
    again_.on_profile_made = [this] { ShowFollowStatus(); };
    curve_.background_changed = [this] { followed_profile_.BackgroundChanged(); };
    curve_.follow_toggled = [this](bool on) { ToggleFollow(on); };
    curve_.roast_again = [this](const RoastLog& log, const QString& path) { again_.Roast(log, path); };
    curve_.save_steps_as_profile = [this](const RoastLog& log) { again_.SaveSteps(log); };
}

RoastSession::~RoastSession() { Close(); }

void RoastSession::Close() {
    if (closed_) return;
    closed_ = true;
    follow_.Close();
    recorder_.OnClose(controller_.console.working);
    // Whatever the controller handles after this (the rest of the event
    // that ended the program) starts no new recording.
    controller_.events().Remove(follow_);
    controller_.events().Remove(recorder_);
    controller_.events().Remove(curve_);
    controller_.events().Remove(followed_profile_);
    controller_.events().Remove(forecast_);
}

void RoastSession::SetRoaster(const std::string& roaster) {
    recorder_.set_roaster(roaster);
    model_.Start(roaster);
}

void RoastSession::StartWithBackground(RoastLog background, const QString& path, bool follow) {
    curve_.ShowBackground(std::move(background), path);
    if (follow) ToggleFollow(true);
    // Beside the panel, once the panel is where it shows.
    QTimer::singleShot(0, main_window_, [this] {
        if (curve_.window()) curve_.ShowPassively();
    });
}

void RoastSession::ToggleFollow(bool on) {
    const RoastCurveWindow* window = curve_.window();
    if (on && window && window->background())
        follow_.Arm(*window->background(), QFileInfo(window->background_path()).fileName().toStdString());
    else
        follow_.Disarm();
    // Between runs, the background's steps become the profile.
    if (on) followed_profile_.FollowTurnedOn();
    // The button shows what follow mode does, also when nothing changed.
    ShowFollowStatus();
}

void RoastSession::ShowFollowStatus() {
    const FollowState state = follow_.state();
    const bool on = state == FollowState::Armed || state == FollowState::Following || state == FollowState::Paused;
    curve_.ShowFollowStatus(on, QString::fromStdString(follow_.StatusText()));
    curve_.ShowProfileNote(followed_profile_.Note());
}

void RoastSession::ReportWriteFailure(const std::string& path, const std::string& reason) {
    const QString text = QStringLiteral("Cannot write the roast log %1: %2\n\n"
                                        "The roast is still being recorded. Save it with \"Save log as\u2026\" "
                                        "in the Roast curve window.")
                             .arg(QString::fromStdString(path), QString::fromStdString(reason));
    // Shown without a loop of its own: this is called while the recorder
    // takes a reading, and a nested event loop would feed it the next one
    // before it is done. A box still open is reused.
    if (!failure_box_) {
        failure_box_ = new QMessageBox(QMessageBox::Warning, kProgramName, text, QMessageBox::Ok, main_window_);
        failure_box_->setAttribute(Qt::WA_DeleteOnClose);
        failure_box_->setWindowModality(Qt::NonModal);
    } else {
        failure_box_->setText(text);
    }
    failure_box_->show();
}
