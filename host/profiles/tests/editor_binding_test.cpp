#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "control_ids.h"
#include "controller_harness.h"
#include "frames.h"

namespace {

using ::testing::ElementsAre;

class EditorBindingTest : public ::testing::Test {
protected:
    void SetUp() override {
        h.controller.Start();
        h.SetProfile({{5, 50, 3}, {6, 40, 2}}, {4, 30});
    }
    void Program() { h.controller.OnButtonClicked(ctl::kProgram); }
    std::vector<uint32_t> Statuses() {
        std::vector<uint32_t> out;
        for (const StepNode& n : h.Working()) out.push_back(n.status);
        return out;
    }
    ControllerHarness h;
};

TEST_F(EditorBindingTest, ProgramOpensTheEditorOnceAndResetsStatusesOutsideARun) {
    h.controller.console.working.UpdateStep(1, KEEP_VALUE, KEEP_VALUE, KEEP_VALUE, StepCompleted);
    Program();
    Program();
    EXPECT_EQ(h.editor.CallsOf("ShowDlg").size(), 1u);
    EXPECT_EQ(h.s().editor_open, 1);
    EXPECT_THAT(Statuses(), ElementsAre(StepWaiting, StepWaiting, CoolWaiting));
    const auto pushed = h.editor.CallsOf("update_data");
    ASSERT_FALSE(pushed.empty());
    EXPECT_EQ(pushed.back().step, 255);
    EXPECT_EQ(pushed.back().list.back().status, CoolWaiting);
    EXPECT_EQ(h.editor.lock, 0);
}

TEST_F(EditorBindingTest, ProgramDuringARunShowsTheStatusesAsTheyAre) {
    h.s().machine_state = kRun;
    h.s().run_phase = kHeat;
    h.controller.console.working.UpdateStep(1, KEEP_VALUE, KEEP_VALUE, KEEP_VALUE, StepRunning);
    Program();
    const auto shown = h.editor.CallsOf("ShowDlg");
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].list[0].status, StepRunning);
    EXPECT_THAT(Statuses(), ElementsAre(StepRunning, StepWaiting, CoolWaiting));
}

TEST_F(EditorBindingTest, ProgramRefusesTheMachineSettingAndBrokenLists) {
    h.s().profile_name = kMachineSetting;
    Program();
    EXPECT_TRUE(h.editor.CallsOf("ShowDlg").empty());
    EXPECT_TRUE(h.window.messages.empty());

    h.s().profile_name = "Roast.coff";
    h.controller.console.working.count = 1;  // a chain longer than its count
    Program();
    h.controller.console.working.Clear();
    Program();
    EXPECT_THAT(h.window.messages,
                ElementsAre("链表查找地址出错", "STEP data is empty!", "STEP data is empty!"));
    EXPECT_TRUE(h.editor.CallsOf("ShowDlg").empty());
    EXPECT_EQ(h.s().editor_open, 0);
}

TEST_F(EditorBindingTest, ProgramWithoutTheLibraryOrItsShowDlgSaysSoAndOpensNothing) {
    for (bool library_loaded : {false, true}) {
        h.editor.loaded = library_loaded;
        h.editor.can_show = false;  // when loaded: a library without ShowDlg
        h.window.messages.clear();
        Program();
        EXPECT_THAT(h.window.messages, ElementsAre("The step editor (quarnel) could not be loaded."));
        EXPECT_TRUE(h.editor.CallsOf("ShowDlg").empty());
        EXPECT_EQ(h.s().editor_open, 0) << "a window that never opened is not marked open";
    }
}

TEST_F(EditorBindingTest, ChangedTakesTheEditorsList) {
    Program();
    h.editor.list.UpdateStep(2, 9, 12, 1, StepWaiting);
    h.controller.OnEditorMessage(2);
    EXPECT_EQ(h.Working()[1].fan, 9);
    EXPECT_EQ(h.Working()[1].time, 12);
}

