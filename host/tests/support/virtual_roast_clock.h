// The recorder's clocks in a test's virtual time: the monotonic clock is
// the fake window's, the calendar stands still at `now`.
#pragma once

#include "fake_window.h"
#include "roast_clock.h"

class VirtualRoastClock final : public RoastClock {
public:
    explicit VirtualRoastClock(const FakeWindow& window) : window_(window) {}
    int64_t MonotonicMs() override { return window_.now_ms; }
    LocalDateTime Now() override { return now; }

    LocalDateTime now{2026, 12, 8, 14, 3, 5, 60};

private:
    const FakeWindow& window_;
};
