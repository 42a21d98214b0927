// Roast recording in the program: the system's clocks, the roasts folder,
// the recorder fed by the controller, the curve window on it, follow mode
// steering a run after the curve's background, and the roasts made again
// from the curve and the history. Made with
// the main window, once this program holds the single-instance lock, so the
// logs another run left unfinished are made whole before a new recording
// can start.
#pragma once

#include <QPointer>
#include <QString>

#include "follow_session.h"
#include "followed_profile.h"
#include "live_roast_curve.h"
#include "model_forecast.h"
#include "program_planning.h"
#include "roast_again.h"
#include "roaster_model_keeper.h"
#include "roast_log_files.h"
#include "roast_recorder.h"
#include "system_roast_clock.h"

class QMessageBox;
class QWidget;
class RoasterController;

class RoastSession {
public:
    // `roasts_folder` empty: the user's, in the platform's data folder.
    RoastSession(RoasterController& controller, QWidget* main_window, const QString& roasts_folder);
    ~RoastSession();
    RoastSession(const RoastSession&) = delete;
    RoastSession& operator=(const RoastSession&) = delete;

    // The program ends: a running recording is kept, marked incomplete,
    // and the controller feeds the recorder no more. Once; later calls do
    // nothing.
    void Close();

    // Shows `background`, read from `path`, behind the curve from the start
    // (the command line's --background) and, with `follow`, arms follow
    // mode for the next run (--follow), with the background's steps as the
    // profile. The curve window opens beside the panel once the panel
    // shows.
    void StartWithBackground(RoastLog background, const QString& path, bool follow);

    // The roaster the roasts are made on ("roaster" in their logs): the
    // roaster on the port, or a simulated one. Its model is learnt from its
    // roasts from now on.
    void SetRoaster(const std::string& roaster);

    // The panel's menu entries.
    void ShowCurve() { curve_.Show(); }
    void ShowHistory() { curve_.ShowHistory(); }

    const QString& folder() const { return folder_; }
    RoastRecorder& recorder() { return recorder_; }
    LiveRoastCurve& curve() { return curve_; }
    FollowSession& follow() { return follow_; }
    RoastAgain& roast_again() { return again_; }
    RoasterModelKeeper& roaster_model() { return model_; }
    ModelForecast& forecast() { return forecast_; }
    ProgramPlanning& planning() { return planning_; }

    // "<data folder>/kavolo-roaster/roasts".
    static QString DefaultFolder();

private:
    void ReportWriteFailure(const std::string& path, const std::string& reason);
    // "Follow background" turned on (with the curve's background) or off.
    void ToggleFollow(bool on);
    // What follow mode does and what the profile the next roast runs is,
    // in the curve window.
    void ShowFollowStatus();

    RoasterController& controller_;
    QWidget* main_window_;
    QString folder_;
    SystemRoastClock clock_;
    RoastLogFiles files_;
    RoastRecorder recorder_;
    LiveRoastCurve curve_;
    FollowSession follow_;
    RoastAgain again_;
    FollowedProfile followed_profile_;
    RoasterModelKeeper model_;
    ModelForecast forecast_;
    ProgramPlanning planning_;
    QPointer<QMessageBox> failure_box_;
    bool closed_ = false;
};
