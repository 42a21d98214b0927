// Foresees, with a learnt model of the batch, where the beans would be
// over the next seconds under a plan of two pairs of values, the first
// held for a while and the second after it, and how far that is from
// where the background says they should be then. Two pairs rather than
// one: a lagging heater often wants a bold change now and a gentler
// value later, and a plan that could not say so would shy from the bold
// change. The first pair is held for a short or a long while: a short
// burst of heat is how a coarse heater closes a small gap.
//
// A plan counts on its second change only where the follower will still
// make one: near the end of following, it holds its first pair to the end.
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

    // How long a plan's first pair may be held: kHolds lengths, shortest
    // first; then the same fan with heat 1, 2 or 3.
    static constexpr int kHolds = 2;
    using Holds = std::array<int, kHolds>;
    static constexpr int kPlans = 3 * kHolds;

    // From a heater state and a bean temperature now; `wanted[i]` is the
    // background's bean temperature i + 1 seconds from now (none where it
    // has none), which sets how far the look-ahead goes. The first pair of
    // a plan holds for one of `holds` seconds; where that is `last_switch`
    // or later (no change is made after it), the plan holds its first pair
    // to the end.
    LookAhead(const BatchModel& model, BeanState now, std::vector<std::optional<double>> wanted, Holds holds,
              int last_switch);

    // The mean of the squared misses (°F²) at a few points of the
    // look-ahead if `first` were sent now, for each plan that starts with
    // it (heat 1, 2 and 3 after the shorter hold, then after the longer);
    // none when the background has no reading at any of the points.
    std::array<std::optional<double>, kPlans> Misses(const FollowChoice& first) const;

    // The heat plan `plan` sends after its first pair's hold when it starts
    // with `first` (first.heat for a plan that holds its first pair to the
    // end).
    int SecondHeat(std::size_t plan, const FollowChoice& first) const {
        return holds_[plan / 3] < seconds() ? static_cast<int>(plan % 3) + 1 : first.heat;
    }

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
    Holds holds_;
    int check_every_;
};
