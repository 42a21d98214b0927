// A simulated roaster the console talks to, wherever it runs: on a
// pseudo-terminal behind the real serial control (SimulatedRoasterHost) or
// inside the console's own process behind the serial control's interface
// (SimulatedRoasterLoopback). The program's --simulate and the tests reach
// either through this.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "roaster_model.h"

class SimulatedRoaster {
public:
    virtual ~SimulatedRoaster() = default;

    virtual RoasterModel& model() = 0;
    virtual const RoasterModel& model() const = 0;
    // Milliseconds since it was made: the time base of the model.
    virtual int64_t NowMs() const = 0;

    // The roaster is switched off at the machine.
    virtual void PowerOff() = 0;
    // The device disappears, as an unplugged bridge does.
    virtual void Vanish() = 0;

    // Called for every frame the roaster receives.
    std::function<void(const ReceivedFrame&)> on_frame;
    // Called for every piece the roaster writes to the line.
    std::function<void(const std::vector<uint8_t>&)> on_sent;
};
