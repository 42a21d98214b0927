// The clocks a recording reads: a monotonic one for the seconds of its
// samples, and the local calendar time for its start. The program reads the
// system's clocks; tests give virtual time.
#pragma once

#include <cstdint>
#include <string>

struct LocalDateTime {
    int year = 2000, month = 1, day = 1;
    int hour = 0, minute = 0, second = 0;
    int utc_offset_minutes = 0;
};

class RoastClock {
public:
    virtual ~RoastClock() = default;
    virtual int64_t MonotonicMs() = 0;
    virtual LocalDateTime Now() = 0;
};

// "2026-12-08T14:03:05+01:00"
std::string IsoDateTime(const LocalDateTime& t);
