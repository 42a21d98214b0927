#include "program_planner.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr int kSecondsPerTenth = 6;
// What a heat level counts as against fan levels, when alike neighbours
// are merged.
constexpr double kHeatWorthInFan = 3.0;
// The changes tried for each step: its fan by one or two levels, its heat
// by one, a neighbour's values, and its end by a tenth or three.
constexpr int kFanTries[] = {-2, -1, 1, 2};
constexpr int kHeatTries[] = {-1, 1};
constexpr int kBoundaryTries[] = {-3, -1, 1, 3};
// Rounds of improvement at most, and the least gain (°F² summed) a change
// must bring.
constexpr int kMostRounds = 8;
constexpr double kLeastGain = 1e-6;

// A step being merged: its values as means over its time.
struct MergedStep {
    double fan;
    double heat;
    int tenths;
};

double Unlike(const MergedStep& a, const MergedStep& b) {
    const double df = a.fan - b.fan;
    const double dh = kHeatWorthInFan * (a.heat - b.heat);
    return std::min(a.tenths, b.tenths) * (df * df + dh * dh);
}

ProgramStep Rounded(const MergedStep& r) {
    return {std::clamp(static_cast<int>(std::lround(r.fan)), 1, 9), r.tenths,
            std::clamp(static_cast<int>(std::lround(r.heat)), 1, 3)};
}

// How long the values are averaged over when a plan is held to the values
// known to work, seconds (a time constant).
constexpr double kStraySeconds = 30.0;

// Where a plan's run stands: the model's state and the recent mean of the
// values sent.
struct RunState {
    BeanState beans;
    double heat = 0;
    double fan = 0;
};

// Runs the model over a plan and keeps, for each step, the state and the
// misses summed as it begins.
class PlanRunner {
public:
    PlanRunner(const BatchModel& model, const PlanGoal& goal) : model_(model), predict_(model), goal_(goal) {
        // The recent mean of the values known to work, second by second.
        RunState mean = Start();
        for (const SentValues& v : goal.near) {
            Mean(mean, v.fan, v.heat);
            near_.push_back({mean.heat, mean.fan});
        }
    }

    RunState Start() const {
        RunState s{goal_.start, 0.0, 0.0};
        if (!goal_.near.empty()) {
            s.heat = goal_.near.front().heat;
            s.fan = goal_.near.front().fan;
        }
        return s;
    }

    // The misses summed over the whole plan when `steps` are run from step
    // `from` on, given the state and the sum as that step begins; stops
    // and answers infinity once the sum passes `give_up`. With `starts`
    // and `sums`, fills in each step's state and sum from `from` on.
    double Run(const std::vector<ProgramStep>& steps, std::size_t from, RunState state, double sum, double give_up,
               std::vector<RunState>* starts = nullptr, std::vector<double>* sums = nullptr) const {
        int second = 0;
        for (std::size_t i = 0; i < from; ++i) second += steps[i].tenths * kSecondsPerTenth;
        for (std::size_t i = from; i < steps.size(); ++i) {
            if (starts) (*starts)[i] = state;
            if (sums) (*sums)[i] = sum;
            const ProgramStep& step = steps[i];
            if (i > 0)
                sum += goal_.fan_change_cost * std::abs(step.fan - steps[i - 1].fan) +
                       goal_.heat_change_cost * std::abs(step.heat - steps[i - 1].heat);
            for (int s = 0; s < step.tenths * kSecondsPerTenth; ++s) {
                if (goal_.doubt_cost > 0)
                    sum += goal_.doubt_cost * model_.speed * model_.speed *
                           model_.rates.RateVariance(BeanRateModel::TermsAt(
                               model_.power.Level(state.beans.heater), step.fan, state.beans.bean_f - model_.shift_f));
                predict_.Second(state.beans, step.fan, step.heat);
                if (second < static_cast<int>(near_.size())) {
                    Mean(state, step.fan, step.heat);
                    const Values& n = near_[static_cast<std::size_t>(second)];
                    const double heat = kStrayHeatF * (state.heat - n.heat);
                    const double fan = kStrayFanF * (state.fan - n.fan);
                    sum += heat * heat + fan * fan;
                }
                ++second;
                const std::size_t at = static_cast<std::size_t>(second);
                if (second < goal_.from_seconds || at >= goal_.wanted.size() || !goal_.wanted[at]) continue;
                const double miss = state.beans.bean_f - *goal_.wanted[at];
                sum += miss * miss;
            }
            if (sum > give_up) return std::numeric_limits<double>::infinity();
        }
        return sum;
    }

