// Numbers in the roast files: written the same in every locale (a point
// before the one decimal) and read back strictly, the whole text or nothing.
#pragma once

#include <cstdint>
#include <string>

// "0.4": one decimal, rounded half away from zero.
std::string OneDecimal(double value);

// `text` as a whole number within [low, high].
bool ParseWhole(const std::string& text, int32_t low, int32_t high, int32_t& out);
// `text` as a finite decimal ("12", "-0.5"; no exponent) within [low, high].
bool ParseDecimal(const std::string& text, double low, double high, double& out);
