// The simulated roaster inside the console's own process, behind the
// serial control's interface: what the console writes reaches the model
// at once, and what the model sends arrives on the line when it is due
// (its reply delay, the gaps of an upload, split frames, garbage,
// silence), taken as the real serial control (CMscomm1) takes bytes from a
// port:
// - one receive event (code 2), raised from the event loop, once at least
//   RThreshold bytes wait; a read takes everything waiting;
// - bytes that arrive while the port is closed are lost, and an opening
//   starts with nothing waiting;
// - the operations fail as the real control's do (an open port cannot be
//   reconfigured, nothing is written to a closed one, a frame larger than
//   the output buffer is refused);
// - a device that vanishes closes the port and is reported once as
//   kCommErrorDeviceLost; it cannot be opened again.
// Plain C++: the event loop it runs on (its clock, a call at a time and a
// call after the current event) is an interface, so tests run it in
// virtual time and the program on Qt's event loop.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "port_lister.h"
#include "roaster_model.h"
#include "serial_control.h"

class LoopbackSerial : public SerialControl {
public:
    class EventLoop {
    public:
        virtual ~EventLoop() = default;
        virtual int64_t NowMs() const = 0;
        // Calls Pump() at `at_ms` (at once when it has passed); a new
        // request replaces the one before.
        virtual void PumpAt(int64_t at_ms) = 0;
        // Runs `call` from the event loop once the event being handled is
        // done.
        virtual void Post(std::function<void()> call) = 0;
    };

    // The port the roaster is found at: what discovery lists and SetCommPort
    // must name.
    static constexpr const char* kDevice = "simulated roaster";

    // `model` and `loop` must outlive the control.
    LoopbackSerial(RoasterModel& model, EventLoop& loop);

    // Moves the bytes the model has due onto the line.
    void Pump();
    // The roaster is switched off at the machine: it sends its notice.
    void PowerOff();
    // The device disappears, as an unplugged bridge does, for good.
    void Vanish();
    bool present() const { return present_; }

    // Sees every piece the roaster puts on the line.
    std::function<void(const std::vector<uint8_t>&)> on_sent;

    // SerialControl
    void SetCommPort(const std::string& device_path) override;
    bool PortOpen() override { return open_; }
    void SetPortOpen(bool open) override;
    void SetInBufferSize(int bytes) override;
    void SetOutBufferSize(int bytes) override;
    void SetInputLen(int bytes) override;
    void SetInputMode(int mode) override;
    void SetRThreshold(int bytes) override;
    void SetSettings(const std::string& settings) override;
    void SetOutBufferCount(int bytes) override;
    void SetOutput(const std::vector<uint8_t>& bytes) override;
    std::vector<uint8_t> Input() override;
    int CommEvent() override { return event_; }

private:
    void QueueDelivery();
    void DeliverReceive();
    void Raise(int code);

    RoasterModel& model_;
    EventLoop& loop_;
    std::string port_;
    bool present_ = true;
    bool open_ = false;
    std::vector<uint8_t> input_;
    int in_buffer_size_ = 1024;
    int out_buffer_size_ = 1024;
    int input_len_ = 0;
    int threshold_ = 0;
    int event_ = 0;
    bool delivery_queued_ = false;
    // Counts openings, so a report queued for one opening never reaches a
    // later one.
    uint64_t opening_ = 0;
};

// Port discovery beside the loopback: its device as the roaster's bridge
// while it is present, and no port once it vanished.
class LoopbackPortLister : public PortLister {
public:
    explicit LoopbackPortLister(const LoopbackSerial& serial) : serial_(serial) {}
    void ListSerialPorts(std::vector<SSerInfo>& ports) override;

private:
    const LoopbackSerial& serial_;
};
