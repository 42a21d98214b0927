#include "step_insertion.h"

#include "console.h"
#include "editor_sync.h"
#include "value_limits.h"

void StepInsertion::SplitRunningStep() {
    ControllerState& s = c_.state;
    c_.WriteStep(s.step_index, s.fan_level, s.Ran(), s.heat_level, StepCompleted);
    c_.working.InsertStep(static_cast<uint32_t>(s.step_index + 1), s.fan_level, s.roast_time, s.heat_level,
                          StepRunning);
    ++s.step_index;
    s.step_start = s.run_elapsed;
    // Tells the edit commit to re-read the list: the new step may now be the
    // last one and then runs as cooling.
    s.step_split = 1;
}

void StepInsertion::InsertBeforeCooling(int32_t n) {
    ControllerState& s = c_.state;
    s.step_index = n;
    if (n == 0) return;
    c_.WriteStep(n, KEEP_VALUE, KEEP_VALUE, KEEP_VALUE, CoolWaiting);
    sync_.ReportProgress();
    c_.working.InsertStep(static_cast<uint32_t>(n), kNewStepFan, kNewStepTime, kNewStepHeat, StepRunning);
    RunNewStep();
    sync_.ReportProgress();
}

bool StepInsertion::InsertAfterManualCool() {
    ControllerState& s = c_.state;
    CStep_Data& list = c_.working;
    if (list.Renumber() == 0) {
        c_.window.MessageBox("STEP data is empty!");
        return false;
    }
    const uint32_t current = static_cast<uint32_t>(s.step_index);
    c_.DeleteStepsAfter(s.step_index);
    list.InsertStep(current + 1, kNewStepFan, kNewStepTime, kNewStepHeat, StepWaiting);
    list.InsertStep(current + 2, s.fan_level, s.cool_time, 0, CoolWaiting);

    // A step closed before it ran a whole unit is kept with one unit.
    if (s.run_elapsed == s.step_start) ++s.run_elapsed;
    c_.WriteStep(s.step_index, KEEP_VALUE, s.Ran(), KEEP_VALUE, StepCompleted);
    ++s.step_index;
    c_.WriteStep(s.step_index, kNewStepFan, kNewStepTime, kNewStepHeat, StepRunning);
    RunNewStep();
    return true;
}

void StepInsertion::RunNewStep() {
    ControllerState& s = c_.state;
    s.fan_level = kNewStepFan;
    s.roast_time = kNewStepTime;
    s.heat_level = kNewStepHeat;
    s.run_phase = kHeat;
    s.step_start = s.run_elapsed;
    s.step_split = 0;
}

void StepInsertion::SelectFanOfNewStep() {
    ControllerState& s = c_.state;
    s.editor_refresh = true;
    s.edit_countdown = kEditCountdown;
    s.edit_field = kEditFan;
    c_.editor.Updata_ShowDlg(c_.working.head);
    s.editor_refresh = false;
}
