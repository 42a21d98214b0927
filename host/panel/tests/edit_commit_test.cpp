#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "control_ids.h"
#include "controller_harness.h"
#include "picture_ids.h"
#include "step_values.h"

namespace {

class EditCommitTest : public ::testing::Test {
protected:
    void SetUp() override { h.SetProfile({{5, 50, 3}, {6, 40, 2}, {7, 30, 1}}, {5, 30}); }

    void Update(int times = 1) {
        for (int i = 0; i < times; ++i) h.controller.panel.UpdatePanel();
    }

    // Puts the run on step 2, which has run `ran` units and has `left` to go.
    void RunOnStepTwo(int ran, int left) {
        ControllerState& s = h.s();
        s.machine_state = kRun;
        s.run_phase = kHeat;
        s.step_index = 2;
        s.step_start = 30;
        s.run_elapsed = 30 + ran;
        s.roast_time = left;
        CStep_Data& list = h.controller.console.working;
        list.UpdateStep(1, KEEP_VALUE, KEEP_VALUE, KEEP_VALUE, StepCompleted);
        list.UpdateStep(2, KEEP_VALUE, KEEP_VALUE, KEEP_VALUE, StepRunning);
    }

    ControllerHarness h;
};

TEST_F(EditCommitTest, CommitsOnTheTwentiethUpdateAndShowsTheDigitThen) {
    ControllerState& s = h.s();
    s.machine_state = kReady;
    s.edit_field = kEditFan;
    s.edit_countdown = 20;
    s.fan_level = 8;
    std::vector<int> fan_pictures;
    for (int i = 0; i < 19; ++i) {
        Update();
        fan_pictures.push_back(h.window.pictures[ctl::kFanDigit]);
    }
    EXPECT_EQ(h.Working()[0].fan, 5) << "not committed before the countdown ends";
    // The edited digit blinks: shown and blanked on successive updates.
    EXPECT_NE(fan_pictures[0], fan_pictures[1]);
    EXPECT_THAT(fan_pictures, ::testing::Contains(pic::kBlank));
    EXPECT_THAT(fan_pictures, ::testing::Contains(pic::Digit(8)));

    Update();
    EXPECT_EQ(s.edit_countdown, 0);
    EXPECT_EQ(h.Working()[0].fan, 8);
    EXPECT_EQ(h.window.pictures[ctl::kFanDigit], pic::Digit(8));
    EXPECT_EQ(h.editor.lock, 0);
}

TEST_F(EditCommitTest, ReadyCommitWritesStepOneWithATimeOfAtLeastOne) {
    ControllerState& s = h.s();
    s.machine_state = kReady;
    s.fan_level = 9;
    s.roast_time = 0;
    s.heat_level = 1;
    s.edit_countdown = 1;
    h.controller.console.working.UpdateStep(1, KEEP_VALUE, KEEP_VALUE, KEEP_VALUE, StepCompleted);
    Update();
    EXPECT_EQ(s.roast_time, 1);
    const StepNode first = h.Working()[0];
    EXPECT_EQ(first.fan, 9);
    EXPECT_EQ(first.time, 1);
    EXPECT_EQ(first.heat, 1);
    EXPECT_EQ(first.status, StepWaiting);
}

TEST_F(EditCommitTest, RoastCommitCapsTheStepAtNinetyNine) {
    struct Case {
        int ran, left, committed_left, stored;
    };
    for (const Case& c : {Case{20, 90, 79, 99}, Case{20, 30, 30, 50}, Case{0, 0, 1, 1}, Case{10, 95, 89, 99}, Case{10, 88, 88, 98}}) {
        SetUp();
        RunOnStepTwo(c.ran, c.left);
        h.s().fan_level = 4;
        h.s().edit_countdown = 1;
        Update();
        EXPECT_EQ(h.s().roast_time, c.committed_left) << "ran " << c.ran << " left " << c.left;
        EXPECT_EQ(h.Working()[1].time, c.stored);
        EXPECT_EQ(h.Working()[1].fan, 4);
        EXPECT_EQ(h.Working()[1].status, StepRunning);
    }
}

TEST_F(EditCommitTest, CoolingCommitCapsTheCoolingAtNinetyMinusElapsed) {
    ControllerState& s = h.s();
    s.machine_state = kRun;
    s.run_phase = kCool;
    s.step_index = 4;
    s.cool_elapsed = 25;
    s.cool_time = 80;
    s.fan_level = 9;
    s.heat_level = 0;
    h.controller.console.working.UpdateStep(4, KEEP_VALUE, KEEP_VALUE, KEEP_VALUE, CoolRunning);
    s.edit_countdown = 1;
    Update();
    EXPECT_EQ(s.cool_time, 65);
    EXPECT_EQ(h.Working()[3].time, 90);
    EXPECT_EQ(h.Working()[3].fan, 9);
    EXPECT_EQ(h.Working()[3].status, CoolRunning);
}

TEST_F(EditCommitTest, EditLateInALongProfileCoolingDoesNotEndIt) {
    ControllerState& s = h.s();
    s.machine_state = kRun;
    s.run_phase = kCool;
    s.step_index = 4;
    s.cool_elapsed = 93;  // a profile's cooling step of 9.9 minutes
    s.cool_time = 6;
    h.controller.console.working.UpdateStep(4, KEEP_VALUE, 99, KEEP_VALUE, CoolRunning);
    s.fan_level = 2;
    s.edit_countdown = 1;
    Update();
    EXPECT_EQ(s.cool_time, 6);
    EXPECT_EQ(h.Working()[3].time, 99);
    EXPECT_EQ(h.Working()[3].fan, 2);
}

TEST_F(EditCommitTest, SplitOfTheLastStepTurnsItsRemainderIntoCooling) {
    ControllerState& s = h.s();
    s.machine_state = kRun;
    s.run_phase = kHeat;
    s.step_split = 1;
    s.step_index = 4;  // the split made the cooling step current
    s.edit_countdown = 1;
    Update();
    EXPECT_EQ(s.run_phase, kCool);
    EXPECT_EQ(s.cool_time, 30);
    EXPECT_EQ(s.heat_level, 0);
    EXPECT_EQ(s.cool_elapsed, 0);
    EXPECT_EQ(h.Working()[3].status, CoolRunning);
}

TEST_F(EditCommitTest, SplitInsideTheProfileIsARoastCommit) {
    RunOnStepTwo(5, 35);
    h.s().step_split = 1;
    h.s().heat_level = 1;
    h.s().edit_countdown = 1;
    Update();
    EXPECT_EQ(h.s().run_phase, kHeat);
    EXPECT_EQ(h.Working()[1].time, 40);
    EXPECT_EQ(h.Working()[1].heat, 1);
}

TEST_F(EditCommitTest, ManualCoolingCommitChangesNoStep) {
    RunOnStepTwo(5, 35);
    h.s().run_phase = kManualCool;
    h.s().fan_level = 1;
    const auto before = h.Working();
    h.s().edit_countdown = 1;
    h.editor.ClearCalls();
    Update();
    EXPECT_EQ(Values(h.Working()), Values(before));
    EXPECT_FALSE(h.editor.CallsOf("update_data").empty());
}

TEST_F(EditCommitTest, CommitWithTheStepBeyondTheListShowsTheBoundsMessage) {
    RunOnStepTwo(5, 35);
    h.s().step_index = 9;
    h.s().edit_countdown = 1;
    Update();
    EXPECT_THAT(h.window.messages, ::testing::ElementsAre("链表添加查找超出边界"));
}

TEST_F(EditCommitTest, TemperatureWindowIsRedrawnOnlyWhenTheValueChanges) {
    h.s().temperature = 200;
    Update(3);
    EXPECT_EQ(h.window.temperature_invalidations, 1);
    h.s().temperature = 201;
    Update();
    EXPECT_EQ(h.window.temperature_invalidations, 2);
}

}  // namespace
