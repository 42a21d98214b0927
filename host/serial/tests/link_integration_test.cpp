// The program's link (CMscomm1, port discovery, the link and receive code
// in a RoasterController on real Qt timers) against the simulated roaster
// on a pseudo-terminal, checked on the bytes that cross the line.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <memory>

#include "cmscomm1.h"
#include "control_ids.h"
#include "event_loop.h"
#include "fake_editor.h"
#include "frames.h"
#include "recording_qt_window.h"
#include "roaster_controller.h"
#include "serial_port_lister.h"
#include "simulated_roaster_host.h"
#include "step_values.h"

namespace {

using ::testing::ElementsAre;

Frame Bytes(std::initializer_list<uint8_t> b) {
    Frame f{};
    std::copy(b.begin(), b.end(), f.begin());
    return f;
}

std::vector<int64_t> Gaps(const std::vector<ReceivedFrame>& frames) {
    std::vector<int64_t> out;
    for (std::size_t i = 1; i < frames.size(); ++i) out.push_back(frames[i].at_ms - frames[i - 1].at_ms);
    return out;
}

RoasterModel::Options ExampleRoaster() {
    RoasterModel::Options o;
    o.program.steps = {{7, 50, 2}, {9, 80, 3}};
    o.program.cooling = {4, 0};
    return o;
}

// Everything a link needs, on a fresh pseudo-terminal.
struct Rig {
    explicit Rig(const RoasterModel::Options& options = ExampleRoaster())
        : sim(options), window([this](int id) { controller->OnTimer(id); }) {
        std::string error;
        started = sim.Start(&error);
        EXPECT_TRUE(started) << error;
        // The console reaches the roaster through a name of its own, so a
        // pseudo-terminal number that another process takes over once the
        // roaster vanished cannot bring the bridge back.
        device = folder.filePath(QStringLiteral("roaster"));
        EXPECT_TRUE(QFile::link(QString::fromStdString(sim.DevicePath()), device));
        lister = std::make_unique<SerialPortLister>(device.toStdString());
        controller = std::make_unique<RoasterController>(window, editor, com, *lister);
        controller->Start();
    }

    ControllerState& s() { return controller->state(); }
    // The bridge is pulled out: the device and its name are gone.
    void Vanish() {
        sim.Vanish();
        QFile::remove(device);
    }
    bool LinkUp() { return RunUntil([&] { return s().link_down == 0; }, 3000); }
    std::vector<ReceivedFrame> StatusFrames() const {
        auto out = sim.model().ReceivedWith(0xAA, kCmdStatus);
        auto start = sim.model().ReceivedWith(0xAA, kCmdStart);
        out.insert(out.end(), start.begin(), start.end());
        std::sort(out.begin(), out.end(), [](auto& a, auto& b) { return a.at_ms < b.at_ms; });
        return out;
    }
    std::vector<ReceivedFrame> Hellos() const { return sim.model().ReceivedWith(0x55, kCmdStatus); }

