// "Plan a program": the roaster program that, by the roaster's model, gives
// a saved roast's curve when the roaster runs it by itself; for any saved
// roast (the console's, from another roaster, or Artisan's), since only its
// bean temperature over time is needed.
//
// The roast's heating, from its first reading to its drop, is the wanted
// curve, and the program's steps add up to its length. The planner starts
// from a first guess made step by step (for each of as many even steps as
// a profile holds, the fan and heat that keep the model nearest the curve
// over that step and the next) and, for a roast whose file says its fan
// and heat, from its own values merged into few enough steps too; it
// improves each (PlanProgram) and keeps the nearer. Neighbouring steps that
// came out alike are joined. The cooling is the roast's own.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "bean_prediction.h"
#include "program_planner.h"
#include "roast_log.h"

struct RoastPlan {
    std::vector<ProgramStep> steps;  // at most kMostProgramSteps, their times adding up to the heating's
    ProgramStep cooling{9, 40, 0};   // fan and time; no heat
    // How far the model's curve for the steps lies from the roast's, from
    // 0:30 to the drop, °F RMS, run from `start_f`.
    double rms_f = 0;
    double start_f = 0;
};

// The plan for `roast` on the roaster `model` is of, for beans that start
// at `start_f` (the roaster's reading now; none: as the roast began); none,
// with `why` (e.g. "it has no readings"), when it cannot be planned.
std::optional<RoastPlan> PlanForRoast(const BatchModel& model, const RoastLog& roast, std::optional<double> start_f,
                                      std::string& why);

// `steps` with neighbours of the same fan and heat joined, where the joined
// step is no longer than a step may be.
std::vector<ProgramStep> JoinAlikeSteps(const std::vector<ProgramStep>& steps);

// `steps` (planned for `goal` on `model`) without the steps shorter than
// 0.3 minutes that the model's curve hardly needs: each is given to the
// neighbour whose values it misses least, while the curve stays within
// 0.3 °F RMS of where it was. A program of six-second steps is a busy
// one to read, and to change by hand.
std::vector<ProgramStep> WithoutShortSteps(const BatchModel& model, const PlanGoal& goal,
                                           std::vector<ProgramStep> steps);
