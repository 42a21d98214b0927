#include "temperature_text.h"

namespace {
constexpr int32_t kSensorCodeMask = 0xFF00;
constexpr int32_t kBelowRange = 0xFF00;
constexpr int32_t kAboveRange = 0xFE00;
constexpr int32_t kHighestReading = 625;
}  // namespace

std::string TemperatureText(int32_t t, bool celsius) {
    if ((t & kSensorCodeMask) == kBelowRange) return "Lo";
    if ((t & kSensorCodeMask) == kAboveRange) return "Hi";
    if (t > kHighestReading) return "ERR";
    // C++ integer division truncates toward zero, as the display does.
    return std::to_string(celsius ? (t - 32) * 5 / 9 : t);
}
