#include "link.h"

#include "console.h"
#include "control_ids.h"
#include "editor_sync.h"

namespace {
constexpr int kReplyTimeoutTicks = 10;
// Timer-2 ticks a hello frame waits for the upload before a new attempt.
constexpr int kHelloWaitTicks = 5;

// The port digit of a friendly name such as "USB-SERIAL CH341A (COM3)":
// its second character from the end; 0 when that is no digit.
int32_t PortDigit(const std::string& friendly_name) {
    if (friendly_name.size() < 2) return 0;
    const char digit = friendly_name[friendly_name.size() - 2];
    return (digit >= '0' && digit <= '9') ? digit - '0' : 0;
}
}  // namespace

void Link::ConfigurePort() {
    SerialControl& com = c_.com;
    if (com.PortOpen()) com.SetPortOpen(false);
    com.SetInBufferSize(1024);
    com.SetOutBufferSize(1024);
    com.SetInputLen(0);
    com.SetInputMode(1);
    com.SetRThreshold(14);
    com.SetSettings("9600,n,8,1");
    c_.state.link_down = 1;
    c_.state.port_found = 0;
}

void Link::SendFrame(const Frame& frame) {
    c_.com.SetOutBufferCount(0);
    c_.com.SetOutput(ToBytes(frame));
}

bool Link::StatusFramePart() {
    ControllerState& s = c_.state;
    if (s.link_down == 1) {
        s.no_reply_ticks = 0;
        s.port_found = 0;
        c_.window.SetTimer(kLinkTimer, kLinkPeriodMs);
        return false;
    }
    if (++s.no_reply_ticks >= kReplyTimeoutTicks) {
        s.no_reply_ticks = 0;
        LinkLost();
        return false;
    }
    uint8_t command = kCmdStatus;
    if (s.pending_command == kStartCommand) {
        command = kCmdStart;
        s.pending_command = 0;
    }
    SendFrame(StatusFrame(s, command));
    return true;
}

void Link::LinkLost() {
    ControllerState& s = c_.state;
    s.link_down = 1;
    s.port_found = 0;
    s.hello_wait = 0;
    try {
        ConfigurePort();
    } catch (const SerialError&) {
        // The port is closed and configured again by the next attempt.
        s.link_down = 1;
        s.port_found = 0;
    }
    c_.window.SetTimer(kLinkTimer, kLinkPeriodMs);
    s.reconnecting = 1;
}

bool Link::FindBridge() {
    ControllerState& s = c_.state;
    std::vector<SSerInfo> ports;
    try {
        c_.ports.ListSerialPorts(ports);
        list_error_shown_ = false;
    } catch (const PortListError& e) {
        // Treated as a listing without the bridge; the text is shown once
        // rather than on every attempt.
        ports.clear();
        if (!list_error_shown_) {
            list_error_shown_ = true;
            c_.window.MessageBox(e.what());
        }
    }
    // A found record is what counts: port_number only keeps the digit of
    // its friendly name, which a bridge at ttyUSB0 or COM12 does not have.
    s.port_number = 0;
    for (const SSerInfo& port : ports) {
        if (port.description != kBridgeDescription) continue;
        s.port_number = PortDigit(port.friendly_name);
        s.port_device = port.device_path;
        s.port_found = 1;
        return true;
    }
    return false;
}

bool Link::OpenPort() {
    SerialControl& com = c_.com;
    try {
        if (com.PortOpen()) com.SetPortOpen(false);
    } catch (const SerialError&) {
    }
    try {
        com.SetCommPort(c_.state.port_device);
    } catch (const SerialError&) {
    }
    try {
        if (com.PortOpen()) return false;
        com.SetPortOpen(true);
    } catch (const SerialError&) {
        return false;
    }
    return true;
}

void Link::LinkStartTick() {
    ControllerState& s = c_.state;
    WindowServices& w = c_.window;
    if (!(s.hello_wait == 0 && s.link_down == 1 && s.port_found == 0)) {
        if (++s.hello_wait >= kHelloWaitTicks) {
            s.hello_wait = 0;
        } else if (s.link_down == 0) {
            w.KillTimer(kLinkTimer);
            s.hello_wait = 0;
        } else {
            w.SetTimer(kLinkTimer, kLinkPeriodMs);
        }
        return;
    }

    // A new attempt.
    w.KillTimer(kLinkTimer);
    const bool found = FindBridge();
    if (s.reconnecting == 1 && !found) {
        // Once per link loss, not once per attempt.
        s.reconnecting = 0;
        w.MessageBox("The Port communications Failure!");
    }
    w.SetTimer(kLinkTimer, kLinkPeriodMs);
    s.hello_wait = 0;
    if (!found) return;

    bool opened = OpenPort();
    if (opened) {
        try {
            SendFrame(HelloFrame());
        } catch (const SerialError&) {
            opened = false;
        }
    }
    if (!opened) {
        w.KillTimer(kControlTimer);
        w.KillTimer(kLinkTimer);
        w.KillTimer(kHoldTimer);
        w.MessageBox("Open Communication Port Failure!");
        s.hello_wait = 0;
        c_.CloseProgram(kResultAbort);
        return;
    }
    s.hello_wait = 1;
    w.SetTimer(kLinkTimer, kLinkPeriodMs);
}

void Link::SendKeyRepeatFrame() {
    if (!c_.state.link_ok) return;
    try {
        SendFrame(StatusFrame(c_.state, kCmdStatus));
    } catch (const SerialError&) {
        // Handled as a failed status frame: the link is lost and searched again.
        LinkLost();
    }
}

void Link::StartDownload(bool mark_active) {
    c_.window.KillTimer(kControlTimer);
    c_.window.SetTimer(kDownloadTimer, kDownloadPeriodMs);
    if (mark_active) c_.state.download_active = 1;
}

void Link::FinishDownload() {
    ControllerState& s = c_.state;
    c_.window.KillTimer(kDownloadTimer);
    s.download_index = 0;
    c_.window.SetTimer(kControlTimer, kControlPeriodMs);
    sync_.UnlockEditor();
    s.download_active = 0;
}

void Link::DownloadTick() {
    ControllerState& s = c_.state;
    ++s.download_index;
    StepNode step{};
    c_.working.GetStep(static_cast<uint32_t>(s.download_index), step);
    const int32_t n = static_cast<int32_t>(c_.working.count);
    try {
        if (s.download_index < n) {
            SendFrame(ProgramFrame(kCmdProgramStep, step.fan, step.time, step.heat));
        } else if (s.download_index == n) {
            SendFrame(ProgramFrame(kCmdProgramEnd, step.fan, step.time, step.heat));
            FinishDownload();
        } else {
            // The list became shorter while the download ran (a profile was
            // loaded meanwhile): end the download so the control tick resumes.
            FinishDownload();
        }
    } catch (const SerialError&) {
        // The roaster cannot take the rest: give the control tick back, and
        // search for the link again if it was up (a search under way goes
        // on undisturbed).
        FinishDownload();
        if (s.link_down == 0) LinkLost();
    }
}
