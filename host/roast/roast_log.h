// A roast log: what one recording holds. Header lines (key and value, in
// the order they were written, unknown keys included), the roast's marks,
// and one sample per reply frame of the roaster. Temperatures are degrees
// Fahrenheit.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "roast_marks.h"

struct RoastSample {
    double seconds = 0;                     // since the recording began
    std::optional<int32_t> bean_f;          // the raw reading; none for a sensor error
    std::optional<int32_t> shown_f;         // the smoothed reading the panel shows
    std::optional<double> ror_f_per_min;    // none until enough readings exist
    int32_t machine_state = 0;              // controller values at the reading
    int32_t run_phase = 0;
    int32_t step = 0;
    int32_t fan = 0;                        // kLevelUnknown where the log does not say
    int32_t heat = 0;
    int32_t time_left_units = 0;            // tenths of a minute
};

// A fan or heat level the log does not say (a roast read from another
// program's file without the events that would say it).
constexpr int32_t kLevelUnknown = -1;
inline bool LevelsKnown(const RoastSample& s) { return s.fan != kLevelUnknown && s.heat != kLevelUnknown; }

struct RoastHeaderLine {
    std::string key;
    std::string value;
};

// Samples further apart than this have a gap between them: the link was
// down and nothing was read.
constexpr double kRoastGapSeconds = 2.0;

struct RoastLog {
    std::vector<RoastHeaderLine> header;  // every line but the marks'
    RoastMarks marks;
    std::vector<RoastSample> samples;
    // Samples further apart than this have a gap between them: the
    // console's own readings come twice a second; a file sampled less
    // often has a longer one (see GapSecondsFor).
    double gap_seconds = kRoastGapSeconds;

    // The value of the first line with `key`; empty when there is none.
    std::string Get(const std::string& key) const;
    bool Has(const std::string& key) const;
    // Replaces the value of the first line with `key`, or adds the line.
    void Set(const std::string& key, const std::string& value);
    // Removes every line with `key`.
    void Remove(const std::string& key);
};

// Header keys the console writes.
namespace roastkey {
inline const std::string kProgram = "program";
// The roaster a roast was recorded on: kPortRoaster for the roaster on the
// port, or a simulated one's name. A log of the console's without the line
// (an older one) was recorded on the roaster on the port.
inline const std::string kRoaster = "roaster";
inline const std::string kProfile = "profile";
inline const std::string kProfileFile = "profile_file";
inline const std::string kStart = "start";
inline const std::string kPlannedSteps = "planned_steps";
inline const std::string kRunSteps = "run_steps";
// A followed roast's steering kept as a program, in the form of run_steps.
inline const std::string kSteeredSteps = "steered_steps";
inline const std::string kIncomplete = "incomplete";
// Why a roast read from another program's file has no run_steps.
inline const std::string kRunStepsUnknown = "run_steps_unknown";
}  // namespace roastkey

// The name the console's own logs begin their "program" with, before its
// version; another program's roasts read into a log name that program.
inline const std::string kConsoleProgram = "kavolo-roaster";
// The roaster on the port, as a log names it.
inline const std::string kPortRoaster = "Kavolo QL-900";

// True when the roaster read no temperature between `a` and `b`.
inline bool IsGap(const RoastSample& a, const RoastSample& b, double gap_seconds = kRoastGapSeconds) {
    return b.seconds - a.seconds > gap_seconds;
}

// The gap of samples so spaced: kRoastGapSeconds, or two and a half times
// their usual spacing (the median) when that is longer, so a file sampled
// every three seconds draws as a line and a lost link still shows.
double GapSecondsFor(const std::vector<RoastSample>& samples);

// The minutes a sample's time left stands for.
inline double TimeLeftMinutes(const RoastSample& s) { return s.time_left_units / 10.0; }

// The bean temperature of `log` at `seconds`, between the two samples
// around it; none outside the log, across a gap or next to a sensor error.
std::optional<double> BeanAt(const RoastLog& log, double seconds);
// The same of `samples`, with gaps longer than `gap_seconds`.
std::optional<double> BeanAt(const std::vector<RoastSample>& samples, double seconds, double gap_seconds);

// A temperature of the log (°F) in the unit the panel shows.
inline double TemperatureInUnit(double fahrenheit, bool celsius) {
    return celsius ? (fahrenheit - 32.0) * 5.0 / 9.0 : fahrenheit;
}

// True for the run phases in which the heater is off.
bool IsCoolingPhase(int32_t run_phase);
