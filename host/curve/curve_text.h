// The text lines of the curve window: the values at the last sample, and
// what the log is (profile, start, how it ended, its file).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "roast_log.h"
#include "roast_marks.h"
#include "roast_phases.h"

// "12:34   Bean 395 °F   Rate of rise 18.2 °F/min   Step 3   Fan 7   Heat 2"
// in the panel's unit; "C" for the cooling step and "—" where there is no
// value (a sensor error, no rate yet, no sample at all).
std::string ReadingText(const std::optional<RoastSample>& sample, bool celsius);

// "2026-12-08 14:03:05" of a log's start "2026-12-08T14:03:05+01:00";
// anything else as it is.
std::string StartText(const std::string& iso_start);

// "Profile: Roast   Started 2026-12-08 14:03:05   Incomplete (closed)   File: x.csv";
// empty parts are left out.
std::string LogSummaryText(const RoastLog& log, const std::string& file_name);

// A mark's label on the curve: "First crack 388 °F" in the panel's unit,
// the name alone when the sensor gave no temperature.
std::string MarkText(const RoastMark& mark, bool celsius);

// "+4 °F vs background": the bean temperature now less the background
// roast's at the same time, in the panel's unit, its sign always shown;
// empty when either is missing.
std::string BackgroundDifferenceText(const std::optional<double>& bean_f, const std::optional<double>& background_f,
                                     bool celsius);

// A phase as the phase bar draws it: where it lies on the bar (fractions
// of the roast so far) and what it says.
struct PhaseSegment {
    std::string name;      // "Drying", "Maillard", "Development"
    double from = 0, to = 0;
    std::string figures;   // "4:05 · 43 %"
};
// The phases that have a duration, in roast order.
std::vector<PhaseSegment> PhaseSegments(const RoastPhases& phases);
// "DTR 18.5 %", or "DTR —" before there is a development.
std::string DevelopmentRatioText(const RoastPhases& phases);
