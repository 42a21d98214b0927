// The control tick of timer 1: the link part, the run cycle that runs a
// roast profile in units of a tenth of a minute, the delayed-start
// countdown and the panel update.
#pragma once

#include <string>

#include "window_services.h"

struct Console;
class EditorSync;
class PanelRefresh;
class RoasterLink;

// The countdown text for `secs` seconds left, before its dots.
std::string CountdownText(int secs);
// Seconds from `now` to the next occurrence of `start` (0 when equal).
int SecondsUntil(const ClockTime& now, const ClockTime& start);

class ControlCycle {
public:
    ControlCycle(Console& console, EditorSync& sync, RoasterLink& link, PanelRefresh& panel)
        : c_(console), sync_(sync), link_(link), panel_(panel) {}

    void ControlTick();

private:
    // Returns false when the tick must end at once.
    bool RunCycle();
    void EndOfStep();
    void EndProfileRun();
    // Returns false when the working list was empty.
    bool EndManualCoolRun();
    void DelayedStartCountdown();

    Console& c_;
    EditorSync& sync_;
    RoasterLink& link_;
    PanelRefresh& panel_;
};
