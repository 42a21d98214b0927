// The click commands of the front panel: POWER starts a run, pauses it into
// a manual cooling and resumes it; MODEE switches between the roaster's
// manual setting and the last profile; RIGHT and LEFT choose the value to
// edit (RIGHT on a running step offers to split it); UP and DOWN change the
// chosen value, or the live time while a run goes on. Also the clock icon
// that arms a delayed start and the temperature window's unit toggle.
//
// Commands test the machine state themselves; no panel button is ever
// disabled.
#pragma once

#include "step_insertion.h"

struct Console;
class EditorSync;
class PanelRefresh;

class PanelCommands {
public:
    PanelCommands(Console& console, EditorSync& sync, PanelRefresh& panel)
        : c_(console), sync_(sync), panel_(panel), insertion_(console, sync) {}

    void OnPower();
    void OnMode();
    void OnUp() { OnUpDown(true); }
    void OnDown() { OnUpDown(false); }
    void OnRight();
    // Reached from the keyboard only (left arrow).
    void OnLeft();
    // The temperature window: switches between Fahrenheit and Celsius.
    void OnButton1();
    void OnClockIcon();
    void DisarmDelayedStart();
    // The picker's time is read by every control tick; nothing to do here.
    void OnClockChanged() {}

    // Commits an edit in progress at once (the panel update commits).
    void CommitNow();
    // Ends a run in Finished at once, without waiting for the cooling:
    // callers set the values the panel shows first.
    void StopRun();

private:
    void StartRun();
    void OnUpDown(bool up);
    // UP or DOWN with no edit in progress, outside Ready.
    void ChangeLiveValue(bool up);
    // UP or DOWN on the value selected for editing.
    void ChangeEditedValue(bool up);
    void OfferStepSplit();
    // The next value to edit (fan, time, heat, fan, ...), or the fan when no
    // edit was in progress; the edit starts over.
    void SelectNextField();

    Console& c_;
    EditorSync& sync_;
    PanelRefresh& panel_;
    StepInsertion insertion_;
};
