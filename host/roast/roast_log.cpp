#include "roast_log.h"

#include <algorithm>

#include "controller_state.h"

std::string RoastLog::Get(const std::string& key) const {
    for (const RoastHeaderLine& line : header)
        if (line.key == key) return line.value;
    return {};
}

bool RoastLog::Has(const std::string& key) const {
    return std::any_of(header.begin(), header.end(), [&](const RoastHeaderLine& l) { return l.key == key; });
}

void RoastLog::Set(const std::string& key, const std::string& value) {
    for (RoastHeaderLine& line : header) {
        if (line.key == key) {
            line.value = value;
            return;
        }
    }
    header.push_back({key, value});
}

void RoastLog::Remove(const std::string& key) {
    header.erase(std::remove_if(header.begin(), header.end(), [&](const RoastHeaderLine& l) { return l.key == key; }),
                 header.end());
}

bool IsCoolingPhase(int32_t run_phase) { return run_phase == kCool || run_phase == kManualCool; }

std::optional<double> BeanAt(const RoastLog& log, double seconds) {
    return BeanAt(log.samples, seconds, log.gap_seconds);
}

std::optional<double> BeanAt(const std::vector<RoastSample>& v, double seconds, double gap_seconds) {
    const auto after = std::lower_bound(v.begin(), v.end(), seconds,
                                        [](const RoastSample& s, double t) { return s.seconds < t; });
    if (after == v.end()) return std::nullopt;
    if (after->seconds == seconds) return after->bean_f ? std::optional<double>(*after->bean_f) : std::nullopt;
    if (after == v.begin()) return std::nullopt;
    const RoastSample& before = *(after - 1);
    if (!before.bean_f || !after->bean_f || IsGap(before, *after, gap_seconds)) return std::nullopt;
    const double share = (seconds - before.seconds) / (after->seconds - before.seconds);
    return *before.bean_f + share * (*after->bean_f - *before.bean_f);
}

double GapSecondsFor(const std::vector<RoastSample>& samples) {
    if (samples.size() < 3) return kRoastGapSeconds;
    std::vector<double> spacing;
    spacing.reserve(samples.size() - 1);
    for (std::size_t i = 1; i < samples.size(); ++i) spacing.push_back(samples[i].seconds - samples[i - 1].seconds);
    const auto middle = spacing.begin() + static_cast<std::ptrdiff_t>(spacing.size() / 2);
    std::nth_element(spacing.begin(), middle, spacing.end());
    return std::max(kRoastGapSeconds, 2.5 * *middle);
}
