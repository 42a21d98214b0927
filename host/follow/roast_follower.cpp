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
// What a change must win, in the mean squared miss (°F²) over the
// look-ahead's points, so the values do not flit between two near-equal
// pairs. The heat is the coarse lever and the fan the fine one: of two
// near-equal changes, the fan's is made.
constexpr double kHeatChangeCost = 25.0 / 6.0;
constexpr double kFanChangeCost = 10.0 / 6.0;
// A fan other than the background's at that moment costs this much a
// level squared: of two near-equal pairs, the background's fan wins.
constexpr double kFanStrayCost = 0.05 / 6.0;
// What it believes stops working when the beans are this far off the
// background (°F) with the heat at the level that helps most, and that gap
// has not closed by kClosingF over the last kStuckSeconds.
constexpr double kStuckF = 5.0;
constexpr double kClosingF = 1.0;
constexpr double kStuckSeconds = 20.0;
// The gap is watched only once the heater is believed to have come this
// near (heat levels) to the heat sent: until then the heat has not done
// what it will, and a gap still open says nothing of the fan.
constexpr double kHeaterSettledLevels = 0.25;
// A fan trial moves the fan this many levels and holds it this long; the
// next may come once as long again has passed and the beans have moved on
// by kTrialSpacingF (the fan's effect changes with the beans' temperature:
// what a trial taught holds near where it was made).
constexpr int kTrialFanStep = 3;
constexpr double kTrialSeconds = 20.0;
constexpr double kTrialSpacingF = 40.0;
// A change moves the heat by one level and the fan by two at most: the
// beans answer a bold change in ways a model learnt on small ones may
// not foresee (cutting the heat late in a roast can crash its rise).
constexpr int kLargestHeatStep = 1;
constexpr int kLargestFanStep = 2;
// The short while a plan's first pair may be held, seconds; the long one
// is a third of the look-ahead.
constexpr int kShortBurstSeconds = 15;
// No change this close to the end of following, seconds: the beans could
// not answer it before the end. Whether a change a little earlier is
// worth making, the look-ahead says, whose plans count on no change
// after this.
constexpr double kLastChangeSeconds = RoastFollower::kSecondsBetweenChanges;
// The values are weighed again at most this often, seconds.
constexpr double kSecondsBetweenLooks = 1.0;
// Guesses of the heater's lag believed less than this are not consulted.
constexpr double kLeastBelief = 0.01;
// Readings needed before the first choice of a roast, seconds.
constexpr double kFirstChoiceSeconds = 5.0;

bool Heating(const RoastSample& r) { return r.machine_state == kRun && r.run_phase == kHeat; }

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
    learner_.LearnRoast(target_.heating(), target_.gap_seconds());
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
    if (r.seconds < trial_until_) return std::nullopt;  // a fan trial holds
    std::optional<FollowChoice> choice = TryFan(r.seconds, FollowChoice{r.fan, r.heat});
    if (!choice) choice = Choose(r.seconds, FollowChoice{r.fan, r.heat});
    if (!choice) return std::nullopt;
    last_change_ = r.seconds;
    ++changes_;
    return choice;
}

int RoastFollower::BelievedFanWay(FollowChoice sent, bool want_faster) const {
    // The rate the believed models give a few levels either side, now.
    const auto& guesses = learner_.guesses();
    const auto belief = learner_.Belief();
    const double bean = learner_.BeanNow();
    double up = 0, down = 0;
    for (std::size_t i = 0; i < guesses.size(); ++i) {
        const double heater = guesses[i].heater;
        const BeanRateModel& m = guesses[i].model;
        up += belief[i] * m.Rate(BeanRateModel::TermsAt(heater, std::min(9, sent.fan + kTrialFanStep), bean));
        down += belief[i] * m.Rate(BeanRateModel::TermsAt(heater, std::max(1, sent.fan - kTrialFanStep), bean));
    }
    if (up == down) return 0;
    return (up > down) == want_faster ? 1 : -1;
}

