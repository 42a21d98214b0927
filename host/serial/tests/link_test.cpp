#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "control_ids.h"
#include "controller_harness.h"
#include "frames.h"

namespace {

using ::testing::ElementsAre;

std::vector<uint8_t> RoasterFrame(uint8_t command, uint8_t fan = 0, uint8_t time = 0, uint8_t heat = 0) {
    return ToBytes(MakeFrame(command, 0, 0, fan, time, heat, 0, 0));
}

std::vector<int64_t> Times(const std::vector<WrittenFrame>& frames) {
    std::vector<int64_t> out;
    for (const WrittenFrame& f : frames) out.push_back(f.at_ms);
    return out;
}

std::vector<int64_t> Gaps(const std::vector<int64_t>& times) {
    std::vector<int64_t> out;
    for (std::size_t i = 1; i < times.size(); ++i) out.push_back(times[i] - times[i - 1]);
    return out;
}

const std::vector<uint8_t> kHello = ToBytes(HelloFrame());

class LinkTest : public ::testing::Test {
protected:
    void Start() { h.controller.Start(); }

    std::vector<WrittenFrame> Hellos() const {
        std::vector<WrittenFrame> out;
        for (const WrittenFrame& f : h.serial.written)
            if (f.bytes == kHello) out.push_back(f);
        return out;
    }

    std::vector<WrittenFrame> StatusFrames() const {
        std::vector<WrittenFrame> out;
        for (const WrittenFrame& f : h.serial.written)
            if (f.bytes[1] == 0xAA && (f.bytes[4] == kCmdStatus || f.bytes[4] == kCmdStart)) out.push_back(f);
        return out;
    }

    // Runs until the next hello goes out, then the roaster uploads a
    // one-step program, as it would a few milliseconds later.
    void UploadAfterNextHello() {
        const std::size_t hellos = Hellos().size();
        ASSERT_TRUE(h.window.AdvanceUntil([&] { return Hellos().size() > hellos; }, 3000));
        h.serial.Deliver(RoasterFrame(kCmdUploadHeader, 5, 59, 3));
        h.serial.Deliver(RoasterFrame(kCmdProgramStep, 6, 40, 2));
        h.serial.Deliver(RoasterFrame(kCmdProgramEnd, 4, 20, 0));
    }

    // Link up through a real attempt and upload, then replies to status frames.
    void BringLinkUp() {
        h.ports.ports = {BridgeRecord("/dev/ttyUSB0")};
        Start();
        UploadAfterNextHello();
        ASSERT_EQ(h.s().link_down, 0);
        h.AnswerStatusFrames();
        h.Ticks(1);
        ASSERT_TRUE(h.s().link_ok);
    }

