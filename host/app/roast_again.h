// "Roast again" and "Save steps as profile…": a saved roast's steps as run
// (its "run_steps" line; for a followed roast, the program its steering
// came to, its "steered_steps" line) made the current profile again, as an unsaved copy
// named after the roast that SAVE asks a file for, with the roast shown as
// the background; or written to a profile file. Nothing is downloaded to
// the roaster. Refused with a box, and nothing changed, while a roast runs
// (for "Roast again") and when the steps do not make a profile.
#pragma once

#include <QString>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "roast_log.h"
#include "step_node.h"

class LiveRoastCurve;
class RoasterController;

class RoastAgain {
public:
    RoastAgain(RoasterController& controller, LiveRoastCurve& curve);

    // The roast `log`, read from `path` (empty: not saved), roasted again.
    void Roast(const RoastLog& log, const QString& path);
    // Writes `log`'s steps as run to the profile file the user chooses.
    void SaveSteps(const RoastLog& log);

    // Says why something was refused or failed: a box beside the curve
    // unless replaced (tests).
    std::function<void(const QString& text)> warn;

private:
    // The steps `log` ran, or nothing after saying why there are none.
    std::optional<std::vector<StepNode>> StepsOf(const RoastLog& log, const QString& refused);

    RoasterController& controller_;
    LiveRoastCurve& curve_;
};
