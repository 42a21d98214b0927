#include "running_step_values.h"

#include "console.h"
#include "editor_sync.h"
#include "value_limits.h"

bool RunningStepValues::Set(int32_t fan, int32_t heat) {
    ControllerState& s = c_.state;
    if (s.machine_state != kRun || s.run_phase != kHeat) return false;
    // An edit of the user's would be committed over these values, or these
    // over it: the user's own wins.
    if (s.EditInProgress() || s.prompt_open) return false;
    if (fan < kMinFan || fan > kMaxFan || heat < kMinHeat || heat > kMaxHeat) return false;
    // As a commit: what the editor holds first (every control tick takes
    // it too), then the values, then the editor told how far the step has
    // run.
    sync_.SyncFromEditor();
    StepNode step{};
    const bool roasting = c_.ReadStep(s.step_index, step) && !IsCoolingStatus(step.status);
    if (roasting) {
        s.fan_level = fan;
        s.heat_level = heat;
        c_.WriteStep(s.step_index, fan, KEEP_VALUE, heat, KEEP_VALUE);
        sync_.ReportProgress();
    }
    sync_.UnlockEditor();
    return roasting;
}
