#include "loopback_serial.h"

#include <algorithm>
#include <exception>

#include "comm_settings.h"
#include "port_records.h"
#include "serial_checks.h"

LoopbackSerial::LoopbackSerial(RoasterModel& model, EventLoop& loop) : model_(model), loop_(loop) {}

void LoopbackSerial::Pump() {
    const int64_t now = loop_.NowMs();
    bool arrived = false;
    for (;;) {
        const std::vector<uint8_t> bytes = model_.TakeDue(now);
        if (bytes.empty()) break;
        if (!present_) continue;
        if (on_sent) on_sent(bytes);
        // A full input buffer drops the rest, as an overrun line does.
        const std::size_t room = static_cast<std::size_t>(in_buffer_size_) - std::min(
            input_.size(), static_cast<std::size_t>(in_buffer_size_));
        input_.insert(input_.end(), bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(
                                                                      std::min(room, bytes.size())));
        arrived = true;
    }
    if (arrived) QueueDelivery();
    if (const auto due = model_.NextDueMs()) loop_.PumpAt(*due);
}

void LoopbackSerial::PowerOff() {
    model_.SendPowerOff(loop_.NowMs());
    Pump();
}

void LoopbackSerial::Vanish() {
    if (!present_) return;
    present_ = false;
    if (!open_) return;
    open_ = false;
    input_.clear();
    const uint64_t opening = opening_;
    // Reported from the event loop, as the real control reports it.
    loop_.Post([this, opening] {
        if (opening == opening_) Raise(kCommErrorDeviceLost);
    });
}

void LoopbackSerial::SetCommPort(const std::string& device_path) {
    if (open_) throw SerialError("Port already open");
    port_ = device_path;
}

void LoopbackSerial::SetPortOpen(bool open) {
    if (!open) {
        open_ = false;
        return;
    }
    if (open_) throw SerialError("Port already open");
    if (port_.empty()) throw SerialError("No port chosen");
    if (port_ != kDevice || !present_) throw SerialError("No such file or directory");
    open_ = true;
    ++opening_;
    event_ = 0;
    // What came before the opening, read or not, is no part of it.
    input_.clear();
}

void LoopbackSerial::SetInBufferSize(int bytes) {
    serialcheck::BufferSize(open_, bytes);
    in_buffer_size_ = bytes;
}

void LoopbackSerial::SetOutBufferSize(int bytes) {
    serialcheck::BufferSize(open_, bytes);
    out_buffer_size_ = bytes;
}

void LoopbackSerial::SetInputLen(int bytes) {
    serialcheck::InputLen(bytes);
    input_len_ = bytes;
}

void LoopbackSerial::SetInputMode(int mode) { serialcheck::InputMode(mode); }

void LoopbackSerial::SetRThreshold(int bytes) {
    serialcheck::Threshold(bytes);
    threshold_ = bytes;
    if (open_ && !input_.empty()) QueueDelivery();
}

void LoopbackSerial::SetSettings(const std::string& settings) {
    if (!ParseCommSettings(settings)) throw SerialError("Invalid setting: " + settings);
}

void LoopbackSerial::SetOutBufferCount(int bytes) {
    serialcheck::OutBufferCount(open_, bytes);
    // Output reaches the roaster as it is written: nothing waits to go.
}

void LoopbackSerial::SetOutput(const std::vector<uint8_t>& bytes) {
    serialcheck::Output(open_, bytes.size(), out_buffer_size_);
    model_.Receive(bytes.data(), bytes.size(), loop_.NowMs());
    Pump();
}

std::vector<uint8_t> LoopbackSerial::Input() {
    serialcheck::Input(open_);
    const std::size_t take =
        input_len_ > 0 ? std::min(input_.size(), static_cast<std::size_t>(input_len_)) : input_.size();
    std::vector<uint8_t> out(input_.begin(), input_.begin() + static_cast<std::ptrdiff_t>(take));
    input_.erase(input_.begin(), input_.begin() + static_cast<std::ptrdiff_t>(take));
    return out;
}

void LoopbackSerial::QueueDelivery() {
    if (delivery_queued_) return;
    delivery_queued_ = true;
    loop_.Post([this] { DeliverReceive(); });
}

void LoopbackSerial::DeliverReceive() {
    delivery_queued_ = false;
    if (!open_ || threshold_ <= 0) return;
    if (input_.size() < static_cast<std::size_t>(threshold_)) return;
    Raise(kCommEventReceive);
}

void LoopbackSerial::Raise(int code) {
    event_ = code;
    if (!OnComm) return;
    try {
        OnComm();
    } catch (const std::exception&) {
        // Nothing is thrown out of the event loop; the handler reports its
        // own failures.
    }
}

void LoopbackPortLister::ListSerialPorts(std::vector<SSerInfo>& ports) {
    BuildPortList({}, serial_.present() ? std::optional<std::string>(LoopbackSerial::kDevice) : std::nullopt, ports);
}
