#include "look_ahead.h"

#include <algorithm>

#include "batch_learner.h"

LookAhead::LookAhead(const BeanRateModel& model, double heater_lag, double heater, double bean_f,
                     std::vector<std::optional<double>> wanted, int short_seconds, int long_seconds)
    : model_(model),
      lag_(heater_lag),
      start_{heater, bean_f, 0.0, 0},
      wanted_(std::move(wanted)),
      short_seconds_(std::clamp(short_seconds, 0, seconds())),
      long_seconds_(std::clamp(long_seconds, short_seconds_, seconds())),
      check_every_(std::max(1, seconds() / kChecks)) {}

void LookAhead::Run(State& state, const FollowChoice& choice, int from, int to) const {
    for (int s = from + 1; s <= to; ++s) {
        state.heater = BatchLearner::HeaterAfter(state.heater, choice.heat, 1.0, lag_);
        state.bean += model_.Rate(BeanRateModel::TermsAt(state.heater, choice.fan, state.bean)) / 60.0;
        if (s % check_every_ != 0) continue;
        const std::optional<double>& want = wanted_[static_cast<std::size_t>(s - 1)];
        if (!want) continue;
        state.miss += (state.bean - *want) * (state.bean - *want);
        ++state.checks;
    }
}

std::array<std::optional<double>, LookAhead::kPlans> LookAhead::Misses(const FollowChoice& first) const {
    std::array<std::optional<double>, kPlans> out;
    State held = start_;
    int held_until = 0;
    std::size_t plan = 0;
    for (const int switch_at : {short_seconds_, long_seconds_}) {
        Run(held, first, held_until, switch_at);
        held_until = switch_at;
        for (int heat = 1; heat <= 3; ++heat, ++plan) {
            State state = held;
            Run(state, FollowChoice{first.fan, heat}, switch_at, seconds());
            if (state.checks > 0) out[plan] = state.miss;
        }
    }
    return out;
}
