// Turns a roast log's samples, one at a time, into what the curve draws:
// lines of the bean temperature and (while heating) of the rate of rise,
// the step marks and the cooling periods. It decides where a line breaks (a gap in the
// readings, a sensor error, the switch between heating and cooling, which
// colour the bean line differently) and hands the drawing to a sink, so a
// live roast costs the same small work per sample however long it runs.
#pragma once

#include <optional>
#include <string>

#include "curve_scales.h"
#include "roast_log.h"

// Receives the curve as the tracer makes it; values are in the panel's unit.
class CurveSink {
public:
    virtual ~CurveSink() = default;
    // A new bean-temperature line begins, drawn as heating or as cooling.
    virtual void BeginBeanLine(bool cooling) = 0;
    virtual void AddBeanPoint(double seconds, double degrees) = 0;
    virtual void BeginRateLine() = 0;
    virtual void AddRatePoint(double seconds, double degrees_per_minute) = 0;
    // A vertical mark where a step began, with its label.
    virtual void AddMark(double seconds, const std::string& label) = 0;
    // A cooling period begins, or the one begun goes on to `seconds`.
    virtual void BeginCooling(double seconds) = 0;
    virtual void ExtendCooling(double seconds) = 0;
};

// What a step mark says for a sample: the step number, or "C" in the
// cooling step. Manual cooling interrupts a step but is not a step.
std::string StepLabel(const RoastSample& sample);

class CurveTracer {
public:
    // `gap_seconds`: the log's, how far apart its samples are drawn apart.
    CurveTracer(CurveSink& sink, bool celsius, double gap_seconds = kRoastGapSeconds)
        : sink_(sink), celsius_(celsius), gap_seconds_(gap_seconds) {}

    // The next sample of the log (never earlier than the last one).
    void Add(const RoastSample& sample);

    // The temperatures and rates drawn so far, in the panel's unit.
    const ValueSpan& temperatures() const { return temperatures_; }
    const ValueSpan& rates() const { return rates_; }
    // The time of the last sample; 0 before the first.
    double last_seconds() const { return last_ ? last_->seconds : 0; }

private:
    CurveSink& sink_;
    bool celsius_;
    double gap_seconds_;
    std::optional<RoastSample> last_;
    bool bean_open_ = false;     // a bean line runs to the last sample
    bool bean_cooling_ = false;  // ...drawn as cooling
    double bean_seconds_ = 0;    // its last point
    double bean_degrees_ = 0;
    bool rate_open_ = false;
    bool cooling_open_ = false;  // a cooling period runs to the last sample
    ValueSpan temperatures_;
    ValueSpan rates_;
};
