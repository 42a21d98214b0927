// The invariants of the console's data whatever happened before: checks
// shared by the fuzz targets, the soak test and the fault tests. Each
// returns an empty string when all hold, else says what is broken.
#pragma once

#include <cstdint>
#include <string>

#include "controller_state.h"
#include "step_data.h"

// The chain from `head` holds exactly `count` records numbered 1..count,
// and count is at most `max_count`.
std::string ListProblem(const CStep_Data& list, uint32_t max_count);

// A profile as the control cycle can run it: at least a roast step and the
// cooling step, exactly one step with a cooling status and that step last,
// fan 1..9, heat 0..3 (0 on the cooling step), time 1..99.
std::string ProfileProblem(const CStep_Data& list);

// The controller values the logic keeps within their ranges: states,
// phases, counters, the smoothing ring, the live values.
std::string StateProblem(const ControllerState& s);
