#include "key_filter.h"

#include "console.h"
#include "panel_commands.h"
#include "panel_refresh.h"

namespace {
constexpr int32_t kAltEnterPower = 2;  // one Alt+Enter press
constexpr int32_t kAltEnterStop = 40;  // Alt+Enter held down
}  // namespace

bool KeyFilter::PreTranslateMessage(const KeyMessage& m) {
    ControllerState& s = c_.state;
    const bool press = m.kind != KeyKind::KeyUp;
    if (press && m.alt_held && m.code == vk::kEnter) {
        CountAltEnter();
        return true;
    }
    if (!m.alt_held || !m.enter_held) s.alt_enter_count = 0;
    if (!press) return false;

    if (m.code == vk::kEnter) {
        // Enter commits an edit at once; in Ready it also ends the selection.
        if (s.EditInProgress()) {
            s.edit_countdown = 1;
            panel_.UpdatePanel();
        }
        if (s.machine_state == kReady) s.edit_field = kEditNone;
        return true;
    }

    if (m.kind == KeyKind::KeyDown) {
        if (m.code == vk::kS && m.alt_held) commands_.OnPower();
        switch (m.code) {
        case vk::kEscape:
        case vk::kSpace: return true;
        case vk::kUp: commands_.OnUp(); return true;
        case vk::kDown: commands_.OnDown(); return true;
        case vk::kRight: commands_.OnRight(); return true;
        case vk::kLeft: commands_.OnLeft(); return true;
        case vk::kTab: commands_.OnMode(); return true;
        default: break;
        }
    }
    // The name box shows the profile; it cannot be typed into.
    return m.kind == KeyKind::Char && m.to_name_box;
}

void KeyFilter::CountAltEnter() {
    ControllerState& s = c_.state;
    ++s.alt_enter_count;
    if (s.alt_enter_count == kAltEnterPower) {
        commands_.OnPower();
    } else if (s.alt_enter_count == kAltEnterStop && s.machine_state == kRun) {
        // Stopped where it stands: the values of the run start (or of the
        // manual cooling's start) come back and nothing is downloaded.
        s.heat_level = s.saved_heat;
        s.roast_time = s.saved_time;
        s.fan_level = s.saved_fan;
        commands_.StopRun();
    }
}
