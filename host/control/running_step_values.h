// Gives the running step of a run's heating another fan and heat, as the
// panel's edit commit does: the controller values the status frames carry,
// the working list's running step (so the steps as run end with the last
// values given) and the step editor's progress. The time of the step is
// never touched, nor anything outside the heating.
#pragma once

#include <cstdint>

struct Console;
class EditorSync;

class RunningStepValues {
public:
    RunningStepValues(Console& console, EditorSync& sync) : c_(console), sync_(sync) {}

    // Sets fan 1..9 and heat 1..3 of the running step. Refused (false, and
    // nothing changed) outside a run's heating (a delayed start's countdown,
    // the cooling and the manual cooling included), while the user's own
    // edit or a question is open, on a cooling step, and for values out of
    // range.
    bool Set(int32_t fan, int32_t heat);

private:
    Console& c_;
    EditorSync& sync_;
};
