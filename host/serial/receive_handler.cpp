#include "receive_handler.h"

#include <algorithm>

#include "console.h"
#include "control_ids.h"
#include "editor_sync.h"
#include "frames.h"
#include "panel_refresh.h"

namespace {
constexpr uint8_t kSync = 0xAA;
constexpr uint8_t kTrailer = 0xFA;

// Byte `value` when it lies in [low, high], else `fallback`.
int32_t Within(uint8_t value, int32_t low, int32_t high, int32_t fallback) {
    return (value >= low && value <= high) ? value : fallback;
}
}  // namespace

void ReceiveHandler::OnComm() {
    try {
        const int code = c_.com.CommEvent();
        switch (code) {
        case kCommEventSend:
        case kCommEventCts:
        case kCommEventDsr:
        case kCommEventCd:
            return;
        case kCommEventReceive:
            OnReceive(c_.com.Input());
            return;
        default:
            c_.window.MessageBox("Serial Port err!");
            return;
        }
    } catch (const SerialError&) {
        // The port went away between the event and the read; the next
        // status frame finds out and loses the link.
    }
}

void ReceiveHandler::OnReceive(const std::vector<uint8_t>& bytes) {
    // The buffer is filled afresh by every read: bytes are never carried
    // over, and only the first frame of a read is looked at.
    const std::size_t n = std::min(bytes.size(), kReceiveBufferSize);
    if (n < kFrameSize) return;
    if (c_.state.link_down == 1)
        OnLinkDownFrame(bytes.data());
    else
        OnLinkUpFrame(bytes.data());
}

void ReceiveHandler::OnLinkDownFrame(const uint8_t* f) {
    ControllerState& s = c_.state;
    if (f[0] != kSync || f[13] != kTrailer) return;
    switch (f[4]) {
    case kCmdUploadHeader: OnUploadHeader(f); break;
    case kCmdProgramStep:
        if (s.upload_active == 1 && s.reconnecting == 0) OnProgramStep(f);
        break;
    case kCmdProgramEnd:
        if (s.upload_active == 1) OnProgramEnd(f);
        break;
    default: break;
    }
    if (s.upload_count > kMaxUploadSteps) {
        c_.window.MessageBox("The Port communications error!");
        c_.CloseProgram(kResultAbort);
    }
}

void ReceiveHandler::OnUploadHeader(const uint8_t* f) {
    ControllerState& s = c_.state;
    s.upload_count = 0;
    s.manual_fan = Within(f[7], 0, 9, 5);
    s.manual_time = Within(f[8], 0, 99, 59);
    s.manual_heat = Within(f[9], 1, 3, 3);
    s.upload_active = 1;
    if (s.reconnecting == 0) ResetUploadList();
}

void ReceiveHandler::OnProgramStep(const uint8_t* f) {
    ControllerState& s = c_.state;
    const int32_t fan = Within(f[7], 1, 9, 5);
    const int32_t time = Within(f[8], 1, 99, 59);
    const int32_t heat = Within(f[9], 0, 3, 3);
    const int32_t k = ++s.upload_count;
    if (k == 1) {
        // The first step of a program starts on a fresh list: steps left
        // from an upload that broke off after a link loss must not become
        // part of this program.
        ResetUploadList();
        c_.upload.UpdateStep(1, fan, time, heat, StepWaiting);
    } else {
        // The list reports its own diagnostic when position k is out of reach.
        c_.upload.InsertStep(static_cast<uint32_t>(k), fan, time, heat, StepWaiting);
    }
}

void ReceiveHandler::OnProgramEnd(const uint8_t* f) {
    ControllerState& s = c_.state;
    s.upload_active = 0;
    if (s.reconnecting == 1) {
        // The roaster answered after a link loss: the link is up again and
        // the console keeps its own program and state.
        s.reconnecting = 0;
        s.link_down = 0;
    } else {
        TakeUploadedProgram(f);
    }
    s.upload_count = 0;
    c_.window.KillTimer(kLinkTimer);
}

void ReceiveHandler::TakeUploadedProgram(const uint8_t* f) {
    ControllerState& s = c_.state;
    const int32_t fan = Within(f[7], 1, 9, 5);
    const int32_t time = Within(f[8], 1, 99, 30);
    int32_t k = ++s.upload_count;
    if (k == 1) {
        // No program step frame came: the program gets the default roast
        // step, on a fresh list as above.
        ResetUploadList();
        k = 2;
    }
    c_.upload.InsertStep(static_cast<uint32_t>(k), fan, time, 0, CoolWaiting);

    c_.working.CopyFrom(c_.upload.head);
    s.editor_refresh = true;
    sync_.SyncFromEditor();
    sync_.UnlockEditor();
    ResetUploadList();

    s.link_down = 0;
    c_.LoadFirstStepValues();
    s.profile_name = kLastUsbSetting;
    c_.ShowProfileName();
    s.machine_state = kReady;
    s.run_phase = kWaitStart;
    s.no_reply_ticks = 0;
    panel_.UpdatePanel();
}

void ReceiveHandler::ResetUploadList() {
    c_.upload.Clear();
    c_.upload.InsertStep(1, 5, 59, 3, StepWaiting);
}

void ReceiveHandler::OnLinkUpFrame(const uint8_t* f) {
    ControllerState& s = c_.state;
    if (f[0] == kSync && f[1] == kSync && f[13] == kTrailer) {
        s.reconnecting = 0;
        s.no_reply_ticks = 0;
        const int32_t reading = f[10] * 256 + f[11];
        TakeTemperature(reading);
        c_.events.Reading(reading);
    }
    // The power-off notice is recognised by its command byte alone.
    if ((s.machine_state == kReady || s.machine_state == kRun) && f[4] == kCmdPowerOff) OnPowerOff();
}

void ReceiveHandler::TakeTemperature(int32_t t) {
    ControllerState& s = c_.state;
    s.temperature = t;
    if (t > kMaxSmoothedTemperature) {
        s.temp_count = 0;
        return;
    }
    const int slots = static_cast<int>(s.temp_ring.size());
    s.temp_ring[s.temp_pos] = t;
    s.temp_pos = static_cast<uint8_t>((s.temp_pos + 1) % slots);
    if (s.temp_count < slots) ++s.temp_count;
    int32_t sum = 0;
    for (int i = 1; i <= s.temp_count; ++i) sum += s.temp_ring[(s.temp_pos - i + slots) % slots];
    s.temperature = sum / s.temp_count;
}

void ReceiveHandler::OnPowerOff() {
    ControllerState& s = c_.state;
    s.machine_state = kOff;
    s.run_phase = kWaitStart;
    s.blink_phase = 0;
    s.saved_time = 0;
    s.cool_time = 30;
    c_.window.MessageBox("The coffee machine has been closed");
    c_.DisarmDelayedStart();
    c_.window.EnablePicker(true);
}
