#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "control_cycle.h"
#include "control_ids.h"
#include "controller_harness.h"
#include "frames.h"

namespace {

using ::testing::ElementsAre;

struct StepValues {
    int fan, time, heat;
    uint32_t status;
    bool operator==(const StepValues& o) const {
        return fan == o.fan && time == o.time && heat == o.heat && status == o.status;
    }
};

std::ostream& operator<<(std::ostream& os, const StepValues& v) {
    return os << "(" << v.fan << ", " << v.time << ", " << v.heat << ", " << v.status << ")";
}

std::vector<StepValues> Values(const std::vector<StepNode>& steps) {
    std::vector<StepValues> out;
    for (const StepNode& n : steps) out.push_back({n.fan, n.time, n.heat, n.status});
    return out;
}

class ControlCycleTest : public ::testing::Test {
protected:
    void SetUp() override {
        h.controller.Start();
        h.SetLinkUp();
        h.AnswerStatusFrames();
    }

    // A run as a POWER start leaves it: step 1 running, its values live.
    void StartRun() {
        ControllerState& s = h.s();
        s.machine_state = kRun;
        s.run_phase = kHeat;
        s.tick_count = 0;
        s.step_index = 1;
        s.run_elapsed = s.step_start = 0;
        h.controller.console.LoadFirstStepValues();
        h.controller.console.WriteStep(1, KEEP_VALUE, KEEP_VALUE, KEEP_VALUE, StepRunning);
    }

    // Ticks until `done` holds; returns the number of ticks.
    int TicksUntil(const std::function<bool()>& done, int limit = 100000) {
        for (int n = 1; n <= limit; ++n) {
            h.Ticks(1);
            if (done()) return n;
        }
        return -1;
    }

