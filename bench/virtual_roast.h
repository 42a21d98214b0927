// Roasts in virtual time on the real console, for trying follow mode and
// the roaster's model: the control logic (RoasterController on the test
// stand-ins) against the simulated roaster's model on a virtual wire, with
// the real recorder and, given a background, follow mode (FollowSession)
// giving the running step its choices through the control layer, as in
// the program. The first roast runs the profile the roaster uploads as its
// stored program; later ones make their profile the console's current one,
// as "Roast again" does. The console runs each with POWER from the start of
// its heating to the end of its cooling, and the recorder's log is what
// comes back.
#pragma once

#include <functional>
#include <memory>
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

// One simulated roaster and the console on it, roasting one batch after
// another: the roaster's beans and heater go on from where the last roast
// and the wait after it left them.
class VirtualRoaster {
public:
    // The roaster's beans answer as `beans` say; `first` is the program it
    // has stored and uploads.
    VirtualRoaster(const BeanResponse& beans, const VirtualProfile& first);
    ~VirtualRoaster();
    VirtualRoaster(const VirtualRoaster&) = delete;
    VirtualRoaster& operator=(const VirtualRoaster&) = delete;

    // Roasts `profile` (the stored one on the first roast); with
    // `background`, follow mode follows it and `outcome` (if given) says
    // what it did.
    RoastLog Roast(const VirtualProfile& profile, const RoastLog* background = nullptr, FollowOutcome* outcome = nullptr,
                   const SampleWatch& watch = {});
    // Lets `seconds` pass with the roaster standing by.
    void Wait(double seconds);

private:
    struct Parts;
    std::unique_ptr<Parts> parts_;
    bool first_ = true;
};

// Runs `profile` on a fresh roaster whose beans answer as `beans` say;
// with `background`, follow mode follows it and `outcome` (if given) says
// what it did.
RoastLog RunVirtualRoast(const VirtualProfile& profile, const BeanResponse& beans,
                         const RoastLog* background = nullptr, FollowOutcome* outcome = nullptr,
                         const SampleWatch& watch = {});
