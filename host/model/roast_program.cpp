#include "roast_program.h"

#include <algorithm>
#include <cmath>

#include "batch_learner.h"
#include "controller_state.h"

namespace {
// A plan from the merged values that the model foresees this near (°F RMS)
// is kept without trying another.
constexpr double kGoodEnoughF = 0.5;
}  // namespace

RoastHeating HeatingOf(const RoastLog& log) {
    RoastHeating out;
    for (const RoastSample& s : log.samples) {
        if (s.machine_state == kRun && s.run_phase == kHeat) {
            out.samples.push_back(s);
        } else if (!out.samples.empty()) {
            if (s.machine_state == kRun && IsCoolingPhase(s.run_phase)) out.drop_seconds = s.seconds;
            break;
        }
    }
    return out;
}

std::vector<SentValues> SentDuring(const std::vector<RoastSample>& heating, int seconds) {
    std::vector<SentValues> sent;
    std::size_t at = 0;
    for (int s = 0; s < seconds && !heating.empty(); ++s) {
        // The values of the last sample by the middle of that second.
        while (at + 1 < heating.size() && heating[at + 1].seconds <= s + 0.5) ++at;
        sent.push_back({std::clamp(static_cast<int>(heating[at].fan), 1, 9),
                        std::clamp(static_cast<int>(heating[at].heat), 1, 3)});
    }
    return sent;
}

std::optional<Plan> ProgramOfRoast(const RoastLog& log) {
    const RoastHeating heating = HeatingOf(log);
    if (!heating.drop_seconds || heating.samples.empty() || !heating.samples.front().bean_f ||
        !std::all_of(heating.samples.begin(), heating.samples.end(), LevelsKnown))
        return std::nullopt;
    const int tenths = static_cast<int>(std::lround(*heating.drop_seconds / 6.0));
    const int seconds = tenths * 6;
    const std::vector<SentValues> sent = SentDuring(heating.samples, seconds);
    std::vector<ProgramStep> first = StepsOfSent(sent, tenths);
    if (first.empty()) return std::nullopt;

    BatchLearner learner(false);
    learner.LearnRoast(heating.samples, log.gap_seconds);
    const BatchLearner::Guess& best = learner.Best();
    const BatchModel model{best.model, best.lag};
    PlanGoal goal;
    goal.start = BeanState{0.0, static_cast<double>(*heating.samples.front().bean_f)};
    goal.heating_tenths = tenths;
    goal.near = sent;
    for (double bean : PredictBeans(model, goal.start, sent)) goal.wanted.emplace_back(bean);
    // The values sent merged where most alike; where the plan from them
    // stays off (values that flit merge into steps the planner cannot
    // always untangle), the heating cut in even steps too, and the better
    // plan kept.
    Plan merged = PlanProgram(model, goal, std::move(first));
    if (merged.rms_f <= kGoodEnoughF) return merged;
    Plan even = PlanProgram(model, goal, EvenSteps(sent, tenths));
    return merged.rms_f <= even.rms_f ? merged : even;
}