    ControllerHarness h;
};

TEST_F(ControlCycleTest, StepTimeCountsDownInTwelveTickUnits) {
    for (int time : {1, 59}) {
        h.SetProfile({{5, time, 3}, {6, 20, 2}}, {5, 30});
        StartRun();
        const int ticks = TicksUntil([&] { return h.s().step_index == 2; });
        EXPECT_EQ(ticks, time * 12) << "time " << time;
        EXPECT_EQ(h.Working()[0].status, StepCompleted);
        EXPECT_EQ(h.Working()[0].time, time);
        EXPECT_EQ(h.s().roast_time, 20);
        EXPECT_EQ(h.s().fan_level, 6);
        EXPECT_EQ(h.Working()[1].status, StepRunning);
    }
}

TEST_F(ControlCycleTest, ProfileRunsHeatHeatCoolThenFinishesAndDownloads) {
    h.SetProfile({{7, 2, 2}, {9, 1, 3}}, {4, 2});
    StartRun();
    std::vector<int> phases{h.s().run_phase};
    const int ticks = TicksUntil([&] {
        if (phases.back() != h.s().run_phase) phases.push_back(h.s().run_phase);
        return h.s().machine_state == kFinished;
    });
    EXPECT_EQ(ticks, (2 + 1 + 2) * 12);
    EXPECT_THAT(phases, ElementsAre(kHeat, kCool, kWaitStart));
    EXPECT_THAT(Values(h.Working()), ElementsAre(StepValues{7, 2, 2, StepCompleted}, StepValues{9, 1, 3, StepCompleted},
                                                 StepValues{4, 2, 0, StepEnd}));
    // The panel shows the first step again, and the download replaces the tick.
    EXPECT_EQ(h.s().fan_level, 7);
    EXPECT_EQ(h.s().roast_time, 2);
    EXPECT_EQ(h.s().cool_time, 30);
    EXPECT_FALSE(h.window.TimerRunning(kControlTimer));
    EXPECT_EQ(h.window.TimerPeriod(kDownloadTimer), 50);
    EXPECT_TRUE(h.window.picker_enabled);

    const int64_t finished_at = h.window.now_ms;
    h.window.Advance(200);
    const auto steps = h.serial.WrittenWithCommand(kCmdProgramStep);
    const auto end = h.serial.WrittenWithCommand(kCmdProgramEnd);
    ASSERT_EQ(steps.size(), 2u);
    ASSERT_EQ(end.size(), 1u);
    EXPECT_EQ(steps[0].bytes, ToBytes(ProgramFrame(kCmdProgramStep, 7, 2, 2)));
    EXPECT_EQ(steps[1].bytes, ToBytes(ProgramFrame(kCmdProgramStep, 9, 1, 3)));
    EXPECT_EQ(end[0].bytes, ToBytes(ProgramFrame(kCmdProgramEnd, 4, 2, 0)));
    EXPECT_EQ(steps[0].at_ms, finished_at + 50);
    EXPECT_EQ(steps[1].at_ms, finished_at + 100);
    EXPECT_EQ(end[0].at_ms, finished_at + 150);
    EXPECT_TRUE(h.window.TimerRunning(kControlTimer));
    EXPECT_FALSE(h.window.TimerRunning(kDownloadTimer));
    EXPECT_EQ(h.s().download_index, 0);
}

TEST_F(ControlCycleTest, ManualCoolEndKeepsTheStepsThatRanAndRecordsTheCooling) {
    h.SetProfile({{5, 3, 3}, {6, 40, 2}, {7, 50, 1}}, {5, 30});
    StartRun();
    ASSERT_GT(TicksUntil([&] { return h.s().step_index == 2; }), 0);
    h.Ticks(2 * 12);  // step 2 runs 2 units, then POWER begins a manual cooling
    ControllerState& s = h.s();
    s.saved_time = s.roast_time;
    s.saved_heat = s.heat_level;
    s.saved_fan = s.fan_level;
    s.cool_elapsed = 0;
    s.cool_time = 30;
    s.run_phase = kManualCool;
    s.heat_level = 0;

    ASSERT_EQ(TicksUntil([&] { return s.machine_state == kFinished; }), 30 * 12);
    EXPECT_THAT(Values(h.Working()), ElementsAre(StepValues{5, 3, 3, StepCompleted}, StepValues{6, 2, 2, StepCompleted},
                                                 StepValues{6, 30, 0, StepEnd}));
    EXPECT_EQ(h.controller.console.working.count, 3u);
    EXPECT_EQ(s.fan_level, 5);
    EXPECT_EQ(s.roast_time, 3);
    EXPECT_EQ(s.heat_level, 3);
    EXPECT_EQ(s.run_phase, kWaitStart);
    EXPECT_TRUE(h.window.TimerRunning(kDownloadTimer));
    const auto shown = h.editor.CallsOf("Updata_ShowDlg");
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.back().list.size(), 3u);
}

TEST_F(ControlCycleTest, ManualCoolEndOnAnEmptyListSaysSoAndEndsTheTickAtOnce) {
    h.SetProfile({{5, 30, 3}}, {5, 30});
    StartRun();
    ControllerState& s = h.s();
    s.run_phase = kManualCool;
    s.cool_time = 1;
    h.Ticks(11);
    h.controller.console.working.Clear();
    h.window.messages.clear();
    h.Ticks(1);
    EXPECT_EQ(s.machine_state, kFinished);
    EXPECT_EQ(s.run_phase, kWaitStart);
    EXPECT_EQ(s.cool_time, 30);
    ASSERT_FALSE(h.window.messages.empty());
    EXPECT_EQ(h.window.messages.back(), "STEP data is empty!");
    EXPECT_EQ(h.controller.console.working.Renumber(), 0u);
    EXPECT_FALSE(h.window.TimerRunning(kDownloadTimer)) << "nothing to download";
    EXPECT_EQ(h.editor.Lock(), 1) << "the tick ended before it unlocked the editor";
}

