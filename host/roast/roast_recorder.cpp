#include "roast_recorder.h"

#include <algorithm>

#include "console.h"
#include "roast_log_files.h"
#include "roast_log_text.h"
#include "roast_phases.h"
#include "roast_steps.h"

namespace {

// The log keeps times to a tenth of a second; so does the recording, so
// what is worked out of it now (a phase's length) is what a reading of
// the log gives later.
double InTenths(int64_t ms) { return static_cast<double>((ms + 50) / 100) / 10.0; }

bool RunIsRoasting(const ControllerState& s) {
    return s.machine_state == kRun && (s.run_phase == kHeat || s.run_phase == kCool || s.run_phase == kManualCool);
}

}  // namespace

RoastRecorder::RoastRecorder(RoastClock& clock, RoastLogStore* store, std::string program)
    : clock_(clock), store_(store), program_(std::move(program)) {}

void RoastRecorder::OnReading(int32_t raw, const Console& console) {
    OnReading(raw, console.state, console.working);
}

void RoastRecorder::OnHandled(const Console& console) { Observe(console.state, console.working); }

void RoastRecorder::Observe(const ControllerState& s, const CStep_Data& working) {
    if (!recording_) {
        if (RunIsRoasting(s)) Start(s, working);
        return;
    }
    switch (s.machine_state) {
    case kRun:
        if (s.run_phase == kCool && !log_.marks.Find(MarkKind::Drop)) Mark(MarkKind::Drop);
        return;
    case kFinished: End(working, {}); return;
    case kOff: End(working, kEndedByPowerOff); return;
    default: End(working, kEndedByLinkRestart); return;
    }
}

void RoastRecorder::OnReading(int32_t raw, const ControllerState& s, const CStep_Data& working) {
    Observe(s, working);
    if (!recording_) return;
    RoastSample sample;
    sample.seconds = InTenths(clock_.MonotonicMs() - start_ms_);
    if (!log_.samples.empty() && sample.seconds < log_.samples.back().seconds)
        sample.seconds = log_.samples.back().seconds;
    if (raw >= 0 && raw <= kMaxSmoothedTemperature) {
        // "ERR", "Lo" and "Hi" are no temperatures: those samples keep no
        // reading and no rate.
        sample.bean_f = raw;
        sample.shown_f = s.temperature;
        rate_.Add(sample.seconds, raw);
        sample.ror_f_per_min = rate_.PerMinute();
    }
    sample.machine_state = s.machine_state;
    sample.run_phase = s.run_phase;
    sample.step = s.step_index;
    sample.fan = s.fan_level;
    sample.heat = s.heat_level;
    sample.time_left_units = s.run_phase == kHeat ? s.roast_time : s.cool_time;
    log_.samples.push_back(sample);
    if (store_) store_->Append(sample);
    Tell(RoastEvent::Sample);
}

double RoastRecorder::ElapsedSeconds() {
    return recording_ ? static_cast<double>(clock_.MonotonicMs() - start_ms_) / 1000.0 : 0.0;
}

bool RoastRecorder::Mark(MarkKind kind) {
    if (!recording_) return false;
    RoastMark mark{kind, InTenths(clock_.MonotonicMs() - start_ms_), std::nullopt};
    for (auto it = log_.samples.rbegin(); it != log_.samples.rend() && !mark.bean_f; ++it) mark.bean_f = it->bean_f;
    log_.marks.Put(mark);
    if (store_) store_->Journal({kEventKey, EventValue(mark)});
    Tell(RoastEvent::Marked);
    return true;
}

bool RoastRecorder::UndoMark() {
    if (!recording_) return false;
    const std::optional<MarkKind> kind = log_.marks.UndoLast();
    if (!kind) return false;
    if (store_) store_->Journal({kEventKey, UndoneEventValue(*kind)});
    Tell(RoastEvent::Marked);
    return true;
}

void RoastRecorder::SetNotes(const RoastNotes& notes) {
    const RoastLog before = log_;
    WriteNotes(log_, notes);
    if (recording_ && store_) {
        // Every notes line that changed, on the disk at once.
        for (const std::string& key : {kBeanKey, kGreenKey, kRoastedKey, kWeightLossKey, kNotesKey})
            if (log_.Get(key) != before.Get(key)) store_->Journal({key, log_.Get(key)});
    }
}

bool RoastRecorder::SetHeaderLine(const std::string& key, const std::string& value) {
    if (!recording_) return false;
    log_.Set(key, value);
    if (store_) store_->Journal({key, value});
    return true;
}

void RoastRecorder::OnClose(const CStep_Data& working) {
    if (recording_) End(working, kEndedByClose);
}

void RoastRecorder::Start(const ControllerState& s, const CStep_Data& working) {
    recording_ = true;
    ++recordings_begun_;
    start_ms_ = clock_.MonotonicMs();
    rate_.Clear();
    const LocalDateTime now = clock_.Now();
    log_ = RoastLog{};
    const std::string profile = DisplayName(s.profile_name);
    log_.Set(roastkey::kProgram, program_);
    log_.Set(roastkey::kRoaster, roaster_);
    log_.Set(roastkey::kProfile, profile);
    // A profile the roaster uploaded, or one not saved yet, has no file.
    if (s.profile_path != kNoPath && !s.IsReservedMachineOrUsb()) log_.Set(roastkey::kProfileFile, s.profile_path);
    log_.Set(roastkey::kStart, IsoDateTime(now));
    log_.Set(roastkey::kPlannedSteps, StepsText(working));
    if (store_) store_->Begin(log_, now, profile);
    Tell(RoastEvent::Started);
}

void RoastRecorder::End(const CStep_Data& working, const std::string& incomplete) {
    const double end_seconds = log_.samples.empty() ? ElapsedSeconds() : log_.samples.back().seconds;
    recording_ = false;
    log_.marks.ForgetOrder();
    log_.Set(roastkey::kRunSteps, StepsText(working));
    WritePhases(log_, ComputePhases(log_.marks.list(), end_seconds, false));
    if (!incomplete.empty()) log_.Set(roastkey::kIncomplete, incomplete);
    if (store_) store_->End(log_);
    Tell(RoastEvent::Ended);
}

void RoastRecorder::Tell(RoastEvent event) {
    for (const auto& listener : listeners_) listener(event);
}
