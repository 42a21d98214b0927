#include "look_ahead.h"

#include <algorithm>

LookAhead::LookAhead(const BatchModel& model, BeanState now, std::vector<std::optional<double>> wanted, Holds holds,
                     int last_switch)
    : model_(model), start_{now, 0.0, 0}, wanted_(std::move(wanted)), check_every_(std::max(1, seconds() / kChecks)) {
    int shortest = 0;
    for (std::size_t i = 0; i < holds_.size(); ++i) {
        holds_[i] = shortest = std::clamp(holds[i], shortest, seconds());
        // No second change where the follower makes none: such a plan
        // holds its first pair throughout.
        if (holds_[i] >= last_switch) holds_[i] = seconds();
    }
}

void LookAhead::Run(const BeanPredictor& predict, State& state, const FollowChoice& choice, int from, int to) const {
    for (int s = from + 1; s <= to; ++s) {
        predict.Second(state.beans, choice.fan, choice.heat);
        if (s % check_every_ != 0) continue;
        const std::optional<double>& want = wanted_[static_cast<std::size_t>(s - 1)];
        if (!want) continue;
        const double miss = state.beans.bean_f - *want;
        state.miss += miss * miss;
        ++state.checks;
    }
}

std::array<std::optional<double>, LookAhead::kPlans> LookAhead::Misses(const FollowChoice& first) const {
    const BeanPredictor predict(model_);
    std::array<std::optional<double>, kPlans> out;
    State held = start_;
    int held_until = 0;
    std::size_t plan = 0;
    for (const int switch_at : holds_) {
        Run(predict, held, first, held_until, switch_at);
        held_until = switch_at;
        for (int heat = 1; heat <= 3; ++heat, ++plan) {
            State state = held;
            Run(predict, state, FollowChoice{first.fan, heat}, switch_at, seconds());
            if (state.checks > 0) out[plan] = state.miss / state.checks;
        }
    }
    return out;
}
