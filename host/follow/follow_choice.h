// A pair of values follow mode gives the running step.
#pragma once

struct FollowChoice {
    int fan = 5;   // 1..9
    int heat = 2;  // 1..3
    bool operator==(const FollowChoice& o) const { return fan == o.fan && heat == o.heat; }
    bool operator!=(const FollowChoice& o) const { return !(*this == o); }
};
