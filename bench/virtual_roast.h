// A roast in virtual time on the real console, for trying follow mode: the
// control logic (RoasterController on the test stand-ins) against the
// simulated roaster's model on a virtual wire, with the real recorder and,
// given a background, follow mode (FollowSession) giving the running step
// its choices through the control layer, as in the program. The roaster
// uploads the profile as its stored program, the console runs it with
// POWER from the start of its heating to the end of its cooling, and the
// recorder's log is what comes back.
#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "roast_follower.h"
#include "roast_log.h"
#include "thermal_model.h"

struct VirtualStep {
    int fan = 5;
    int tenths = 10;  // minutes, in tenths (1..99, as a profile holds)
    int heat = 2;
};

struct VirtualProfile {
    std::vector<VirtualStep> steps;
    VirtualStep cooling{9, 30, 0};
};

// What follow mode did in a roast.
struct FollowOutcome {
    int changes = 0;                // the follower's choices that changed a value
    std::optional<FollowEnd> end;   // why it stopped following
    double end_seconds = 0;
    // How long follow mode took over each event it saw, milliseconds of
    // the machine's clock: the time it holds the window's thread.
    std::vector<double> event_ms;
};

// Sees every sample as the recorder keeps it (before follow mode answers it).
using SampleWatch = std::function<void(const RoastSample&)>;

// Runs `profile` on beans answering as `beans` say; with `background`,
// follow mode follows it and `outcome` (if given) says what it did.
RoastLog RunVirtualRoast(const VirtualProfile& profile, const BeanResponse& beans,
                         const RoastLog* background = nullptr, FollowOutcome* outcome = nullptr,
                         const SampleWatch& watch = {});
