#include "follow_session.h"

#include "console.h"
#include "roast_numbers.h"
#include "roast_program.h"
#include "roast_recorder.h"
#include "roast_steps.h"
#include "running_step_values.h"

namespace {

bool RunHeats(const ControllerState& s) { return s.machine_state == kRun && s.run_phase == kHeat; }

std::string EndText(FollowEnd end) {
    switch (end) {
    case FollowEnd::TookOver: return "Follow mode off: you took over";
    case FollowEnd::Drop: return "Follow mode off: the background's drop was reached";
    case FollowEnd::BackgroundEnd: return "Follow mode off: the background's heating has ended";
    case FollowEnd::Cooling: return "Follow mode off: the roast is cooling";
    case FollowEnd::RunEnded: return "Follow mode off: the roast has ended";
    }
    return "Follow mode off";
}

}  // namespace

FollowSession::FollowSession(RoastRecorder& recorder, RunningStepValues& step_values)
    : recorder_(recorder), step_values_(step_values) {}

FollowSession::~FollowSession() = default;

void FollowSession::Arm(RoastLog background, std::string file_name) {
    if (state_ == FollowState::Following || state_ == FollowState::Paused) return;
    background_ = std::move(background);
    file_name_ = std::move(file_name);
    // Turned on again after the user took over, it follows the run that
    // heats now from there: the user asked for it.
    followed_recording_ = 0;
    SetState(FollowState::Armed);
}

void FollowSession::Disarm() {
    switch (state_) {
    case FollowState::Armed: SetState(FollowState::Off); return;
    case FollowState::Following:
    case FollowState::Paused:
        follower_->TakeOver(recorder_.ElapsedSeconds());
        Ended();
        return;
    default: return;
    }
}

void FollowSession::Close() {
    if (state_ != FollowState::Following && state_ != FollowState::Paused) return;
    follower_->RunEnded(recorder_.ElapsedSeconds());
    Ended();
}

std::optional<FollowEnd> FollowSession::end() const {
    return follower_ ? follower_->end() : std::nullopt;
}

std::string FollowSession::StatusText() const {
    switch (state_) {
    case FollowState::Off: return {};
    case FollowState::Armed: return "Follow mode on: the next roast follows the background";
    case FollowState::Following: return "Following the background";
    case FollowState::Paused:
        return sensor_error_ ? "Follow mode paused: sensor error" : "Follow mode paused: no readings";
    case FollowState::Ended: return end() ? EndText(*end()) : std::string();
    }
    return {};
}

void FollowSession::OnUserInput(const Console&) {
    // The user's key or button wins, before it acts. Armed, it stays armed:
    // POWER starts the run to follow.
    if (state_ == FollowState::Following || state_ == FollowState::Paused) Disarm();
}

void FollowSession::OnHandled(const Console& console) {
    const ControllerState& s = console.state;
    // The followed run ends: its program is kept while the log is open.
    if (!kept_ && s.machine_state != kRun && recorder_.recording() &&
        recorder_.recordings_begun() == followed_recording_)
        KeepProgram(console);
    // A new run: what the last one's following ended with is said no more.
    if (state_ == FollowState::Ended && recorder_.recording() && recorder_.recordings_begun() != followed_recording_)
        SetState(FollowState::Off);
    if (state_ == FollowState::Armed && recorder_.recording() &&
        recorder_.recordings_begun() != followed_recording_ && RunHeats(s))
        Begin();
    if (state_ != FollowState::Following && state_ != FollowState::Paused) return;
    if (!recorder_.recording() || recorder_.recordings_begun() != followed_recording_ || s.machine_state != kRun) {
        follower_->RunEnded(recorder_.ElapsedSeconds());
        Ended();
        return;
    }
    Feed(s.link_ok);
    if (!follower_->following()) {
        Ended();
        return;
    }
    UpdatePause(console);
}

void FollowSession::Begin() {
    follower_ = std::make_unique<RoastFollower>(*background_);
    followed_recording_ = recorder_.recordings_begun();
    fed_ = 0;
    sensor_error_ = false;
    kept_ = false;
    recorder_.SetHeaderLine(kFollowKey, file_name_);
    SetState(FollowState::Following);
}

void FollowSession::Feed(bool link_ok) {
    const std::vector<RoastSample>& samples = recorder_.log().samples;
    for (; fed_ < samples.size() && follower_->following(); ++fed_) {
        const std::optional<FollowChoice> choice = follower_->OnReading(samples[fed_], link_ok);
        // A choice on an older reading (follow mode armed in the middle of
        // a roast learns from what was read before) is not made now.
        if (choice && fed_ + 1 == samples.size()) step_values_.Set(choice->fan, choice->heat);
    }
}

void FollowSession::UpdatePause(const Console& console) {
    const std::vector<RoastSample>& samples = recorder_.log().samples;
    // Heard lately (from the start, until a first reading is overdue).
    const double last = samples.empty() ? 0.0 : samples.back().seconds;
    const bool heard = recorder_.ElapsedSeconds() - last <= kRoastGapSeconds;
    const bool paused = follower_->paused() || !console.state.link_ok || !heard;
    const bool sensor_error = paused && heard && console.state.link_ok && !samples.empty() && !samples.back().bean_f;
    if (paused == (state_ == FollowState::Paused) && sensor_error == sensor_error_) return;
    sensor_error_ = sensor_error;
    // Told also when only the pause's reason changed.
    state_ = paused ? FollowState::Paused : FollowState::Following;
    if (on_change) on_change();
}

void FollowSession::Ended() {
    if (recorder_.recording() && recorder_.recordings_begun() == followed_recording_)
        recorder_.SetHeaderLine(kFollowEndKey,
                                OneDecimal(follower_->end_seconds()) + " " + FollowEndWord(*follower_->end()));
    SetState(FollowState::Ended);
}

void FollowSession::KeepProgram(const Console& console) {
    kept_ = true;
    const std::optional<Plan> plan = ProgramOfRoast(recorder_.log());
    if (!plan) return;
    std::vector<StepNode> steps;
    for (const ProgramStep& p : plan->steps)
        steps.push_back(StepNode{static_cast<uint32_t>(steps.size() + 1), p.fan, p.tenths, p.heat, StepWaiting, nullptr});
    for (const StepNode* n = console.working.head; n; n = n->next)
        if (IsCoolingStatus(n->status)) {
            steps.push_back(StepNode{static_cast<uint32_t>(steps.size() + 1), n->fan, n->time, 0, CoolWaiting, nullptr});
            break;
        }
    recorder_.SetHeaderLine(roastkey::kSteeredSteps, StepsText(steps));
}

void FollowSession::SetState(FollowState state) {
    if (state == state_) return;
    state_ = state;
    if (on_change) on_change();
}
