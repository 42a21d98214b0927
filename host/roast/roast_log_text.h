// The roast log as text: header lines "# key: value" (the marks' event
// lines last, before the line saying the log is incomplete), then the
// column line, then one comma-separated row per sample. Numbers are
// written the same in every locale (a point before the one decimal).
//
//   # program: kavolo-roaster 1.0
//   # profile: Roast
//   ...
//   seconds,bean_f,shown_f,ror_f_per_min,state,phase,step,fan,heat,time_left_min
//   0.4,72,72,,run,heat,1,9,3,5.9
#pragma once

#include <string>

#include "roast_log.h"
#include "roast_numbers.h"

extern const char* const kRoastLogColumns;

// The words of the state and phase columns ("run", "finished"; "heat",
// "cool", "manual_cool", ...).
std::string StateWord(int32_t machine_state);
std::string PhaseWord(int32_t run_phase);

// The header lines and the column line.
std::string FormatRoastHeader(const RoastLog& log);
// One row, with its line end.
std::string FormatRoastSample(const RoastSample& sample);
// The whole log.
std::string FormatRoastLog(const RoastLog& log);

struct RoastLogParse {
    bool ok = false;
    RoastLog log;
    int bad_line = 0;     // 1-based line of the first problem
    std::string problem;  // what is wrong with it
};

// Reads a log. Header lines among the rows (a partial log gets them for
// marks and notes changed while the roast ran) replace what the header
// said; the event lines become the log's marks, the last line of a kind
// winning. A header value the console reads
// that does not read (an event, a weight) is refused like a bad row. With
// `allow_cut_end`, a last line without its line end (a write cut short) is
// dropped instead of refused, and a missing column line reads as a log
// without samples.
RoastLogParse ParseRoastLog(const std::string& text, bool allow_cut_end = false);

// A reading refused: at `line` (0: no line) for `problem`.
RoastLogParse RoastLogRefused(int line, const std::string& problem);
