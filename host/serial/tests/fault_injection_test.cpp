// Faults in the middle of a roast, with the simulated roaster's model on
// the line in virtual time: every frame crosses as bytes, through the
// receive threshold, so minutes of roasting take milliseconds. Each test
// says what must hold afterwards: the state, the working list, the
// roaster's stored program and the profile's file.
#include <algorithm>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "control_ids.h"
#include "controller_harness.h"
#include "frames.h"
#include "invariants.h"
#include "step_values.h"
#include "temp_folder.h"
#include "virtual_wire.h"

namespace {

using ::testing::ElementsAre;

// The roaster's own stored program, which an upload offers the console.
RoasterModel::Options Roaster() {
    RoasterModel::Options o;
    o.program.steps = {{2, 20, 1}};
    o.program.cooling = {3, 40};
    return o;
}

// The user's profile: three short roast steps and the cooling step.
const std::string kProfileFile = Roast('6', "03", '3') + Roast('7', "03", '2') + Roast('8', "02", '1') + Cool('5', "03");

class FaultTest : public ::testing::Test {
protected:
    void SetUp() override {
        h.controller.Start();
        ASSERT_TRUE(Until([&] { return s().link_down == 0; }, 5000));
        h.Ticks(1);  // the link lamp lights at the end of the next control tick
        ASSERT_TRUE(s().link_ok);
        path = folder.Path("Roast.coff");
        TempFolder::Write(path, kProfileFile);
        h.window.open_choices.push_back(FileChoice{"Roast.coff", path});
        Click(ctl::kSelect);
        ASSERT_EQ(s().machine_state, kReady);
        ASSERT_EQ(s().profile_name, "Roast.coff");
    }

    ControllerState& s() { return h.s(); }
    void Click(int control) { h.controller.OnButtonClicked(control); }
    bool Until(const std::function<bool()>& done, int64_t limit_ms) { return h.window.AdvanceUntil(done, limit_ms); }
    void StartRoast() {
        Click(ctl::kPower);
        ASSERT_EQ(s().machine_state, kRun);
        ASSERT_EQ(s().run_phase, kHeat);
    }
    // Runs until the roast has finished and its download reached the roaster.
    void FinishRoast() {
        const int before = wire.model.downloads();
        ASSERT_TRUE(Until([&] { return wire.model.downloads() > before; }, 10 * 60 * 1000));
        ASSERT_EQ(s().machine_state, kFinished);
    }
    std::size_t Hellos() const { return static_cast<std::size_t>(wire.model.hellos()); }
    // The working list as the roaster stores it after a download.
    RoasterProgram WorkingAsProgram() {
        RoasterProgram p;
        p.steps.clear();
        const auto steps = h.Working();
        for (std::size_t i = 0; i + 1 < steps.size(); ++i)
            p.steps.push_back({uint8_t(steps[i].fan), uint8_t(steps[i].time), uint8_t(steps[i].heat)});
        p.cooling = {uint8_t(steps.back().fan), uint8_t(steps.back().time)};
        return p;
    }
    void ExpectSound() {
        EXPECT_EQ(ListProblem(h.controller.console.working, 22), "");
        EXPECT_EQ(ProfileProblem(h.controller.console.working), "");
        EXPECT_EQ(StateProblem(s()), "");
    }

