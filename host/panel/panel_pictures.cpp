#include "panel_pictures.h"

#include "picture_ids.h"

namespace {
constexpr int32_t kLowBars = 15;  // a value that shows the low bar
constexpr int32_t kLetterCValue = 11;

bool Blanked(const ControllerState& s, uint8_t field) {
    return (s.machine_state == kReady || s.machine_state == kRun) && s.edit_countdown != 0 && s.edit_field == field &&
           s.blink_phase != 0;
}

int TensPicture(const ControllerState& s, int32_t t) {
    const bool pointOff = s.machine_state == kRun && s.run_phase != kWaitStart && s.blink_phase != 0;
    if (t >= 0 && t <= 9) return pointOff ? pic::Digit(t) : pic::DigitWithPoint(t);
    if (t == 10) return pointOff ? pic::kLetterC : pic::kLetterCPoint;
    if (t == 11) return pointOff ? pic::kLetterCPoint : pic::kLetterC;
    return pic::kLowBarPoint;
}
}  // namespace

DisplayValues ComputeDisplayValues(const ControllerState& s) {
    DisplayValues v;
    if (s.machine_state == kRun && (s.run_phase == kCool || s.run_phase == kManualCool)) {
        v.tens = kLetterCValue;
        v.units = s.cool_time <= 0 ? 0 : (s.cool_time + 9) / 10;
        v.fan = s.fan_level;
        v.heat = s.heat_level;
    } else if (s.machine_state == kOff || s.machine_state == kFinished) {
        v.tens = v.units = v.fan = kLowBars;
        v.heat = 0;
    } else if (s.roast_time == 0) {
        v.tens = v.units = kLowBars;
        v.fan = s.fan_level;
        v.heat = s.heat_level;
    } else {
        v.tens = s.roast_time / 10;
        v.units = s.roast_time % 10;
        v.fan = s.fan_level;
        v.heat = s.heat_level;
    }
    return v;
}

PanelPictures ChoosePictures(const ControllerState& s, const DisplayValues& v) {
    PanelPictures p;
    const bool timeBlank = Blanked(s, kEditTime);
    p.tens = timeBlank ? pic::kBlank : TensPicture(s, v.tens);
    p.units = timeBlank ? pic::kBlank : (v.units >= 0 && v.units <= 9 ? pic::Digit(v.units) : pic::kLowBar);
    p.fan = Blanked(s, kEditFan) ? pic::kBlank : (v.fan >= 1 && v.fan <= 9 ? pic::Digit(v.fan) : pic::kLowBar);

    const int32_t heat = Blanked(s, kEditHeat) ? 0 : v.heat;
    p.heat_low = heat == 1 ? pic::kLampOrange : pic::kLampOff;
    p.heat_mid = heat == 2 ? pic::kLampOrange : pic::kLampOff;
    p.heat_high = heat == 3 ? pic::kLampOrange : pic::kLampOff;
    p.link = s.link_ok ? pic::kLampGreen : pic::kLampOff;
    return p;
}
