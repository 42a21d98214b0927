// A SerialControl and PortLister for tests: records configuration and
// written frames with their virtual time, delivers scripted input through
// OnComm, and fails on request.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "port_lister.h"
#include "serial_control.h"

struct WrittenFrame {
    int64_t at_ms = 0;
    std::vector<uint8_t> bytes;
};

class FakeSerial : public SerialControl {
public:
    // Virtual time for the write log.
    std::function<int64_t()> clock;

    void SetCommPort(const std::string& device_path) override;
    bool PortOpen() override { return open; }
    void SetPortOpen(bool value) override;
    void SetInBufferSize(int bytes) override { Op("InBufferSize", bytes); }
    void SetOutBufferSize(int bytes) override { Op("OutBufferSize", bytes); }
    void SetInputLen(int bytes) override { Op("InputLen", bytes); }
    void SetInputMode(int mode) override { Op("InputMode", mode); }
    void SetRThreshold(int bytes) override {
        Op("RThreshold", bytes);
        rthreshold = bytes;
    }
    void SetSettings(const std::string& settings) override {
        if (record) ops.push_back("Settings=" + settings);
    }
    void SetOutBufferCount(int bytes) override { Op("OutBufferCount", bytes); }
    void SetOutput(const std::vector<uint8_t>& bytes) override;
    std::vector<uint8_t> Input() override;
    int CommEvent() override { return event; }

    // Queues bytes as one read and raises a receive event.
    void Deliver(const std::vector<uint8_t>& bytes);
    // Bytes arriving on the line as the real control takes them: dropped
    // while the port is closed, else kept until at least RThreshold bytes
    // wait, then one receive event for all of them.
    void Arrive(const std::vector<uint8_t>& bytes);
    // Raises an event with another code.
    void RaiseEvent(int code);

    // Frames whose command byte (byte 4) is `command`.
    std::vector<WrittenFrame> WrittenWithCommand(uint8_t command) const;

    bool open = false;
    std::string device;
    std::vector<std::string> ops;  // property writes in order, "Name=value"
    std::vector<WrittenFrame> written;
    std::vector<uint8_t> input;
    int event = 0;
    int rthreshold = 0;
    // False: `written` and `ops` are not kept (long runs).
    bool record = true;
    // Failure injection.
    bool fail_open = false;
    bool stays_open = false;         // SetPortOpen(false) leaves it open
    int fail_writes = 0;             // the next n writes throw
    std::function<bool(const std::vector<uint8_t>&)> fail_write_if;
    // Called after every successful write.
    std::function<void(const std::vector<uint8_t>&)> on_write;

private:
    void Op(const char* name, int value) {
        if (record) ops.push_back(std::string(name) + "=" + std::to_string(value));
    }
};

class FakePortLister : public PortLister {
public:
    void ListSerialPorts(std::vector<SSerInfo>& out) override {
        ++listings;
        out.clear();
        if (error) throw PortListError(*error);
        out = ports;
    }
    std::vector<SSerInfo> ports;
    std::optional<std::string> error;
    int listings = 0;
};

// A port record as discovery lists the roaster's bridge.
SSerInfo BridgeRecord(const std::string& device_path = "/dev/ttyUSB0");
