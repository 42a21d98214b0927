// "Roast again" and "Save steps as profile…": a saved roast's steps as run
// (its "run_steps" line; for a followed roast, the program its steering
// came to, its "steered_steps" line) made the current profile again, as an unsaved copy
// named after the roast that SAVE asks a file for, with the roast shown as
// the background; or written to a profile file. Nothing is downloaded to
// the roaster. Refused with a box, and nothing changed, while a roast runs
// (for "Roast again") and when the steps do not make a profile.
// The name is the one the panel's name box shows whole (the start and the
// bean shortened); the whole name stays with the profile made, and SAVE
// suggests the shown one in the folder profiles were last saved in.
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
    // Makes `log`'s steps the current profile as Roast does, without
    // showing the roast or saying anything; false, with `why`, when they
    // make none.
    bool UseSteps(const RoastLog& log, QString& why);
    // Writes `log`'s steps as run to the profile file the user chooses.
    void SaveSteps(const RoastLog& log);

    // Says why something was refused or failed: a box beside the curve
    // unless replaced (tests).
    std::function<void(const QString& text)> warn;
    // Whether a name fits the panel's name box; not set: every name does.
    std::function<bool(const std::string& name)> name_fits;
    // Told after a profile was made.
    std::function<void()> on_profile_made;

    // The profile made last: the name the panel shows, and the whole name
    // of the roast it was made from; empty before.
    const std::string& shown_name() const { return shown_name_; }
    const std::string& whole_name() const { return whole_name_; }
    // True while the current profile is the one made last from `log` (any
    // roast when null): not saved, replaced or made again since.
    bool ProfileIsMade(const RoastLog* log = nullptr) const;
    // The file SAVE suggests for the current profile: the made one's name
    // in the folder profiles were last saved in; empty for any other.
    QString SuggestedFile() const;
    // A profile was saved at `path`: the next is suggested in its folder.
    static void Saved(const QString& path);

private:
    // The steps `log` ran; none, with `why`, when it has none.
    std::optional<std::vector<StepNode>> StepsOf(const RoastLog& log, QString& why);

    RoasterController& controller_;
    LiveRoastCurve& curve_;
    std::string shown_name_;
    std::string whole_name_;
};
