// Roast recording in the program: the system's clocks, the roasts folder,
// the recorder fed by the controller, and the curve window on it. Made with
// the main window, once this program holds the single-instance lock, so the
// logs another run left unfinished are made whole before a new recording
// can start.
#pragma once

#include <QPointer>
#include <QString>

#include "live_roast_curve.h"
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

    // The panel's menu entries.
    void ShowCurve() { curve_.Show(); }
    void ShowHistory() { curve_.ShowHistory(); }

    const QString& folder() const { return folder_; }
    RoastRecorder& recorder() { return recorder_; }
    LiveRoastCurve& curve() { return curve_; }

    // "<data folder>/kavolo-roaster/roasts".
    static QString DefaultFolder();

private:
    void ReportWriteFailure(const std::string& path, const std::string& reason);

    RoasterController& controller_;
    QWidget* main_window_;
    QString folder_;
    SystemRoastClock clock_;
    RoastLogFiles files_;
    RoastRecorder recorder_;
    LiveRoastCurve curve_;
    QPointer<QMessageBox> failure_box_;
    bool closed_ = false;
};
