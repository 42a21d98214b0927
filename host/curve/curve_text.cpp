#include "curve_text.h"

#include <cmath>
#include <cstdlib>

#include "curve_scales.h"
#include "curve_tracer.h"
#include "rate_of_rise.h"
#include "roast_numbers.h"

namespace {

const std::string kNone = "\u2014";  // em dash
const std::string kSpacing = "   ";

}  // namespace

std::string ReadingText(const std::optional<RoastSample>& sample, bool celsius) {
    const std::string unit = celsius ? "\u00b0C" : "\u00b0F";
    std::string time = kNone, bean = kNone, rate = kNone, step = kNone, fan = kNone, heat = kNone;
    if (sample) {
        time = ClockText(sample->seconds);
        if (sample->bean_f)
            bean = std::to_string(std::lround(TemperatureInUnit(*sample->bean_f, celsius))) + " " + unit;
        if (sample->ror_f_per_min) rate = OneDecimal(DegreesInUnit(*sample->ror_f_per_min, celsius)) + " " + unit + "/min";
        step = StepLabel(*sample);
        if (sample->fan != kLevelUnknown) fan = std::to_string(sample->fan);
        if (sample->heat != kLevelUnknown) heat = std::to_string(sample->heat);
    }
    return time + kSpacing + "Bean " + bean + kSpacing + "Rate of rise " + rate + kSpacing + "Step " + step +
           kSpacing + "Fan " + fan + kSpacing + "Heat " + heat;
}

std::string StartText(const std::string& start) {
    if (start.size() >= 19 && start[10] == 'T') return start.substr(0, 10) + " " + start.substr(11, 8);
    return start;
}

std::string LogSummaryText(const RoastLog& log, const std::string& file_name) {
    std::string text;
    auto add = [&](const std::string& part) {
        if (!text.empty()) text += kSpacing;
        text += part;
    };
    if (const std::string profile = log.Get(roastkey::kProfile); !profile.empty()) add("Profile: " + profile);
    if (const std::string start = log.Get(roastkey::kStart); !start.empty()) add("Started " + StartText(start));
    if (log.Has(roastkey::kIncomplete)) {
        const std::string why = log.Get(roastkey::kIncomplete);
        add(why.empty() ? "Incomplete" : "Incomplete (" + why + ")");
    }
    if (!file_name.empty()) add("File: " + file_name);
    return text;
}

std::string MarkText(const RoastMark& mark, bool celsius) {
    std::string text = MarkLabel(mark.kind);
    if (mark.bean_f)
        text += " " + std::to_string(std::lround(TemperatureInUnit(*mark.bean_f, celsius))) + (celsius ? " \u00b0C" : " \u00b0F");
    return text;
}

std::string BackgroundDifferenceText(const std::optional<double>& bean_f, const std::optional<double>& background_f,
                                     bool celsius) {
    if (!bean_f || !background_f) return {};
    const long difference = std::lround(DegreesInUnit(*bean_f - *background_f, celsius));
    return (difference < 0 ? "-" : "+") + std::to_string(std::labs(difference)) + (celsius ? " \u00b0C" : " \u00b0F") +
           " vs background";
}

std::vector<PhaseSegment> PhaseSegments(const RoastPhases& p) {
    std::vector<PhaseSegment> segments;
    if (p.total <= 0) return segments;
    auto add = [&](const char* name, const std::optional<double>& phase, double from_seconds) {
        if (!phase) return;
        const double share = *p.Share(phase);
        segments.push_back({name, from_seconds / p.total, (from_seconds + *phase) / p.total,
                            MinutesSeconds(*phase) + " \u00b7 " + std::to_string(std::lround(share)) + " %"});
    };
    // Drying starts the roast, the Maillard phase follows it, and the
    // development runs to the end of what is measured.
    add("Drying", p.drying, 0);
    add("Maillard", p.maillard, p.drying.value_or(0));
    if (p.development) add("Development", p.development, p.total - *p.development);
    return segments;
}

std::string DevelopmentRatioText(const RoastPhases& phases) {
    const std::optional<double> ratio = phases.DevelopmentRatio();
    return "DTR " + (ratio ? OneDecimal(*ratio) + " %" : kNone);
}
