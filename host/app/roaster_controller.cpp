#include "roaster_controller.h"

#include "control_ids.h"

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
      receive(console, sync, panel) {
    console.com.OnComm = [this] {
        receive.OnComm();
        Observe();
    };
    receive.on_reading = [this](int32_t raw) {
        if (recorder_) recorder_->OnReading(raw, console.state, console.working);
    };
}

void RoasterController::Observe() {
    if (recorder_) recorder_->Observe(console.state, console.working);
}

void RoasterController::OnClose() {
    if (recorder_) recorder_->OnClose(console.working);
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
    switch (id) {
    case kControlTimer: cycle.ControlTick(); break;
    case kHoldTimer: hold.HoldTick(); break;
    case kLinkTimer: link.LinkStartTick(); break;
    case kDownloadTimer: link.DownloadTick(); break;
    default: break;
    }
    Observe();
}

void RoasterController::OnButtonClicked(int control_id) {
    if (profiles.OnButtonClicked(control_id)) {  // CREATE, SELECT, EDIT, DELET, SAVE, CANCEL
        Observe();
        return;
    }
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
    Observe();
}

void RoasterController::OnButtonPressed(int control_id) {
    hold.OnButtonPress(control_id);
    Observe();
}

void RoasterController::OnButtonReleased() {
    hold.OnButtonRelease();
    Observe();
}

void RoasterController::OnClockChanged() { commands.OnClockChanged(); }

bool RoasterController::PreTranslateMessage(const KeyMessage& message) {
    const bool consumed = keys.PreTranslateMessage(message);
    Observe();
    return consumed;
}

void RoasterController::OnEditorMessage(int code) {
    binding.OnEditorMessage(code);
    Observe();
}
