#include "control_help.h"

#include "control_ids.h"

const std::array<ControlHelp, 16> kControlHelp = {{
    {ctl::kPower, "Power",
     "Click: start the profile (a profile must be loaded and the USB link lamp green);\n"
     "during a roast, switch to cooling; again, back to roasting.\n"
     "Hold about 1 s: stop the roast (in Ready: switch off)."},
    {ctl::kRight, "Right",
     "Click: select the value to change: fan, time, heat (its digits blink);\n"
     "during a roast, offer to split the running step.\n"
     "Hold about 1 s during cooling: add a roast step and heat again."},
    {ctl::kUp, "Up",
     "Click: raise the selected value, or during a roast the time left\n"
     "(while cooling in steps of 1.0 minute).\n"
     "Hold: repeat."},
    {ctl::kDown, "Down",
     "Click: lower the selected value, or during a roast the time left\n"
     "(while cooling in steps of 1.0 minute).\n"
     "Hold: repeat."},
    {ctl::kMode, "Mode", "Click: switch to the roaster's own manual setting and back."},
    {ctl::kClockIcon, "Delayed start",
     "Click: arm a delayed start: set the clock that appears (11 minutes ahead),\n"
     "then press POWER; the profile box counts down to it."},
    {ctl::kClockPicker, "Delayed start time", "The time the roast starts at; POWER confirms it."},
    {ctl::kTemperature, "Bean temperature", "Click: switch between \u00b0F and \u00b0C."},
    {ctl::kNameBox, "Profile", "The profile loaded now, or the countdown to a delayed start."},
    {ctl::kCreate, "File create", "Click: make a new profile file with the default profile."},
    {ctl::kSelect, "File select", "Click: open a profile file (.coff)."},
    {ctl::kEdit, "Edit",
     "Click: turn the profile into an unsaved copy (\"New Setting\")\n"
     "and start editing its first step."},
    {ctl::kDelet, "Delete", "Click: delete the profile's file."},
    {ctl::kSave, "Save",
     "Click: save the profile to its file (or to a file you choose,\n"
     "for a profile that has none)."},
    {ctl::kCancel, "Cancel",
     "Click: end the program. While a roast runs with the roaster connected,\n"
     "stop the roast first (hold POWER)."},
    {ctl::kProgram, "Program", "Click: open the step editor on the profile."},
}};
