// The roaster's bridge pulled out in the middle of a roast and plugged in
// again, with the real serial control on a pseudo-terminal: the console
// names the port by a link that is removed while the bridge is away and
// made again for the new device, as a replugged bridge comes back under
// the same name.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "cmscomm1.h"
#include "control_ids.h"
#include "event_loop.h"
#include "fake_editor.h"
#include "recording_qt_window.h"
#include "roaster_controller.h"
#include "serial_port_lister.h"
#include "simulated_roaster_host.h"
#include "step_values.h"
#include "temp_folder.h"

namespace {

using ::testing::ElementsAre;

TEST(BridgeReplug, ABridgeBackAfterVanishingMidRoastStartsTheLinkAfresh) {
    TempFolder folder;
    const std::filesystem::path device = folder.Path("ttyRoaster");
    RoasterModel::Options roaster;
    roaster.program.steps = {{2, 20, 1}};
    roaster.program.cooling = {3, 40};
    SimulatedRoasterHost sim(roaster);
    std::string error;
    ASSERT_TRUE(sim.Start(&error)) << error;
    std::filesystem::create_symlink(sim.DevicePath(), device);

    CMscomm1 com;
    SerialPortLister lister(device.string());
    FakeEditor editor;
    RoasterController* controller = nullptr;
    RecordingQtWindow window([&](int id) { controller->OnTimer(id); });
    RoasterController console(window, editor, com, lister);
    controller = &console;
    ControllerState& s = console.state();
    console.Start();
    ASSERT_TRUE(RunUntil([&] { return s.link_ok; }, 4000));

    CStep_Data& working = console.console.working;
    working.Clear();
    working.InsertStep(1, 8, 40, 3, StepWaiting);
    working.InsertStep(2, 4, 20, 0, CoolWaiting);
    s.profile_name = "Mine.coff";
    console.OnButtonClicked(ctl::kPower);
    ASSERT_EQ(s.machine_state, kRun);
    ASSERT_TRUE(RunUntil([&] { return sim.model().console().Running(); }, 1500)) << "the roaster runs the roast";
    const auto running = Values(working.head);

    sim.Vanish();
    std::filesystem::remove(device);
    ASSERT_TRUE(RunUntil([&] { return window.Count("The Port communications Failure!") == 1; }, 5000));
    RunFor(1500);
    EXPECT_EQ(window.Count("Serial Port err!"), 1) << "the lost device is one error event";
    EXPECT_EQ(window.messages.size(), 2u) << "the failure is shown once, not once per attempt";
    EXPECT_EQ(s.link_down, 1);
    EXPECT_FALSE(window.ended) << "a vanished bridge never ends the program";
    EXPECT_EQ(s.machine_state, kRun) << "while the bridge is away the console keeps the run";
    EXPECT_EQ(Values(working.head), running);

    // Plugged in again: a new device under the same name.
    ASSERT_TRUE(sim.Start(&error)) << error;
    std::filesystem::create_symlink(sim.DevicePath(), device);
    ASSERT_TRUE(RunUntil([&] { return s.link_down == 0; }, 5000));
    // The failure was shown, so this is a fresh link start: the roaster's
    // stored program and the Ready state come back from the upload.
    EXPECT_THAT(Values(working.head), ElementsAre(StepValues{2, 20, 1, StepWaiting}, StepValues{3, 40, 0, CoolWaiting}));
    EXPECT_EQ(s.profile_name, "Last USB Setting");
    EXPECT_EQ(s.machine_state, kReady);
    const std::size_t frames = sim.model().ReceivedWith(0xAA, kCmdStatus).size();
    ASSERT_TRUE(RunUntil([&] { return sim.model().ReceivedWith(0xAA, kCmdStatus).size() >= frames + 2; }, 2000));
    EXPECT_EQ(sim.model().console().state_bits, 0x02) << "status frames go on to the new device";
    EXPECT_EQ(window.messages.size(), 2u);
    std::filesystem::remove(device);
}

}  // namespace
