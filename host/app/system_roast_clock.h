// The recorder's clocks on the system: a monotonic timer for the seconds of
// the samples, the local calendar time (with its offset from UTC) for the
// start of a roast.
#pragma once

#include <QElapsedTimer>

#include "roast_clock.h"

class SystemRoastClock final : public RoastClock {
public:
    SystemRoastClock() { elapsed_.start(); }
    int64_t MonotonicMs() override { return elapsed_.elapsed(); }
    LocalDateTime Now() override;

private:
    QElapsedTimer elapsed_;
};