    QTemporaryDir folder;
    QString device;
    SimulatedRoasterHost sim;
    bool started = false;
    std::unique_ptr<SerialPortLister> lister;
    CMscomm1 com;
    FakeEditor editor;
    RecordingQtWindow window;
    std::unique_ptr<RoasterController> controller;
};

TEST(LinkIntegration, HelloAndUploadMakeTheRoastersProgramTheWorkingList) {
    Rig rig;
    ASSERT_TRUE(rig.LinkUp());
    const auto& received = rig.sim.model().received();
    ASSERT_FALSE(received.empty());
    EXPECT_EQ(received[0].bytes, Bytes({0xAA, 0x55, 0x61, 0x74, 0x63, 0, 0, 0, 0, 0, 0, 0, 0xAA, 0xFA}));
    EXPECT_THAT(Values(rig.controller->console.working.head),
                ElementsAre(StepValues{7, 50, 2, StepWaiting}, StepValues{9, 80, 3, StepWaiting},
                            StepValues{4, 30, 0, CoolWaiting}));
    EXPECT_EQ(rig.s().profile_name, "Last USB Setting");
    EXPECT_EQ(rig.window.name_text, "Last USB Setting");
    EXPECT_EQ(rig.s().machine_state, kReady);
    EXPECT_FALSE(rig.window.TimerRunning(kLinkTimer));

    // Ready with step 1's values; the replies carry the room temperature.
    ASSERT_TRUE(RunUntil([&] { return rig.StatusFrames().size() >= 2; }, 2000));
    EXPECT_EQ(rig.StatusFrames()[0].bytes, Bytes({0xAA, 0xAA, 0x61, 0x74, 0x63, 0x02, 0x01, 7, 50, 2, 0, 0, 0xAA, 0xFA}));
    EXPECT_TRUE(rig.s().link_ok);
    EXPECT_EQ(rig.s().temperature, 70);
    EXPECT_TRUE(rig.window.messages.empty());
}

TEST(LinkIntegration, StatusFramesGoOutEvery500MsWithTheControllerState) {
    Rig rig;
    ASSERT_TRUE(rig.LinkUp());
    ASSERT_TRUE(RunUntil([&] { return rig.StatusFrames().size() >= 1; }, 1000));
    ControllerState& s = rig.s();
    s.machine_state = kRun;
    s.run_phase = kHeat;
    s.fan_level = 5;
    s.roast_time = 59;
    s.heat_level = 3;
    s.pending_command = kStartCommand;
    const std::size_t before = rig.StatusFrames().size();
    ASSERT_TRUE(RunUntil([&] { return rig.StatusFrames().size() >= before + 2; }, 2000));
    EXPECT_EQ(rig.StatusFrames()[before].bytes,
              Bytes({0xAA, 0xAA, 0x61, 0x74, 0x13, 0x04, 0x02, 0x05, 0x3B, 0x03, 0, 0, 0xAA, 0xFA}));
    EXPECT_EQ(rig.StatusFrames()[before + 1].bytes,
              Bytes({0xAA, 0xAA, 0x61, 0x74, 0x63, 0x04, 0x02, 0x05, 0x3B, 0x03, 0, 0, 0xAA, 0xFA}));

    s.run_phase = kManualCool;
    s.cool_time = 30;
    s.heat_level = 0;
    std::size_t n = rig.StatusFrames().size();
    ASSERT_TRUE(RunUntil([&] { return rig.StatusFrames().size() > n; }, 1000));
    EXPECT_EQ(rig.StatusFrames().back().bytes[6], 0x08);
    EXPECT_EQ(rig.StatusFrames().back().bytes[8], 0x1E) << "cooling time, not roast time";

    s.machine_state = kFinished;
    s.run_phase = kPhaseNone;
    n = rig.StatusFrames().size();
    ASSERT_TRUE(RunUntil([&] { return rig.StatusFrames().size() > n; }, 1000));
    EXPECT_EQ(rig.StatusFrames().back().bytes[5], 0x08);
    EXPECT_EQ(rig.StatusFrames().back().bytes[6], 0x00);

    RunFor(1600);
    for (int64_t gap : Gaps(rig.StatusFrames())) {
        EXPECT_GE(gap, 420);
        EXPECT_LE(gap, 580);
    }
    EXPECT_EQ(rig.s().link_down, 0);
}

TEST(LinkIntegration, SilenceLosesTheLinkAndAReconnectKeepsTheConsolesProfile) {
    Rig rig;
    ASSERT_TRUE(rig.LinkUp());
    ASSERT_TRUE(RunUntil([&] { return rig.StatusFrames().size() >= 2; }, 2000));
    CStep_Data& working = rig.controller->console.working;
    working.Clear();
    working.InsertStep(1, 8, 40, 1, StepWaiting);
    working.InsertStep(2, 3, 20, 0, CoolWaiting);
    rig.s().profile_name = "Mine.coff";
    const auto profile = Values(working.head);

    rig.sim.model().faults.silent = true;
    const int64_t silent_at = rig.sim.NowMs();
    const std::size_t frames_before = rig.StatusFrames().size();
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(RunUntil([&] { return rig.s().link_down == 1; }, 7000));
    EXPECT_NEAR(clock.elapsed(), 5000, 600);
    EXPECT_EQ(rig.StatusFrames().size() - frames_before, 9u) << "nine unanswered frames, none on the tenth tick";
    for (const auto& f : rig.Hellos()) EXPECT_LT(f.at_ms, silent_at) << "no hello while the link was up";

    // A new hello about every 2.5 s while the roaster stays silent.
    ASSERT_TRUE(RunUntil([&] { return rig.Hellos().size() >= 3; }, 7000));
    const auto hellos = rig.Hellos();
    EXPECT_NEAR(double(hellos[2].at_ms - hellos[1].at_ms), 2500.0, 300.0);

    rig.sim.model().faults.silent = false;
    ASSERT_TRUE(rig.LinkUp());
    EXPECT_EQ(Values(working.head), profile);
    EXPECT_EQ(rig.s().profile_name, "Mine.coff");
    EXPECT_EQ(rig.s().reconnecting, 0);
    EXPECT_TRUE(rig.window.messages.empty()) << "the bridge stayed listed";
}

TEST(LinkIntegration, AVanishingBridgeIsReportedOnce) {
    Rig rig;
    ASSERT_TRUE(rig.LinkUp());
    ASSERT_TRUE(RunUntil([&] { return rig.StatusFrames().size() >= 1; }, 1000));
    rig.Vanish();
    ASSERT_TRUE(RunUntil([&] { return rig.window.Count("The Port communications Failure!") > 0; }, 4000));
    RunFor(3000);
    EXPECT_EQ(rig.window.Count("The Port communications Failure!"), 1);
    EXPECT_EQ(rig.window.Count("Serial Port err!"), 1) << "the lost device is one error event";
    EXPECT_EQ(rig.window.messages.size(), 2u);
    EXPECT_FALSE(rig.window.ended);
    EXPECT_EQ(rig.s().link_down, 1);
}

TEST(LinkIntegration, DownloadSendsTheListOneFrameEvery50Ms) {
    Rig rig;
    ASSERT_TRUE(rig.LinkUp());
    ASSERT_TRUE(RunUntil([&] { return rig.StatusFrames().size() >= 1; }, 1000));
    CStep_Data& working = rig.controller->console.working;
    working.Clear();
    working.InsertStep(1, 6, 35, 3, StepWaiting);
    working.InsertStep(2, 8, 22, 2, StepWaiting);
    working.InsertStep(3, 9, 40, 0, CoolWaiting);
    const std::size_t status_before = rig.StatusFrames().size();
    rig.controller->link.StartDownload(true);
    ASSERT_TRUE(RunUntil([&] { return rig.sim.model().downloads() == 1; }, 2000));

    std::vector<ReceivedFrame> download;
    for (const ReceivedFrame& f : rig.sim.model().received())
        if (f.bytes[4] == kCmdProgramStep || f.bytes[4] == kCmdProgramEnd) download.push_back(f);
    ASSERT_EQ(download.size(), 3u);
    EXPECT_EQ(download[0].bytes, Bytes({0xAA, 0xAA, 0x61, 0x74, 0xAA, 0, 0, 6, 35, 3, 0, 0, 0xAA, 0xFA}));
    EXPECT_EQ(download[1].bytes, Bytes({0xAA, 0xAA, 0x61, 0x74, 0xAA, 0, 0, 8, 22, 2, 0, 0, 0xAA, 0xFA}));
    EXPECT_EQ(download[2].bytes, Bytes({0xAA, 0xAA, 0x61, 0x74, 0xAF, 0, 0, 9, 40, 0, 0, 0, 0xAA, 0xFA}));
    for (int64_t gap : Gaps(download)) EXPECT_NEAR(double(gap), 50.0, 20.0);
    RoasterProgram stored;
    stored.steps = {{6, 35, 3}, {8, 22, 2}};
    stored.cooling = {9, 40};
    EXPECT_EQ(rig.sim.model().program(), stored);
    EXPECT_EQ(rig.StatusFrames().size(), status_before) << "no status frame during the download";

    ASSERT_TRUE(RunUntil([&] { return rig.StatusFrames().size() > status_before; }, 1500));
    EXPECT_EQ(rig.s().download_active, 0);
    EXPECT_EQ(rig.s().link_down, 0);
}

TEST(LinkIntegration, PowerOffNoticeTurnsTheConsoleOffAndKeepsTheLink) {
    Rig rig;
    ASSERT_TRUE(rig.LinkUp());
    ASSERT_EQ(rig.s().machine_state, kReady);
    rig.sim.PowerOff();
    ASSERT_TRUE(RunUntil([&] { return rig.s().machine_state == kOff; }, 1000));
    EXPECT_THAT(rig.window.messages, ElementsAre("The coffee machine has been closed"));
    RunFor(1500);
    EXPECT_EQ(rig.s().link_down, 0);
    EXPECT_EQ(rig.window.messages.size(), 1u);
}

TEST(LinkIntegration, AnUploadOfTwentyTwoStepsEndsTheProgram) {
    RoasterModel::Options o;
    o.program.steps.assign(22, {6, 10, 2});
    Rig rig(o);
    ASSERT_TRUE(RunUntil([&] { return rig.window.ended; }, 4000));
    EXPECT_THAT(rig.window.messages, ElementsAre("The Port communications error!"));
    EXPECT_EQ(rig.s().link_down, 1);
}

TEST(LinkIntegration, SplitFramesAndGarbageDoNotBreakTheLink) {
    Rig rig;
    rig.sim.model().faults.split_frames = true;
    rig.sim.model().faults.garbage_every = 3;
    ASSERT_TRUE(rig.LinkUp()) << "split upload frames are put together by the receive threshold";
    EXPECT_EQ(rig.controller->console.working.count, 3u);
    RunFor(6000);
    EXPECT_EQ(rig.s().link_down, 0);
    EXPECT_EQ(rig.s().temperature, 70);
    EXPECT_TRUE(rig.window.messages.empty());
}

}  // namespace
