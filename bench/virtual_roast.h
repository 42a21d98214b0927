// A roast in virtual time on the simulated roaster's thermal model, for
// trying follow mode: the profile's steps run on time, the roaster reports
// the bean temperature in whole °F every 500 ms, and every reading is kept
// as the console's recorder keeps it (with a drop mark where the cooling
// begins). A steering hook sees every reading and may give the running
// step another fan and heat, as follow mode does through the console.
//
// The whole console in virtual time (the control logic on the simulated
// roaster's wire) can take this runner's place: it has the same inputs and
// gives the same log.
#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "roast_follower.h"
#include "roast_log.h"
#include "thermal_model.h"

struct VirtualStep {
    int fan = 5;
    int tenths = 10;  // minutes, in tenths
    int heat = 2;
};

struct VirtualProfile {
    std::vector<VirtualStep> steps;
    VirtualStep cooling{9, 30, 0};
};

// Sees a reading; may answer new values for the running step.
using Steering = std::function<std::optional<FollowChoice>(const RoastSample&)>;

// Runs `profile` on beans answering as `beans` say, from the start of its
// heating to the end of its cooling.
RoastLog RunVirtualRoast(const VirtualProfile& profile, const BeanResponse& beans, const Steering& steer = {});
