// The serial communications control as the link uses it: the operations of
// CMscomm1 under their property names. Every operation either completes or
// throws SerialError to its caller. Events are delivered on the
// user-interface thread through the OnComm callback set by the owner.
#pragma once

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

class SerialError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// CommEvent codes.
constexpr int kCommEventSend = 1;
constexpr int kCommEventReceive = 2;
constexpr int kCommEventCts = 3;
constexpr int kCommEventDsr = 4;
constexpr int kCommEventCd = 5;
// Error codes reported through CommEvent (any value not in 1..5).
constexpr int kCommErrorBreak = 1001;
constexpr int kCommErrorFrame = 1004;
constexpr int kCommErrorOverrun = 1006;
constexpr int kCommErrorRxOver = 1008;
// A device that went away or cannot be read: the port is closed, and the
// next status frame loses the link.
constexpr int kCommErrorDeviceLost = 1100;
// Any other error the port reports on its own.
constexpr int kCommErrorOther = 1101;

class SerialControl {
public:
    virtual ~SerialControl() = default;

    // Which port PortOpen(true) opens: the device path of the port record
    // that discovery chose.
    virtual void SetCommPort(const std::string& device_path) = 0;
    virtual bool PortOpen() = 0;
    virtual void SetPortOpen(bool open) = 0;

    virtual void SetInBufferSize(int bytes) = 0;
    virtual void SetOutBufferSize(int bytes) = 0;
    virtual void SetInputLen(int bytes) = 0;      // 0: a read takes everything waiting
    virtual void SetInputMode(int mode) = 0;      // 1: binary
    virtual void SetRThreshold(int bytes) = 0;    // receive event once this many wait
    virtual void SetSettings(const std::string& settings) = 0;  // "9600,n,8,1"
    virtual void SetOutBufferCount(int bytes) = 0;  // 0: discard output not yet sent
    virtual void SetOutput(const std::vector<uint8_t>& bytes) = 0;
    virtual std::vector<uint8_t> Input() = 0;     // everything waiting; removes it
    virtual int CommEvent() = 0;

    // Called for every event of the control.
    std::function<void()> OnComm;
};
