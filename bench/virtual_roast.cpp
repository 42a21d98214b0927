#include "virtual_roast.h"

#include <chrono>

#include "control_ids.h"
#include "controller_harness.h"
#include "follow_session.h"
#include "roast_recorder.h"
#include "virtual_roast_clock.h"
#include "virtual_wire.h"

namespace {
constexpr int64_t kUploadMs = 10 * 1000;
constexpr int64_t kLongestRoastMs = 60 * 60 * 1000;

// Follow mode, timed: how long each event it is told of takes, on the
// machine's clock.
class TimedFollow final : public ConsoleListener {
public:
    TimedFollow(FollowSession& follow, std::vector<double>& ms) : follow_(follow), ms_(ms) {}
    void OnHandled(const Console& console) override {
        const auto from = std::chrono::steady_clock::now();
        follow_.OnHandled(console);
        ms_.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - from).count());
    }
    void OnUserInput(const Console& console) override { follow_.OnUserInput(console); }

private:
    FollowSession& follow_;
    std::vector<double>& ms_;
};
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
    std::vector<double> event_ms;
    TimedFollow timed(follow, event_ms);
    // As the program adds them: follow mode before the recorder.
    h.controller.events().Add(timed);
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
    h.controller.events().Remove(timed);
    h.controller.events().Remove(recorder);

    if (outcome && follow.follower()) {
        outcome->changes = follow.follower()->changes();
        outcome->end = follow.follower()->end();
        outcome->end_seconds = follow.follower()->end_seconds();
        outcome->event_ms = std::move(event_ms);
    }
    return recorder.log();
}