    ControllerHarness h;
};

TEST_F(LinkTest, ConfigurePortSetsTheControlInOrderAndClosesAnOpenPortFirst) {
    const std::vector<std::string> settings{"InBufferSize=1024", "OutBufferSize=1024", "InputLen=0",
                                            "InputMode=1",       "RThreshold=14",      "Settings=9600,n,8,1"};
    Start();
    EXPECT_EQ(h.serial.ops, settings) << "a closed port is not closed again";

    h.serial.ops.clear();
    h.serial.open = true;
    h.controller.link.ConfigurePort();
    std::vector<std::string> with_close{"PortOpen=0"};
    with_close.insert(with_close.end(), settings.begin(), settings.end());
    EXPECT_EQ(h.serial.ops, with_close);
    EXPECT_FALSE(h.serial.open);
    EXPECT_EQ(h.s().link_down, 1);
    EXPECT_EQ(h.s().port_found, 0);
}

TEST_F(LinkTest, AttemptOpensTheFirstBridgeRecordByItsDevicePathAndSendsHello) {
    SSerInfo almost = BridgeRecord("/dev/ttyUSB1");
    almost.description = "USB-SERIAL CH341A ";  // not exactly the bridge's description
    SSerInfo other{"/dev/ttyS0", "ttyS0", "ttyS0", false, "ttyS0"};
    h.ports.ports = {other, almost, BridgeRecord("/dev/ttyUSB3"), BridgeRecord("/dev/ttyUSB4")};
    Start();
    h.serial.ops.clear();
    h.window.Advance(99);
    EXPECT_TRUE(h.serial.written.empty());
    h.window.Advance(1);
    EXPECT_THAT(h.serial.ops, ElementsAre("CommPort=/dev/ttyUSB3", "PortOpen=1", "OutBufferCount=0"));
    ASSERT_EQ(h.serial.written.size(), 1u);
    EXPECT_EQ(h.serial.written[0].bytes,
              (std::vector<uint8_t>{0xAA, 0x55, 0x61, 0x74, 0x63, 0, 0, 0, 0, 0, 0, 0, 0xAA, 0xFA}));
    EXPECT_EQ(h.s().port_found, 1);
    EXPECT_EQ(h.s().port_number, 3);
    EXPECT_EQ(h.s().hello_wait, 1);
    EXPECT_EQ(h.window.TimerPeriod(kLinkTimer), 300);
    EXPECT_TRUE(h.window.messages.empty());
}

TEST_F(LinkTest, AFoundRecordIsReachedWhateverItsPortNumber) {
    struct Case {
        const char* friendly;
        int port_number;
    };
    const Case cases[] = {{"USB-SERIAL CH341A (COM3)", 3},
                          {"USB-SERIAL CH341A (COM12)", 2},
                          {"USB-SERIAL CH341A (ttyUSB0)", 0},
                          {"USB-SERIAL CH341A (ttyACM)", 0},
                          {"", 0}};
    for (const Case& c : cases) {
        ControllerHarness fresh;
        SSerInfo bridge = BridgeRecord("/dev/roaster");
        bridge.friendly_name = c.friendly;
        fresh.ports.ports = {bridge};
        fresh.controller.Start();
        fresh.window.Advance(100);
        EXPECT_EQ(fresh.s().port_number, c.port_number) << c.friendly;
        EXPECT_EQ(fresh.serial.device, "/dev/roaster") << c.friendly;
        EXPECT_EQ(fresh.serial.written.size(), 1u) << c.friendly;
    }
}

TEST_F(LinkTest, HelloRepeatsEveryTwoAndAHalfSecondsUntilTheUploadCompletes) {
    h.ports.ports = {BridgeRecord()};
    Start();
    h.window.Advance(10'100);
    const std::vector<int64_t> times = Times(Hellos());
    ASSERT_EQ(times.size(), 5u);
    EXPECT_EQ(times[0], 100);
    EXPECT_THAT(Gaps(times), ElementsAre(2200, 2500, 2500, 2500));
    EXPECT_EQ(h.ports.listings, 5) << "one listing per attempt";
    EXPECT_EQ(h.serial.written.size(), 5u) << "nothing but hellos while the link is down";

    // The roaster answers the next hello: the search stops, status frames follow.
    UploadAfterNextHello();
    ASSERT_EQ(h.s().link_down, 0);
    EXPECT_FALSE(h.window.TimerRunning(kLinkTimer));
    h.AnswerStatusFrames();
    const std::size_t hellos = Hellos().size();
    h.window.Advance(5000);
    EXPECT_EQ(Hellos().size(), hellos);
    EXPECT_EQ(StatusFrames().size(), 10u);
}

TEST_F(LinkTest, AMissingBridgeIsReportedOncePerLinkLossAndNeverEndsTheProgram) {
    ControllerHarness never_up;
    never_up.controller.Start();
    never_up.window.Advance(5000);
    EXPECT_TRUE(never_up.window.messages.empty()) << "no message before the link was ever up";

    BringLinkUp();
    // The bridge disappears from the listing and the roaster falls silent.
    h.ports.ports.clear();
    h.serial.on_write = nullptr;
    h.window.Advance(20'000);
    EXPECT_THAT(h.window.messages, ElementsAre("The Port communications Failure!"));
    EXPECT_EQ(h.s().reconnecting, 0);
    EXPECT_FALSE(h.window.ended) << "an empty listing must not reopen the port found before";
    EXPECT_EQ(Hellos().size(), 1u);
}

TEST_F(LinkTest, APortThatCannotBeOpenedOrGreetedEndsTheProgram) {
    struct Case {
        const char* what;
        std::function<void(FakeSerial&)> arrange;
    };
    const Case cases[] = {
        {"open fails", [](FakeSerial& s) { s.fail_open = true; }},
        {"still open after closing", [](FakeSerial& s) { s.open = s.stays_open = true; }},
        {"hello cannot be written", [](FakeSerial& s) { s.fail_writes = 1; }},
    };
    for (const Case& c : cases) {
        ControllerHarness fresh;
        fresh.ports.ports = {BridgeRecord()};
        c.arrange(fresh.serial);
        fresh.controller.Start();
        fresh.window.Advance(100);
        EXPECT_THAT(fresh.window.messages, ElementsAre("Open Communication Port Failure!")) << c.what;
        EXPECT_TRUE(fresh.window.ended) << c.what;
        EXPECT_EQ(fresh.s().hello_wait, 0) << c.what;
        for (int timer : {kControlTimer, kLinkTimer, kHoldTimer})
            EXPECT_FALSE(fresh.window.TimerRunning(timer)) << c.what << " timer " << timer;
    }
}

TEST_F(LinkTest, AFailedListingIsShownOnceAndTheSearchGoesOn) {
    h.ports.error = "SetupDiGetClassDevs failed. (err=5)";
    Start();
    h.window.Advance(8000);
    EXPECT_THAT(h.window.messages, ElementsAre("SetupDiGetClassDevs failed. (err=5)"));
    EXPECT_TRUE(h.serial.written.empty());
    h.ports.error.reset();
    h.ports.ports = {BridgeRecord()};
    h.window.Advance(1000);
    EXPECT_EQ(Hellos().size(), 1u);
    EXPECT_THAT(h.window.messages, ElementsAre("SetupDiGetClassDevs failed. (err=5)"));
}

TEST_F(LinkTest, DownloadSendsOneFrameEvery50MsWithTimer1Stopped) {
    BringLinkUp();
    h.SetProfile({{7, 50, 2}, {9, 80, 3}}, {4, 30});
    h.serial.written.clear();
    h.editor.lock = 1;
    const int64_t start = h.window.now_ms;
    h.controller.link.StartDownload(true);
    EXPECT_EQ(h.s().download_active, 1);
    EXPECT_FALSE(h.window.TimerRunning(kControlTimer));
    h.window.Advance(150);
    ASSERT_EQ(h.serial.written.size(), 3u);
    EXPECT_EQ(h.serial.written[0].bytes, ToBytes(MakeFrame(kCmdProgramStep, 0, 0, 7, 50, 2, 0, 0)));
    EXPECT_EQ(h.serial.written[1].bytes, ToBytes(MakeFrame(kCmdProgramStep, 0, 0, 9, 80, 3, 0, 0)));
    EXPECT_EQ(h.serial.written[2].bytes, ToBytes(MakeFrame(kCmdProgramEnd, 0, 0, 4, 30, 0, 0, 0)));
    EXPECT_THAT(Times(h.serial.written), ElementsAre(start + 50, start + 100, start + 150));
    EXPECT_FALSE(h.window.TimerRunning(kDownloadTimer));
    EXPECT_EQ(h.s().download_active, 0);
    EXPECT_EQ(h.s().download_index, 0);
    EXPECT_EQ(h.editor.lock, 0);
    h.window.Advance(500);
    ASSERT_EQ(h.serial.written.size(), 4u);
    EXPECT_EQ(h.serial.written[3].at_ms, start + 650) << "timer 1 restarts at the end of the download";
    EXPECT_EQ(h.serial.written[3].bytes[4], kCmdStatus);
    EXPECT_EQ(h.s().link_down, 0);
}

TEST_F(LinkTest, AListThatShrinksDuringADownloadStillEndsIt) {
    BringLinkUp();
    h.SetProfile({{7, 50, 2}, {9, 80, 3}, {6, 10, 1}}, {4, 30});
    h.controller.link.StartDownload(true);
    h.window.Advance(100);
    h.SetProfile({}, {4, 30});  // a one-step list replaces it meanwhile
    h.window.Advance(100);
    EXPECT_FALSE(h.window.TimerRunning(kDownloadTimer));
    EXPECT_TRUE(h.window.TimerRunning(kControlTimer));
    EXPECT_EQ(h.s().download_active, 0);
    EXPECT_EQ(h.s().download_index, 0);
}

TEST_F(LinkTest, AFailedDownloadFrameEndsTheDownload) {
    struct Case {
        const char* what;
        bool link_up;
    };
    for (const Case& c : {Case{"link up", true}, Case{"link searching", false}}) {
        ControllerHarness fresh;
        fresh.ports.ports = {BridgeRecord()};
        fresh.controller.Start();
        fresh.window.Advance(100);  // hello sent; the roaster stays silent
        if (c.link_up) {
            fresh.SetLinkUp();
            fresh.AnswerStatusFrames();
        }
        const int hello_wait = fresh.s().hello_wait;
        fresh.serial.fail_write_if = [](const std::vector<uint8_t>& b) { return b[4] == kCmdProgramStep; };
        fresh.controller.link.StartDownload(true);
        fresh.window.Advance(50);
        EXPECT_FALSE(fresh.window.TimerRunning(kDownloadTimer)) << c.what;
        EXPECT_TRUE(fresh.window.TimerRunning(kControlTimer)) << c.what;
        EXPECT_EQ(fresh.s().download_active, 0) << c.what;
        EXPECT_EQ(fresh.s().link_down, 1) << c.what;
        EXPECT_EQ(fresh.s().reconnecting, c.link_up ? 1 : 0) << c.what;
        if (!c.link_up) {
            EXPECT_EQ(fresh.s().hello_wait, hello_wait) << "the search goes on undisturbed";
        }
        EXPECT_TRUE(fresh.window.messages.empty()) << c.what;
    }
}

TEST_F(LinkTest, KeyRepeatFrameIsAlwaysAPlainStatusFrame) {
    BringLinkUp();
    h.serial.written.clear();
    h.s().pending_command = kStartCommand;
    h.controller.link.SendKeyRepeatFrame();
    ASSERT_EQ(h.serial.written.size(), 1u);
    EXPECT_EQ(h.serial.written[0].bytes[4], kCmdStatus);
    EXPECT_EQ(h.s().pending_command, kStartCommand) << "left for the next control tick";
    h.Ticks(1);
    EXPECT_EQ(h.serial.written.back().bytes[4], kCmdStart);

    h.serial.fail_writes = 1;
    h.controller.link.SendKeyRepeatFrame();
    EXPECT_EQ(h.s().link_down, 1) << "a frame that cannot be written loses the link";
    EXPECT_EQ(h.s().reconnecting, 1);

    h.s().link_ok = false;
    const std::size_t written = h.serial.written.size();
    h.controller.link.SendKeyRepeatFrame();
    EXPECT_EQ(h.serial.written.size(), written) << "nothing is sent while the link is not up";
}

}  // namespace
