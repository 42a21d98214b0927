#include "panel_layout.h"

#include "control_ids.h"

float DisplayScale(float vertical_dpi) { return 1.0f + (vertical_dpi - 96.0f) * 1.041666f / 100.0f; }

int NameFontTenths(float display_scale) {
    if (!(display_scale > 0.0f)) return layout::kNameFontTenths;
    return static_cast<int>(static_cast<float>(layout::kNameFontTenths) / display_scale);
}

const std::array<Placement, 23> kPlacementTable = {{
    {ctl::kNameBox, 294, 648, 327, 39},
    {ctl::kCreate, 117, 12, 0, 0},
    {ctl::kSelect, 334, 12, 0, 0},
    {ctl::kEdit, 536, 12, 0, 0},
    {ctl::kDelet, 660, 12, 0, 0},
    {ctl::kRight, 158, 376, 0, 0},
    {ctl::kUp, 310, 453, 0, 0},
    {ctl::kDown, 513, 450, 0, 0},
    {ctl::kMode, 665, 369, 0, 0},
    {ctl::kPower, 758, 222, 0, 0},
    {ctl::kSave, 782, 586, 0, 0},
    {ctl::kCancel, 782, 632, 0, 0},
    {ctl::kFanDigit, 67, 205, 0, 0},
    {ctl::kTensDigit, 373, 242, 0, 0},
    {ctl::kUnitsDigit, 459, 242, 0, 0},
    {ctl::kClockPicker, 378, 126, 165, 42},
    {ctl::kClockIcon, 375, 124, 0, 0},
    {ctl::kTemperature, 359, 58, 0, 0},
    {ctl::kHeatLow, 621, 264, 0, 0},
    {ctl::kHeatMid, 660, 264, 0, 0},
    {ctl::kHeatHigh, 698, 264, 0, 0},
    {ctl::kLinkLamp, 698, 312, 0, 0},
    {ctl::kProgram, 47, 609, 0, 0},
}};
