#include "link.h"

#include "console.h"
#include "control_ids.h"
#include "editor_sync.h"

namespace {
constexpr int kReplyTimeoutTicks = 10;
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
        // The roaster cannot take the rest; give the control tick back and
        // search for the link again.
        FinishDownload();
        LinkLost();
    }
}
