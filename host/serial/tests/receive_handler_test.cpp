#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "control_ids.h"
#include "controller_harness.h"
#include "frames.h"
#include "receive_handler.h"
#include "step_values.h"

namespace {

using ::testing::ElementsAre;

std::vector<uint8_t> RoasterFrame(uint8_t command, uint8_t fan = 0, uint8_t time = 0, uint8_t heat = 0) {
    return ToBytes(MakeFrame(command, 0, 0, fan, time, heat, 0, 0));
}

std::vector<uint8_t> Reply(int temperature) {
    return ToBytes(MakeFrame(kCmdStatus, 0, 0, 0, 0, 0, static_cast<uint8_t>(temperature >> 8),
                             static_cast<uint8_t>(temperature & 0xFF)));
}

class ReceiveHandlerTest : public ::testing::Test {
protected:
    void SetUp() override { h.controller.Start(); }

    void Deliver(const std::vector<uint8_t>& bytes) { h.serial.Deliver(bytes); }

    void Upload(const std::vector<std::array<uint8_t, 3>>& steps, std::array<uint8_t, 2> cooling) {
        Deliver(RoasterFrame(kCmdUploadHeader, 5, 59, 3));
        for (const auto& st : steps) Deliver(RoasterFrame(kCmdProgramStep, st[0], st[1], st[2]));
        Deliver(RoasterFrame(kCmdProgramEnd, cooling[0], cooling[1], 0));
    }

