// Foresees, with a learnt model of the batch, where the beans would be
// over the next seconds under a plan of two pairs of values, the first
// held for a while and the second after it, and how far that is from
// where the background says they should be then. Two pairs rather than
// one: a lagging heater often wants a bold change now and a gentler
// value later, and a plan that could not say so would shy from the bold
// change. The first pair is held for a short or a long while: a short
// burst of heat is how a coarse heater closes a small gap.
#pragma once

#include <array>
#include <optional>
#include <vector>

#include "bean_prediction.h"
#include "follow_choice.h"

class LookAhead {
public:
    // Misses are taken at this many points, evenly over the look-ahead.
    static constexpr int kChecks = 6;

    // The plans: the first pair held for either of these many seconds, then
    // the same fan with heat 1, 2 or 3.
    static constexpr int kPlans = 6;

    // From a heater state and a bean temperature now; `wanted[i]` is the
    // background's bean temperature i + 1 seconds from now (none where it
    // has none), which sets how far the look-ahead goes. The first pair of
    // a plan holds for `short_seconds` or `long_seconds`.
    LookAhead(const BatchModel& model, BeanState now, std::vector<std::optional<double>> wanted, int short_seconds,
              int long_seconds);

    // The sum of the squared misses (°F²) at a few points of the look-ahead
    // if `first` were sent now, for each plan that starts with it (heat 1,
    // 2 and 3 after the short while, then after the long one); none when
    // the background has no reading at any of the points.
    std::array<std::optional<double>, kPlans> Misses(const FollowChoice& first) const;

    int seconds() const { return static_cast<int>(wanted_.size()); }

private:
    struct State {
        BeanState beans;
        double miss;
        int checks;
    };
    // Moves `state` on from second `from` to second `to` under `choice`.
    void Run(const BeanPredictor& predict, State& state, const FollowChoice& choice, int from, int to) const;

    BatchModel model_;
    State start_;
    std::vector<std::optional<double>> wanted_;
    int short_seconds_;
    int long_seconds_;
    int check_every_;
};
