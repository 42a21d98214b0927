// "Plan a program": for a saved roast (the curve window's background or the
// roast shown, the history's chosen roast, an Artisan profile), the program
// of at most 20 steps and the roast's cooling that the roaster's model says
// gives that roast's curve when the roaster runs it by itself, from the
// beans' temperature now. It is planned on a thread of its own and made the
// current profile as "Roast again" makes one (unsaved, named after the
// roast; SAVE asks for a file), with the roast shown as the background;
// nothing is sent to the roaster before POWER. Refused with a box while a
// roast runs, without a model, and when the roast gives no curve to plan for.
#pragma once

#include <QFutureWatcher>
#include <QString>
#include <QThreadPool>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "roast_log.h"
#include "roast_plan.h"

class LiveRoastCurve;
class RoasterController;
class RoasterModelKeeper;

class ProgramPlanning {
public:
    ProgramPlanning(RoasterController& controller, LiveRoastCurve& curve, RoasterModelKeeper& keeper);
    // Waits for a plan under way, which is then dropped.
    ~ProgramPlanning();
    ProgramPlanning(const ProgramPlanning&) = delete;
    ProgramPlanning& operator=(const ProgramPlanning&) = delete;

    // Plans for `log`, read from `path` (empty: not saved).
    void Plan(const RoastLog& log, const QString& path);
    bool planning() const { return watcher_ != nullptr; }

    // Whether a profile name shows whole in the panel's name box; the
    // planned program's name is shortened until it does.
    std::function<bool(const std::string& name)> name_fits;
    // Says why it was refused: a box beside the curve unless replaced.
    std::function<void(const QString& text)> warn;
    // Told of a program made the current profile `name`: its steps and the
    // RMS the model expects.
    std::function<void(const std::string& name, const RoastPlan& plan)> on_planned;

private:
    struct Planned {
        std::optional<RoastPlan> plan;
        std::string why;
    };
    void Made(const Planned& planned, const RoastLog& log, const QString& path);

    RoasterController& controller_;
    LiveRoastCurve& curve_;
    RoasterModelKeeper& keeper_;
    QThreadPool pool_;
    std::unique_ptr<QFutureWatcher<Planned>> watcher_;
};