TEST_F(EditorBindingTest, AnEditedStepOneShowsInReadyOnly) {
    struct Case {
        const char* name;
        int32_t machine_state;
        int8_t edit_countdown;
        int code;
        bool shown;
    };
    const Case cases[] = {
        {"ready, changed", kReady, 0, 2, true},
        {"ready, download", kReady, 0, 3, true},
        {"ready, panel edit under way", kReady, 5, 2, false},
        {"off", kOff, 0, 2, false},
        {"finished", kFinished, 0, 2, false},
    };
    h.SetLinkUp();
    h.AnswerStatusFrames();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        h.SetProfile({{5, 50, 3}, {6, 40, 2}}, {4, 30});
        Program();
        ControllerState& s = h.s();
        s.machine_state = c.machine_state;
        s.edit_countdown = c.edit_countdown;
        s.fan_level = 5;
        s.roast_time = 50;
        s.heat_level = 3;
        h.editor.list.UpdateStep(1, 9, 33, 1, StepWaiting);
        h.controller.OnEditorMessage(c.code);
        EXPECT_EQ(h.Working()[0].fan, 9);
        EXPECT_EQ(s.fan_level, c.shown ? 9 : 5);
        EXPECT_EQ(s.roast_time, c.shown ? 33 : 50);
        EXPECT_EQ(s.heat_level, c.shown ? 1 : 3);
        h.window.Advance(500);  // a download runs to its end
    }
}

TEST_F(EditorBindingTest, ResumeRunsTheAppendedStepWithTheFanSelected) {
    ControllerState& s = h.s();
    s.machine_state = kRun;
    s.run_phase = kCool;
    s.step_index = 3;
    s.run_elapsed = 90;
    Program();
    // The editor inserted a running step before the cooling step.
    h.editor.list.InsertStep(3, 5, 59, 3, StepRunning);
    h.editor.list.UpdateStep(4, KEEP_VALUE, KEEP_VALUE, 0, CoolWaiting);
    h.controller.OnEditorMessage(1);
    EXPECT_EQ(s.run_phase, kHeat);
    EXPECT_EQ(s.fan_level, 5);
    EXPECT_EQ(s.roast_time, 59);
    EXPECT_EQ(s.heat_level, 3);
    EXPECT_EQ(s.step_start, 90);
    EXPECT_EQ(s.edit_field, kEditFan);
    EXPECT_EQ(s.edit_countdown, 20);
    EXPECT_EQ(h.Working().size(), 4u);
    EXPECT_EQ(h.Working()[2].status, StepRunning);
}

TEST_F(EditorBindingTest, DownloadWhileTheLinkIsDownShowsTheMessageAndKeepsTheList) {
    Program();
    h.editor.list.UpdateStep(1, 9, 9, 1, StepWaiting);
    h.controller.OnEditorMessage(3);
    EXPECT_THAT(h.window.messages, ElementsAre("Can't download! The Brazimo is not connected to the computer!"));
    EXPECT_EQ(h.Working()[0].fan, 5);
    EXPECT_FALSE(h.window.TimerRunning(kDownloadTimer));
}

TEST_F(EditorBindingTest, DownloadSendsTheEditedListOnceAtATime) {
    h.SetLinkUp();
    h.AnswerStatusFrames();
    Program();
    h.editor.list.UpdateStep(1, 9, 9, 1, StepWaiting);
    h.controller.OnEditorMessage(3);
    EXPECT_EQ(h.s().download_active, 1);
    EXPECT_FALSE(h.window.TimerRunning(kControlTimer));
    h.controller.OnEditorMessage(3);  // ignored while the first runs
    h.window.Advance(500);
    const auto steps = h.serial.WrittenWithCommand(kCmdProgramStep);
    const auto end = h.serial.WrittenWithCommand(kCmdProgramEnd);
    ASSERT_EQ(steps.size(), 2u);
    ASSERT_EQ(end.size(), 1u);
    EXPECT_EQ(steps[0].bytes, ToBytes(ProgramFrame(kCmdProgramStep, 9, 9, 1)));
    EXPECT_EQ(end[0].bytes, ToBytes(ProgramFrame(kCmdProgramEnd, 4, 30, 0)));
    EXPECT_EQ(h.s().download_active, 0);
    EXPECT_TRUE(h.window.TimerRunning(kControlTimer));
}

TEST_F(EditorBindingTest, ClosingWithTheMachineSettingPutsStepOneOnThePanel) {
    Program();
    h.s().profile_name = kMachineSetting;
    h.s().machine_state = kReady;
    h.editor.list.UpdateStep(1, 8, 44, 2, StepWaiting);
    h.controller.OnEditorMessage(4);
    EXPECT_EQ(h.s().editor_open, 0);
    EXPECT_EQ(h.s().fan_level, 8);
    EXPECT_EQ(h.s().roast_time, 44);
    EXPECT_EQ(h.s().heat_level, 2);

    // With a profile of its own the panel keeps its values.
    Program();
    h.s().profile_name = "Roast.coff";
    h.editor.list.UpdateStep(1, 1, 11, 1, StepWaiting);
    h.controller.OnEditorMessage(4);
    EXPECT_EQ(h.s().fan_level, 8);
    EXPECT_EQ(h.s().editor_open, 0);
}

}  // namespace
