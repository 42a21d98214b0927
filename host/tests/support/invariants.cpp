#include "invariants.h"

#include <sstream>

namespace {
std::string Describe(const char* what, int64_t value) {
    std::ostringstream out;
    out << what << " is " << value;
    return out.str();
}

bool Within(int64_t value, int64_t low, int64_t high) { return value >= low && value <= high; }
}  // namespace

std::string ListProblem(const CStep_Data& list, uint32_t max_count) {
    if (list.count > max_count) return Describe("count", list.count);
    uint32_t n = 0;
    for (const StepNode* p = list.head; p; p = p->next) {
        ++n;
        if (n > list.count) return Describe("the chain is longer than count, which", list.count);
        if (p->index != n) return Describe(("the step at position " + std::to_string(n) + " has index").c_str(), p->index);
    }
    if (n != list.count) return Describe("the chain holds fewer records than count, which", list.count);
    return {};
}

std::string ProfileProblem(const CStep_Data& list) {
    if (list.count < 2) return Describe("a profile has fewer than two steps:", list.count);
    for (const StepNode* p = list.head; p; p = p->next) {
        const std::string at = "step " + std::to_string(p->index) + " ";
        const bool last = p->next == nullptr;
        if (IsCoolingStatus(p->status) != last) return at + (last ? "is last but not cooling" : "is cooling but not last");
        if (!Within(p->fan, 1, 9)) return Describe((at + "fan").c_str(), p->fan);
        if (!Within(p->heat, 0, last ? 0 : 3)) return Describe((at + "heat").c_str(), p->heat);
        if (!Within(p->time, 1, 99)) return Describe((at + "time").c_str(), p->time);
        if (p->status > StepEnd || (p->status > StepCompleted && p->status < CoolWaiting))
            return Describe((at + "status").c_str(), p->status);
    }
    return {};
}

std::string StateProblem(const ControllerState& s) {
    if (!Within(s.machine_state, kOff, kFinished)) return Describe("machine_state", s.machine_state);
    if (!Within(s.run_phase, kWaitStart, kManualCool) && s.run_phase != kPhaseNone)
        return Describe("run_phase", s.run_phase);
    if (!Within(s.fan_level, 1, 9)) return Describe("fan_level", s.fan_level);
    if (!Within(s.heat_level, 0, 3)) return Describe("heat_level", s.heat_level);
    if (!Within(s.roast_time, 0, 99)) return Describe("roast_time", s.roast_time);
    if (!Within(s.cool_time, 0, 99)) return Describe("cool_time", s.cool_time);
    if (!Within(s.tick_count, 0, 11)) return Describe("tick_count", s.tick_count);
    if (!Within(s.no_reply_ticks, 0, 9)) return Describe("no_reply_ticks", s.no_reply_ticks);
    if (s.pending_command != 0 && s.pending_command != kStartCommand)
        return Describe("pending_command", s.pending_command);
    if (!Within(s.manual_fan, 0, 9)) return Describe("manual_fan", s.manual_fan);
    if (!Within(s.manual_time, 0, 99)) return Describe("manual_time", s.manual_time);
    if (!Within(s.manual_heat, 1, 3)) return Describe("manual_heat", s.manual_heat);
    if (!Within(s.temp_count, 0, 10)) return Describe("temp_count", s.temp_count);
    if (!Within(s.temp_pos, 0, 9)) return Describe("temp_pos", s.temp_pos);
    if (!Within(s.temperature, 0, 0xFFFF)) return Describe("temperature", s.temperature);
    if (!Within(s.run_elapsed, 0, kElapsedLimit)) return Describe("run_elapsed", s.run_elapsed);
    if (s.step_start > s.run_elapsed) return Describe("step_start beyond run_elapsed:", s.step_start);
    if (!Within(s.link_down, 0, 1)) return Describe("link_down", s.link_down);
    if (s.link_down == 0 && s.upload_active != 0) return "an upload is active while the link is up";
    if (!Within(s.upload_count, 0, 22)) return Describe("upload_count", s.upload_count);
    if (s.edit_field > kEditHeat) return Describe("edit_field", s.edit_field);
    if (!Within(s.edit_countdown, 0, 20)) return Describe("edit_countdown", s.edit_countdown);
    return {};
}
