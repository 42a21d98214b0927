#include "roaster_controller.h"

#include "control_ids.h"

RoasterController::RoasterController(WindowServices& window, EditorLibrary& editor, SerialControl& com,
                                     PortLister& ports)
    : console(window, editor, com, ports),
      sync(console),
      panel(console, sync),
      link(console, sync),
      cycle(console, sync, link, panel),
      receive(console, sync, panel) {
    console.com.OnComm = [this] { receive.OnComm(); };
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
    case kLinkTimer: link.LinkStartTick(); break;
    case kDownloadTimer: link.DownloadTick(); break;
    default: break;
    }
}

void RoasterController::OnButtonClicked(int control_id) {
    switch (control_id) {
    default: break;
    }
}

void RoasterController::OnButtonPressed(int control_id) { (void)control_id; }

void RoasterController::OnButtonReleased() {}

void RoasterController::OnClockChanged() {}

bool RoasterController::PreTranslateMessage(const KeyMessage& message) {
    (void)message;
    return false;
}

void RoasterController::OnEditorMessage(int code) { (void)code; }
