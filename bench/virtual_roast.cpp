#include "virtual_roast.h"

#include "control_ids.h"
#include "controller_harness.h"
#include "follow_session.h"
#include "roast_recorder.h"
#include "virtual_roast_clock.h"
#include "virtual_wire.h"

namespace {
constexpr int64_t kUploadMs = 10 * 1000;
constexpr int64_t kLongestRoastMs = 60 * 60 * 1000;
}  // namespace

RoastLog RunVirtualRoast(const VirtualProfile& profile, const BeanResponse& beans, const RoastLog* background,
                         FollowOutcome* outcome, const SampleWatch& watch) {
    ControllerHarness h;
    h.window.record_fired = false;
    RoasterModel::Options options;
    options.beans = beans;
    options.frame_log_limit = 16;
    options.program.steps.clear();
    for (const VirtualStep& s : profile.steps)
        options.program.steps.push_back({static_cast<uint8_t>(s.fan), static_cast<uint8_t>(s.tenths),
                                         static_cast<uint8_t>(s.heat)});
    options.program.cooling = {static_cast<uint8_t>(profile.cooling.fan), static_cast<uint8_t>(profile.cooling.tenths)};
    VirtualWire wire(h, options);

    VirtualRoastClock clock(h.window);
    RoastRecorder recorder(clock, nullptr, "follow_bench");
    FollowSession follow(recorder, h.controller.step_values);
    // As the program adds them: follow mode before the recorder.
    h.controller.events().Add(follow);
    h.controller.events().Add(recorder);
    if (background) follow.Arm(*background, "background.csv");
    if (watch)
        recorder.AddListener([&](RoastEvent e) {
            if (e == RoastEvent::Sample) watch(recorder.log().samples.back());
        });

    // The roaster uploads the profile; POWER runs it.
    h.controller.Start();
    h.window.AdvanceUntil([&] { return h.s().machine_state == kReady; }, kUploadMs);
    h.Ticks(1);  // the link lamp lights at the next control tick
    h.controller.OnButtonClicked(ctl::kPower);
    h.window.AdvanceUntil([&] { return h.s().machine_state == kFinished; }, kLongestRoastMs);
    h.controller.events().Remove(follow);
    h.controller.events().Remove(recorder);

    if (outcome && follow.follower()) {
        outcome->changes = follow.follower()->changes();
        outcome->end = follow.follower()->end();
        outcome->end_seconds = follow.follower()->end_seconds();
    }
    return recorder.log();
}