    ControllerHarness h;
};

TEST_F(ReceiveHandlerTest, UploadBecomesTheWorkingListAndBringsTheLinkUp) {
    h.s().machine_state = kFinished;
    Upload({{7, 50, 2}, {9, 80, 3}}, {4, 0});
    EXPECT_THAT(Values(h.Working()), ElementsAre(StepValues{7, 50, 2, StepWaiting}, StepValues{9, 80, 3, StepWaiting},
                                                 StepValues{4, 30, 0, CoolWaiting}));
    EXPECT_EQ(h.s().link_down, 0);
    EXPECT_EQ(h.s().fan_level, 7);
    EXPECT_EQ(h.s().roast_time, 50);
    EXPECT_EQ(h.s().heat_level, 2);
    EXPECT_EQ(h.s().machine_state, kReady);
    EXPECT_EQ(h.s().profile_name, kLastUsbSetting);
    EXPECT_EQ(h.window.name_text, "Last USB Setting");
    EXPECT_EQ(h.window.name_colour, NameColour::Normal);
    EXPECT_FALSE(h.window.TimerRunning(kLinkTimer));
    EXPECT_EQ(h.s().upload_count, 0);
    // The editor got the new program and is unlocked.
    const auto pushed = h.editor.CallsOf("update_data");
    ASSERT_FALSE(pushed.empty());
    EXPECT_EQ(pushed.back().list.size(), 3u);
    EXPECT_EQ(h.editor.lock, 0);
    // The upload list is back to its single default step for the next upload.
    EXPECT_THAT(Values(Snapshot(h.controller.console.upload.head)), ElementsAre(StepValues{5, 59, 3, StepWaiting}));
    EXPECT_TRUE(h.window.messages.empty());
}

TEST_F(ReceiveHandlerTest, AnUploadThatBrokeOffLeavesNothingInTheNextProgram) {
    // A fresh upload breaks off after three steps; the link is lost, and the
    // roaster's next header arrives while reconnecting (the list is kept).
    Deliver(RoasterFrame(kCmdUploadHeader, 5, 59, 3));
    for (uint8_t fan : {1, 2, 3}) Deliver(RoasterFrame(kCmdProgramStep, fan, 11, 1));
    h.s().reconnecting = 1;
    Deliver(RoasterFrame(kCmdUploadHeader, 5, 59, 3));
    // "The Port communications Failure!" clears reconnecting before the
    // steps of that upload arrive, so they are taken as a fresh program.
    h.s().reconnecting = 0;
    Deliver(RoasterFrame(kCmdProgramStep, 7, 50, 2));
    Deliver(RoasterFrame(kCmdProgramStep, 9, 80, 3));
    Deliver(RoasterFrame(kCmdProgramEnd, 4, 0, 0));
    EXPECT_THAT(Values(h.Working()), ElementsAre(StepValues{7, 50, 2, StepWaiting}, StepValues{9, 80, 3, StepWaiting},
                                                 StepValues{4, 30, 0, CoolWaiting}));

    // The same when the end frame comes without any step.
    Deliver(RoasterFrame(kCmdUploadHeader, 5, 59, 3));
    for (uint8_t fan : {1, 2}) Deliver(RoasterFrame(kCmdProgramStep, fan, 11, 1));
    h.s().link_down = 1;
    h.s().reconnecting = 1;
    Deliver(RoasterFrame(kCmdUploadHeader, 5, 59, 3));
    h.s().reconnecting = 0;
    Deliver(RoasterFrame(kCmdProgramEnd, 6, 20, 0));
    EXPECT_THAT(Values(h.Working()), ElementsAre(StepValues{5, 59, 3, StepWaiting}, StepValues{6, 20, 0, CoolWaiting}));
}

TEST_F(ReceiveHandlerTest, UploadReadingLimits) {
    struct Case {
        const char* what;
        std::array<uint8_t, 3> header;  // manual setting read from it
        std::array<int, 3> manual;
        std::array<uint8_t, 3> step;
        StepValues stored_step;
        std::array<uint8_t, 3> end;
        StepValues stored_cooling;
    };
    const Case cases[] = {
        {"out of range", {12, 100, 0}, {5, 59, 3}, {0, 0, 4}, {5, 59, 3, StepWaiting}, {0, 0, 3}, {5, 30, 0, CoolWaiting}},
        {"above the limits", {10, 255, 4}, {5, 59, 3}, {10, 100, 9}, {5, 59, 3, StepWaiting}, {10, 100, 0}, {5, 30, 0, CoolWaiting}},
        {"at the limits", {9, 99, 1}, {9, 99, 1}, {9, 99, 0}, {9, 99, 0, StepWaiting}, {9, 99, 3}, {9, 99, 0, CoolWaiting}},
        {"lowest kept", {0, 0, 3}, {0, 0, 3}, {1, 1, 3}, {1, 1, 3, StepWaiting}, {1, 1, 0}, {1, 1, 0, CoolWaiting}},
    };
    for (const Case& c : cases) {
        ControllerHarness fresh;
        fresh.controller.Start();
        fresh.serial.Deliver(RoasterFrame(kCmdUploadHeader, c.header[0], c.header[1], c.header[2]));
        EXPECT_EQ(fresh.s().manual_fan, c.manual[0]) << c.what;
        EXPECT_EQ(fresh.s().manual_time, c.manual[1]) << c.what;
        EXPECT_EQ(fresh.s().manual_heat, c.manual[2]) << c.what;
        fresh.serial.Deliver(RoasterFrame(kCmdProgramStep, c.step[0], c.step[1], c.step[2]));
        fresh.serial.Deliver(RoasterFrame(kCmdProgramEnd, c.end[0], c.end[1], c.end[2]));
        EXPECT_THAT(Values(fresh.Working()), ElementsAre(c.stored_step, c.stored_cooling)) << c.what;
    }
}

TEST_F(ReceiveHandlerTest, HeaderFollowedByEndGivesTheDefaultRoastStep) {
    Upload({}, {6, 25});
    EXPECT_THAT(Values(h.Working()), ElementsAre(StepValues{5, 59, 3, StepWaiting}, StepValues{6, 25, 0, CoolWaiting}));
    EXPECT_EQ(h.s().link_down, 0);
}

TEST_F(ReceiveHandlerTest, StepAndEndFramesWithoutAHeaderAreIgnored) {
    Deliver(RoasterFrame(kCmdProgramStep, 7, 50, 2));
    Deliver(RoasterFrame(kCmdProgramEnd, 4, 20, 0));
    EXPECT_EQ(h.s().link_down, 1);
    EXPECT_EQ(h.s().upload_count, 0);
    EXPECT_EQ(h.Working().size(), 2u) << "the default profile stays";
}

TEST_F(ReceiveHandlerTest, LinkDownFramingComparesOnlyTheFirstAndLastByte) {
    struct Case {
        const char* what;
        std::vector<uint8_t> header;
        bool taken;
    };
    std::vector<uint8_t> sync55 = RoasterFrame(kCmdUploadHeader);
    sync55[1] = 0x55;
    std::vector<uint8_t> bad_start = RoasterFrame(kCmdUploadHeader);
    bad_start[0] = 0xAB;
    std::vector<uint8_t> bad_end = RoasterFrame(kCmdUploadHeader);
    bad_end[13] = 0xFB;
    std::vector<uint8_t> short_read = RoasterFrame(kCmdUploadHeader);
    short_read.pop_back();
    const Case cases[] = {
        {"AA 55 ... FA", sync55, true},
        {"wrong first byte", bad_start, false},
        {"wrong last byte", bad_end, false},
        {"13 bytes", short_read, false},
    };
    for (const Case& c : cases) {
        ControllerHarness fresh;
        fresh.controller.Start();
        fresh.serial.Deliver(c.header);
        EXPECT_EQ(fresh.s().upload_active, c.taken ? 1 : 0) << c.what;
    }
}

TEST_F(ReceiveHandlerTest, TwentyOneStepsFitAndTheTwentySecondEndsTheProgram) {
    std::vector<std::array<uint8_t, 3>> steps(21, {6, 10, 2});
    Upload(steps, {5, 30});
    EXPECT_EQ(h.Working().size(), 22u);
    EXPECT_FALSE(h.window.ended);
    EXPECT_TRUE(h.window.messages.empty());

    ControllerHarness longer;
    longer.controller.Start();
    longer.serial.Deliver(RoasterFrame(kCmdUploadHeader, 5, 59, 3));
    for (int i = 0; i < 21; ++i) longer.serial.Deliver(RoasterFrame(kCmdProgramStep, 6, 10, 2));
    EXPECT_FALSE(longer.window.ended);
    longer.serial.Deliver(RoasterFrame(kCmdProgramStep, 6, 10, 2));
    EXPECT_THAT(longer.window.messages, ElementsAre("The Port communications error!"));
    EXPECT_TRUE(longer.window.ended);
    EXPECT_FALSE(longer.window.TimerRunning(kControlTimer));
    EXPECT_FALSE(longer.window.TimerRunning(kLinkTimer));
}

TEST_F(ReceiveHandlerTest, UploadAfterALinkLossOnlyBringsTheLinkBack) {
    h.SetProfile({{8, 40, 1}}, {3, 20}, "Mine.coff");
    h.s().machine_state = kRun;
    h.s().run_phase = kHeat;
    h.s().reconnecting = 1;
    const auto before = Values(h.Working());
    // A long upload does not count while reconnecting: the program is not taken.
    Deliver(RoasterFrame(kCmdUploadHeader, 5, 59, 3));
    for (int i = 0; i < 25; ++i) Deliver(RoasterFrame(kCmdProgramStep, 7, 50, 2));
    Deliver(RoasterFrame(kCmdProgramEnd, 4, 0, 0));
    EXPECT_EQ(h.s().link_down, 0);
    EXPECT_EQ(h.s().reconnecting, 0);
    EXPECT_EQ(Values(h.Working()), before);
    EXPECT_EQ(h.s().profile_name, "Mine.coff");
    EXPECT_EQ(h.s().machine_state, kRun);
    EXPECT_FALSE(h.window.ended);
    EXPECT_FALSE(h.window.TimerRunning(kLinkTimer));
}

TEST_F(ReceiveHandlerTest, ReplyTemperaturesAreSmoothedOverTheLastTen) {
    h.SetLinkUp();
    struct Step {
        int reading;
        int shown;
    };
    const Step steps[] = {
        {200, 200}, {210, 205}, {220, 210}, {230, 215}, {240, 220}, {250, 225},
        {260, 230}, {270, 235}, {280, 240}, {290, 245},
        {300, 255},  // the first reading drops out of the mean
        {0xFF00, 0xFF00},  // shown as it comes; the smoothing restarts
        {400, 400},  // older readings are not taken again
        {410, 405},
        {626, 626},  // just above the smoothed range
        {625, 625},
    };
    for (const Step& st : steps) {
        h.s().no_reply_ticks = 7;
        Deliver(Reply(st.reading));
        EXPECT_EQ(h.s().temperature, st.shown) << "reading " << st.reading;
        EXPECT_EQ(h.s().no_reply_ticks, 0);
    }
}

TEST_F(ReceiveHandlerTest, LinkUpReadsOnlyTheFirstFrameOfAReadAndNeedsBothSyncBytes) {
    h.SetLinkUp();
    std::vector<uint8_t> two = Reply(300);
    const std::vector<uint8_t> second = Reply(500);
    two.insert(two.end(), second.begin(), second.end());
    Deliver(two);
    EXPECT_EQ(h.s().temperature, 300);

    std::vector<uint8_t> hello_like = Reply(100);
    hello_like[1] = 0x55;
    h.s().no_reply_ticks = 4;
    Deliver(hello_like);
    EXPECT_EQ(h.s().temperature, 300);
    EXPECT_EQ(h.s().no_reply_ticks, 4) << "an AA 55 frame is no reply while the link is up";

    h.s().reconnecting = 1;
    Deliver(Reply(300));
    EXPECT_EQ(h.s().reconnecting, 0) << "the first reply ends a reconnection";
}

TEST_F(ReceiveHandlerTest, PowerOffNoticeResetsReadyOrRunningRoaster) {
    struct Case {
        int32_t machine_state;
        bool framed;
        bool acts;
    };
    const Case cases[] = {
        {kReady, true, true}, {kRun, true, true}, {kRun, false, true},
        {kOff, true, false},  {kFinished, true, false},
    };
    for (const Case& c : cases) {
        ControllerHarness fresh;
        fresh.controller.Start();
        fresh.SetLinkUp();
        ControllerState& s = fresh.s();
        s.machine_state = c.machine_state;
        s.run_phase = kManualCool;
        s.cool_time = 12;
        s.saved_time = 40;
        s.blink_phase = 1;
        s.delayed_start = true;
        fresh.window.ShowPicker(true);
        fresh.window.EnablePicker(false);
        std::vector<uint8_t> notice = ToBytes(MakeFrame(kCmdPowerOff, 0, 0, 0, 0, 0, 0, 0));
        if (!c.framed) notice[0] = notice[1] = notice[13] = 0x00;
        fresh.serial.Deliver(notice);
        const std::string what = "state " + std::to_string(c.machine_state) + (c.framed ? " framed" : " unframed");
        if (c.acts) {
            EXPECT_EQ(s.machine_state, kOff) << what;
            EXPECT_EQ(s.run_phase, kWaitStart) << what;
            EXPECT_EQ(s.cool_time, 30) << what;
            EXPECT_EQ(s.saved_time, 0) << what;
            EXPECT_EQ(s.blink_phase, 0) << what;
            EXPECT_FALSE(s.delayed_start) << what;
            EXPECT_TRUE(fresh.window.clock_icon_shown) << what;
            EXPECT_FALSE(fresh.window.picker_shown) << what;
            EXPECT_TRUE(fresh.window.picker_enabled) << what;
            EXPECT_THAT(fresh.window.messages, ElementsAre("The coffee machine has been closed")) << what;
        } else {
            EXPECT_EQ(s.machine_state, c.machine_state) << what;
            EXPECT_TRUE(fresh.window.messages.empty()) << what;
        }
    }
}

TEST_F(ReceiveHandlerTest, EventCodes) {
    h.SetLinkUp();
    for (int code : {kCommEventSend, kCommEventCts, kCommEventDsr, kCommEventCd}) {
        h.serial.input = Reply(300);
        h.serial.RaiseEvent(code);
        EXPECT_TRUE(h.window.messages.empty()) << code;
        EXPECT_EQ(h.serial.input.size(), kFrameSize) << "code " << code << " reads nothing";
    }
    for (int code : {0, 6, kCommErrorBreak, kCommErrorRxOver}) {
        h.window.messages.clear();
        h.serial.RaiseEvent(code);
        EXPECT_THAT(h.window.messages, ElementsAre("Serial Port err!")) << code;
    }
    EXPECT_EQ(h.s().link_down, 0) << "an error event changes nothing else";
}

}  // namespace