    // The seconds whose misses count.
    int Counted() const {
        int n = 0;
        for (std::size_t s = static_cast<std::size_t>(std::max(goal_.from_seconds, 1)); s < goal_.wanted.size(); ++s)
            n += goal_.wanted[s].has_value();
        return n;
    }

private:
    struct Values {
        double heat;
        double fan;
    };
    static void Mean(RunState& s, int fan, int heat) {
        constexpr double kKeep = 1.0 - 1.0 / kStraySeconds;
        s.heat = kKeep * s.heat + (1.0 - kKeep) * heat;
        s.fan = kKeep * s.fan + (1.0 - kKeep) * fan;
    }

    const BatchModel& model_;
    BeanPredictor predict_;
    const PlanGoal& goal_;
    std::vector<Values> near_;  // the recent mean of goal_.near at each second
};

}  // namespace

std::vector<ProgramStep> StepsOfSent(const std::vector<SentValues>& sent, int heating_tenths, int most_steps) {
    if (heating_tenths < 1 || heating_tenths > most_steps * kLongestStepTenths || sent.empty()) return {};
    // A tenth of a minute at a time, the mean of the values sent.
    std::vector<MergedStep> runs;
    for (int t = 0; t < heating_tenths; ++t) {
        double fan = 0, heat = 0;
        int n = 0;
        for (int s = t * kSecondsPerTenth; s < (t + 1) * kSecondsPerTenth; ++s) {
            const SentValues& v = sent[std::min(sent.size() - 1, static_cast<std::size_t>(s))];
            fan += v.fan;
            heat += v.heat;
            ++n;
        }
        const MergedStep cell{fan / n, heat / n, 1};
        const ProgramStep rounded = Rounded(cell);
        if (!runs.empty() && Rounded(runs.back()).fan == rounded.fan && Rounded(runs.back()).heat == rounded.heat &&
            runs.back().tenths < kLongestStepTenths)
            ++runs.back().tenths;
        else
            runs.push_back({static_cast<double>(rounded.fan), static_cast<double>(rounded.heat), 1});
    }
    // The most alike neighbours merged, until few enough.
    while (runs.size() > static_cast<std::size_t>(most_steps)) {
        std::size_t best = runs.size();
        double least = std::numeric_limits<double>::infinity();
        for (std::size_t i = 0; i + 1 < runs.size(); ++i) {
            if (runs[i].tenths + runs[i + 1].tenths > kLongestStepTenths) continue;
            const double unlike = Unlike(runs[i], runs[i + 1]);
            if (unlike < least) {
                least = unlike;
                best = i;
            }
        }
        if (best == runs.size()) return {};
        MergedStep& a = runs[best];
        const MergedStep& b = runs[best + 1];
        const int tenths = a.tenths + b.tenths;
        a = {(a.fan * a.tenths + b.fan * b.tenths) / tenths, (a.heat * a.tenths + b.heat * b.tenths) / tenths, tenths};
        runs.erase(runs.begin() + static_cast<std::ptrdiff_t>(best) + 1);
    }
    std::vector<ProgramStep> steps;
    for (const MergedStep& r : runs) steps.push_back(Rounded(r));
    return steps;
}

std::vector<ProgramStep> EvenSteps(const std::vector<SentValues>& sent, int heating_tenths, int most_steps) {
    if (heating_tenths < 1 || heating_tenths > most_steps * kLongestStepTenths || sent.empty()) return {};
    const int n = std::min(most_steps, heating_tenths);
    std::vector<ProgramStep> steps;
    for (int i = 0, from = 0; i < n; ++i) {
        const int to = heating_tenths * (i + 1) / n;
        MergedStep mean{0.0, 0.0, to - from};
        for (int s = from * kSecondsPerTenth; s < to * kSecondsPerTenth; ++s) {
            const SentValues& v = sent[std::min(sent.size() - 1, static_cast<std::size_t>(s))];
            mean.fan += v.fan;
            mean.heat += v.heat;
        }
        mean.fan /= (to - from) * kSecondsPerTenth;
        mean.heat /= (to - from) * kSecondsPerTenth;
        steps.push_back(Rounded(mean));
        from = to;
    }
    return steps;
}

