#include "panel_display.h"

#include "console.h"
#include "control_ids.h"
#include "editor_sync.h"
#include "panel_pictures.h"

namespace {
constexpr int32_t kMaxStepTime = 99;
constexpr int32_t kMaxCoolTotal = 90;
}  // namespace

void PanelDisplay::UpdatePanel() {
    ControllerState& s = c_.state;
    const DisplayValues values = ComputeDisplayValues(s);

    if (s.edit_countdown > 0) {
        --s.edit_countdown;
        if (s.edit_countdown == 0) CommitEdit();
    } else {
        s.edit_countdown = 0;
    }

    s.blink_phase = s.blink_phase == 0 ? 1 : 0;

    const PanelPictures p = ChoosePictures(s, values);
    WindowServices& w = c_.window;
    w.SetPictureImage(ctl::kTensDigit, p.tens);
    w.SetPictureImage(ctl::kUnitsDigit, p.units);
    w.SetPictureImage(ctl::kFanDigit, p.fan);
    w.SetPictureImage(ctl::kHeatLow, p.heat_low);
    w.SetPictureImage(ctl::kHeatMid, p.heat_mid);
    w.SetPictureImage(ctl::kHeatHigh, p.heat_high);
    w.SetPictureImage(ctl::kLinkLamp, p.link);

    if (s.temperature != s.shown_temperature) {
        s.shown_temperature = s.temperature;
        w.InvalidateTemperature();
    }
}

void PanelDisplay::CommitEdit() {
    ControllerState& s = c_.state;
    sync_.SyncFromEditor();
    if (s.machine_state == kReady) {
        if (s.roast_time <= 0) s.roast_time = 1;
        c_.WriteStep(1, s.fan_level, s.roast_time, s.heat_level, StepWaiting);
        sync_.ReportProgress();
    } else if (s.machine_state == kRun && s.step_split == 1) {
        const int32_t n = static_cast<int32_t>(c_.working.Renumber());
        if (s.step_index > n - 1) {
            // The split step was the last one: its remainder becomes cooling.
            StepNode step{};
            s.run_phase = kCool;
            if (c_.ReadStep(s.step_index, step)) {
                s.fan_level = step.fan;
                s.cool_time = step.time;
            }
            s.heat_level = 0;
            c_.WriteStep(s.step_index, KEEP_VALUE, KEEP_VALUE, KEEP_VALUE, CoolRunning);
            sync_.ReportProgress();
            s.cool_elapsed = 0;
        } else {
            CommitRoastStep();
        }
    } else if (s.machine_state == kRun) {
        StepNode step{};
        const bool found = c_.ReadStep(s.step_index, step);
        if (found && step.status == CoolRunning && s.run_phase == kCool) {
            // An edited cooling ends by 9.0 minutes at the latest. A cooling
            // planned longer by its profile that has already passed that mark
            // keeps its time: the cap would end it at once.
            const int32_t cap = kMaxCoolTotal - s.cool_elapsed;
            if (s.cool_time + s.cool_elapsed >= kMaxCoolTotal && cap >= 1) s.cool_time = cap;
            c_.WriteStep(s.step_index, s.fan_level, s.cool_time + s.cool_elapsed, s.heat_level, CoolRunning);
            sync_.ReportProgress();
        } else if (s.run_phase == kHeat) {
            CommitRoastStep();
        } else {
            sync_.ReportProgress();
        }
    }
    sync_.UnlockEditor();
}

void PanelDisplay::CommitRoastStep() {
    ControllerState& s = c_.state;
    if (s.roast_time <= 0) s.roast_time = 1;
    const int32_t ran = s.Ran();
    if (s.roast_time + ran >= kMaxStepTime) s.roast_time = kMaxStepTime - ran;
    c_.WriteStep(s.step_index, s.fan_level, s.roast_time + ran, s.heat_level, StepRunning);
    sync_.ReportProgress();
}
