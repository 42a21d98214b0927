// The changes to the working list when the panel adds a step during a run:
// splitting the running roast step (RIGHT), a further roast step before the
// cooling (long RIGHT in Cool) and a further roast step after a manual
// cooling (long RIGHT in ManualCool). Callers have asked and re-checked the
// state; these only change the list and the live values.
#pragma once

#include <cstdint>

struct Console;
class EditorSync;

class StepInsertion {
public:
    StepInsertion(Console& console, EditorSync& sync) : c_(console), sync_(sync) {}

    // The running step closes with the time it ran; a new step with the same
    // fan and heat and the time that was left runs from now on.
    void SplitRunningStep();
    // `n` is the list's step count and step n the cooling step: the cooling
    // waits again and a new roast step (fan 5, 5.9 minutes, high heat) runs
    // before it. With n 0 only step_index changes.
    void InsertBeforeCooling(int32_t n);
    // The roast step a manual cooling interrupted closes with the time it
    // ran; the planned later steps give way to a new roast step, which runs
    // now, and a cooling step with the cooling time that was left. Shows
    // "STEP data is empty!" and returns false when the list is empty.
    bool InsertAfterManualCool();
    // The new step's fan is selected for editing and the editor shows the
    // whole list.
    void SelectFanOfNewStep();

private:
    // The live values become the new step's and it runs in Heat.
    void RunNewStep();

    Console& c_;
    EditorSync& sync_;
};
