#include "roast_plan.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "roast_program.h"
#include "roast_steps.h"

namespace {

constexpr int kSecondsPerTenth = 6;
// A roast shorter than this is no roast to plan for, tenths of a minute.
constexpr int kShortestTenths = 10;
// The first seconds belong to the beans put in, not to the program.
constexpr int kFromSeconds = 30;
// What a change between steps costs, as misses summed (°F² over seconds)
// a fan and a heat level: about what a miss of 0.4 and 0.7 °F over a
// ten-minute roast comes to. A program that flits between values to
// chase a tenth of a degree is worse to roast with than one a little off.
constexpr double kFanChangeCost = 100.0;
constexpr double kHeatChangeCost = 300.0;
// Where the model is unsure (the roasts it learnt from never went there),
// what its doubt costs: enough that a plan stays where the roaster has
// been unless leaving it gains several degrees.
constexpr double kDoubtCost = 30.0;
// Steps shorter than this (tenths of a minute) are joined to a neighbour
// where the model's curve moves no more than kTidySlackF (°F RMS) for it.
constexpr int kShortestTidyTenths = 3;
constexpr double kTidySlackF = 0.3;
// A cooling the roast does not say: fan 9 for four minutes.
constexpr ProgramStep kUsualCooling{9, 40, 0};

// The cost of running `fan` and `heat` from `state` over seconds [from, to)
// of the heating: the squared misses from the wanted curve.
double Cost(const BeanPredictor& predict, BeanState state, int fan, int heat, int from, int to,
            const std::vector<std::optional<double>>& wanted) {
    double sum = 0;
    for (int s = from; s < to; ++s) {
        predict.Second(state, fan, heat);
        const std::size_t at = static_cast<std::size_t>(s + 1);
        if (s + 1 < kFromSeconds || at >= wanted.size() || !wanted[at]) continue;
        const double miss = state.bean_f - *wanted[at];
        sum += miss * miss;
    }
    return sum;
}

// As many even steps as a profile holds, each with the fan and heat that
// keep the model nearest the wanted curve over it and the next step.
std::vector<ProgramStep> StepByStep(const BatchModel& model, const PlanGoal& goal) {
    const BeanPredictor predict(model);
    const int n = std::min(kMostProgramSteps, goal.heating_tenths);
    std::vector<ProgramStep> steps;
    BeanState state = goal.start;
    for (int i = 0, from = 0; i < n; ++i) {
        const int to = goal.heating_tenths * (i + 1) / n;
        const int next = goal.heating_tenths * std::min(i + 2, n) / n;
        ProgramStep best{5, to - from, 2};
        double least = std::numeric_limits<double>::infinity();
        for (int heat = 1; heat <= 3; ++heat)
            for (int fan = 1; fan <= 9; ++fan) {
                double cost = Cost(predict, state, fan, heat, from * kSecondsPerTenth,
                                   std::max(next, to + 5) * kSecondsPerTenth, goal.wanted);
                if (!steps.empty())
                    cost += goal.fan_change_cost * std::abs(fan - steps.back().fan) +
                            goal.heat_change_cost * std::abs(heat - steps.back().heat);
                if (cost < least) {
                    least = cost;
                    best = {fan, to - from, heat};
                }
            }
        for (int s = from * kSecondsPerTenth; s < to * kSecondsPerTenth; ++s) predict.Second(state, best.fan, best.heat);
        steps.push_back(best);
        from = to;
    }
    return steps;
}

// The cooling `roast` ran: its own program's, else as long as its cooling
// samples with their fan, else the usual one.
ProgramStep CoolingOf(const RoastLog& roast, double drop_seconds) {
    for (const std::string& key : {roastkey::kSteeredSteps, roastkey::kRunSteps}) {
        if (!roast.Has(key)) continue;
        const StepsParse parsed = ParseStepsText(roast.Get(key));
        if (!parsed.ok) continue;
        for (const StepNode& n : parsed.steps)
            if (IsCoolingStatus(n.status) && n.fan >= 1 && n.fan <= 9 && n.time >= 1 && n.time <= 99)
                return {static_cast<int>(n.fan), static_cast<int>(n.time), 0};
    }
    const RoastSample* last = nullptr;
    int fan = kUsualCooling.fan;
    for (const RoastSample& s : roast.samples)
        if (s.seconds > drop_seconds && IsCoolingPhase(s.run_phase)) {
            last = &s;
            if (s.fan >= 1 && s.fan <= 9) fan = s.fan;
        }
    if (!last) return kUsualCooling;
    const int tenths = static_cast<int>(std::lround((last->seconds - drop_seconds) / kSecondsPerTenth));
    return {fan, std::clamp(tenths, 1, kLongestStepTenths), 0};
}

}  // namespace

