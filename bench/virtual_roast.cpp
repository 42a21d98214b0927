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

RoasterModel::Options StoredProgram(const BeanResponse& beans, const VirtualProfile& profile) {
    RoasterModel::Options options;
    options.beans = beans;
    options.frame_log_limit = 16;
    options.program.steps.clear();
    for (const VirtualStep& s : profile.steps)
        options.program.steps.push_back({static_cast<uint8_t>(s.fan), static_cast<uint8_t>(s.tenths),
                                         static_cast<uint8_t>(s.heat)});
    options.program.cooling = {static_cast<uint8_t>(profile.cooling.fan), static_cast<uint8_t>(profile.cooling.tenths)};
    return options;
}
}  // namespace

struct VirtualRoaster::Parts {
    Parts(const BeanResponse& beans, const VirtualProfile& first)
        : wire(h, StoredProgram(beans, first)),
          clock(h.window),
          recorder(clock, nullptr, "follow_bench"),
          follow(recorder, h.controller.step_values),
          timed(follow, event_ms) {
        h.window.record_fired = false;
        // As the program adds them: follow mode before the recorder.
        h.controller.events().Add(timed);
        h.controller.events().Add(recorder);
        recorder.AddListener([this](RoastEvent e) {
            if (e == RoastEvent::Sample && watch) watch(recorder.log().samples.back());
        });
    }
    ~Parts() {
        h.controller.events().Remove(timed);
        h.controller.events().Remove(recorder);
    }
    ControllerHarness h;
    VirtualWire wire;
    VirtualRoastClock clock;
    RoastRecorder recorder;
    FollowSession follow;
    std::vector<double> event_ms;
    TimedFollow timed;
    SampleWatch watch;  // the roast under way's
};

VirtualRoaster::VirtualRoaster(const BeanResponse& beans, const VirtualProfile& first)
    : parts_(std::make_unique<Parts>(beans, first)) {}

VirtualRoaster::~VirtualRoaster() = default;

void VirtualRoaster::Wait(double seconds) { parts_->h.window.Advance(static_cast<int64_t>(seconds * 1000)); }

RoastLog VirtualRoaster::Roast(const VirtualProfile& profile, const RoastLog* background, FollowOutcome* outcome,
                               const SampleWatch& watch) {
    Parts& p = *parts_;
    ControllerHarness& h = p.h;
    p.event_ms.clear();
    if (background) p.follow.Arm(*background, "background.csv");
    p.watch = watch;
    if (first_) {
        // The roaster uploads the profile; POWER runs it.
        first_ = false;
        h.controller.Start();
        h.window.AdvanceUntil([&] { return h.s().machine_state == kReady; }, kUploadMs);
        h.Ticks(1);  // the link lamp lights at the next control tick
    } else {
        std::vector<StepNode> steps;
        for (const VirtualStep& s : profile.steps)
            steps.push_back({0, s.fan, s.tenths, s.heat, StepWaiting, nullptr});
        steps.push_back({0, profile.cooling.fan, profile.cooling.tenths, 0, CoolWaiting, nullptr});
        h.controller.UseProfileSteps("Virtual roast", steps);
        h.Ticks(1);
    }
    h.controller.OnButtonClicked(ctl::kPower);
    h.window.AdvanceUntil([&] { return h.s().machine_state == kFinished; }, kLongestRoastMs);
    p.watch = nullptr;

    if (outcome && p.follow.follower()) {
        outcome->changes = p.follow.follower()->changes();
        outcome->end = p.follow.follower()->end();
        outcome->end_seconds = p.follow.follower()->end_seconds();
        outcome->event_ms = p.event_ms;
    }
    return p.recorder.log();
}

RoastLog RunVirtualRoast(const VirtualProfile& profile, const BeanResponse& beans, const RoastLog* background,
                         FollowOutcome* outcome, const SampleWatch& watch) {
    VirtualRoaster roaster(beans, profile);
    return roaster.Roast(profile, background, outcome, watch);
}
