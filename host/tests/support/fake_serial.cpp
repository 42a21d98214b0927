#include "fake_serial.h"

void FakeSerial::SetCommPort(const std::string& device_path) {
    device = device_path;
    if (record) ops.push_back("CommPort=" + device_path);
}

void FakeSerial::SetPortOpen(bool value) {
    if (record) ops.push_back(std::string("PortOpen=") + (value ? "1" : "0"));
    if (!value) {
        if (!stays_open) open = false;
        return;
    }
    if (fail_open) throw SerialError("cannot open " + device);
    open = true;
    // Input left from before the opening is no part of this session.
    input.clear();
}

void FakeSerial::SetOutput(const std::vector<uint8_t>& bytes) {
    if (!open) throw SerialError("port closed");
    if (fail_writes > 0) {
        --fail_writes;
        throw SerialError("write failed");
    }
    if (fail_write_if && fail_write_if(bytes)) throw SerialError("write failed");
    if (record) written.push_back(WrittenFrame{clock ? clock() : 0, bytes});
    if (on_write) on_write(bytes);
}

std::vector<uint8_t> FakeSerial::Input() {
    std::vector<uint8_t> out;
    out.swap(input);
    return out;
}

void FakeSerial::Deliver(const std::vector<uint8_t>& bytes) {
    input.insert(input.end(), bytes.begin(), bytes.end());
    event = kCommEventReceive;
    if (OnComm) OnComm();
}

void FakeSerial::Arrive(const std::vector<uint8_t>& bytes) {
    if (!open) return;
    input.insert(input.end(), bytes.begin(), bytes.end());
    if (rthreshold <= 0 || input.size() < static_cast<std::size_t>(rthreshold)) return;
    event = kCommEventReceive;
    if (OnComm) OnComm();
}

void FakeSerial::RaiseEvent(int code) {
    event = code;
    if (OnComm) OnComm();
}

std::vector<WrittenFrame> FakeSerial::WrittenWithCommand(uint8_t command) const {
    std::vector<WrittenFrame> out;
    for (const WrittenFrame& f : written)
        if (f.bytes.size() > 4 && f.bytes[4] == command) out.push_back(f);
    return out;
}

SSerInfo BridgeRecord(const std::string& device_path) {
    const std::string name = device_path.substr(device_path.rfind('/') + 1);
    return SSerInfo{device_path, name, "USB-SERIAL CH341A (" + name + ")", true, "USB-SERIAL CH341A"};
}
