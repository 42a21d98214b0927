#include "curve_scales.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "rate_of_rise.h"

namespace {

constexpr double kMinimumTimeSeconds = 600;
constexpr double kTimeRoomSeconds = 30;
constexpr double kTimeTicks[] = {60, 120, 300, 600, 900, 1800, 3600, 7200, 14400};

constexpr double kRateLowestF = -20;
constexpr double kRateHighestF = 150;
constexpr double kRateAtLeastF = 30;
constexpr double kRateRoomF = 2;
constexpr double kRateTicks[] = {1, 2, 5, 10, 20, 25, 50, 100, 200};

}  // namespace

std::string ClockText(double seconds) {
    // Rounded towards zero, so a time just before it reads "-00:00" no more
    // than one just after it reads "00:01".
    const long whole = static_cast<long>(std::fabs(seconds) < 1e9 ? std::trunc(seconds) : 0);
    const long size = whole < 0 ? -whole : whole;
    char text[24];
    std::snprintf(text, sizeof text, "%s%02ld:%02ld", whole < 0 ? "-" : "", size / 60, size % 60);
    return text;
}

TimeScale TimeScaleSpanning(double first_seconds, double last_seconds, int max_ticks) {
    const double first = std::min(0.0, first_seconds);
    const double needed = std::max(kMinimumTimeSeconds + first, last_seconds + kTimeRoomSeconds);
    TimeScale scale;
    for (double tick : kTimeTicks) {
        scale.tick_seconds = tick;
        scale.min_seconds = std::floor(first / tick) * tick;
        scale.max_seconds = std::ceil(needed / tick) * tick;
        if (scale.Span() / tick <= max_ticks) break;
    }
    return scale;
}

TimeScale TimeScaleFor(double last_seconds, int max_ticks) { return TimeScaleSpanning(0, last_seconds, max_ticks); }

int ValueScale::Intervals() const { return static_cast<int>(std::lround((high - low) / tick)); }

void ValueSpan::Add(const ValueSpan& other) {
    if (other.empty) return;
    Add(other.low);
    Add(other.high);
}

void ValueSpan::Add(double value) {
    low = empty ? value : std::min(low, value);
    high = empty ? value : std::max(high, value);
    empty = false;
}

ValueScale TemperatureScaleFor(const ValueSpan& seen, bool celsius, int max_intervals) {
    const double usual_tick = celsius ? 25 : 50;
    const double usual_high = usual_tick * 10;
    // At least two intervals, however short the plot.
    max_intervals = std::max(max_intervals, 2);
    ValueScale scale;
    for (scale.tick = usual_tick;; scale.tick *= 2) {
        scale.low = 0;
        scale.high = std::ceil(usual_high / scale.tick) * scale.tick;
        if (!seen.empty) {
            scale.low = std::min(scale.low, std::floor(seen.low / scale.tick) * scale.tick);
            scale.high = std::max(scale.high, std::ceil(seen.high / scale.tick) * scale.tick);
        }
        if (scale.Intervals() <= max_intervals) return scale;
    }
}

ValueScale RateScaleFor(const ValueSpan& seen, int intervals, bool celsius) {
    double low = 0;
    double high = DegreesInUnit(kRateAtLeastF, celsius);
    if (!seen.empty) {
        const double room = DegreesInUnit(kRateRoomF, celsius);
        low = std::min(low, std::max(seen.low - room, DegreesInUnit(kRateLowestF, celsius)));
        high = std::max(high, std::min(seen.high + room, DegreesInUnit(kRateHighestF, celsius)));
    }
    intervals = std::max(intervals, 1);
    ValueScale scale;
    for (double tick : kRateTicks) {
        scale.tick = tick;
        scale.low = std::floor(low / tick) * tick;
        scale.high = scale.low + intervals * tick;
        if (scale.high >= high) break;
    }
    return scale;
}
