#include "command_fixture.h"
#include "frames.h"

namespace {

using ::testing::ElementsAre;

const char* const kConnect = "Please connect the Brazimo on the computer!";

TEST_F(CommandTest, PowerStartsARunFromOffReadyAndFinished) {
    struct Case {
        int32_t from;
        bool delayed;
        int32_t phase;
        int32_t pending;
    };
    for (const Case& c : {Case{kOff, false, kHeat, kStartCommand}, Case{kReady, true, kWaitStart, kStartCommand},
                          Case{kFinished, false, kHeat, 0}}) {
        SCOPED_TRACE(c.from);
        SetUp();
        for (StepNode* p = rc().console.working.head; p; p = p->next) p->status = StepEnd;
        s().machine_state = c.from;
        s().delayed_start = c.delayed;
        s().run_elapsed = s().step_start + 7;
        Click(ctl::kPower);
        EXPECT_EQ(s().machine_state, kRun);
        EXPECT_EQ(s().run_phase, c.phase);
        EXPECT_EQ(s().pending_command, c.pending);
        EXPECT_EQ(s().step_index, 1);
        EXPECT_EQ(s().Ran(), 0);
        EXPECT_EQ(s().run_elapsed, 0);
        EXPECT_EQ((std::array{s().fan_level, s().roast_time, s().heat_level}), (std::array{5, 40, 3}));
        EXPECT_EQ((std::array{s().saved_fan, s().saved_time, s().saved_heat}), (std::array{5, 40, 3}));
        EXPECT_THAT(Steps(), ElementsAre(Step{5, 40, 3, StepRunning}, Step{6, 50, 2, StepWaiting},
                                         Step{7, 30, 1, StepWaiting}, Step{4, 30, 0, CoolWaiting}));
        EXPECT_FALSE(h().window.picker_enabled);
        EXPECT_EQ(h().editor.lock, 0);
    }
}

TEST_F(CommandTest, StartFrameCarriesTheStartCommandOnceThenStatusFrames) {
    h().serial.written.clear();
    Click(ctl::kPower);
    h().Ticks(2);
    ASSERT_EQ(h().serial.written.size(), 2u);
    EXPECT_EQ(h().serial.written[0].bytes, ToBytes(MakeFrame(kCmdStart, 0x04, 0x02, 5, 40, 3, 0, 0)));
    EXPECT_EQ(h().serial.written[1].bytes[4], kCmdStatus);
}

TEST_F(CommandTest, PowerThatCannotStartLeavesTheStateAlone) {
    struct Case {
        const char* what;
        int32_t state;
        std::string profile;
        bool link_ok;
        int32_t phase;
        std::vector<std::string> messages;
        int32_t phase_after;
    };
    const std::vector<Case> cases = {
        {"link down", kReady, "Roast.coff", false, kWaitStart, {kConnect}, kWaitStart},
        {"no profile", kOff, kNoProfile, true, kWaitStart, {}, kWaitStart},
        {"after a long press in Ready", kOff, "Roast.coff", true, kPhaseNone, {}, kWaitStart},
        {"after a long press, link down", kOff, "Roast.coff", false, kPhaseNone, {}, kWaitStart},
        {"after a long press in a run", kFinished, "Roast.coff", true, kPhaseNone, {}, kWaitStart},
        {"finished, link down", kFinished, "Roast.coff", false, kWaitStart, {kConnect}, kWaitStart},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        h().window.messages.clear();
        s().machine_state = c.state;
        s().profile_name = c.profile;
        s().link_ok = c.link_ok;
        s().run_phase = c.phase;
        Click(ctl::kPower);
        EXPECT_EQ(s().machine_state, c.state);
        EXPECT_EQ(s().run_phase, c.phase_after);
        EXPECT_EQ(h().window.messages, c.messages);
        EXPECT_EQ(s().pending_command, 0);
    }
    // The click after the swallowed one starts the run.
    Click(ctl::kPower);
    EXPECT_EQ(s().machine_state, kFinished) << "the link is still down";
    s().link_ok = true;
    Click(ctl::kPower);
    EXPECT_EQ(s().machine_state, kRun);
}

TEST_F(CommandTest, PowerPausesIntoManualCoolingAndResumesTheStep) {
    PlaceInStep(2, 20, 30);
    Click(ctl::kPower);
    EXPECT_EQ(s().run_phase, kManualCool);
    EXPECT_EQ(s().cool_time, 30);
    EXPECT_EQ(s().cool_elapsed, 0);
    EXPECT_EQ(s().heat_level, 0);
    h().Ticks(24);
    EXPECT_EQ(s().cool_time, 28);
    EXPECT_EQ(s().roast_time, 30) << "the roast step does not count while cooling";
    s().fan_level = 9;
    Click(ctl::kPower);
    EXPECT_EQ(s().run_phase, kHeat);
    EXPECT_EQ((std::array{s().fan_level, s().roast_time, s().heat_level}), (std::array{6, 30, 2}));
}

TEST_F(CommandTest, PowerDuringAnEditCommitsItInsteadOfPausing) {
    PlaceInStep(2, 20, 30);
    s().edit_field = kEditTime;
    s().edit_countdown = 12;
    s().roast_time = 70;
    Click(ctl::kPower);
    EXPECT_EQ(s().run_phase, kHeat);
    EXPECT_EQ(s().edit_countdown, 0);
    EXPECT_EQ(Steps()[1], (Step{6, 90, 2, StepRunning}));
}

TEST_F(CommandTest, UpAndDownKeepValuesWithinTheirLimits) {
    enum Place { Ready, Heat, Cool, ManualCool };
    struct Case {
        const char* what;
        Place place;
        uint8_t field;  // kEditNone: no edit in progress
        int32_t ControllerState::*value;
        int32_t start;
        int ran;  // run of the roast step, or cooling elapsed
        int control;
        int clicks;
        int32_t expected;
        int written_step = 0;  // the step that must carry `written_time`
        int written_time = 0;
    };
    const auto fan = &ControllerState::fan_level;
    const auto time = &ControllerState::roast_time;
    const auto heat = &ControllerState::heat_level;
    const auto cool = &ControllerState::cool_time;
    const std::vector<Case> cases = {
        {"fan stops at 9", Ready, kEditFan, fan, 8, 0, ctl::kUp, 3, 9},
        {"fan stops at 1", Ready, kEditFan, fan, 2, 0, ctl::kDown, 3, 1},
        {"heat stops at 3", Ready, kEditHeat, heat, 2, 0, ctl::kUp, 2, 3},
        {"heat never reaches 0", Ready, kEditHeat, heat, 1, 0, ctl::kDown, 1, 1},
        {"time in tenths, step 1 follows", Ready, kEditTime, time, 59, 0, ctl::kUp, 1, 60, 1, 60},
        {"time stops at 9.9", Ready, kEditTime, time, 98, 0, ctl::kUp, 2, 99},
        {"time stops at 0.1", Ready, kEditTime, time, 2, 0, ctl::kDown, 3, 1},
        {"live time with ran", Heat, kEditNone, time, 75, 20, ctl::kUp, 4, 79, 2, 99},
        {"live time refused past 9.9", Heat, kEditNone, time, 75, 20, ctl::kUp, 5, 79, 2, 99},
        {"live time stops at 0.1", Heat, kEditNone, time, 2, 20, ctl::kDown, 3, 1, 2, 21},
        {"edited time is capped at the commit", Heat, kEditTime, time, 75, 20, ctl::kUp, 30, 99},
        {"cooling up to 9.0 in all", Cool, kEditNone, cool, 30, 25, ctl::kUp, 5, 65, 4, 90},
        {"cooling down to 0.2", Cool, kEditNone, cool, 30, 25, ctl::kDown, 4, 2, 4, 27},
        {"edited cooling time", Cool, kEditTime, cool, 30, 25, ctl::kUp, 5, 65},
        {"manual cooling", ManualCool, kEditNone, cool, 30, 10, ctl::kUp, 9, 80},
        {"up never shortens a long cooling", Cool, kEditNone, cool, 14, 85, ctl::kUp, 1, 14, 4, 99},
        {"down never lengthens the cooling", Cool, kEditNone, cool, 1, 25, ctl::kDown, 1, 1},
        {"no heat while cooling", Cool, kEditHeat, heat, 0, 25, ctl::kUp, 2, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        switch (c.place) {
        case Ready: break;
        case Heat: PlaceInStep(2, c.ran, 30); break;
        case Cool: PlaceInCooling(c.ran, 30); break;
        case ManualCool:
            PlaceInStep(2, 5, 30);
            s().run_phase = kManualCool;
            s().cool_elapsed = c.ran;
            break;
        }
        s().*c.value = c.start;
        if (c.field != kEditNone) {
            s().edit_field = c.field;
            s().edit_countdown = 20;
        }
        for (int i = 0; i < c.clicks; ++i) Click(c.control);
        EXPECT_EQ(s().*c.value, c.expected);
        if (c.written_step) {
            EXPECT_EQ(Steps()[c.written_step - 1].time, c.written_time);
        }
        EXPECT_EQ(s().held_button, kHeldNone);
    }
}

TEST_F(CommandTest, RightSplitsTheRunningStepAfterYes) {
    PlaceInStep(2, 20, 30);
    h().window.answers.push_back({true, 1000, [&] {
                                    EXPECT_EQ(h().editor.lock, 1) << "the editor stays locked through the ticks";
                                    EXPECT_EQ(s().prompt_open, 1);
                                }});
    Click(ctl::kRight);
    EXPECT_THAT(h().window.prompts, ElementsAre("Are you sure insert a new STEP ? You can also insert 17 STEP."));
    EXPECT_THAT(Steps(), ElementsAre(Step{5, 40, 3, StepCompleted}, Step{6, 20, 2, StepCompleted},
                                     Step{6, 30, 2, StepRunning}, Step{7, 30, 1, StepWaiting},
                                     Step{4, 30, 0, CoolWaiting}));
    EXPECT_EQ(s().step_index, 3);
    EXPECT_EQ(s().step_split, 1);
    EXPECT_EQ(s().edit_field, kEditFan);
    EXPECT_EQ(s().edit_countdown, 20);
    EXPECT_EQ(s().prompt_open, 0);
    EXPECT_EQ(h().editor.CallsOf("Updata_ShowDlg").back().list.size(), 5u);

    // The new step runs the 3.0 minutes that were left, then step 4 follows.
    s().fan_level = 8;
    int ticks = s().tick_count;  // ticks of the current unit ran while the prompt was open
    while (s().step_index == 3 && ticks < 1000) {
        h().Ticks(1);
        ++ticks;
    }
    EXPECT_EQ(ticks, 30 * 12);
    EXPECT_EQ(Steps()[2], (Step{8, 30, 2, StepCompleted}));
    EXPECT_EQ(Steps()[3].status, StepRunning);
}

TEST_F(CommandTest, RightOffersNoSplitWhenItCannotOrMayNot) {
    struct Case {
        const char* what;
        int extra_steps;  // roast steps added to the four
        std::optional<PromptAnswer> answer;
        size_t prompts;
    };
    const std::vector<Case> cases = {
        {"21 steps", 17, std::nullopt, 0},
        {"answered No", 0, PromptAnswer{false, 0, {}}, 1},
        {"the run ended meanwhile", 0, PromptAnswer{true, 0, [this] { s().machine_state = kOff; }}, 1},
        {"the step ended meanwhile", 0, PromptAnswer{true, 12 * 500, {}}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        for (int i = 0; i < c.extra_steps; ++i) rc().console.working.InsertStep(2, 5, 20, 3, StepCompleted);
        PlaceInStep(2 + c.extra_steps, 20, 1);
        s().edit_field = kEditHeat;
        if (c.answer) h().window.answers.push_back(*c.answer);
        const size_t count = rc().console.working.count;
        Click(ctl::kRight);
        EXPECT_EQ(h().window.prompts.size(), c.prompts);
        EXPECT_EQ(rc().console.working.count, count);
        EXPECT_EQ(s().edit_field, kEditHeat) << "nothing is selected";
        EXPECT_EQ(s().edit_countdown, 0);
        EXPECT_EQ(s().step_split, 0);
        EXPECT_EQ(s().prompt_open, 0);
    }
}

TEST_F(CommandTest, RightAndLeftChooseTheValueToEdit) {
    enum Place { Off, Ready, Finished, Heat, Cool, ManualCool };
    struct Case {
        Place place;
        std::string profile;
        bool editing;
        uint8_t field;
        int control;  // ctl::kRight, or 0 for the left arrow
        int32_t state_after;
        uint8_t field_after;
        int8_t countdown_after;
    };
    const std::string roast = "Roast.coff";
    const std::vector<Case> cases = {
        {Off, roast, false, 3, ctl::kRight, kReady, 1, 20},
        {Off, kLastUsbSetting, false, 3, ctl::kRight, kOff, 0, 0},
        {Off, kNoProfile, false, 3, ctl::kRight, kOff, 3, 0},
        {Ready, roast, true, 1, ctl::kRight, kReady, 2, 20},
        {Ready, roast, true, 3, ctl::kRight, kReady, 1, 20},
        {Ready, roast, false, 2, ctl::kRight, kReady, 1, 20},
        {Ready, kMachineSetting, false, 0, ctl::kRight, kReady, 0, 0},
        {Finished, roast, false, 2, ctl::kRight, kReady, 1, 20},
        {Heat, roast, true, 2, ctl::kRight, kRun, 3, 20},
        {Cool, roast, true, 1, ctl::kRight, kRun, 2, 20},
        {Cool, roast, true, 3, ctl::kRight, kRun, 1, 20},
        {ManualCool, roast, false, 2, ctl::kRight, kRun, 1, 20},
        {Off, roast, false, 3, 0, kReady, 1, 0},
        {Off, kLastUsbSetting, false, 3, 0, kReady, 0, 0},
        {Ready, roast, false, 1, 0, kReady, 3, 0},
        {Ready, roast, false, 0, 0, kReady, 1, 0},
        {Heat, roast, false, 2, 0, kRun, 2, 0},
        {Heat, roast, true, 1, 0, kRun, 3, 20},
        {Finished, kLastUsbSetting, false, 2, 0, kReady, 0, 0},
    };
    for (size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE("case " + std::to_string(i));
        SetUp();
        s().profile_name = c.profile;
        s().saved_fan = 9;
        switch (c.place) {
        case Off: s().machine_state = kOff; break;
        case Ready: break;
        case Finished: s().machine_state = kFinished; break;
        case Heat: PlaceInStep(2, 0, 30); break;
        case Cool: PlaceInCooling(5, 20); break;
        case ManualCool:
            PlaceInStep(2, 5, 30);
            s().run_phase = kManualCool;
            break;
        }
        s().edit_field = c.field;
        s().edit_countdown = c.editing ? 5 : 0;
        if (c.control)
            Click(c.control);
        else
            rc().commands.OnLeft();
        EXPECT_EQ(s().machine_state, c.state_after);
        EXPECT_EQ(s().edit_field, c.field_after);
        EXPECT_EQ(s().edit_countdown, c.countdown_after);
        if (c.place == Finished) {
            EXPECT_EQ(s().fan_level, 9) << "the saved values come back";
        }
    }
}

TEST_F(CommandTest, ModeSwitchesToTheMachineSettingAndBack) {
    s().manual_fan = 7;
    s().manual_time = 45;
    s().manual_heat = 2;
    s().delayed_start = true;
    s().edit_field = kEditTime;
    const std::vector<Step> profile = Steps();

    Click(ctl::kMode);
    EXPECT_EQ(s().profile_name, kMachineSetting);
    EXPECT_EQ(s().previous_profile, "Roast.coff");
    EXPECT_EQ(h().window.name_text, "Last Machine Setting");
    EXPECT_EQ(s().machine_state, kReady);
    EXPECT_EQ(s().edit_field, kEditNone);
    EXPECT_FALSE(s().delayed_start);
    EXPECT_THAT(Steps(), ElementsAre(Step{7, 45, 2, StepWaiting}, Step{5, 30, 0, CoolWaiting}));
    EXPECT_EQ((std::array{s().fan_level, s().roast_time, s().heat_level}), (std::array{7, 45, 2}));
    EXPECT_EQ(h().editor.CallsOf("CloseDlg").size(), 1u);
    EXPECT_EQ(h().editor.CallsOf("Updata_ShowDlg").back().list.size(), 2u);

    s().machine_state = kFinished;
    Click(ctl::kMode);
    EXPECT_EQ(s().profile_name, "Roast.coff");
    EXPECT_EQ(h().window.name_text, "Roast");
    EXPECT_EQ(s().machine_state, kReady);
    EXPECT_EQ(Steps(), profile);
    EXPECT_EQ((std::array{s().fan_level, s().roast_time, s().heat_level}), (std::array{5, 40, 3}));
    EXPECT_EQ(h().editor.CallsOf("Updata_ShowDlg").back().list.size(), 4u);
}

TEST_F(CommandTest, ModeIsIgnoredInARunAndHasNothingToGoBackTo) {
    PlaceInStep(2, 20, 30);
    Click(ctl::kMode);
    EXPECT_EQ(s().profile_name, "Roast.coff");
    EXPECT_EQ(s().machine_state, kRun);

    SetUp();
    s().profile_name = kMachineSetting;  // reached without MODEE: no previous profile
    Click(ctl::kMode);
    EXPECT_EQ(s().profile_name, kMachineSetting);
    EXPECT_EQ(rc().console.working.count, 4u);
}

TEST_F(CommandTest, ClockIconArmsADelayedStartElevenMinutesAhead) {
    h().window.clock_at_start = {23, 55, 40};
    Click(ctl::kClockIcon);
    EXPECT_TRUE(s().delayed_start);
    EXPECT_EQ(h().window.picker, (ClockTime{0, 6, 40}));
    EXPECT_TRUE(h().window.picker_shown);
    EXPECT_FALSE(h().window.clock_icon_shown);

    h().window.Advance(60000);
    Click(ctl::kClockIcon);
    EXPECT_EQ(h().window.picker, (ClockTime{0, 6, 40})) << "an armed start is kept";
    Click(ctl::kPower);
    EXPECT_EQ(s().run_phase, kWaitStart);

    s().delayed_start = false;
    Click(ctl::kClockIcon);
    EXPECT_FALSE(s().delayed_start) << "not during a run";
}

}  // namespace
