#include "curve_tracer.h"

#include "controller_state.h"
#include "rate_of_rise.h"

std::string StepLabel(const RoastSample& sample) {
    return sample.run_phase == kCool ? "C" : std::to_string(sample.step);
}

void CurveTracer::Add(const RoastSample& s) {
    // Nothing is drawn across a time without readings: the link was down.
    const bool gap = last_ && IsGap(*last_, s, gap_seconds_);
    const bool cooling = IsCoolingPhase(s.run_phase);

    if (last_ && StepLabel(*last_) != StepLabel(s)) sink_.AddMark(s.seconds, StepLabel(s));

    if (cooling && cooling_open_ && !gap) {
        sink_.ExtendCooling(s.seconds);
    } else if (cooling) {
        sink_.BeginCooling(s.seconds);
    }
    cooling_open_ = cooling;

    if (!s.bean_f) {
        bean_open_ = false;  // a sensor error: no temperature to draw
    } else {
        const double degrees = TemperatureInUnit(*s.bean_f, celsius_);
        const bool continues = bean_open_ && !gap;
        if (!continues || cooling != bean_cooling_) {
            sink_.BeginBeanLine(cooling);
            // The line changes colour where the phase changed, without a
            // break in it.
            if (continues) sink_.AddBeanPoint(bean_seconds_, bean_degrees_);
        }
        sink_.AddBeanPoint(s.seconds, degrees);
        temperatures_.Add(degrees);
        bean_open_ = true;
        bean_cooling_ = cooling;
        bean_seconds_ = s.seconds;
        bean_degrees_ = degrees;
    }

    // The rate of rise is the heating's: in cooling it is steep and
    // negative, and would squash the part a roaster reads.
    if (!s.ror_f_per_min || cooling) {
        rate_open_ = false;
    } else {
        const double rate = DegreesInUnit(*s.ror_f_per_min, celsius_);
        if (!rate_open_ || gap) sink_.BeginRateLine();
        sink_.AddRatePoint(s.seconds, rate);
        rates_.Add(rate);
        rate_open_ = true;
    }
    last_ = s;
}
