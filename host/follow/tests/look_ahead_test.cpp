#include <gtest/gtest.h>

#include <algorithm>

#include "look_ahead.h"

namespace {

// A plan counts on its second change only where the follower will still
// make one: with the last change allowed before its first pair's hold
// ends, every plan holds that pair to the end.
TEST(LookAhead, PlansCountOnNoChangeAfterTheLastOneAllowed) {
    // The model's first guess: at 300 °F the beans hold on heat 2 and rise
    // 10 °F a minute on heat 3. The background rises so for 15 s, then
    // holds.
    const BatchModel model{BeanRateModel(), 0.0};
    std::vector<std::optional<double>> wanted;
    for (int s = 1; s <= 60; ++s) wanted.push_back(300.0 + std::min(s, 15) / 6.0);
    const FollowChoice first{5, 3};
    const LookAhead::Holds holds{15, 20};
    const LookAhead free(model, BeanState{3.0, 300.0}, wanted, holds, 100);
    const LookAhead last(model, BeanState{3.0, 300.0}, wanted, holds, 10);
    const auto free_misses = free.Misses(first);
    const auto last_misses = last.Misses(first);
    for (std::size_t k = 0; k < LookAhead::kPlans; ++k) {
        ASSERT_TRUE(free_misses[k] && last_misses[k]);
        EXPECT_EQ(free.SecondHeat(k, first), static_cast<int>(k % 3) + 1) << k;
        EXPECT_EQ(last.SecondHeat(k, first), first.heat) << k;
        EXPECT_DOUBLE_EQ(*last_misses[k], *free_misses[2]) << "plan " << k << " holds heat 3 to the end";
    }
    EXPECT_LT(*free_misses[1], *free_misses[2]) << "heat 2 after a burst of 3 lands nearer";
}

}  // namespace
