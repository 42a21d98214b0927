#include "button_hold.h"

#include <algorithm>

#include "console.h"
#include "control_ids.h"
#include "editor_sync.h"
#include "modal_prompt.h"
#include "panel_commands.h"
#include "panel_refresh.h"
#include "roaster_link.h"
#include "value_limits.h"

namespace {
// Timer-3 ticks from the press to the first hold action.
constexpr int32_t kTicksBeforeHold = 3;
constexpr int32_t kCoolTimeAfterCooling = 30;
}  // namespace

void ButtonHold::OnButtonPress(int control_id) {
    ControllerState& s = c_.state;
    s.button_down = 1;
    switch (control_id) {
    case ctl::kUp: s.held_button = kHeldUp; break;
    case ctl::kDown: s.held_button = kHeldDown; break;
    case ctl::kPower: s.held_button = kHeldPower; break;
    case ctl::kRight: s.held_button = kHeldRight; break;
    default: break;
    }
    s.hold_ticks = 0;
    // The hold timer counts from the press, so the first hold action comes
    // 900 ms after it, wherever in the timer's period the press fell.
    c_.window.SetTimer(kHoldTimer, kHoldPeriodMs);
}

void ButtonHold::OnButtonRelease() {
    c_.state.button_down = 0;
    c_.state.hold_ticks = 0;
}

void ButtonHold::HoldTick() {
    ControllerState& s = c_.state;
    if (s.button_down != 1) return;
    if (++s.hold_ticks < kTicksBeforeHold) return;

    bool update_panel = true;
    switch (s.held_button) {
    case kHeldUp: RepeatUpDown(true); break;
    case kHeldDown: RepeatUpDown(false); break;
    case kHeldPower: LongPowerStop(); break;
    case kHeldRight: update_panel = LongRightInsert(); break;
    default: s.held_button = kHeldNone; break;
    }
    if (!update_panel) return;
    s.blink_phase = 1;
    panel_.UpdatePanel();
    s.blink_phase = 1;
}

void ButtonHold::RepeatUpDown(bool up) {
    ControllerState& s = c_.state;
    if (s.machine_state != kReady && s.machine_state != kRun) {
        s.held_button = kHeldNone;
        return;
    }
    if (s.machine_state == kRun && s.run_phase == kHeat && !s.EditInProgress()) {
        // The live time of the running step, within 9.9 minutes in all.
        const int32_t ran = s.Ran();
        s.roast_time = Moved(up, s.roast_time, kHoldTimeStep, kMinStepTime, kMaxStepTime - ran);
        c_.WriteStep(s.step_index, KEEP_VALUE, s.roast_time + ran, KEEP_VALUE, KEEP_VALUE);
        sync_.ReportProgress();
    } else {
        // The selected value, whether or not an edit is in progress; heat
        // and the cooling time do not repeat.
        const bool roast_time_editable =
            s.machine_state == kReady || s.run_phase == kWaitStart || s.run_phase == kHeat;
        if (s.edit_field == kEditFan)
            s.fan_level = Moved(up, s.fan_level, kClickStep, kMinFan, kMaxFan);
        else if (s.edit_field == kEditTime && roast_time_editable)
            s.roast_time = Moved(up, s.roast_time, kHoldTimeStep, kMinStepTime, kMaxStepTime);
        // Ready shows step 1: keep it in step with the panel even when the
        // button is released outside and no click follows.
        // (An empty list has no step 1 to keep; the click reports that once.)
        if (s.machine_state == kReady && c_.working.count > 0)
            c_.WriteStep(1, s.fan_level, s.roast_time, s.heat_level, StepWaiting);
    }
    link_.SendKeyRepeatFrame();
}

void ButtonHold::LongPowerStop() {
    ControllerState& s = c_.state;
    if (s.machine_state == kRun) {
        if (s.run_phase == kCool) {
            // The cooling that ran so far is recorded and sent to the roaster.
            s.cool_elapsed = std::max(s.cool_elapsed, 1);
            c_.WriteStep(s.step_index, s.fan_level, s.cool_elapsed, 0, StepEnd);
            sync_.ReportProgress();
            s.cool_time = kCoolTimeAfterCooling;
            link_.StartDownload(false);
        }
        c_.LoadFirstStepValues();
        // Swallows the POWER click that follows the release.
        s.run_phase = kPhaseNone;
        commands_.StopRun();
    } else if (s.machine_state == kReady) {
        s.machine_state = kOff;
        s.run_phase = kPhaseNone;
        c_.window.EnablePicker(true);
    }
}

bool ButtonHold::LongRightInsert() {
    ControllerState& s = c_.state;
    // Acts once per press, however long it is held.
    s.button_down = 0;
    s.held_button = kHeldNone;
    if (s.machine_state != kRun) return true;
    if (s.run_phase == kCool) return InsertBeforeCooling();
    if (s.run_phase == kManualCool) return InsertAfterManualCool();
    return true;
}

bool ButtonHold::InsertBeforeCooling() {
    ControllerState& s = c_.state;
    StepNode step{};
    if (!c_.ReadStep(s.step_index, step) || step.status != CoolRunning) return true;
    if (c_.working.count >= kMaxProfileSteps) return false;

    ModalPrompt prompt(c_);
    if (prompt.Ask(InsertStepQuestion(static_cast<int32_t>(c_.working.count))) && s.machine_state == kRun &&
        s.run_phase == kCool) {
        insertion_.InsertBeforeCooling(static_cast<int32_t>(c_.working.count));
        insertion_.SelectFanOfNewStep();
    }
    return true;
}

bool ButtonHold::InsertAfterManualCool() {
    ControllerState& s = c_.state;
    // The list ends with the steps run so far, the new step and a cooling
    // step; a profile holds no more than 21 steps.
    if (s.step_index + 2 > static_cast<int32_t>(kMaxProfileSteps)) return false;

    ModalPrompt prompt(c_);
    if (!prompt.Ask("Are you sure insert a new STEP ? ")) return false;
    if (s.machine_state != kRun || s.run_phase != kManualCool) return false;
    if (!insertion_.InsertAfterManualCool()) return false;
    insertion_.SelectFanOfNewStep();
    return true;
}
