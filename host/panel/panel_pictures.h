// Which picture each digit window and lamp of the panel shows: a plain
// function of the controller state, so it is tested without a screen.
#pragma once

#include "controller_state.h"

// The values the panel shows, taken from the state before an update
// commits an edit: tens and units of the time, fan and heat.
struct DisplayValues {
    int32_t tens = 0;
    int32_t units = 0;
    int32_t fan = 0;
    int32_t heat = 0;
};

struct PanelPictures {
    int fan = 0;    // control 1026
    int tens = 0;   // control 1027
    int units = 0;  // control 1028
    int heat_low = 0;
    int heat_mid = 0;
    int heat_high = 0;
    int link = 0;
};

DisplayValues ComputeDisplayValues(const ControllerState& state);

// Pictures for the values, with the state's edit countdown, edited field and
// blink phase as they stand after the update's countdown and blink toggle.
PanelPictures ChoosePictures(const ControllerState& state, const DisplayValues& values);
