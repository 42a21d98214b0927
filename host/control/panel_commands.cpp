#include "panel_commands.h"

#include "console.h"
#include "control_ids.h"
#include "editor_sync.h"
#include "modal_prompt.h"
#include "panel_refresh.h"
#include "value_limits.h"

namespace {

const char* const kConnectRoaster = "Please connect the Brazimo on the computer!";
constexpr int32_t kCoolTimeAfterCooling = 30;
// The cooling step of the roaster's manual setting.
constexpr int32_t kMachineCoolingFan = 5;
constexpr int32_t kMachineCoolingTime = 30;

bool InCooling(const ControllerState& s) {
    return s.machine_state == kRun && (s.run_phase == kCool || s.run_phase == kManualCool);
}

// Fan, time, heat, fan, ...; a value outside them starts at the fan.
uint8_t NextField(uint8_t field) {
    return field == kEditFan ? kEditTime : field == kEditTime ? kEditHeat : kEditFan;
}

// Heat, time, fan, heat, ...; a value outside them starts at the fan.
uint8_t PreviousField(uint8_t field) {
    switch (field) {
    case kEditHeat: return kEditTime;
    case kEditTime: return kEditFan;
    case kEditFan: return kEditHeat;
    default: return kEditFan;
    }
}

// While cooling only the fan and the cooling time can be edited.
uint8_t OtherCoolingField(uint8_t field) { return field == kEditFan ? kEditTime : kEditFan; }

int32_t MovedCoolTime(bool up, const ControllerState& s) {
    return up ? Raised(s.cool_time, kCoolStep, kMaxCoolTotal - s.cool_elapsed)
              : Lowered(s.cool_time, kCoolStep, kMinCoolTime);
}

void RestoreSavedValues(ControllerState& s) {
    s.roast_time = s.saved_time;
    s.heat_level = s.saved_heat;
    s.fan_level = s.saved_fan;
}

}  // namespace

void PanelCommands::CommitNow() {
    c_.state.edit_countdown = 1;
    panel_.UpdatePanel();
    c_.state.edit_countdown = 0;
}

void PanelCommands::OnPower() {
    ControllerState& s = c_.state;
    switch (s.machine_state) {
    case kRun:
        if (s.run_phase != kWaitStart && s.run_phase != kHeat && s.run_phase != kCool && s.run_phase != kManualCool) {
            s.edit_countdown = 0;
        } else if (s.EditInProgress()) {
            CommitNow();
        } else if (s.run_phase == kHeat) {
            // Pause into a manual cooling; the running values are kept for
            // the resume.
            s.saved_time = s.roast_time;
            s.saved_heat = s.heat_level;
            s.saved_fan = s.fan_level;
            s.cool_elapsed = 0;
            s.cool_time = kCoolTimeAfterCooling;
            s.run_phase = kManualCool;
            s.heat_level = 0;
            s.edit_countdown = 0;
        } else if (s.run_phase == kManualCool) {
            s.run_phase = kHeat;
            RestoreSavedValues(s);
            s.edit_countdown = 0;
        } else {
            s.edit_countdown = 0;
        }
        break;
    case kOff:
    case kReady:
        if (s.EditInProgress()) {
            s.step_index = 1;
            s.step_split = 0;
            CommitNow();
        } else if (s.run_phase == kPhaseNone) {
            // The click that ends a long-press stop only clears the mark.
            s.run_phase = kWaitStart;
        } else if (s.profile_name != kNoProfile) {
            s.edit_countdown = 0;
            if (!s.link_ok) {
                c_.window.MessageBox(kConnectRoaster);
            } else {
                StartRun();
                s.pending_command = kStartCommand;
            }
        }
        break;
    case kFinished:
        s.edit_countdown = 0;
        if (s.run_phase == kPhaseNone) {
            s.run_phase = kWaitStart;
        } else if (!s.link_ok) {
            c_.window.MessageBox(kConnectRoaster);
        } else {
            RestoreSavedValues(s);
            StartRun();
        }
        break;
    default:
        break;
    }
    s.held_button = kHeldNone;
}

void PanelCommands::StartRun() {
    ControllerState& s = c_.state;
    s.machine_state = kRun;
    s.tick_count = 0;
    sync_.SyncFromEditor();
    c_.LoadFirstStepValues();
    s.saved_fan = s.fan_level;
    s.saved_time = s.roast_time;
    s.saved_heat = s.heat_level;
    sync_.ResetStatuses();
    s.step_index = 1;
    c_.WriteStep(1, KEEP_VALUE, KEEP_VALUE, KEEP_VALUE, StepRunning);
    sync_.ReportProgress();
    s.run_elapsed = 0;
    s.step_start = 0;
    sync_.UnlockEditor();
    s.run_phase = s.delayed_start ? kWaitStart : kHeat;
    s.delay_seconds_left = -1;  // a new countdown
    c_.window.EnablePicker(false);
}