TEST_F(ControlCycleTest, CoolingCountStopsAtItsLimitOnlyInAProfilesCooling) {
    h.SetProfile({{5, 30, 3}}, {5, 99});
    StartRun();
    ControllerState& s = h.s();
    s.run_phase = kCool;
    s.cool_time = 99;
    s.cool_elapsed = kElapsedLimit - 1;
    h.Ticks(12);
    EXPECT_EQ(s.cool_elapsed, kElapsedLimit);
    EXPECT_TRUE(h.window.messages.empty());
    h.Ticks(24);
    EXPECT_EQ(s.cool_elapsed, kElapsedLimit);
    EXPECT_EQ(s.cool_time, 96) << "the cooling goes on";
    EXPECT_THAT(h.window.messages, ElementsAre("cool time over!", "cool time over!"));

    h.window.messages.clear();
    s.run_phase = kManualCool;
    h.Ticks(24);
    EXPECT_EQ(s.cool_elapsed, kElapsedLimit + 2) << "a manual cooling has no limit";
    EXPECT_TRUE(h.window.messages.empty());
}

TEST_F(ControlCycleTest, ManualCoolRightAfterAStepBeganCountsOneUnit) {
    h.SetProfile({{5, 30, 3}}, {5, 30});
    StartRun();
    ControllerState& s = h.s();
    s.run_phase = kManualCool;
    s.cool_time = 1;
    s.cool_elapsed = 0;
    h.Ticks(12);
    EXPECT_EQ(s.machine_state, kFinished);
    EXPECT_THAT(Values(h.Working()), ElementsAre(StepValues{5, 1, 3, StepCompleted}, StepValues{5, 1, 0, StepEnd}));
}

TEST_F(ControlCycleTest, DelayedStartCountsDownAndStartsOnTheMatchingSecond) {
    h.SetProfile({{5, 59, 3}}, {5, 30});
    StartRun();
    ControllerState& s = h.s();
    s.run_phase = kWaitStart;
    s.delayed_start = true;
    h.window.clock_at_start = {9, 59, 13};  // a tick at 500 ms reads 09:59:13
    h.window.now_ms = 0;
    h.window.picker = {10, 0, 0};
    h.window.KillTimer(kControlTimer);
    h.window.SetTimer(kControlTimer, 500);

    std::vector<std::string> texts;
    std::vector<NameColour> colours;
    h.window.on_message = nullptr;
    for (int i = 0; i < 4; ++i) {
        h.Ticks(1);
        texts.push_back(h.window.name_text);
        colours.push_back(h.window.name_colour);
    }
    EXPECT_THAT(texts, ElementsAre("  47 sec left to work.  ", "  46 sec left to work.. ", "  46 sec left to work...",
                                   "  45 sec left to work   "));
    EXPECT_THAT(colours, ::testing::Each(NameColour::Warning));
    EXPECT_EQ(s.run_phase, kWaitStart);
    EXPECT_EQ(s.roast_time, 59);

    const int ticks = TicksUntil([&] { return s.run_phase == kHeat; });
    EXPECT_EQ(h.window.LocalTime(), (ClockTime{10, 0, 0}));
    EXPECT_EQ(ticks, 2 * 45);
    EXPECT_EQ(h.window.name_text, "Roast");
    EXPECT_EQ(h.window.name_colour, NameColour::Normal);
    EXPECT_FALSE(h.window.picker_enabled);
    EXPECT_EQ(s.tick_count, 0);
    // The step counts from the next tick on.
    h.Ticks(12);
    EXPECT_EQ(s.roast_time, 58);
}

TEST_F(ControlCycleTest, DelayedStartBeginsOnTimeWhileTheLinkIsDown) {
    h.SetProfile({{5, 59, 3}}, {5, 30});
    StartRun();
    ControllerState& s = h.s();
    s.run_phase = kWaitStart;
    s.link_down = 1;
    h.window.clock_at_start = {8, 0, 0};
    h.window.picker = {8, 0, 3};
    ASSERT_GT(TicksUntil([&] { return s.run_phase == kHeat; }, 20), 0);
    h.Ticks(24);
    EXPECT_EQ(s.roast_time, 59) << "units are not counted while the link is down";
}

