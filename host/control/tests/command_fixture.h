// The base of the panel-command, hold and key tests: a started controller
// with the link up and every status frame answered, a four-step profile
// (three roast steps and the cooling step), and helpers that place a run in
// the middle of a step.
#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <vector>

#include "control_ids.h"
#include "controller_harness.h"

struct Step {
    int fan, time, heat;
    uint32_t status;
    bool operator==(const Step& o) const {
        return fan == o.fan && time == o.time && heat == o.heat && status == o.status;
    }
};

inline std::ostream& operator<<(std::ostream& os, const Step& v) {
    return os << "(" << v.fan << ", " << v.time << ", " << v.heat << ", " << v.status << ")";
}

class CommandTest : public ::testing::Test {
protected:
    // Also starts over with a fresh controller for each case of a table.
    void SetUp() override {
        harness_ = std::make_unique<ControllerHarness>();
        ControllerHarness& h = *harness_;
        h.controller.Start();
        h.SetLinkUp();
        h.AnswerStatusFrames();
        h.SetProfile({{5, 40, 3}, {6, 50, 2}, {7, 30, 1}}, {4, 30});
        s().machine_state = kReady;
    }

    ControllerHarness& h() { return *harness_; }
    ControllerState& s() { return harness_->s(); }
    RoasterController& rc() { return harness_->controller; }

    std::vector<Step> Steps() const {
        std::vector<Step> out;
        for (const StepNode& n : harness_->Working()) out.push_back({n.fan, n.time, n.heat, n.status});
        return out;
    }

    // Run, Heat, in step `index` which has run `ran` units and has
    // `left` units left: the earlier steps completed, the live values those
    // of the step.
    void PlaceInStep(int index, int ran, int left) {
        CStep_Data& list = rc().console.working;
        for (StepNode* p = list.head; p; p = p->next) {
            const int i = static_cast<int>(p->index);
            if (i < index) p->status = StepCompleted;
            if (i == index) {
                p->status = StepRunning;
                p->time = ran + left;
                s().fan_level = p->fan;
                s().heat_level = p->heat;
            }
        }
        s().machine_state = kRun;
        s().run_phase = kHeat;
        s().step_index = index;
        s().step_start = 100;
        s().run_elapsed = 100 + ran;
        s().roast_time = left;
        // Values a pause saved, unlike step 1's: a stop that reloads step 1
        // and one that restores the saved values must differ.
        s().saved_fan = 8;
        s().saved_time = 25;
        s().saved_heat = 2;
    }

    // Run, Cool, in the cooling step with `elapsed` units run and `left` left.
    void PlaceInCooling(int elapsed, int left) {
        const int n = static_cast<int>(rc().console.working.count);
        PlaceInStep(n, 0, 1);
        rc().console.WriteStep(n, KEEP_VALUE, elapsed + left, 0, CoolRunning);
        s().run_phase = kCool;
        s().heat_level = 0;
        s().cool_elapsed = elapsed;
        s().cool_time = left;
    }

    void Click(int control) { rc().OnButtonClicked(control); }

private:
    std::unique_ptr<ControllerHarness> harness_;
};
