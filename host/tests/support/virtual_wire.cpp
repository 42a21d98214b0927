#include "virtual_wire.h"

VirtualWire::VirtualWire(ControllerHarness& harness, const RoasterModel::Options& options)
    : model(options), h_(harness) {
    h_.ports.ports = {BridgeRecord()};
    h_.window.events = this;
    h_.serial.on_write = [this](const std::vector<uint8_t>& bytes) {
        if (plugged_) model.Receive(bytes.data(), bytes.size(), h_.window.now_ms);
    };
}

VirtualWire::~VirtualWire() {
    h_.window.events = nullptr;
    h_.serial.on_write = nullptr;
}

void VirtualWire::Unplug() {
    plugged_ = false;
    h_.ports.ports.clear();
    h_.serial.fail_open = true;
    if (h_.serial.open) {
        h_.serial.open = false;
        h_.serial.RaiseEvent(kCommErrorDeviceLost);
    }
}

void VirtualWire::Plug() {
    plugged_ = true;
    h_.serial.fail_open = false;
    h_.ports.ports = {BridgeRecord()};
}

void VirtualWire::RunDue(int64_t now_ms) {
    for (;;) {
        const std::optional<int64_t> due = model.NextDueMs();
        if (!due || *due > now_ms) return;
        const std::vector<uint8_t> bytes = model.TakeDue(now_ms);
        if (bytes.empty()) return;
        // A pulled bridge drops what the roaster sends.
        if (!plugged_) continue;
        if (on_sent) on_sent(bytes);
        h_.serial.Arrive(bytes);
    }
}
