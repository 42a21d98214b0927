#include "control_cycle.h"

#include "console.h"
#include "editor_sync.h"
#include "panel_refresh.h"
#include "roaster_link.h"

namespace {
constexpr int kSecondsPerDay = 86400;
// The most seconds before the start a countdown may have read last when a
// late tick finds the start passed.
constexpr int kMissedStartSeconds = 5;
// The most seconds past the start a late tick may find.
constexpr int kMissedStartLateness = 60;
}  // namespace

std::string CountdownText(int secs) {
    if (secs < 60) return "  " + std::to_string(secs) + " sec left to work";
    return std::to_string(secs / 3600) + "hr" + std::to_string((secs % 3600) / 60) + "min left to work";
}

int SecondsUntil(const ClockTime& now, const ClockTime& start) {
    int secs = (start.hour - now.hour) * 3600 + (start.minute - now.minute) * 60 + (start.second - now.second);
    if (secs < 0) secs += kSecondsPerDay;
    return secs;
}

void ControlCycle::ControlTick() {
    ControllerState& s = c_.state;
    try {
        if (link_.StatusFramePart()) {
            if (s.machine_state == kRun) {
                if (!RunCycle()) return;
            } else {
                s.step_index = 1;
                c_.ShowProfileName();
            }
        }
    } catch (const SerialError&) {
        link_.LinkLost();
    }
    if (s.machine_state == kRun && s.run_phase == kWaitStart) DelayedStartCountdown();
    s.link_ok = s.link_down == 0;
    panel_.UpdatePanel();
}

bool ControlCycle::RunCycle() {
    ControllerState& s = c_.state;
    sync_.SyncFromEditor();
    if (++s.tick_count >= kTicksPerUnit) {
        s.tick_count = 0;
        switch (s.run_phase) {
        case kHeat:
            if (s.run_elapsed < kElapsedLimit)
                ++s.run_elapsed;
            else
                c_.window.MessageBox("run time over!");
            if (--s.roast_time <= 0) EndOfStep();
            break;
        case kCool:
            if (s.cool_elapsed < kElapsedLimit)
                ++s.cool_elapsed;
            else
                c_.window.MessageBox("cool time over!");
            if (--s.cool_time <= 0) EndProfileRun();
            break;
        case kManualCool:
            ++s.cool_elapsed;
            --s.cool_time;
            s.heat_level = 0;
            if (s.cool_time <= 0 && !EndManualCoolRun()) return false;
            break;
        default:
            break;
        }
    }
    sync_.ReportProgress();
    sync_.UnlockEditor();
    return true;
}

void ControlCycle::EndOfStep() {
    ControllerState& s = c_.state;
    s.roast_time = 0;
    s.edit_countdown = 0;
    const int32_t ran = s.Ran();
    c_.WriteStep(s.step_index, KEEP_VALUE, ran == 0 ? 1 : ran, KEEP_VALUE, StepCompleted);
    sync_.ReportProgress();

    ++s.step_index;
    const int32_t n = static_cast<int32_t>(c_.working.Renumber());
    StepNode next{};
    const bool found = c_.ReadStep(s.step_index, next);
    if (s.step_index > n - 1) {
        // The new current step is the last one: it runs as cooling.
        s.run_phase = kCool;
        if (found) {
            s.fan_level = next.fan;
            s.cool_time = next.time;
        }
        s.heat_level = 0;
        c_.WriteStep(s.step_index, KEEP_VALUE, KEEP_VALUE, KEEP_VALUE, CoolRunning);
        sync_.ReportProgress();
        s.step_start = s.run_elapsed;
        s.cool_elapsed = 0;
    } else {
        if (found) {
            s.fan_level = next.fan;
            s.roast_time = next.time;
            s.heat_level = next.heat;
        }
        c_.WriteStep(s.step_index, KEEP_VALUE, KEEP_VALUE, KEEP_VALUE, StepRunning);
        s.step_start = s.run_elapsed;
        sync_.ReportProgress();
    }
}

void ControlCycle::EndProfileRun() {
    ControllerState& s = c_.state;
    s.cool_time = 30;
    s.machine_state = kFinished;
    s.run_phase = kWaitStart;
    s.roast_time = 0;
    c_.LoadFirstStepValues();
    c_.window.EnablePicker(true);
    c_.WriteStep(s.step_index, KEEP_VALUE, KEEP_VALUE, KEEP_VALUE, StepEnd);
    sync_.ReportProgress();
    link_.StartDownload(false);
}

bool ControlCycle::EndManualCoolRun() {
    ControllerState& s = c_.state;
    s.cool_time = 30;
    s.machine_state = kFinished;
    s.run_phase = kWaitStart;
    s.roast_time = 0;
    c_.window.EnablePicker(true);
    if (s.run_elapsed == s.step_start) ++s.run_elapsed;
    c_.WriteStep(s.step_index, KEEP_VALUE, s.Ran(), KEEP_VALUE, StepCompleted);

    CStep_Data& list = c_.working;
    if (list.Renumber() == 0) {
        c_.window.MessageBox("STEP data is empty!");
        return false;
    }
    // The planned later steps and the planned cooling step give way to the
    // cooling that really ran.
    c_.DeleteStepsAfter(s.step_index);
    list.InsertStep(static_cast<uint32_t>(s.step_index + 1), s.fan_level, s.cool_elapsed, 0, StepEnd);
    c_.editor.Updata_ShowDlg(list.head);
    sync_.ReportProgress();
    c_.LoadFirstStepValues();
    link_.StartDownload(false);
    return true;
}

void ControlCycle::DelayedStartCountdown() {
    ControllerState& s = c_.state;
    s.run_elapsed = 0;
    s.step_start = 0;
    const ClockTime now = c_.window.LocalTime();
    const ClockTime start = c_.window.PickerTime();
    static const char* const kDots[] = {".  ", ".. ", "...", "   "};
    const int left = SecondsUntil(now, start);
    // A late tick can miss the start second (timer 1 rests while a program
    // is downloaded); the count then wraps to a day ahead, which means the
    // start has just passed. Only a wrap from the last few seconds to a
    // start passed moments ago counts, so a clock set back by the user does
    // not start the roast early.
    const bool passed = s.delay_seconds_left >= 0 && s.delay_seconds_left <= kMissedStartSeconds &&
                        left >= kSecondsPerDay - kMissedStartLateness;
    s.delay_seconds_left = left;
    const std::string text = CountdownText(left) + kDots[s.dot_phase & 3];
    s.dot_phase = (s.dot_phase + 1) & 3;
    c_.window.ShowName(text);
    c_.window.SetNameColour(NameColour::Warning);
    if (now == start || passed) {
        s.delay_seconds_left = -1;
        s.run_phase = kHeat;
        c_.window.EnablePicker(false);
        s.tick_count = 0;
        c_.ShowProfileName();
    }
}
