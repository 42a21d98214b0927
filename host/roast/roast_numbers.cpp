#include "roast_numbers.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

std::string OneDecimal(double value) {
    const long long tenths = std::llround(value * 10.0);
    const long long whole = std::llabs(tenths) / 10;
    const long long fraction = std::llabs(tenths) % 10;
    return (tenths < 0 ? "-" : "") + std::to_string(whole) + "." + std::to_string(fraction);
}

bool ParseWhole(const std::string& text, int32_t low, int32_t high, int32_t& out) {
    if (text.empty()) return false;
    const char* end = text.data() + text.size();
    int32_t value = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end || value < low || value > high) return false;
    out = value;
    return true;
}

bool ParseDecimal(const std::string& text, double low, double high, double& out) {
    if (text.empty()) return false;
    const char* end = text.data() + text.size();
    double value = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), end, value, std::chars_format::fixed);
    if (ec != std::errc() || ptr != end || !std::isfinite(value) || value < low || value > high) return false;
    out = value;
    return true;
}
