#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "controller_harness.h"

namespace {

class EditorSyncTest : public ::testing::Test {
protected:
    void SetUp() override { h.SetProfile({{5, 50, 3}, {6, 40, 2}}, {5, 30}); }
    ControllerHarness h;
    EditorSync& sync() { return h.controller.sync; }
};

TEST_F(EditorSyncTest, ProgressReportsCoolingOrRoastElapsed) {
    ControllerState& s = h.s();
    s.step_index = 2;
    s.run_elapsed = 70;
    s.step_start = 50;
    s.cool_elapsed = 4;
    sync().ReportProgress();
    h.controller.console.WriteStep(2, KEEP_VALUE, KEEP_VALUE, KEEP_VALUE, CoolRunning);
    sync().ReportProgress();
    const auto calls = h.editor.CallsOf("update_data");
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].step, 2);
    EXPECT_EQ(calls[0].elapsed, 20);
    EXPECT_EQ(calls[1].elapsed, 4);
}

TEST_F(EditorSyncTest, ProgressDoesNothingWithoutTheLibrary) {
    h.editor.loaded = false;
    h.s().step_index = 30;
    sync().ReportProgress();
    EXPECT_TRUE(h.editor.calls.empty());
    EXPECT_TRUE(h.window.messages.empty());
}

TEST_F(EditorSyncTest, SyncPushesOnRefreshAndOtherwiseTakesTheEditorList) {
    ControllerState& s = h.s();
    s.editor_open = 1;
    s.editor_refresh = true;
    sync().SyncFromEditor();
    EXPECT_EQ(h.editor.lock, 1);
    EXPECT_FALSE(s.editor_refresh);
    ASSERT_EQ(h.editor.CallsOf("Updata_ShowDlg").size(), 1u);

    h.editor.list.UpdateStep(2, 9, 11, 1, StepWaiting);  // an edit in the PROGRAM window
    sync().SyncFromEditor();
    EXPECT_EQ(h.Working()[1].fan, 9);
    EXPECT_EQ(h.Working()[1].time, 11);
    EXPECT_EQ(h.editor.lock, 1);

    s.editor_open = 0;
    h.editor.ClearCalls();
    sync().SyncFromEditor();
    const auto calls = h.editor.CallsOf("update_data");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].step, 255);
    EXPECT_EQ(calls[0].elapsed, 0);
}

TEST_F(EditorSyncTest, ResetStatusesMarksAllWaitingAndTheLastCooling) {
    CStep_Data& list = h.controller.console.working;
    list.UpdateStep(1, KEEP_VALUE, KEEP_VALUE, KEEP_VALUE, StepCompleted);
    list.UpdateStep(2, KEEP_VALUE, KEEP_VALUE, KEEP_VALUE, StepRunning);
    list.UpdateStep(3, KEEP_VALUE, KEEP_VALUE, KEEP_VALUE, StepEnd);
    sync().ResetStatuses();
    const auto steps = h.Working();
    EXPECT_EQ(steps[0].status, StepWaiting);
    EXPECT_EQ(steps[1].status, StepWaiting);
    EXPECT_EQ(steps[2].status, CoolWaiting);
    EXPECT_EQ(h.editor.lock, 0);
}

TEST_F(EditorSyncTest, ResetStatusesOnAnInconsistentListKeepsTheLock) {
    h.controller.console.working.count = 1;
    sync().ResetStatuses();
    EXPECT_THAT(h.window.messages, ::testing::ElementsAre("链表查找地址出错", "STEP data is empty!"));
    EXPECT_EQ(h.editor.lock, 1);
    h.controller.console.working.Clear();
    h.window.messages.clear();
    sync().ResetStatuses();
    EXPECT_THAT(h.window.messages, ::testing::ElementsAre("STEP data is empty!"));
}

TEST_F(EditorSyncTest, UnlockWaitsForAnOpenPrompt) {
    h.editor.lock = 1;
    h.s().prompt_open = 1;
    sync().UnlockEditor();
    EXPECT_EQ(h.editor.lock, 1);
    h.s().prompt_open = 0;
    sync().UnlockEditor();
    EXPECT_EQ(h.editor.lock, 0);
}

}  // namespace