void PanelCommands::StopRun() {
    c_.window.EnablePicker(true);
    DisarmDelayedStart();
    c_.state.machine_state = kFinished;
    sync_.ResetStatuses();
    sync_.ReportProgress();
}

void PanelCommands::OnUpDown(bool up) {
    ControllerState& s = c_.state;
    if (!s.EditInProgress() && s.machine_state != kReady)
        ChangeLiveValue(up);
    else
        ChangeEditedValue(up);
    // The changed digits show at once instead of blinking off.
    s.blink_phase = 1;
    panel_.UpdatePanel();
    s.blink_phase = 1;
    s.held_button = kHeldNone;
}

void PanelCommands::ChangeLiveValue(bool up) {
    ControllerState& s = c_.state;
    if (s.machine_state != kRun) return;
    switch (s.run_phase) {
    case kWaitStart:
    case kHeat: {
        // The step's whole planned time (time run + time left) stays within 9.9 minutes.
        const int32_t ran = s.Ran();
        const int32_t time = Moved(up, s.roast_time, kClickStep, kMinStepTime, kMaxStepTime - ran);
        if (time == s.roast_time) return;
        s.roast_time = time;
        c_.WriteStep(s.step_index, KEEP_VALUE, s.roast_time + ran, KEEP_VALUE, KEEP_VALUE);
        sync_.ReportProgress();
        break;
    }
    case kCool:
        s.cool_time = MovedCoolTime(up, s);
        c_.WriteStep(s.step_index, KEEP_VALUE, s.cool_time + s.cool_elapsed, KEEP_VALUE, KEEP_VALUE);
        sync_.ReportProgress();
        break;
    case kManualCool:
        // The manual cooling has no step of its own until it ends.
        s.cool_time = MovedCoolTime(up, s);
        break;
    default:
        break;
    }
}

void PanelCommands::ChangeEditedValue(bool up) {
    ControllerState& s = c_.state;
    switch (s.edit_field) {
    case kEditFan:
        s.fan_level = Moved(up, s.fan_level, kClickStep, kMinFan, kMaxFan);
        break;
    case kEditTime:
        if (InCooling(s))
            s.cool_time = MovedCoolTime(up, s);
        else
            s.roast_time = Moved(up, s.roast_time, kClickStep, kMinStepTime, kMaxStepTime);
        break;
    case kEditHeat:
        // Cooling keeps the heat off, whatever is selected.
        if (!InCooling(s)) s.heat_level = Moved(up, s.heat_level, kClickStep, kMinHeat, kMaxHeat);
        break;
    default:
        break;
    }
    s.edit_countdown = kEditCountdown;
    if (s.machine_state == kReady) {
        c_.WriteStep(1, s.fan_level, s.roast_time, s.heat_level, StepWaiting);
        s.step_index = 1;
    }
}

void PanelCommands::SelectNextField() {
    ControllerState& s = c_.state;
    s.edit_field = s.EditInProgress() ? NextField(s.edit_field) : kEditFan;
    s.edit_countdown = kEditCountdown;
}

void PanelCommands::OnRight() {
    ControllerState& s = c_.state;
    switch (s.machine_state) {
    case kOff:
        if (s.profile_name == kNoProfile) return;
        if (s.IsReservedMachineOrUsb()) {
            s.edit_field = kEditNone;
            return;
        }
        s.edit_countdown = kEditCountdown;
        s.edit_field = kEditFan;
        s.machine_state = kReady;
        return;
    case kReady:
        if (!s.IsReservedMachineOrUsb()) SelectNextField();
        return;
    case kFinished:
        RestoreSavedValues(s);
        s.machine_state = kReady;
        if (s.IsReservedMachineOrUsb())
            s.edit_field = kEditNone;
        else
            SelectNextField();
        return;
    case kRun:
        break;
    default:
        return;
    }

    StepNode step{};
    const bool found = c_.ReadStep(s.step_index, step);
    if (s.run_phase == kHeat && !s.EditInProgress()) {
        if (found && step.status == CoolRunning) {
            s.edit_field = kEditFan;
            s.edit_countdown = kEditCountdown;
        } else if (step.time - s.roast_time < 1) {
            // The step has not run a whole unit: nothing to split off yet.
            s.step_split = 0;
            s.edit_field = kEditFan;
            s.edit_countdown = kEditCountdown;
        } else {
            OfferStepSplit();
        }
        return;
    }
    if ((found && step.status == CoolRunning && s.run_phase == kCool) || s.run_phase == kManualCool) {
        s.step_split = 0;
        s.edit_field = OtherCoolingField(s.edit_field);
    } else {
        s.edit_field = NextField(s.edit_field);
    }
    if (!s.EditInProgress()) s.edit_field = kEditFan;
    s.edit_countdown = kEditCountdown;
}

