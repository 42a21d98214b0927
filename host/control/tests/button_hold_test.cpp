#include "command_fixture.h"
#include "frames.h"

namespace {

using ::testing::ElementsAre;

class ButtonHoldTest : public CommandTest {
protected:
    void SetUp() override {
        CommandTest::SetUp();
        // Presses come right after a hold tick, so the third tick falls
        // 900 ms after the press.
        h().window.Advance(300);
    }

    // Presses `control`, holds it for `ms` and releases it; a release over
    // the button clicks it.
    void Hold(int control, int64_t ms, bool click = true) {
        rc().OnButtonPressed(control);
        h().window.Advance(ms);
        rc().OnButtonReleased();
        if (click) rc().OnButtonClicked(control);
    }

    // Virtual times, from the press, at which `value` changed.
    std::vector<int64_t> ChangesWhileHeld(int control, int32_t ControllerState::*value, int64_t ms) {
        std::vector<int64_t> at;
        const int64_t pressed = h().window.now_ms;
        int32_t last = s().*value;
        rc().OnButtonPressed(control);
        h().window.AdvanceUntil(
            [&] {
                if (s().*value != last) at.push_back(h().window.now_ms - pressed);
                last = s().*value;
                return false;
            },
            ms);
        rc().OnButtonReleased();
        return at;
    }
};

TEST_F(ButtonHoldTest, HeldUpRepeatsFrom900msEvery300msUpTo99) {
    s().edit_field = kEditTime;
    s().roast_time = 59;
    h().serial.written.clear();
    EXPECT_THAT(ChangesWhileHeld(ctl::kUp, &ControllerState::roast_time, 2400), ElementsAre(900, 1200, 1500, 1800));
    EXPECT_EQ(s().roast_time, 99);
    EXPECT_EQ(Steps()[0].time, 99) << "step 1 follows without the click";
    // Every repeat sends a status frame at once: six repeats besides the
    // five control ticks, the first one 900 ms after the press.
    EXPECT_EQ(h().serial.WrittenWithCommand(kCmdStatus).size(), 5u + 6u);
    EXPECT_EQ(h().serial.written[1].at_ms, 1000);
    EXPECT_EQ(h().serial.written[2].at_ms, 300 + 900);
}

TEST_F(ButtonHoldTest, HoldCountsFromThePressWhereverInTheTimersPeriodItFalls) {
    s().edit_field = kEditFan;
    s().fan_level = 1;
    h().window.Advance(150);
    EXPECT_THAT(ChangesWhileHeld(ctl::kUp, &ControllerState::fan_level, 1300), ElementsAre(900, 1200));
}

TEST_F(ButtonHoldTest, ReleaseBeforeTheThirdTickGivesOnlyTheClick) {
    s().edit_field = kEditFan;
    s().fan_level = 5;
    Hold(ctl::kUp, 899);
    EXPECT_EQ(s().fan_level, 6);
    h().window.Advance(3000);
    EXPECT_EQ(s().fan_level, 6);
}

TEST_F(ButtonHoldTest, HeldUpInARunKeepsTheStepCapAndOffIgnoresIt) {
    PlaceInStep(2, 20, 75);
    h().window.Advance(0);
    rc().OnButtonPressed(ctl::kUp);
    h().window.Advance(900);
    EXPECT_EQ(s().roast_time, 79);
    EXPECT_EQ(Steps()[1].time, 99);
    rc().OnButtonReleased();

    SetUp();
    s().machine_state = kOff;
    s().edit_field = kEditFan;
    h().serial.written.clear();
    rc().OnButtonPressed(ctl::kUp);
    h().window.Advance(1500);
    EXPECT_EQ(s().held_button, kHeldNone);
    EXPECT_EQ(s().fan_level, 5);
    EXPECT_TRUE(h().serial.WrittenWithCommand(kCmdStatus).size() <= 3u) << "only the control ticks' frames";
}

TEST_F(ButtonHoldTest, LongPowerInReadySwitchesOffAndTheFollowingClickIsSwallowed) {
    Hold(ctl::kPower, 1000);
    EXPECT_EQ(s().machine_state, kOff);
    EXPECT_EQ(s().run_phase, kWaitStart) << "the click cleared the mark";
    EXPECT_TRUE(h().window.picker_enabled);
    Click(ctl::kPower);
    EXPECT_EQ(s().machine_state, kRun);
}

TEST_F(ButtonHoldTest, LongPowerStopsARunAndRecordsACoolingThatRan) {
    for (int32_t phase : {kWaitStart, kHeat, kManualCool, kCool}) {
        SCOPED_TRACE(phase);
        SetUp();
        s().delayed_start = true;
        if (phase == kCool) {
            PlaceInCooling(12, 18);
        } else {
            PlaceInStep(2, 20, 30);
            s().run_phase = phase;
        }
        rc().OnButtonPressed(ctl::kPower);
        h().window.Advance(900);
        EXPECT_EQ(s().machine_state, kFinished);
        EXPECT_EQ(s().run_phase, kPhaseNone);
        EXPECT_EQ((std::array{s().fan_level, s().roast_time, s().heat_level}), (std::array{5, 40, 3}));
        EXPECT_FALSE(s().delayed_start);
        EXPECT_TRUE(h().window.picker_enabled);
        EXPECT_EQ(Steps().back().status, CoolWaiting) << "statuses reset";
        EXPECT_EQ(h().window.TimerRunning(kDownloadTimer), phase == kCool);
        if (phase == kCool) {
            EXPECT_EQ(Steps().back(), (Step{4, 12, 0, CoolWaiting}));
            EXPECT_EQ(s().cool_time, 30);
        }
        // Held on, the stop is not repeated; the click after it is swallowed.
        rc().OnButtonReleased();
        h().window.Advance(300);
        Click(ctl::kPower);
        EXPECT_EQ(s().machine_state, kFinished);
        EXPECT_EQ(s().run_phase, kWaitStart);
    }
}

TEST_F(ButtonHoldTest, LongRightInCoolingAddsARoastStepBeforeTheCooling) {
    PlaceInCooling(6, 24);
    h().window.AnswerYes();
    Hold(ctl::kRight, 3000, false);
    EXPECT_THAT(h().window.prompts, ElementsAre("Are you sure insert a new STEP ? You can also insert 17 STEP."));
    EXPECT_THAT(Steps(), ElementsAre(Step{5, 40, 3, StepCompleted}, Step{6, 50, 2, StepCompleted},
                                     Step{7, 30, 1, StepCompleted}, Step{5, 59, 3, StepRunning},
                                     Step{4, 30, 0, CoolWaiting}));
    EXPECT_EQ(s().run_phase, kHeat);
    EXPECT_EQ(s().step_index, 4);
    EXPECT_EQ((std::array{s().fan_level, s().roast_time, s().heat_level}), (std::array{5, 59, 3}));
    EXPECT_EQ(s().edit_field, kEditFan);
    EXPECT_EQ(s().prompt_open, 0);
}

TEST_F(ButtonHoldTest, LongRightInCoolingRefusedOrDeclined) {
    // 21 steps: no prompt at all.
    for (int i = 0; i < 17; ++i) rc().console.working.InsertStep(2, 5, 20, 3, StepCompleted);
    PlaceInCooling(6, 24);
    Hold(ctl::kRight, 1000, false);
    EXPECT_TRUE(h().window.prompts.empty());

    SetUp();
    PlaceInCooling(6, 24);
    h().window.AnswerNo();
    Hold(ctl::kRight, 1000, false);
    EXPECT_EQ(h().window.prompts.size(), 1u);
    EXPECT_EQ(s().run_phase, kCool);
    EXPECT_EQ(rc().console.working.count, 4u);
    EXPECT_EQ(s().prompt_open, 0);
}

TEST_F(ButtonHoldTest, LongRightInManualCoolingPlansANewStepAndTheRestOfTheCooling) {
    PlaceInStep(2, 20, 30);
    Click(ctl::kPower);  // manual cooling
    h().Ticks(12 * 4);
    ASSERT_EQ(s().cool_time, 26);
    s().fan_level = 8;
    h().window.AnswerYes();
    Hold(ctl::kRight, 900, false);
    EXPECT_THAT(h().window.prompts, ElementsAre("Are you sure insert a new STEP ? "));
    EXPECT_THAT(Steps(), ElementsAre(Step{5, 40, 3, StepCompleted}, Step{6, 20, 2, StepCompleted},
                                     Step{5, 59, 3, StepRunning}, Step{8, 26, 0, CoolWaiting}));
    EXPECT_EQ(s().step_index, 3);
    EXPECT_EQ(s().run_phase, kHeat);
    EXPECT_EQ(s().Ran(), 0);
    EXPECT_EQ(s().edit_field, kEditFan);
}

TEST_F(ButtonHoldTest, LongRightInManualCoolingChangesNothingWhenTheRunEndsMeanwhileOrTheListIsFull) {
    PlaceInStep(2, 20, 30);
    Click(ctl::kPower);
    s().cool_time = 1;
    // The cooling runs out while the question is open.
    h().window.AnswerYes(12 * 500);
    Hold(ctl::kRight, 900, false);
    EXPECT_EQ(s().machine_state, kFinished);
    EXPECT_THAT(Steps(), ElementsAre(Step{5, 40, 3, StepCompleted}, Step{6, 20, 2, StepCompleted},
                                     Step{6, 1, 0, StepEnd}));
    EXPECT_EQ(s().prompt_open, 0);

    // Steps 1..20 run and a cooling after them would be 22 steps.
    SetUp();
    for (int i = 0; i < 17; ++i) rc().console.working.InsertStep(2, 5, 20, 3, StepCompleted);
    PlaceInStep(20, 20, 30);
    Click(ctl::kPower);
    Hold(ctl::kRight, 900, false);
    EXPECT_TRUE(h().window.prompts.empty());
    EXPECT_EQ(rc().console.working.count, 21u);
}

}  // namespace