std::optional<FollowChoice> RoastFollower::TryFan(double now, FollowChoice sent) {
    const std::optional<double> wanted = target_.BeanAt(now);
    if (!wanted) return std::nullopt;
    const double miss = learner_.BeanNow() - *wanted;
    const auto& guesses = learner_.guesses();
    const auto belief = learner_.Belief();
    double heater = 0;
    for (std::size_t i = 0; i < guesses.size(); ++i) heater += belief[i] * guesses[i].heater;
    if (std::abs(heater - sent.heat) > kHeaterSettledLevels) {
        misses_.clear();
        return std::nullopt;
    }
    misses_.emplace_back(now, miss);
    while (misses_.size() > 2 && now - misses_[1].first >= kStuckSeconds) misses_.pop_front();
    // The heat does all it can, the beans are well off, and the gap has
    // not closed for a while (nor since the last trial).
    const bool too_hot = sent.heat == 1 && miss > kStuckF;
    const bool too_cold = sent.heat == 3 && miss < -kStuckF;
    if (!too_hot && !too_cold) return std::nullopt;
    const auto& [then, miss_then] = misses_.front();
    if (now - then < kStuckSeconds || now - trial_until_ < kTrialSeconds) return std::nullopt;
    const double bean = learner_.BeanNow();
    if (trial_bean_f_ && std::abs(bean - *trial_bean_f_) < kTrialSpacingF) return std::nullopt;
    if (std::abs(miss) < std::abs(miss_then) - kClosingF || miss * miss_then < 0) return std::nullopt;
    // The other way from the one believed to help; where the fan cannot go
    // that way, the way that is left.
    int way = -BelievedFanWay(sent, too_cold);
    if (way == 0) way = sent.fan <= 5 ? 1 : -1;
    if ((way > 0 && sent.fan == 9) || (way < 0 && sent.fan == 1)) way = -way;
    const FollowChoice trial{std::clamp(sent.fan + way * kTrialFanStep, 1, 9), sent.heat};
    trial_until_ = now + kTrialSeconds;
    trial_bean_f_ = bean;
    misses_.clear();
    ++trials_;
    return trial;
}

std::optional<FollowChoice> RoastFollower::Choose(double now, FollowChoice sent) const {
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
    // The last second from now at which a plan may count on a change.
    const int last_switch = static_cast<int>(target_.end_seconds() - kLastChangeSeconds - now);
    const double bean = learner_.BeanNow();
    struct Foresight {
        double weight;
        LookAhead ahead;
    };
    std::vector<Foresight> foresights;
    double believed = 0;
    for (std::size_t i = 0; i < guesses.size(); ++i) {
        if (belief[i] < kLeastBelief) continue;
        BatchModel model{guesses[i].model, guesses[i].lag};
        model.crack_f = bean_water::kLeftOut;
        foresights.push_back({belief[i], LookAhead(model,
                                                   BeanState{guesses[i].heater, bean}, wanted,
                                                   LookAhead::Holds{kShortBurstSeconds, seconds / 3},
                                                   last_switch)});
        believed += belief[i];
    }

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
                const auto misses = f.ahead.Misses(c);
                for (std::size_t k = 0; k < cost.size(); ++k) {
                    if (!misses[k]) return std::nullopt;  // the background has no readings ahead
                    cost[k] += f.weight / believed * *misses[k];
                }
            }
            // A plan's second change costs as the first does: else putting
            // a change off a few seconds would seem free, and it would be
            // put off again and again.
            const LookAhead& plans = foresights.front().ahead;
            for (std::size_t k = 0; k < cost.size(); ++k) {
                const double total = cost[k] + extra + (plans.SecondHeat(k, c) == c.heat ? 0.0 : kHeatChangeCost);
                if (!best || total < best_cost) {
                    best = c;
                    best_cost = total;
                }
            }
        }
    }
    if (!best || *best == sent) return std::nullopt;
    return best;
}
