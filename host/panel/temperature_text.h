// The text of the temperature window: the bean temperature as the roaster
// reports it (degrees Fahrenheit), or its sensor states.
#pragma once

#include <cstdint>
#include <string>

// "Lo" and "Hi" for the sensor's below-range and above-range codes (second
// byte 0xFF and 0xFE), the value in the chosen unit up to 625 °F, "ERR"
// beyond. Celsius is (t - 32) * 5 / 9, truncated toward zero.
std::string TemperatureText(int32_t fahrenheit, bool celsius);
