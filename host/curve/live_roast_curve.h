// Keeps a "Roast curve" window on the recorder: the window is made when a
// recording starts or when the user asks for it, shows itself when a
// recording starts (without taking the keyboard from the panel), and
// follows every sample and the panel's temperature unit. Beside it the
// "Roast history" window, made when first asked for, lists the saved roasts
// afresh after every recording and opens them in the curve window. Both
// open beside the panel, or where the user last put them.
#pragma once

#include <QPointer>
#include <QString>
#include <functional>
#include <memory>

#include "console_events.h"
#include "roast_compare_window.h"
#include "roast_curve_window.h"
#include "roast_history_window.h"
#include "roast_recorder.h"
#include "window_placer.h"

class QWidget;
class RoastLogFiles;

class LiveRoastCurve final : public ConsoleListener {
public:
    // `owner` (the main window) parents the windows, so they stay usable
    // while the owner runs modally; `celsius` tells the unit the panel
    // shows; `files` (may be null) saves the recorder's roasts, and notes
    // edited after a roast are written into its file.
    LiveRoastCurve(RoastRecorder& recorder, const RoastLogFiles* files, QString roasts_folder, QWidget* owner,
                   std::function<bool()> celsius);
    ~LiveRoastCurve();
    LiveRoastCurve(const LiveRoastCurve&) = delete;
    LiveRoastCurve& operator=(const LiveRoastCurve&) = delete;

    // Shows the window and brings it to the front (the panel's menu).
    void Show();
    // Shows the window, if hidden, without taking the keyboard from the
    // window that has it (a recording starts).
    void ShowPassively();
    // Shows the roast history in front (the panel's menu, "History…").
    void ShowHistory();
    // Reads the roasts at `paths` (off the window's thread) and shows them
    // in a "Compare roasts" window; a log that does not read is said.
    void Compare(const QStringList& paths);
    // The panel's unit changed.
    void FollowUnit();
    void OnUnitChanged(bool) override { FollowUnit(); }

    // The windows once made; nullptr before.
    RoastCurveWindow* window() const { return window_; }
    RoastHistoryWindow* history() const { return history_; }
    // Told of each window when it is made (tests replace its file choices
    // and questions).
    std::function<void(RoastCurveWindow&)> on_window_made;
    std::function<void(RoastHistoryWindow&)> on_history_made;
    std::function<void(RoastCompareWindow&)> on_compare_made;

    // What the windows need of the panel they open beside; the program's
    // main window gives them. Where the panel is (without it the window
    // system places the windows); its keys made to work in the curve
    // window too; the panel brought to the front.
    std::function<std::optional<PanelWhere>()> panel_where;
    std::function<void(QWidget& window)> share_panel_keys;
    std::function<void()> show_panel;

    // Follow mode and the roasts made again, as the program wires them:
    // the curve window's "Follow background" turned on or off; "Roast
    // again" in either window (the history's roast read first, a file that
    // does not read said in a box); "Save steps as profile…".
    std::function<void(bool on)> follow_toggled;
    std::function<void(const RoastLog& log, const QString& path)> roast_again;
    std::function<void(const RoastLog& log)> save_steps_as_profile;
    // What follow mode does, shown in the curve window (now or once made).
    void ShowFollowStatus(bool on, const QString& text);
    // The roaster's model, in the curve window (now or once made): what it
    // foresees of the current profile, and what its line says.
    void ShowForecast(std::optional<Forecast> forecast);
    void ShowModelText(const QString& text, const QString& tooltip);
    // "Plan a program" in either window (the history's roast read first),
    // and whether the model can plan now (`why` not, when it cannot).
    std::function<void(const RoastLog& log, const QString& path)> plan_program;
    void SetPlanAvailable(bool available, const QString& why);
    // The curve window shows the recorder's running or last roast again
    // (not a roast opened from a file).
    void ShowRecorderRoasts();
    // What the profile the next roast runs is, the same way.
    void ShowProfileNote(const QString& text);
    // Told when the curve window's background changes.
    std::function<void()> background_changed;
    // Draws `log`, read from `path`, as the background, in the window made
    // for it if need be (it is not shown for this).
    void ShowBackground(RoastLog log, const QString& path);

private:
    void OnEvent(RoastEvent event);
    RoastCurveWindow& Window();
    RoastHistoryWindow& History();

    RoastRecorder& recorder_;
    const RoastLogFiles* files_;
    QString folder_;
    QWidget* owner_;
    std::function<bool()> celsius_;
    // Places a window made now beside the panel, or where it was put.
    WindowPlacer* PlacerFor(QWidget& window, const QString& name);
    void ShowComparison(std::vector<RoastCompareWindow::Entry> roasts);
    // The panel's keys work in the curve window, once it shows.
    void SharePanelKeys();

    QPointer<RoastCurveWindow> window_;
    QPointer<RoastHistoryWindow> history_;
    QPointer<WindowPlacer> window_placer_;
    QPointer<WindowPlacer> history_placer_;
    std::vector<QPointer<RoastCompareWindow>> comparisons_;
    bool follow_on_ = false;
    QString follow_text_;
    std::optional<Forecast> forecast_;
    QString model_text_;
    QString model_tooltip_;
    bool plan_available_ = false;
    QString plan_why_;
    QString profile_note_;
    // The recorder keeps its listeners; this one goes quiet when this dies.
    std::shared_ptr<LiveRoastCurve*> self_;
};
