// The text lines of the curve window: the values at the last sample, and
// what the log is (profile, start, how it ended, its file).
#pragma once

#include <optional>
#include <string>

#include "roast_log.h"

// "12:34   Bean 395 °F   Rate of rise 18.2 °F/min   Step 3   Fan 7   Heat 2"
// in the panel's unit; "C" for the cooling step and "—" where there is no
// value (a sensor error, no rate yet, no sample at all).
std::string ReadingText(const std::optional<RoastSample>& sample, bool celsius);

// "Profile: Roast   Started 2026-12-08 14:03:05   Incomplete (closed)   File: x.csv";
// empty parts are left out.
std::string LogSummaryText(const RoastLog& log, const std::string& file_name);

// A file name for saving `log` elsewhere: its start and profile, as the
// roasts folder names its logs ("2026-12-08_140305 Roast.csv").
std::string SuggestedLogName(const RoastLog& log);