TEST_F(ControlCycleTest, DelayedStartBeginsWhenADownloadHidesItsSecond) {
    // Timer 1 rests while a 21-step download runs (21 frames, 50 ms apart),
    // so no tick reads the start second itself.
    h.SetProfile(std::vector<std::array<int, 3>>(20, {5, 10, 3}), {5, 30});
    StartRun();
    ControllerState& s = h.s();
    s.run_phase = kWaitStart;
    s.delayed_start = true;
    h.window.clock_at_start = {8, 0, 0};
    h.window.now_ms = 0;
    h.window.picker = {8, 0, 3};
    h.window.KillTimer(kControlTimer);
    h.window.SetTimer(kControlTimer, 500);
    h.Ticks(5);
    h.window.Advance(100);
    h.controller.OnButtonClicked(ctl::kProgram);
    h.controller.OnEditorMessage(3);  // Download from the editor
    ASSERT_EQ(s.download_active, 1);
    EXPECT_GT(TicksUntil([&] { return s.run_phase == kHeat; }, 6), 0) << h.window.name_text;
    EXPECT_EQ(h.window.name_text, "Roast");
}

TEST_F(ControlCycleTest, DelayedStartWaitsWhenTheClockIsSetBackInItsLastSeconds) {
    h.SetProfile({{5, 59, 3}}, {5, 30});
    StartRun();
    ControllerState& s = h.s();
    s.run_phase = kWaitStart;
    s.delayed_start = true;
    h.window.now_ms = 0;
    h.window.clock_at_start = {8, 0, 7};
    h.window.picker = {8, 0, 10};
    h.Ticks(1);
    ASSERT_EQ(s.delay_seconds_left, 3);
    h.window.clock_at_start = {8, 0, 4};  // the clock goes back three seconds
    h.Ticks(1);
    EXPECT_EQ(s.run_phase, kWaitStart) << h.window.name_text;
    EXPECT_GT(s.delay_seconds_left, 3) << "the count went up again";
    // It starts when the clock reaches the start after all.
    EXPECT_GE(TicksUntil([&] { return s.run_phase == kHeat; }, 16), 8);
}

TEST(CountdownText, SecondsAndHoursForms) {
    EXPECT_EQ(SecondsUntil({9, 59, 15}, {10, 0, 0}), 45);
    EXPECT_EQ(CountdownText(45), "  45 sec left to work");
    EXPECT_EQ(SecondsUntil({8, 54, 0}, {10, 0, 0}), 3960);
    EXPECT_EQ(CountdownText(3960), "1hr6min left to work");
    EXPECT_EQ(SecondsUntil({10, 0, 0}, {9, 59, 59}), 86399);
    EXPECT_EQ(CountdownText(86399), "23hr59min left to work");
    EXPECT_EQ(CountdownText(60), "0hr1min left to work");
    EXPECT_EQ(SecondsUntil({7, 7, 7}, {7, 7, 7}), 0);
}

TEST_F(ControlCycleTest, RunTimeStopsAtItsLimitWithAMessageAtEveryUnit) {
    h.SetProfile({{5, 99, 3}, {5, 20, 3}}, {5, 30});
    StartRun();
    ControllerState& s = h.s();
    s.run_elapsed = kElapsedLimit - 1;
    s.step_start = kElapsedLimit - 1;
    h.Ticks(12);
    EXPECT_EQ(s.run_elapsed, kElapsedLimit);
    EXPECT_TRUE(h.window.messages.empty());
    h.Ticks(24);
    EXPECT_EQ(s.run_elapsed, kElapsedLimit);
    EXPECT_THAT(h.window.messages, ElementsAre("run time over!", "run time over!"));
    // A step that ends now has run 0 units by the count and is stored as 1.
    s.roast_time = 1;
    s.step_start = kElapsedLimit;
    h.Ticks(12);
    EXPECT_EQ(h.Working()[0].time, 1);
    EXPECT_EQ(h.Working()[0].status, StepCompleted);
}

