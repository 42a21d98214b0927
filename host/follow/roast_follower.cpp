#include "roast_follower.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "controller_state.h"
#include "look_ahead.h"

namespace {
// The look-ahead: this many seconds, and as many again as the heater's lag
// times kHorizonPerLag, foreseen second by second.
constexpr double kHorizonSeconds = 30.0;
constexpr double kHorizonPerLag = 1.5;
constexpr double kLongestHorizon = 150.0;
// What a change must win, in squared °F over the look-ahead's points, so
// the values do not flit between two near-equal pairs. The heat is the
// coarse lever and the fan the fine one: of two near-equal changes, the
// fan's is made.
constexpr double kHeatChangeCost = 25.0;
constexpr double kFanChangeCost = 10.0;
// A fan other than the background's at that moment costs this much a
// level squared: of two near-equal pairs, the background's fan wins.
constexpr double kFanStrayCost = 0.05;
// When the beans are this far off the background (°F) with the heat
// already at the level that helps most, the fan is hoped to do this many
// standard deviations of what the model is unsure of better than foreseen.
constexpr double kStuckF = 5.0;
constexpr double kHope = 1.0;
// A change moves the heat by one level and the fan by two at most: the
// beans answer a bold change in ways a model learnt on small ones may
// not foresee (cutting the heat late in a roast can crash its rise).
constexpr int kLargestHeatStep = 1;
constexpr int kLargestFanStep = 2;
// The short while a plan's first pair may be held, seconds; the long one
// is a third of the look-ahead.
constexpr int kShortBurstSeconds = 15;
// No change this close to the end of following, seconds: the beans would
// hardly answer it before the end.
constexpr double kLastChangeSeconds = 30.0;
// The values are weighed again at most this often, seconds.
constexpr double kSecondsBetweenLooks = 1.0;
// Guesses of the heater's lag believed less than this are not consulted.
constexpr double kLeastBelief = 0.01;
// Readings needed before the first choice of a roast, seconds.
constexpr double kFirstChoiceSeconds = 5.0;

bool Heating(const RoastSample& r) { return r.machine_state == kRun && r.run_phase == kHeat; }

// How unsure `model` is of what running the fan at `choice` rather than at
// `fan` does over `seconds`: the standard deviation that adds to where it
// foresees the beans at each point of the look-ahead together, °F.
double FanDoubt(const BeanRateModel& model, double bean_f, const FollowChoice& choice, int fan, double seconds) {
    BeanRateModel::Terms change = BeanRateModel::TermsAt(choice.heat, choice.fan, bean_f);
    const BeanRateModel::Terms kept = BeanRateModel::TermsAt(choice.heat, fan, bean_f);
    for (int k = 0; k < BeanRateModel::kTerms; ++k) change[k] -= kept[k];
    return std::sqrt(LookAhead::kChecks * model.RateVariance(change)) * seconds / 60.0;
}
}  // namespace

std::string FollowEndWord(FollowEnd end) {
    switch (end) {
    case FollowEnd::TookOver: return "took_over";
    case FollowEnd::Drop: return "drop";
    case FollowEnd::BackgroundEnd: return "background_end";
    case FollowEnd::Cooling: return "cooling";
    case FollowEnd::RunEnded: return "run_ended";
    }
    return "run_ended";
}

RoastFollower::RoastFollower(const RoastLog& background) : target_(background) {
    // The background's own roast is the first lesson: the same roaster, if
    // not the same batch; unless its file does not say the heat and fan it
    // ran.
    const std::vector<RoastSample>& heating = target_.heating();
    const bool known = std::all_of(heating.begin(), heating.end(), LevelsKnown);
    double last = -1.0;
    for (const RoastSample& s : heating) {
        if (!known) break;
        learner_.Heat(s.seconds, s.heat);
        if (s.bean_f && (last < 0 || s.seconds - last <= target_.gap_seconds()))
            learner_.Reading(s.seconds, *s.bean_f, s.fan);
        else
            learner_.Break();
        last = s.seconds;
    }
    learner_.NewBatch(0.0);
}

void RoastFollower::End(FollowEnd why, double seconds) {
    if (end_) return;
    end_ = why;
    end_seconds_ = seconds;
}

void RoastFollower::TakeOver(double seconds) { End(FollowEnd::TookOver, seconds); }

void RoastFollower::RunEnded(double seconds) { End(FollowEnd::RunEnded, seconds); }

