// The simulated roaster's model on the harness's FakeSerial, in virtual
// time: the frames the console writes reach the model at once, and what
// the model sends arrives when it is due, through the receive threshold as
// the real serial control takes it. Minutes of roasting with real frames
// run in milliseconds, and faults are injected on either side: the model's
// own (silence, garbage, split frames, the power-off notice), write errors
// of the fake, or the bridge being unplugged and plugged in again.
#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "controller_harness.h"
#include "roaster_model.h"

class VirtualWire : public VirtualEvents {
public:
    // Lists the bridge and connects it; the harness must outlive the wire.
    explicit VirtualWire(ControllerHarness& harness, const RoasterModel::Options& options = RoasterModel::Options{});
    ~VirtualWire() override;

    VirtualWire(const VirtualWire&) = delete;
    VirtualWire& operator=(const VirtualWire&) = delete;

    // The bridge is pulled out: it leaves the port listing, the open port
    // closes and the control reports the lost device once, as CMscomm1
    // does; nothing crosses the line until it is plugged in again.
    void Unplug();
    // The bridge is back in the port listing.
    void Plug();
    bool plugged() const { return plugged_; }

    // VirtualEvents
    std::optional<int64_t> NextDueMs() const override { return model.NextDueMs(); }
    void RunDue(int64_t now_ms) override;

    RoasterModel model;
    // Sees every piece the roaster puts on the line, as it arrives.
    std::function<void(const std::vector<uint8_t>&)> on_sent;

private:
    ControllerHarness& h_;
    bool plugged_ = true;
};
