// Steps as comparable values, for test expectations on step lists.
#pragma once

#include <ostream>
#include <vector>

#include "fake_editor.h"
#include "step_node.h"

struct StepValues {
    int fan, time, heat;
    uint32_t status;
    bool operator==(const StepValues& o) const {
        return fan == o.fan && time == o.time && heat == o.heat && status == o.status;
    }
};

inline std::ostream& operator<<(std::ostream& os, const StepValues& v) {
    return os << "(" << v.fan << ", " << v.time << ", " << v.heat << ", " << v.status << ")";
}

inline std::vector<StepValues> Values(const std::vector<StepNode>& steps) {
    std::vector<StepValues> out;
    for (const StepNode& n : steps) out.push_back({n.fan, n.time, n.heat, n.status});
    return out;
}

inline std::vector<StepValues> Values(const StepNode* head) { return Values(Snapshot(head)); }