Plan PlanProgram(const BatchModel& model, const PlanGoal& goal, std::vector<ProgramStep> first) {
    Plan plan{std::move(first), 0.0};
    if (plan.steps.empty()) return plan;
    const PlanRunner runner(model, goal);
    const std::size_t n = plan.steps.size();
    std::vector<RunState> starts(n);
    std::vector<double> sums(n);
    double best = runner.Run(plan.steps, 0, runner.Start(), 0.0, std::numeric_limits<double>::infinity(), &starts, &sums);
    // Keeps `tried` if it does better, from step `from` on.
    auto keep_if_better = [&](std::vector<ProgramStep>& tried, std::size_t from) {
        const double cost = runner.Run(tried, from, starts[from], sums[from], best - kLeastGain);
        if (!(cost < best - kLeastGain)) return false;
        plan.steps.swap(tried);
        best = runner.Run(plan.steps, from, starts[from], sums[from], std::numeric_limits<double>::infinity(), &starts,
                          &sums);
        return true;
    };
    std::vector<ProgramStep> tried;
    for (int round = 0; round < kMostRounds; ++round) {
        bool better = false;
        for (std::size_t i = 0; i < n; ++i) {
            auto try_values = [&](int fan, int heat) {
                if (fan < 1 || fan > 9 || heat < 1 || heat > 3) return;
                tried = plan.steps;
                tried[i].fan = fan;
                tried[i].heat = heat;
                better |= keep_if_better(tried, i);
            };
            for (const int df : kFanTries) try_values(plan.steps[i].fan + df, plan.steps[i].heat);
            for (const int dh : kHeatTries) try_values(plan.steps[i].fan, plan.steps[i].heat + dh);
            // The values of a neighbour: steps that flit between two pairs
            // settle on one.
            for (const std::size_t j : {i - 1, i + 1})
                if (j < n && (plan.steps[j].fan != plan.steps[i].fan || plan.steps[j].heat != plan.steps[i].heat))
                    try_values(plan.steps[j].fan, plan.steps[j].heat);
            if (i + 1 == n) continue;
            for (const int shift : kBoundaryTries) {
                const int a = plan.steps[i].tenths + shift;
                const int b = plan.steps[i + 1].tenths - shift;
                if (a < 1 || b < 1 || a > kLongestStepTenths || b > kLongestStepTenths) continue;
                tried = plan.steps;
                tried[i].tenths = a;
                tried[i + 1].tenths = b;
                better |= keep_if_better(tried, i);
            }
        }
        if (!better) break;
    }
    const int counted = runner.Counted();
    plan.rms_f = counted > 0 ? std::sqrt(best / counted) : 0.0;
    plan.miss_rms_f = MissRms(model, goal, plan.steps);
    return plan;
}

double MissRms(const BatchModel& model, const PlanGoal& goal, const std::vector<ProgramStep>& steps) {
    const std::vector<double> beans = PredictBeans(model, goal.start, SentOfSteps(steps));
    double misses = 0;
    int counted = 0;
    for (std::size_t s = static_cast<std::size_t>(std::max(goal.from_seconds, 1));
         s < beans.size() && s < goal.wanted.size(); ++s)
        if (goal.wanted[s]) {
            misses += (beans[s] - *goal.wanted[s]) * (beans[s] - *goal.wanted[s]);
            ++counted;
        }
    return counted > 0 ? std::sqrt(misses / counted) : 0.0;
}

std::vector<SentValues> SentOfSteps(const std::vector<ProgramStep>& steps) {
    std::vector<SentValues> sent;
    for (const ProgramStep& s : steps)
        for (int i = 0; i < s.tenths * kSecondsPerTenth; ++i) sent.push_back({s.fan, s.heat});
    return sent;
}
