// The scales of the roast curve: elapsed time as "mm:ss", and the ranges
// and tick steps of the time, temperature and rate-of-rise axes. Plain
// arithmetic, so the window only has to apply what these give.
#pragma once

#include <string>

#include "roast_log.h"  // TemperatureInUnit

// "mm:ss" of whole seconds; minutes go on past 59 ("75:00"); a time before
// the zero has a minus ("-01:30").
std::string ClockText(double seconds);


struct TimeScale {
    double min_seconds = 0;   // the axis runs from here (0, or before it)
    double max_seconds = 0;   // to here
    double tick_seconds = 0;  // a labelled tick every this many seconds, from 0
    double Span() const { return max_seconds - min_seconds; }
    bool operator==(const TimeScale& o) const {
        return min_seconds == o.min_seconds && max_seconds == o.max_seconds && tick_seconds == o.tick_seconds;
    }
    bool operator!=(const TimeScale& o) const { return !(*this == o); }
};

// The time axis for a curve that reaches `last_seconds`: at least ten
// minutes, some room after the last sample, whole ticks, at most
// `max_ticks` of them (twelve, or fewer on a narrow plot). It changes only
// when the curve passes its end.
TimeScale TimeScaleFor(double last_seconds, int max_ticks = 12);
// The time axis for curves from `first_seconds` (0 or before it) to
// `last_seconds`, on whole ticks that hold both, at most `max_ticks`.
TimeScale TimeScaleSpanning(double first_seconds, double last_seconds, int max_ticks = 12);

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
    // Widened to hold `other` too.
    void Add(const ValueSpan& other);
};

// The temperature axis, in the panel's unit: 0-500 °F (0-250 °C) in ten
// steps, widened by whole steps to hold every temperature seen. On a plot
// with room for fewer than `max_intervals` labels up its side, the steps
// are twice (or four times...) as wide, so every label can be read.
ValueScale TemperatureScaleFor(const ValueSpan& seen, bool celsius, int max_intervals = 10);

// The rate-of-rise axis with the same number of intervals as the
// temperature axis, so both share the grid lines. It spans the heating
// rates seen, with a little room, and at least 0..30 °F/min; it reaches no
// lower than -20 °F/min and no higher than 150 °F/min, so a rate beyond
// (the beans cooling) runs off the chart rather than squash it.
ValueScale RateScaleFor(const ValueSpan& seen, int intervals, bool celsius);
