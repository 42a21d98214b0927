#include "roaster_controller.h"

#include <type_traits>
#include <utility>

#include "control_ids.h"

template <typename F>
auto RoasterController::Handle(F&& handling) {
    if constexpr (std::is_void_v<decltype(handling())>) {
        handling();
        console.events.Handled();
    } else {
        auto result = handling();
        console.events.Handled();
        return result;
    }
}

template <typename F>
auto RoasterController::HandleInput(F&& handling) {
    console.events.UserInput();
    return Handle(std::forward<F>(handling));
}

namespace {

// A key the user pressed, not one let go nor a modifier held for another
// key (Alt for Alt+S, or for switching windows).
bool IsKeyPress(const KeyMessage& m) {
    if (m.kind == KeyKind::KeyUp) return false;
    return m.kind == KeyKind::Char || (m.code != vk::kShift && m.code != vk::kControl && m.code != vk::kAlt);
}

}  // namespace

RoasterController::RoasterController(WindowServices& window, EditorLibrary& editor, SerialControl& com,
                                     PortLister& ports)
    : console(window, editor, com, ports),
      sync(console),
      panel(console, sync),
      link(console, sync),
      cycle(console, sync, link, panel),
      binding(console, sync, link),
      profiles(console, sync, panel),
      commands(console, sync, panel),
      hold(console, sync, panel, link, commands),
      keys(console, commands, panel),
      receive(console, sync, panel),
      step_values(console, sync) {
    console.com.OnComm = [this] { Handle([this] { receive.OnComm(); }); };
}

void RoasterController::Start() {
    WindowServices& w = console.window;
    ControllerState& s = console.state;

    w.ShowName(kNoProfile);
    w.ShowClockIcon(true);
    w.ShowPicker(false);
    s.delayed_start = false;
    w.SetPickerTime(w.LocalTime());
    w.SetNameColour(NameColour::Normal);

    panel.UpdatePanel();
    w.SetTimer(kControlTimer, kControlPeriodMs);
    w.SetTimer(kHoldTimer, kHoldPeriodMs);
    console.editor.LoadAndBind();
    console.working.SetDefaultProfile();
    try {
        link.ConfigurePort();
    } catch (const SerialError&) {
        // A port that cannot be configured now is configured again by the
        // first link attempt.
    }
    w.SetTimer(kLinkTimer, kLinkStartPeriodMs);
}

void RoasterController::OnTimer(int id) {
    Handle([&] {
        switch (id) {
        case kControlTimer: cycle.ControlTick(); break;
        case kHoldTimer: hold.HoldTick(); break;
        case kLinkTimer: link.LinkStartTick(); break;
        case kDownloadTimer: link.DownloadTick(); break;
        default: break;
        }
    });
}

void RoasterController::OnButtonClicked(int control_id) {
    // The temperature window switches the unit shown and changes nothing
    // of the roast: the listeners (follow mode) are not told it as input.
    const auto click = [&] {
        if (profiles.OnButtonClicked(control_id)) return;  // CREATE, SELECT, EDIT, DELET, SAVE, CANCEL
        switch (control_id) {
        case ctl::kProgram: binding.OnProgram(); break;
        case ctl::kRight: commands.OnRight(); break;
        case ctl::kUp: commands.OnUp(); break;
        case ctl::kDown: commands.OnDown(); break;
        case ctl::kMode: commands.OnMode(); break;
        case ctl::kPower: commands.OnPower(); break;
        case ctl::kClockIcon: commands.OnClockIcon(); break;
        case ctl::kTemperature: commands.OnButton1(); break;
        default: break;
        }
    };
    if (control_id == ctl::kTemperature)
        Handle(click);
    else
        HandleInput(click);
}

void RoasterController::OnButtonPressed(int control_id) {
    HandleInput([&] { hold.OnButtonPress(control_id); });
}

void RoasterController::OnButtonReleased() {
    Handle([&] { hold.OnButtonRelease(); });
}

void RoasterController::OnClockChanged() {
    HandleInput([&] { commands.OnClockChanged(); });
}

bool RoasterController::PreTranslateMessage(const KeyMessage& message) {
    auto filter = [&] { return keys.PreTranslateMessage(message); };
    return IsKeyPress(message) ? HandleInput(filter) : Handle(filter);
}

void RoasterController::OnEditorMessage(int code) {
    HandleInput([&] { binding.OnEditorMessage(code); });
}

std::string RoasterController::UseProfileSteps(const std::string& name, const std::vector<StepNode>& steps) {
    return Handle([&] { return profiles.UseSteps(name, steps); });
}
