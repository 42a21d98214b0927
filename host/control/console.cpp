#include "console.h"

#include "control_ids.h"

Console::Console(WindowServices& w, EditorLibrary& e, SerialControl& c, PortLister& p)
    : window(w), editor(e), com(c), ports(p), sink(w), working(&sink), upload(&sink), parked(&sink), events(*this) {}

bool Console::WriteStep(int32_t index, int32_t fan, int32_t time, int32_t heat, uint32_t status) {
    if (index < 0 || static_cast<uint32_t>(index) > working.count) {
        working.Report(ListDiagnostic::InsertOutOfBounds);
        return false;
    }
    return working.UpdateStep(static_cast<uint32_t>(index), fan, time, heat, status);
}

bool Console::ReadStep(int32_t index, StepNode& out) const {
    if (index < 0) return false;
    return working.GetStep(static_cast<uint32_t>(index), out);
}

void Console::LoadFirstStepValues() {
    StepNode first{};
    if (!working.GetStep(1, first)) return;
    state.fan_level = first.fan;
    state.roast_time = first.time;
    state.heat_level = first.heat;
}

void Console::DeleteStepsAfter(int32_t index) {
    const uint32_t last = static_cast<uint32_t>(index < 0 ? 0 : index);
    while (working.count > last) {
        const uint32_t before = working.count;
        working.DeleteStep(last + 1);
        if (working.count == before) break;  // the list refused; it reported why
    }
}

void Console::ShowProfileName() {
    window.ShowName(DisplayName(state.profile_name));
    window.SetNameColour(NameColour::Normal);
}

void Console::DisarmDelayedStart() {
    state.delayed_start = false;
    window.ShowClockIcon(true);
    window.ShowPicker(false);
}

void Console::CloseProgram(int result) {
    window.KillTimer(kControlTimer);
    window.KillTimer(kLinkTimer);
    window.KillTimer(kHoldTimer);
    window.EndDialog(result);
}

std::string DisplayName(const std::string& name) {
    if (name.size() > 5 && name[name.size() - 5] == '.') return name.substr(0, name.size() - 5);
    return name;
}