    ControllerHarness h;
    VirtualWire wire{h, Roaster()};
    TempFolder folder;
    std::string path;
};

TEST_F(FaultTest, ARoasterSilentMidRoastComesBackAndTheRunGoesOn) {
    StartRoast();
    h.Ticks(40);  // step 2 has run four ticks
    wire.model.faults.silent = true;
    ASSERT_TRUE(Until([&] { return s().link_down == 1; }, 5500)) << "the tenth unanswered tick loses the link";
    const auto run_before = Values(h.Working());
    const int32_t step = s().step_index, elapsed = s().run_elapsed;
    ASSERT_EQ(step, 2);
    h.window.Advance(20000);
    EXPECT_GE(Hellos(), 8u) << "a new hello about every 2.5 s";
    EXPECT_EQ(s().run_elapsed, elapsed) << "no unit counts while the link is down";

    wire.model.faults.silent = false;
    ASSERT_TRUE(Until([&] { return s().link_down == 0; }, 3000));
    EXPECT_EQ(s().machine_state, kRun);
    EXPECT_EQ(s().run_phase, kHeat);
    EXPECT_EQ(s().step_index, step);
    EXPECT_EQ(Values(h.Working()), run_before) << "the roaster's upload does not replace the running profile";
    EXPECT_EQ(s().profile_name, "Roast.coff");
    EXPECT_TRUE(h.window.messages.empty()) << "the bridge stayed listed";

    FinishRoast();
    EXPECT_THAT(Values(h.Working()),
                ElementsAre(StepValues{6, 3, 3, StepCompleted}, StepValues{7, 3, 2, StepCompleted},
                            StepValues{8, 2, 1, StepCompleted}, StepValues{5, 3, 0, StepEnd}));
    EXPECT_EQ(wire.model.program(), WorkingAsProgram());
    EXPECT_EQ(TempFolder::Read(path), kProfileFile);
    ExpectSound();
}

TEST_F(FaultTest, ABridgePulledOutMidRoastIsReportedOnceAndItsReturnStartsTheLinkAfresh) {
    StartRoast();
    h.Ticks(20);
    const auto run_before = Values(h.Working());
    const int32_t elapsed = s().run_elapsed;
    const auto shown = [&](const char* text) { return std::count(h.window.messages.begin(), h.window.messages.end(), text); };

    wire.Unplug();
    ASSERT_TRUE(Until([&] { return shown("The Port communications Failure!") == 1; }, 5000));
    h.window.Advance(20000);
    EXPECT_EQ(shown("Serial Port err!"), 1) << "the lost device is one error event";
    EXPECT_EQ(h.window.messages.size(), 2u) << "the failure is shown once, not once per attempt";
    EXPECT_EQ(s().link_down, 1);
    EXPECT_EQ(s().machine_state, kRun) << "while the bridge is away the console keeps the run";
    EXPECT_EQ(s().run_elapsed, elapsed) << "no unit counts while the link is down";
    EXPECT_EQ(Values(h.Working()), run_before);

    wire.Plug();
    ASSERT_TRUE(Until([&] { return s().link_down == 0; }, 5000));
    // The failure was shown, so this is a fresh link start: the roaster's
    // stored program and the Ready state come back from the upload.
    EXPECT_THAT(Values(h.Working()), ElementsAre(StepValues{2, 20, 1, StepWaiting}, StepValues{3, 40, 0, CoolWaiting}));
    EXPECT_EQ(s().profile_name, "Last USB Setting");
    EXPECT_EQ(s().machine_state, kReady);
    EXPECT_EQ(h.window.messages.size(), 2u);
    EXPECT_EQ(TempFolder::Read(path), kProfileFile) << "the profile's file is untouched";
    ExpectSound();
}

TEST_F(FaultTest, AWriteErrorOnAStatusFrameLosesTheLinkQuietlyAndTheRunGoesOn) {
    StartRoast();
    h.Ticks(20);
    const auto run_before = Values(h.Working());
    const int32_t elapsed = s().run_elapsed;
    int failures = 1;
    h.serial.fail_write_if = [&](const std::vector<uint8_t>& b) {
        return b[1] == 0xAA && b[4] == kCmdStatus && failures-- > 0;
    };
    h.Ticks(1);
    EXPECT_EQ(s().link_down, 1);
    EXPECT_EQ(s().reconnecting, 1);
    ASSERT_TRUE(Until([&] { return s().link_down == 0; }, 4000)) << "the next attempt finds the bridge again";
    EXPECT_EQ(Hellos(), 2u);
    EXPECT_EQ(s().machine_state, kRun);
    EXPECT_EQ(s().run_elapsed, elapsed);
    EXPECT_EQ(Values(h.Working()), run_before);
    EXPECT_TRUE(h.window.messages.empty());

    FinishRoast();
    EXPECT_EQ(wire.model.program(), WorkingAsProgram());
    ExpectSound();
}

TEST_F(FaultTest, AWriteErrorDuringTheDownloadLeavesTheRoastersProgramWhole) {
    StartRoast();
    const RoasterProgram stored = wire.model.program();
    int step_frames = 0;
    h.serial.fail_write_if = [&](const std::vector<uint8_t>& b) { return b[4] == kCmdProgramStep && ++step_frames == 2; };
    ASSERT_TRUE(Until([&] { return s().machine_state == kFinished; }, 5 * 60 * 1000));
    ASSERT_TRUE(Until([&] { return step_frames >= 2 && s().link_down == 0 && h.window.TimerRunning(kControlTimer); },
                      5000));
    EXPECT_EQ(wire.model.program(), stored) << "a download cut short is never taken as a program";
    EXPECT_EQ(wire.model.downloads(), 0);
    EXPECT_FALSE(h.window.TimerRunning(kDownloadTimer));
    EXPECT_EQ(s().download_index, 0);
    EXPECT_EQ(s().machine_state, kFinished);
    EXPECT_EQ(h.Working().back().status, StepEnd) << "the console keeps the roast as it ran";
    ExpectSound();
}

TEST_F(FaultTest, APowerOffNoticeDuringARunTurnsTheConsoleOffAndKeepsProfileAndLink) {
    StartRoast();
    h.Ticks(20);
    wire.model.SendPowerOff(h.window.now_ms);
    ASSERT_TRUE(Until([&] { return s().machine_state == kOff; }, 1000));
    EXPECT_THAT(h.window.messages, ElementsAre("The coffee machine has been closed"));
    EXPECT_EQ(s().run_phase, kWaitStart);
    EXPECT_EQ(s().cool_time, 30);
    EXPECT_FALSE(s().delayed_start);
    EXPECT_TRUE(h.window.clock_icon_shown);
    EXPECT_TRUE(h.window.picker_enabled);

    h.Ticks(6);
    EXPECT_EQ(s().link_down, 0) << "the notice does not end the link";
    EXPECT_EQ(wire.model.console().state_bits, 0x01) << "the roaster is told the console is off";
    EXPECT_EQ(s().profile_name, "Roast.coff");
    const auto steps = Values(h.Working());
    ASSERT_EQ(steps.size(), 4u);
    EXPECT_EQ((std::vector<int>{steps[0].fan, steps[1].fan, steps[2].fan, steps[3].fan}), (std::vector<int>{6, 7, 8, 5}));

    // Switched on again, the next POWER runs the profile from its start.
    const std::size_t starts = wire.model.ReceivedWith(0xAA, kCmdStart).size();
    StartRoast();
    EXPECT_THAT(Values(h.Working()),
                ElementsAre(StepValues{6, 3, 3, StepRunning}, StepValues{7, 3, 2, StepWaiting},
                            StepValues{8, 2, 1, StepWaiting}, StepValues{5, 3, 0, CoolWaiting}));
    h.Ticks(1);
    EXPECT_EQ(wire.model.ReceivedWith(0xAA, kCmdStart).size(), starts + 1);
    FinishRoast();
    EXPECT_EQ(h.window.messages.size(), 1u);
    EXPECT_EQ(TempFolder::Read(path), kProfileFile);
    ExpectSound();
}

TEST_F(FaultTest, GarbageAndSplitFramesForMinutesNeverBreakTheLink) {
    wire.model.faults.split_frames = true;
    wire.model.faults.garbage_every = 3;
    // Noise bursts on top, longer than a frame, every 7 s. (Byte 4 of a
    // read is never 0x11 here: that alone is taken as the power-off notice.)
    const std::vector<uint8_t> noise{0xAA, 0x61, 0x74, 0x11, 0xFA, 0x00, 0xAA, 0xFA, 0x13, 0xAA,
                                     0x55, 0x00, 0xFF, 0xAA, 0xAA, 0x00, 0x00, 0xFA, 0xFA};
    for (int roast = 0; roast < 3; ++roast) {
        StartRoast();
        const int before = wire.model.downloads();
        while (wire.model.downloads() == before) {
            ASSERT_LT(h.window.now_ms, 20 * 60 * 1000);
            wire.model.SendGarbage(noise, h.window.now_ms);
            h.window.Advance(7000);
        }
        ASSERT_TRUE(Until([&] { return h.window.TimerRunning(kControlTimer); }, 1000));
        EXPECT_EQ(s().machine_state, kFinished) << "roast " << roast;
        EXPECT_EQ(wire.model.program(), WorkingAsProgram()) << "roast " << roast;
        ExpectSound();
    }
    EXPECT_GE(h.window.now_ms, 3 * 60 * 1000) << "minutes of noise";
    EXPECT_EQ(Hellos(), 1u) << "the link never went down";
    EXPECT_TRUE(h.window.messages.empty());
    EXPECT_GT(s().temperature, 70) << "replies got through and carried the roaster's temperature";
    EXPECT_EQ(TempFolder::Read(path), kProfileFile);
}

}  // namespace
