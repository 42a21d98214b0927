// The scales of the roast curve: elapsed time as "mm:ss", and the ranges
// and tick steps of the time, temperature and rate-of-rise axes. Plain
// arithmetic, so the window only has to apply what these give.
#pragma once

#include <string>

#include "roast_log.h"  // TemperatureInUnit

// "mm:ss" of whole seconds; minutes go on past 59 ("75:00").
std::string ClockText(double seconds);


struct TimeScale {
    double max_seconds = 0;   // the axis runs from 0 to here
    double tick_seconds = 0;  // a labelled tick every this many seconds
    bool operator==(const TimeScale& o) const { return max_seconds == o.max_seconds && tick_seconds == o.tick_seconds; }
    bool operator!=(const TimeScale& o) const { return !(*this == o); }
};

// The time axis for a curve that reaches `last_seconds`: at least ten
// minutes, some room after the last sample, whole ticks, at most twelve of
// them. It changes only when the curve passes its end.
TimeScale TimeScaleFor(double last_seconds);

struct ValueScale {
    double low = 0;
    double high = 0;
    double tick = 1;
    int Intervals() const;
    bool operator==(const ValueScale& o) const { return low == o.low && high == o.high && tick == o.tick; }
    bool operator!=(const ValueScale& o) const { return !(*this == o); }
};

// A range of values seen; empty until the first.
struct ValueSpan {
    double low = 0;
    double high = 0;
    bool empty = true;
    void Add(double value);
};

// The temperature axis, in the panel's unit: 0-500 °F (0-250 °C) in ten
// steps, widened by whole steps to hold every temperature seen.
ValueScale TemperatureScaleFor(const ValueSpan& seen, bool celsius);

// The rate-of-rise axis with the same number of intervals as the
// temperature axis, so both share the grid lines. It holds zero, a usual
// roast's rates, and what was seen within -100..150 °F/min; steeper rates
// (the first seconds of cooling) run off the chart rather than squash it.
ValueScale RateScaleFor(const ValueSpan& seen, int intervals, bool celsius);
