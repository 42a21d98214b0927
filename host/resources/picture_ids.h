// Picture identifiers of the front panel's skin.
#pragma once

namespace pic {
constexpr int kSkin = 218;             // 916 x 722 front panel
constexpr int Digit(int d) { return 136 + 2 * d; }           // 86 x 169, d = 0..9
constexpr int DigitWithPoint(int d) { return 137 + 2 * d; }  // 86 x 169
constexpr int kLowBar = 210;
constexpr int kLowBarPoint = 211;
constexpr int kLetterCPoint = 212;
constexpr int kLetterC = 213;
constexpr int kBlank = 1024;
constexpr int kLampGreen = 164;   // 25 x 25
constexpr int kLampOrange = 168;  // 25 x 26
constexpr int kLampOff = 185;     // 25 x 24
constexpr int kTemperatureCelsius = 173;     // 200 x 57
constexpr int kTemperatureFahrenheit = 174;  // 200 x 57
constexpr int kSelectPlate = 209;            // 170 x 49, the clock icon
}  // namespace pic
