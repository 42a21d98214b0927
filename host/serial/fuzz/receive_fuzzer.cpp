// Fuzz target: whatever bytes arrive from the roaster, in whatever chunks
// and in whichever link state, the receive handling neither crashes nor
// leaks, and the step lists and the controller values stay sound.
//
// The input is a script for a controller on the fakes: each command either
// delivers a chunk of bytes (raw, or shaped as a frame so that uploads and
// replies are reached quickly), raises another serial event, lets virtual
// time pass (control ticks, link start, download), puts the link into one
// of the states it can be in, or makes the next write fail.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "controller_harness.h"
#include "frames.h"
#include "invariants.h"

namespace {

[[noreturn]] void Broken(const char* what, const std::string& problem) {
    std::fprintf(stderr, "invariant broken: %s: %s\n", what, problem.c_str());
    std::abort();
}

void Check(ControllerHarness& h) {
    const Console& c = h.controller.console;
    // 21 roast steps and the cooling step is the longest program an upload
    // can bring; the 22nd roast step ends the program.
    if (auto p = ListProblem(c.working, 22); !p.empty()) Broken("working list", p);
    if (auto p = ListProblem(c.upload, 22); !p.empty()) Broken("upload list", p);
    if (auto p = ListProblem(c.parked, 22); !p.empty()) Broken("parked list", p);
    if (auto p = StateProblem(h.controller.console.state); !p.empty()) Broken("state", p);
    if (c.working.count == 0) Broken("working list", "empty");
}

Frame ShapedFrame(FuzzedDataProvider& in) {
    static const uint8_t kCommands[] = {kCmdUploadHeader, kCmdProgramStep, kCmdProgramEnd, kCmdStatus, kCmdPowerOff};
    const uint8_t command = in.PickValueInArray(kCommands);
    Frame f = MakeFrame(command, 0, 0, in.ConsumeIntegral<uint8_t>(), in.ConsumeIntegral<uint8_t>(),
                        in.ConsumeIntegral<uint8_t>(), in.ConsumeIntegral<uint8_t>(), in.ConsumeIntegral<uint8_t>());
    if (in.ConsumeBool()) f[1] = in.ConsumeIntegral<uint8_t>();  // the hello's 0x55 or anything else
    return f;
}

// A shaped frame, and sometimes more in the same read: a second frame of
// its own command and values, or noise.
std::vector<uint8_t> ShapedRead(FuzzedDataProvider& in) {
    std::vector<uint8_t> bytes = ToBytes(ShapedFrame(in));
    std::vector<uint8_t> more;
    switch (in.ConsumeIntegralInRange(0, 3)) {
    case 0: more = ToBytes(ShapedFrame(in)); break;
    case 1: more = in.ConsumeBytes<uint8_t>(in.ConsumeIntegralInRange<std::size_t>(1, 20)); break;
    default: break;
    }
    bytes.insert(bytes.end(), more.begin(), more.end());
    return bytes;
}

// One of the link states the console passes through, with consistent flags.
void PutLinkInto(ControllerHarness& h, FuzzedDataProvider& in) {
    ControllerState& s = h.s();
    switch (in.ConsumeIntegralInRange(0, 3)) {
    case 0:  // link up
        h.SetLinkUp();
        s.upload_active = 0;
        s.reconnecting = 0;
        break;
    case 1:  // searching after a loss
        h.controller.link.LinkLost();
        break;
    case 2:  // waiting for an upload after a hello
        s.link_down = 1;
        s.link_ok = false;
        s.reconnecting = in.ConsumeBool() ? 1 : 0;
        h.serial.open = true;
        break;
    default:  // a run (or another machine state) under way
        s.machine_state = in.ConsumeIntegralInRange(kOff, kFinished);
        s.run_phase = s.machine_state == kRun ? in.ConsumeIntegralInRange(kWaitStart, kManualCool) : kWaitStart;
        if (s.machine_state != kOff) s.profile_name = "Roast.coff";
        break;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    ControllerHarness h;
    h.ports.ports = {BridgeRecord()};
    h.controller.Start();
    Check(h);

    int steps = 0;
    while (in.remaining_bytes() > 0 && !h.window.ended && ++steps < 400) {
        switch (in.ConsumeIntegralInRange(0, 6)) {
        case 0:
        case 1: {
            const std::size_t n = in.ConsumeIntegralInRange<std::size_t>(0, in.ConsumeBool() ? 40 : 3000);
            h.serial.Deliver(in.ConsumeBytes<uint8_t>(n));
            break;
        }
        case 2: h.serial.Deliver(ShapedRead(in)); break;
        case 3: h.serial.RaiseEvent(in.ConsumeIntegral<int16_t>()); break;
        case 4: h.window.Advance(in.ConsumeIntegralInRange<int64_t>(1, 6000)); break;
        case 5: PutLinkInto(h, in); break;
        default: h.serial.fail_writes = in.ConsumeIntegralInRange(0, 2); break;
        }
        Check(h);
    }
    return 0;
}