std::optional<FollowChoice> RoastFollower::OnReading(const RoastSample& r, bool link_up) {
    if (end_) return std::nullopt;
    if (r.machine_state != kRun) {
        End(FollowEnd::RunEnded, r.seconds);
        return std::nullopt;
    }
    if (r.seconds >= target_.end_seconds()) {
        End(target_.ends_at_drop() ? FollowEnd::Drop : FollowEnd::BackgroundEnd, r.seconds);
        return std::nullopt;
    }
    if (IsCoolingPhase(r.run_phase)) {
        End(FollowEnd::Cooling, r.seconds);
        return std::nullopt;
    }
    if (r.seconds <= last_seconds_) return std::nullopt;  // nothing new
    // Readings further apart than a gap: the link was down in between.
    const bool gap = last_seconds_ >= 0 && r.seconds - last_seconds_ > kRoastGapSeconds;
    last_seconds_ = r.seconds;
    if (!Heating(r)) return std::nullopt;
    learner_.Heat(r.seconds, r.heat);
    if (gap || !link_up || !r.bean_f) {
        // Nothing is learnt or decided on readings that are not there, and
        // what was read before does not join what comes after.
        learner_.Break();
        paused_ = true;
        if (!link_up || !r.bean_f) return std::nullopt;
    }
    learner_.Reading(r.seconds, *r.bean_f, r.fan);
    if (learner_.UnbrokenSeconds() < (started_ ? kFreshSeconds : kFirstChoiceSeconds)) return std::nullopt;
    started_ = true;
    paused_ = false;
    if (r.seconds - last_change_ < kSecondsBetweenChanges || r.seconds - last_look_ < kSecondsBetweenLooks ||
        target_.end_seconds() - r.seconds < kLastChangeSeconds)
        return std::nullopt;
    last_look_ = r.seconds;
    bool heat_spent = false;
    const std::optional<FollowChoice> choice = Choose(r.seconds, FollowChoice{r.fan, r.heat}, heat_spent);
    if (!choice) return std::nullopt;
    // Which way the fan is being tried while the heat does all it can, and
    // since when.
    if (!heat_spent) {
        tried_fan_ = 0;
    } else if (choice->fan != r.fan) {
        const int way = choice->fan > r.fan ? 1 : -1;
        if (way != tried_fan_) tried_fan_at_ = r.seconds;
        tried_fan_ = way;
    }
    last_change_ = r.seconds;
    ++changes_;
    return choice;
}

std::optional<FollowChoice> RoastFollower::Choose(double now, FollowChoice sent, bool& heat_spent) const {
    // Each guess of the heater's lag foresees the beans with its own model
    // and counts as far as it is believed; the look-ahead reaches further
    // the slower the heater is believed to answer.
    const auto& guesses = learner_.guesses();
    const auto belief = learner_.Belief();
    double lag = 0;
    for (std::size_t i = 0; i < guesses.size(); ++i) lag += belief[i] * guesses[i].lag;
    const int seconds = static_cast<int>(std::min(kLongestHorizon, kHorizonSeconds + kHorizonPerLag * lag));
    std::vector<std::optional<double>> wanted;
    for (int s = 1; s <= seconds; ++s) wanted.push_back(target_.BeanAt(now + s));
    const double bean = learner_.BeanNow();
    struct Foresight {
        double weight;
        const BeanRateModel& model;
        LookAhead ahead;
    };
    std::vector<Foresight> foresights;
    double believed = 0;
    for (std::size_t i = 0; i < guesses.size(); ++i) {
        if (belief[i] < kLeastBelief) continue;
        foresights.push_back({belief[i], guesses[i].model,
                              LookAhead(guesses[i].model, guesses[i].lag, guesses[i].heater, bean, wanted,
                                        kShortBurstSeconds, seconds / 3)});
        believed += belief[i];
    }

    // With the heat at the level that helps most and the beans still well
    // off the background, the fan is the only lever left, and trying it is
    // how a batch shows what the fan does: a change of the fan is then
    // hoped to do better than foreseen by as much as the model is unsure:
    // in the direction it was last tried, or either way once that trial has
    // had a short while to show, so trials do not flit back and forth.
    const std::optional<double> wanted_now = target_.BeanAt(now);
    heat_spent = wanted_now && ((sent.heat == 3 && bean < *wanted_now - kStuckF) ||
                                (sent.heat == 1 && bean > *wanted_now + kStuckF));
    const int background_fan = target_.FanAt(now).value_or(sent.fan);
    std::optional<FollowChoice> best;
    double best_cost = 0;
    for (int heat = std::max(1, sent.heat - kLargestHeatStep); heat <= std::min(3, sent.heat + kLargestHeatStep); ++heat) {
        for (int fan = std::max(1, sent.fan - kLargestFanStep); fan <= std::min(9, sent.fan + kLargestFanStep); ++fan) {
            const FollowChoice c{fan, heat};
            const double stray = fan - background_fan;
            const double extra = kFanStrayCost * stray * stray + (c.heat == sent.heat ? 0.0 : kHeatChangeCost) +
                                 (c.fan == sent.fan ? 0.0 : kFanChangeCost);
            // The cost of each plan that starts with this pair.
            std::array<double, LookAhead::kPlans> cost{};
            for (const Foresight& f : foresights) {
                const bool hoped = heat_spent && (tried_fan_ == 0 || (c.fan - sent.fan) * tried_fan_ > 0 ||
                                                  now - tried_fan_at_ >= kShortBurstSeconds);
                const double hope = hoped ? kHope * FanDoubt(f.model, bean, c, sent.fan, seconds) : 0.0;
                const auto misses = f.ahead.Misses(c);
                for (std::size_t k = 0; k < cost.size(); ++k) {
                    if (!misses[k]) return std::nullopt;  // the background has no readings ahead
                    const double miss = std::max(0.0, std::sqrt(*misses[k]) - hope);
                    cost[k] += f.weight / believed * miss * miss;
                }
            }
            for (double k : cost) {
                if (!best || k + extra < best_cost) {
                    best = c;
                    best_cost = k + extra;
                }
            }
        }
    }
    if (!best || *best == sent) return std::nullopt;
    return best;
}
