#include "virtual_roast.h"

#include <cmath>

#include "controller_state.h"

namespace {
constexpr double kReadingSeconds = 0.5;
constexpr double kSecondsPerTenth = 6.0;
}  // namespace

RoastLog RunVirtualRoast(const VirtualProfile& profile, const BeanResponse& beans, const Steering& steer) {
    ThermalModel model(beans);
    RoastLog log;
    std::vector<VirtualStep> steps = profile.steps;
    steps.push_back(profile.cooling);
    double now = 0;
    double step_end = 0;
    for (std::size_t i = 0; i < steps.size(); ++i) {
        VirtualStep step = steps[i];
        const bool cooling = i + 1 == steps.size();
        if (cooling) log.marks.Put(RoastMark{MarkKind::Drop, now, static_cast<int32_t>(std::lround(model.temperature_f()))});
        step_end += step.tenths * kSecondsPerTenth;
        while (now + kReadingSeconds <= step_end + 1e-9) {
            model.Advance(kReadingSeconds, {true, cooling ? 0 : step.heat, step.fan});
            now += kReadingSeconds;
            RoastSample s;
            s.seconds = now;
            s.bean_f = static_cast<int32_t>(std::lround(model.temperature_f()));
            s.machine_state = kRun;
            s.run_phase = cooling ? kCool : kHeat;
            s.step = static_cast<int32_t>(i + 1);
            s.fan = step.fan;
            s.heat = step.heat;
            s.time_left_units = static_cast<int32_t>(std::ceil((step_end - now) / kSecondsPerTenth - 1e-9));
            log.samples.push_back(s);
            if (!steer) continue;
            if (const std::optional<FollowChoice> c = steer(s)) {
                step.fan = c->fan;
                step.heat = c->heat;
            }
        }
    }
    return log;
}