void PanelCommands::OfferStepSplit() {
    ControllerState& s = c_.state;
    if (c_.working.count >= kMaxProfileSteps) return;

    const int32_t asked_step = s.step_index;
    const int32_t asked_phase = s.run_phase;
    ModalPrompt prompt(c_);
    if (!prompt.Ask(InsertStepQuestion(static_cast<int32_t>(c_.working.count)))) return;
    // Ticks ran while the prompt was open: split only the step the question
    // was about, and only while it still runs.
    if (s.machine_state != kRun || s.run_phase != asked_phase || s.step_index != asked_step) return;

    const int32_t n = static_cast<int32_t>(c_.working.count);
    if (s.step_index < n)
        insertion_.SplitRunningStep();
    else
        insertion_.InsertBeforeCooling(n);
    insertion_.SelectFanOfNewStep();
}

void PanelCommands::OnLeft() {
    ControllerState& s = c_.state;
    const bool profile_file = s.profile_name != kNoProfile && !s.IsReservedMachineOrUsb();
    switch (s.machine_state) {
    case kOff:
        if (s.profile_name == kNoProfile) return;
        s.machine_state = kReady;
        s.edit_field = profile_file ? kEditFan : kEditNone;
        return;
    case kReady:
        if (profile_file) s.edit_field = PreviousField(s.edit_field);
        return;
    case kRun:
        if (!s.EditInProgress()) return;
        s.edit_countdown = kEditCountdown;
        s.edit_field = PreviousField(s.edit_field);
        return;
    case kFinished:
        RestoreSavedValues(s);
        s.machine_state = kReady;
        s.edit_field = s.IsReservedMachineOrUsb() ? kEditNone : PreviousField(s.edit_field);
        return;
    default:
        return;
    }
}

void PanelCommands::OnMode() {
    ControllerState& s = c_.state;
    if (s.machine_state != kOff && s.machine_state != kReady && s.machine_state != kFinished) return;
    c_.window.EnablePicker(true);

    if (s.profile_name != kMachineSetting) {
        // To the roaster's manual setting; the profile is parked meanwhile.
        s.previous_profile = s.profile_name;
        s.profile_name = kMachineSetting;
        c_.ShowProfileName();
        s.machine_state = kReady;
        s.run_phase = kWaitStart;
        s.edit_field = kEditNone;
        panel_.UpdatePanel();
        DisarmDelayedStart();

        c_.parked.CopyFrom(c_.working.head);
        c_.editor.CloseDlg();
        c_.working.Clear();
        s.fan_level = s.manual_fan;
        s.roast_time = s.manual_time;
        s.heat_level = s.manual_heat;
        c_.working.InsertStep(1, s.fan_level, s.roast_time, s.heat_level, StepWaiting);
        c_.working.InsertStep(2, kMachineCoolingFan, kMachineCoolingTime, 0, CoolWaiting);
    } else if (s.previous_profile != kNoProfile) {
        // Back to the profile MODEE switched away from.
        s.profile_name = s.previous_profile;
        s.machine_state = kReady;
        s.run_phase = kWaitStart;
        s.edit_field = kEditNone;
        c_.ShowProfileName();
        c_.working.CopyFrom(c_.parked.head);
        c_.LoadFirstStepValues();
    }
    panel_.UpdatePanel();
    sync_.FullEditorRefresh();
}

void PanelCommands::OnButton1() {
    c_.state.show_celsius = c_.state.show_celsius == 0 ? 1 : 0;
    c_.window.InvalidateTemperature();
}

void PanelCommands::OnClockIcon() {
    ControllerState& s = c_.state;
    if (s.delayed_start) return;
    if (s.machine_state != kOff && s.machine_state != kReady && s.machine_state != kFinished) return;
    s.delayed_start = true;
    // The picker offers a start 11 minutes from now.
    ClockTime start = c_.window.LocalTime();
    start.minute += 11;
    if (start.minute > 59) {
        start.minute -= 60;
        if (++start.hour > 23) start.hour = 0;
    }
    c_.window.SetPickerTime(start);
    c_.window.ShowClockIcon(false);
    c_.window.ShowPicker(true);
}

void PanelCommands::DisarmDelayedStart() { c_.DisarmDelayedStart(); }