std::vector<ProgramStep> JoinAlikeSteps(const std::vector<ProgramStep>& steps) {
    std::vector<ProgramStep> out;
    for (const ProgramStep& s : steps) {
        if (!out.empty() && out.back().fan == s.fan && out.back().heat == s.heat &&
            out.back().tenths + s.tenths <= kLongestStepTenths)
            out.back().tenths += s.tenths;
        else
            out.push_back(s);
    }
    return out;
}

std::vector<ProgramStep> WithoutShortSteps(const BatchModel& model, const PlanGoal& goal,
                                           std::vector<ProgramStep> steps) {
    steps = JoinAlikeSteps(steps);
    const double limit = MissRms(model, goal, steps) + kTidySlackF;
    for (bool merged = true; merged;) {
        merged = false;
        std::vector<ProgramStep> best;
        double least = limit;
        for (std::size_t i = 0; i < steps.size(); ++i) {
            if (steps[i].tenths >= kShortestTidyTenths) continue;
            // The one before and the one after (i - 1 wraps past the end
            // for the first).
            for (const std::size_t into : {i - 1, i + 1}) {
                if (into >= steps.size() || steps[into].tenths + steps[i].tenths > kLongestStepTenths) continue;
                std::vector<ProgramStep> tried = steps;
                tried[into].tenths += tried[i].tenths;
                tried.erase(tried.begin() + static_cast<std::ptrdiff_t>(i));
                tried = JoinAlikeSteps(tried);
                const double rms = MissRms(model, goal, tried);
                if (rms <= least) {
                    least = rms;
                    best = std::move(tried);
                }
            }
        }
        if (!best.empty()) {
            steps = std::move(best);
            merged = true;
        }
    }
    return steps;
}

std::optional<RoastPlan> PlanForRoast(const BatchModel& model, const RoastLog& roast, std::optional<double> start_f,
                                      std::string& why) {
    const RoastHeating heating = HeatingOf(roast);
    if (heating.samples.empty() || !heating.samples.front().bean_f) {
        why = "it has no readings from the start of its heating";
        return std::nullopt;
    }
    const double drop = heating.drop_seconds.value_or(heating.samples.back().seconds);
    const int tenths = static_cast<int>(std::lround(drop / kSecondsPerTenth));
    if (tenths < kShortestTenths) {
        why = "it heated for less than a minute";
        return std::nullopt;
    }
    if (tenths > kMostProgramSteps * kLongestStepTenths) {
        why = "it heated for longer than a profile's steps can run";
        return std::nullopt;
    }
    PlanGoal goal;
    goal.start = BeanState{0.0, start_f.value_or(*heating.samples.front().bean_f)};
    goal.heating_tenths = tenths;
    goal.from_seconds = kFromSeconds;
    goal.fan_change_cost = kFanChangeCost;
    goal.heat_change_cost = kHeatChangeCost;
    goal.doubt_cost = kDoubtCost;
    for (int s = 0; s <= tenths * kSecondsPerTenth; ++s) goal.wanted.push_back(BeanAt(roast, s));

    Plan best = PlanProgram(model, goal, StepByStep(model, goal));
    if (std::all_of(heating.samples.begin(), heating.samples.end(), LevelsKnown)) {
        const std::vector<ProgramStep> own =
            StepsOfSent(SentDuring(heating.samples, tenths * kSecondsPerTenth), tenths);
        if (!own.empty()) {
            Plan from_own = PlanProgram(model, goal, own);
            if (from_own.rms_f < best.rms_f) best = std::move(from_own);
        }
    }
    RoastPlan plan;
    plan.steps = WithoutShortSteps(model, goal, best.steps);
    plan.rms_f = MissRms(model, goal, plan.steps);
    plan.start_f = goal.start.bean_f;
    plan.cooling = CoolingOf(roast, drop);
    return plan;
}
