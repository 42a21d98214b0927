// What the hold-capable panel buttons (UP, DOWN, POWER, RIGHT) do while
// they are held down, driven by the 300 ms hold timer: UP and DOWN repeat,
// a long POWER press stops a run (or switches Ready off), and a long RIGHT
// press while cooling adds a further roast step after asking.
//
// The first hold action comes at the third tick after the press (900 ms),
// then one per tick; a release before that gives none. The click that
// follows the release still runs its own command.
#pragma once

#include "step_insertion.h"

struct Console;
class EditorSync;
class PanelCommands;
class PanelRefresh;
class RoasterLink;

class ButtonHold {
public:
    ButtonHold(Console& console, EditorSync& sync, PanelRefresh& panel, RoasterLink& link, PanelCommands& commands)
        : c_(console), sync_(sync), panel_(panel), link_(link), commands_(commands), insertion_(console, sync) {}

    void OnButtonPress(int control_id);
    void OnButtonRelease();
    // Timer 3.
    void HoldTick();

private:
    void RepeatUpDown(bool up);
    void LongPowerStop();
    // The hold actions below return false when they leave the panel as it is.
    bool LongRightInsert();
    bool InsertBeforeCooling();
    bool InsertAfterManualCool();

    Console& c_;
    EditorSync& sync_;
    PanelRefresh& panel_;
    RoasterLink& link_;
    PanelCommands& commands_;
    StepInsertion insertion_;
};
