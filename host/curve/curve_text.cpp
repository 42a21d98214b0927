#include "curve_text.h"

#include <cmath>

#include "curve_scales.h"
#include "curve_tracer.h"
#include "rate_of_rise.h"
#include "roast_log_files.h"
#include "roast_log_text.h"

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
        fan = std::to_string(sample->fan);
        heat = std::to_string(sample->heat);
    }
    return time + kSpacing + "Bean " + bean + kSpacing + "Rate of rise " + rate + kSpacing + "Step " + step +
           kSpacing + "Fan " + fan + kSpacing + "Heat " + heat;
}

std::string LogSummaryText(const RoastLog& log, const std::string& file_name) {
    std::string text;
    auto add = [&](const std::string& part) {
        if (!text.empty()) text += kSpacing;
        text += part;
    };
    if (const std::string profile = log.Get(roastkey::kProfile); !profile.empty()) add("Profile: " + profile);
    if (std::string start = log.Get(roastkey::kStart); !start.empty()) {
        // "2026-12-08T14:03:05+01:00" reads as "2026-12-08 14:03:05".
        if (start.size() >= 19 && start[10] == 'T') start = start.substr(0, 10) + " " + start.substr(11, 8);
        add("Started " + start);
    }
    if (log.Has(roastkey::kIncomplete)) {
        const std::string why = log.Get(roastkey::kIncomplete);
        add(why.empty() ? "Incomplete" : "Incomplete (" + why + ")");
    }
    if (!file_name.empty()) add("File: " + file_name);
    return text;
}

std::string SuggestedLogName(const RoastLog& log) {
    // "2026-12-08T14:03:05+01:00" gives "2026-12-08_140305", as the roasts
    // folder names its logs.
    const std::string start = log.Get(roastkey::kStart);
    std::string stamp = "roast";
    if (start.size() >= 19 && start[10] == 'T')
        stamp = start.substr(0, 10) + "_" + start.substr(11, 2) + start.substr(14, 2) + start.substr(17, 2);
    const std::string profile = log.Get(roastkey::kProfile);
    return SafeFileName(profile.empty() ? stamp : stamp + " " + profile) + ".csv";
}
