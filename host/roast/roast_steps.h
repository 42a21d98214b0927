// A roast's steps in its log, and the profile a roast makes again.
//
// The log writes a profile's steps as one header value, fan/minutes/heat a
// step and the cooling without heat: "9/5.0/3, 8/4.5/2, cool 5/3.0". The
// planned steps are the profile as the run began; the steps as run are
// what the run left of it (a step that ran holds the time it ran, a step
// split during the run is two, an edit's values stay). A followed roast
// also keeps the program its steering comes to (its steered steps), in
// the same form.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "roast_log.h"
#include "step_data.h"

// `list`'s steps as one header value.
std::string StepsText(const CStep_Data& list);
// The same of steps in order (a cooling step by its status).
std::string StepsText(const std::vector<StepNode>& steps);

struct StepsParse {
    bool ok = false;
    // In order, roast steps waiting and a cooling step cooling-waiting,
    // wherever it stands; their values as written, in range or not.
    std::vector<StepNode> steps;
    std::string problem;  // what does not read, when !ok
};

// Reads what StepsText writes.
StepsParse ParseStepsText(const std::string& text);

// The name of a profile made again from `log`: its bean (from the notes)
// or else its profile, and its start, "Kenya AA 2026-12-08 14:03".
std::string NameFromRoast(const RoastLog& log);

// The same name as the panel's name box shows it whole (`fits` tells):
// the start shortened to "12-08 14:03" first, then the bean or profile
// cut to fit with "…", "Ethiopia Guji nat… 12-09 19:14".
std::string ShortNameFromRoast(const RoastLog& log, const std::function<bool(const std::string&)>& fits);
