// The simulated roaster in the console's process: the roast logic on the
// loopback in virtual time, as --simulate runs it on Qt's event loop. The
// roaster's timing and faults reach the console as they would over a port,
// and the loopback takes bytes as the real serial control takes them.
#include "loopback_serial.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <optional>

#include "control_ids.h"
#include "fake_editor.h"
#include "fake_window.h"
#include "frames.h"
#include "roaster_controller.h"

namespace {

using ::testing::ElementsAre;

// The event loop in the fake window's virtual time: posted calls run next,
// in order, then the pump when it is due.
class VirtualLoop : public LoopbackSerial::EventLoop, public VirtualEvents {
public:
    explicit VirtualLoop(FakeWindow& window) : window_(window) {}
    LoopbackSerial* serial = nullptr;

    int64_t NowMs() const override { return window_.now_ms; }
    void PumpAt(int64_t at_ms) override { pump_at_ = at_ms; }
    void Post(std::function<void()> call) override { posted_.push_back(std::move(call)); }

    std::optional<int64_t> NextDueMs() const override {
        if (!posted_.empty()) return window_.now_ms;
        return pump_at_;
    }
    void RunDue(int64_t now_ms) override {
        if (!posted_.empty()) {
            const std::function<void()> call = std::move(posted_.front());
            posted_.pop_front();
            call();
            return;
        }
        if (pump_at_ && *pump_at_ <= now_ms) {
            pump_at_.reset();
            serial->Pump();
        }
    }

private:
    FakeWindow& window_;
    std::optional<int64_t> pump_at_;
    std::deque<std::function<void()>> posted_;
};

RoasterModel::Options Roaster() {
    RoasterModel::Options o;
    o.program.steps = {{7, 42, 2}, {9, 18, 1}};
    o.program.cooling = {4, 25};
    return o;
}

// The console's roast logic with the loopback as its serial control and
// port discovery, as ConsoleProgram wires them for --simulate.
struct LoopbackConsole {
    explicit LoopbackConsole(const RoasterModel::Options& options = Roaster()) : model(options) {
        loop.serial = &serial;
        window.events = &loop;
        window.on_timer = [this](int id) { controller.OnTimer(id); };
        serial.on_sent = [this](const std::vector<uint8_t>& bytes) { sent_at.push_back(window.now_ms); (void)bytes; };
        controller.Start();
    }
    ~LoopbackConsole() { window.events = nullptr; }
    ControllerState& s() { return controller.state(); }
    bool Until(const std::function<bool()>& done, int64_t limit_ms) { return window.AdvanceUntil(done, limit_ms); }
    bool LinkUp() { return Until([&] { return s().link_down == 0; }, 5000) && (window.Advance(500), s().link_ok); }
    int Shown(const char* text) const {
        return static_cast<int>(std::count(window.messages.begin(), window.messages.end(), text));
    }

