// What a roaster's model foresees of a program: the beans second by second
// to the drop, where its steps change, when first crack comes (the beans
// reaching the user's first crack temperature) and how hot the beans are
// at the drop. Before a roast, of a profile from the beans' temperature
// now; during one, of the rest of the program from where the beans are,
// the model made to this batch by its readings so far.
#pragma once

#include <optional>
#include <vector>

#include "bean_prediction.h"
#include "learnt_roaster.h"
#include "program_planner.h"
#include "roaster_fit.h"
#include "step_data.h"

struct Forecast {
    double from_seconds = 0;      // the roast time of beans_f[0]
    std::vector<double> beans_f;  // each second from from_seconds to the drop
    // The roast times at which a step after the first begins.
    std::vector<double> step_seconds;
    double first_crack_f = kDefaultFirstCrackF;
    // When the beans reach first_crack_f: none when they do not by the
    // drop, or were there already.
    std::optional<double> first_crack_seconds;
    bool first_crack_passed = false;  // they were there already

    double drop_seconds() const { return from_seconds + static_cast<double>(beans_f.size()) - 1.0; }
    double drop_f() const { return beans_f.empty() ? 0.0 : beans_f.back(); }
};

// Green beans go into the roaster at the room's temperature: between
// roasts, a reading warmer than this is the last batch still cooling in
// the roaster, not where the next one starts.
constexpr double kWarmestGreenBeansF = 120.0;
// Where the next roast's beans start, by the roaster's reading between
// roasts; none when the reading says nothing of it (no reading, or the
// last batch still warm).
std::optional<double> NextBatchStart(std::optional<double> reading_f);

// The roast steps of `profile` before its cooling (steps of no time left
// out); values as they are.
std::vector<ProgramStep> HeatingStepsOf(const CStep_Data& profile);

// `steps` run from beans at `start_f`, the heater cold.
Forecast ForecastProgram(const BatchModel& model, double start_f, const std::vector<ProgramStep>& steps,
                         double first_crack_f);

// A roast under way: `so_far` its heating until now (its last sample),
// `rest` the values the program will send each second from then to the
// drop.
Forecast ForecastRest(const BatchModel& roaster, const RoastForFit& so_far, const std::vector<SentValues>& rest,
                      double first_crack_f);
