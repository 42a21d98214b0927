// What each control of the panel is called and what it does, in one table:
// the window gives every skin button, the temperature window, the clock
// icon, the name box and the clock picker its tooltip (what a click does,
// and what a hold does where it does something) and its accessible name,
// so a new user and a screen reader can tell the controls apart.
#pragma once

#include <array>

struct ControlHelp {
    int control;       // a ctl:: identifier
    const char* name;  // the accessible name, after the panel's label
    const char* help;  // the tooltip and accessible description (UTF-8)
};

extern const std::array<ControlHelp, 16> kControlHelp;