    FakeWindow window;
    FakeEditor editor;
    RoasterModel model;
    VirtualLoop loop{window};
    LoopbackSerial serial{model, loop};
    LoopbackPortLister ports{serial};
    RoasterController controller{window, editor, serial, ports};
    std::vector<int64_t> sent_at;  // when each piece reached the line
};

TEST(LoopbackConsole, LinksUpAndRoastsWithTheRoastersTiming) {
    RoasterModel::Options options = Roaster();
    options.reply_delay_ms = 15;
    options.frame_gap_ms = 40;
    LoopbackConsole c(options);
    ASSERT_TRUE(c.LinkUp());
    EXPECT_EQ(c.window.name_text, "Last USB Setting");
    // The upload: header, the two steps and the cooling, 40 ms apart.
    ASSERT_GE(c.sent_at.size(), 4u);
    for (std::size_t i = 1; i < 4; ++i) EXPECT_EQ(c.sent_at[i] - c.sent_at[i - 1], 40) << "frame " << i;

    c.controller.OnButtonClicked(ctl::kPower);
    c.window.Advance(60000);
    EXPECT_TRUE(c.model.console().Heating());
    EXPECT_GT(c.s().temperature, 75) << "the replies carry the beans' temperature";
    // Every status frame of the last seconds is answered 15 ms after it.
    const std::vector<ReceivedFrame> status = c.model.ReceivedWith(0xAA, kCmdStatus);
    ASSERT_GE(status.size(), 100u);
    for (std::size_t i = status.size() - 10; i < status.size() - 1; ++i) {
        const auto reply = std::find(c.sent_at.begin(), c.sent_at.end(), status[i].at_ms + 15);
        EXPECT_NE(reply, c.sent_at.end()) << "no reply 15 ms after the frame at " << status[i].at_ms;
    }
    EXPECT_EQ(c.model.hellos(), 1);
    EXPECT_TRUE(c.window.messages.empty());
}

TEST(LoopbackConsole, TheRoastersFaultsReachTheConsoleAsOnALine) {
    {
        LoopbackConsole c;
        ASSERT_TRUE(c.LinkUp());
        c.model.faults.silent = true;
        EXPECT_TRUE(c.Until([&] { return c.s().link_down == 1; }, 5500)) << "silence loses the link";
        c.window.Advance(10000);
        EXPECT_GE(c.model.hellos(), 4) << "and the console greets it again";
    }
    {
        LoopbackConsole c;
        c.model.faults.split_frames = true;
        c.model.faults.garbage_every = 3;
        ASSERT_TRUE(c.LinkUp()) << "split frames and garbage";
        c.controller.OnButtonClicked(ctl::kPower);
        c.window.Advance(60000);
        EXPECT_EQ(c.model.hellos(), 1) << "the link never went down";
        EXPECT_TRUE(c.model.console().Heating());
    }
    {
        LoopbackConsole c;
        ASSERT_TRUE(c.LinkUp());
        c.controller.OnButtonClicked(ctl::kPower);
        c.window.Advance(5000);
        c.serial.PowerOff();
        ASSERT_TRUE(c.Until([&] { return c.s().machine_state == kOff; }, 1000));
        EXPECT_THAT(c.window.messages, ElementsAre("The coffee machine has been closed"));
    }
    {
        LoopbackConsole c;
        ASSERT_TRUE(c.LinkUp());
        c.serial.Vanish();
        ASSERT_TRUE(c.Until([&] { return c.Shown("The Port communications Failure!") == 1; }, 5000));
        c.window.Advance(20000);
        EXPECT_EQ(c.Shown("Serial Port err!"), 1) << "the vanished device is one error event";
        EXPECT_EQ(c.s().link_down, 1) << "and never comes back";
        std::vector<SSerInfo> listed{SSerInfo{}};
        c.ports.ListSerialPorts(listed);
        EXPECT_TRUE(listed.empty());
    }
}

// Bytes wait for the receive threshold and are lost while the port is
// closed; the operations refuse what the real control refuses.
TEST(LoopbackSerial, TakesBytesAsTheSerialControlOnAPortDoes) {
    FakeWindow window;
    VirtualLoop loop(window);
    RoasterModel model(Roaster());
    LoopbackSerial serial(model, loop);
    loop.serial = &serial;
    window.events = &loop;
    int events = 0;
    serial.OnComm = [&] { events += serial.CommEvent() == kCommEventReceive ? 1 : 0; };

    EXPECT_THROW(serial.SetPortOpen(true), SerialError) << "no port chosen";
    serial.SetCommPort("COM3");
    EXPECT_THROW(serial.SetPortOpen(true), SerialError) << "not the simulated roaster's port";
    serial.SetCommPort(LoopbackSerial::kDevice);
    EXPECT_THROW(serial.SetOutput(ToBytes(HelloFrame())), SerialError) << "closed";
    serial.SetRThreshold(kFrameSize);
    serial.SetPortOpen(true);
    EXPECT_THROW(serial.SetInBufferSize(512), SerialError) << "open";
    EXPECT_THROW(serial.SetCommPort("COM3"), SerialError) << "open";
    EXPECT_THROW(serial.SetOutput(std::vector<uint8_t>(2048, 0)), SerialError) << "larger than the output buffer";

    serial.SetOutput(ToBytes(HelloFrame()));
    window.Advance(5);
    EXPECT_EQ(events, 0) << "nothing due yet";
    window.Advance(1000);
    EXPECT_GE(events, 1);
    EXPECT_EQ(serial.Input().size(), 4 * kFrameSize) << "the whole upload, read at once";

    // An opening starts with nothing waiting: neither what was not read
    // before the port closed nor what came while it was closed.
    serial.SetOutput(ToBytes(HelloFrame()));
    window.Advance(1000);
    serial.SetPortOpen(false);
    serial.SetPortOpen(true);
    EXPECT_TRUE(serial.Input().empty()) << "left from before";
    serial.SetOutput(ToBytes(HelloFrame()));
    serial.SetPortOpen(false);
    window.Advance(1000);
    serial.SetPortOpen(true);
    EXPECT_TRUE(serial.Input().empty()) << "sent while closed";
    window.events = nullptr;
}

}  // namespace