TEST_F(ControlCycleTest, ProgressBeyondStep22ReportsEveryTick) {
    StartRun();
    h.s().step_index = 23;
    h.editor.ClearCalls();
    h.Ticks(3);
    EXPECT_THAT(h.window.messages, ElementsAre("STEP find data is empty!", "STEP find data is empty!",
                                               "STEP find data is empty!"));
    // No progress report: each tick's only call is the whole-list synchronisation.
    for (const EditorCall& call : h.editor.CallsOf("update_data")) EXPECT_EQ(call.step, 255);
}

TEST_F(ControlCycleTest, StatusFrameCarriesTheStateFromBeforeTheTick) {
    h.SetProfile({{5, 1, 3}, {6, 20, 2}}, {5, 30});
    StartRun();
    h.serial.written.clear();
    h.Ticks(12);  // the 12th tick ends step 1
    ASSERT_EQ(h.serial.written.size(), 12u);
    EXPECT_EQ(h.serial.written.back().bytes, ToBytes(MakeFrame(0x63, 0x04, 0x02, 5, 1, 3, 0, 0)));
    h.Ticks(1);
    EXPECT_EQ(h.serial.written.back().bytes, ToBytes(MakeFrame(0x63, 0x04, 0x02, 6, 20, 2, 0, 0)));
}

TEST_F(ControlCycleTest, NineUnansweredFramesKeepTheLinkAndTheTenthTickLosesIt) {
    h.serial.on_write = nullptr;
    h.serial.written.clear();
    h.Ticks(9);
    EXPECT_EQ(h.s().link_down, 0);
    EXPECT_EQ(h.serial.written.size(), 9u);
    h.Ticks(1);
    EXPECT_EQ(h.serial.written.size(), 9u) << "the tenth tick sends nothing";
    EXPECT_EQ(h.s().link_down, 1);
    EXPECT_EQ(h.s().reconnecting, 1);
    EXPECT_FALSE(h.s().link_ok);
    EXPECT_EQ(h.window.TimerPeriod(kLinkTimer), 300);
    EXPECT_EQ(h.window.pictures[ctl::kLinkLamp], 185);
}

TEST_F(ControlCycleTest, AFailedStatusWriteLosesTheLinkWithoutAMessage) {
    StartRun();
    h.serial.fail_writes = 1;
    h.Ticks(1);
    EXPECT_EQ(h.s().link_down, 1);
    EXPECT_EQ(h.s().tick_count, 0) << "the run cycle is skipped";
    EXPECT_TRUE(h.window.messages.empty());
    EXPECT_FALSE(h.serial.open);
}

TEST_F(ControlCycleTest, StartCommandGoesOutOnceThenStatusAgain) {
    h.s().pending_command = kStartCommand;
    h.serial.written.clear();
    h.Ticks(2);
    ASSERT_EQ(h.serial.written.size(), 2u);
    EXPECT_EQ(h.serial.written[0].bytes[4], 0x13);
    EXPECT_EQ(h.serial.written[1].bytes[4], 0x63);
}

TEST_F(ControlCycleTest, IdleTickShowsTheProfileNameAndResetsTheStep) {
    h.s().profile_name = kMachineSetting;
    h.s().step_index = 4;
    h.Ticks(1);
    EXPECT_EQ(h.s().step_index, 1);
    EXPECT_EQ(h.window.name_text, "Last Machine Setting");
}

TEST(DisplayName, CutsTheExtensionOnlyFromLongerNames) {
    EXPECT_EQ(DisplayName("Last Machine Setting.coff"), "Last Machine Setting");
    EXPECT_EQ(DisplayName("R.coff"), "R");
    EXPECT_EQ(DisplayName("a.cof"), "a.cof");
    EXPECT_EQ(DisplayName("Last USB Setting"), "Last USB Setting");
    EXPECT_EQ(DisplayName("NULL"), "NULL");
}

}  // namespace
