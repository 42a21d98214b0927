// Keeps a "Roast curve" window on the recorder: the window is made when a
// recording starts or when the user asks for it, shows itself when a
// recording starts (without taking the keyboard from the panel), and
// follows every sample and the panel's temperature unit.
#pragma once

#include <QPointer>
#include <QString>
#include <functional>
#include <memory>

#include "roast_curve_window.h"
#include "roast_recorder.h"

class QWidget;

class LiveRoastCurve {
public:
    // `owner` (the main window) parents the curve window, so the window
    // stays usable while the owner runs modally; `celsius` tells the unit
    // the panel shows.
    LiveRoastCurve(RoastRecorder& recorder, QString roasts_folder, QWidget* owner, std::function<bool()> celsius);
    ~LiveRoastCurve();
    LiveRoastCurve(const LiveRoastCurve&) = delete;
    LiveRoastCurve& operator=(const LiveRoastCurve&) = delete;

    // Shows the window and brings it to the front (the panel's menu).
    void Show();
    // The panel's unit changed.
    void FollowUnit();

    // The window once made; nullptr before.
    RoastCurveWindow* window() const { return window_; }
    // Told of the window when it is made (tests replace its file choices).
    std::function<void(RoastCurveWindow&)> on_window_made;

private:
    void OnEvent(RoastEvent event);
    RoastCurveWindow& Window();

    RoastRecorder& recorder_;
    QString folder_;
    QWidget* owner_;
    std::function<bool()> celsius_;
    QPointer<RoastCurveWindow> window_;
    // The recorder keeps its listeners; this one goes quiet when this dies.
    std::shared_ptr<LiveRoastCurve*> self_;
};
