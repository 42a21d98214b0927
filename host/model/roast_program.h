// The program a roast comes to: the roaster program (at most 20 roast
// steps) that, run by the roaster on its own, would give that roast's curve
// again. For a followed roast, this is what follow mode's steering keeps.
//
// The roast's heating teaches a model of the batch (BatchLearner, fitted
// to every reading alike); the values sent during it (follow mode's
// choices, the user's edits) are merged into few enough steps and the
// planner improves them until the model, run on them, lies nearest its own
// curve for what was sent, and near the values sent (where the model is
// surest). Aiming at the model's curve rather than at the
// readings leaves out what the model misses of this roast: that miss is
// the same for both, so the steps give the roast's own curve again on the
// roaster even where the model is a little off.
#pragma once

#include <optional>
#include <vector>

#include "program_planner.h"
#include "roast_log.h"

// The heating of a roast log: its samples from the first that heats until
// the first after it that does not, and whether that one cools (the heating
// ran to its end: the drop).
struct RoastHeating {
    std::vector<RoastSample> samples;
    std::optional<double> drop_seconds;  // when the cooling began; none if it never did
};
RoastHeating HeatingOf(const RoastLog& log);

// The values in force at each second of `heating`, 0 up to `seconds`.
std::vector<SentValues> SentDuring(const std::vector<RoastSample>& heating, int seconds);

// The program `log`'s heating comes to, with how near the model expects it
// to come (Plan::rms_f); none when the roast did not heat to its cooling,
// or its heating does not fit in kMostProgramSteps steps.
std::optional<Plan> ProgramOfRoast(const RoastLog& log);
