#include "follow_target.h"

#include <algorithm>

#include "controller_state.h"

FollowTarget::FollowTarget(const RoastLog& background) {
    // The heating: from the first heating sample until the first that is
    // no longer heating (the run's cooling, or its end), when it ended.
    std::optional<double> heating_end;
    log_.gap_seconds = background.gap_seconds;
    for (const RoastSample& s : background.samples) {
        if (s.machine_state == kRun && s.run_phase == kHeat) {
            log_.samples.push_back(s);
        } else if (!log_.samples.empty()) {
            heating_end = s.seconds;
            break;
        }
    }
    if (!heating_end && !log_.samples.empty()) heating_end = log_.samples.back().seconds;
    end_seconds_ = heating_end.value_or(0.0);
    // The drop is marked as the cooling begins, by the clock of the moment,
    // so it may fall a little after the sample that shows the cooling.
    const std::optional<RoastMark> drop = background.marks.Find(MarkKind::Drop);
    if (drop && drop->seconds <= end_seconds_ + log_.gap_seconds) {
        end_seconds_ = std::min(end_seconds_, drop->seconds);
        ends_at_drop_ = true;
    }
    while (!log_.samples.empty() && log_.samples.back().seconds > end_seconds_) log_.samples.pop_back();
}

std::optional<double> FollowTarget::BeanAt(double seconds) const {
    if (seconds > end_seconds_) return std::nullopt;
    return ::BeanAt(log_, seconds);
}

std::optional<int32_t> FollowTarget::FanAt(double seconds) const {
    const std::vector<RoastSample>& v = log_.samples;
    const auto after = std::upper_bound(v.begin(), v.end(), seconds,
                                        [](double t, const RoastSample& s) { return t < s.seconds; });
    const RoastSample* at = after == v.begin() ? (v.empty() ? nullptr : &v.front()) : &*(after - 1);
    if (!at || at->fan == kLevelUnknown) return std::nullopt;
    return at->fan;
}
