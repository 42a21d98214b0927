// What the roast history shows of a saved roast, read without parsing the
// whole log: the header lines (through the column line) and the last rows,
// read from the end of the file, which give the duration and the end
// temperature.
//
// A log that does not read is listed with its problem. Read this way, the
// problems found are those of the header (a line that is not "# key:
// value", a mark or a weight that does not read, no column line), of the
// last rows (a bad row, a row cut short, times going backwards) and a file
// that cannot be opened or read; the problem then names its line as a
// whole reading would. A bad row in the middle of a log is found only when
// the log is opened, and header lines among the rows (a partial log's
// journal; a finished log has none) count only near the end.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "roast_log.h"
#include "roast_log_text.h"

struct RoastSummary {
    std::string path;
    std::string start;    // as the log says it: ISO 8601 local time
    std::string profile;
    std::string bean;
    std::string notes;    // the free text of the notes, line breaks included
    double duration_s = 0;              // the last sample's time
    std::optional<int32_t> end_bean_f;  // at the drop mark, else the last reading
    std::optional<double> weight_loss;  // percent
    bool incomplete = false;
    bool steered = false;  // a followed roast that kept its steering as a program
    std::string problem;  // set when the file does not read; `start` is then its name
    bool listed = true;   // false for a file that is no roast (IsRoastFile): the history passes it over

    bool operator==(const RoastSummary& o) const;
    bool operator!=(const RoastSummary& o) const { return !(*this == o); }
};

// The bean temperature a roast ended at: at its drop mark when the mark has
// one, else the last reading.
std::optional<int32_t> EndBeanTemperature(const RoastLog& log);

// The summary of a log that read; its samples may be the last ones only.
RoastSummary SummaryOf(const RoastLog& log, const std::string& path);

// Reads the header of the log at `path` and, from the end of the file,
// enough of its last rows for the last sample and the last reading with a
// temperature; the samples of the result are those rows. A problem in the
// rows read is reported with its line, as ReadRoastLogFile reports it.
RoastLogParse ReadRoastLogEnds(const std::string& path);

// The summary of the roast file at `path`, whichever kind it is (see
// roast_files.h); a file that does not read gives its problem ("line 3:
// bad event ..."), and a file of no roast kind is not listed.
RoastSummary ReadRoastSummary(const std::string& path);

// The summary of the console's log at `path`, read as ReadRoastLogEnds
// reads it.
RoastSummary ReadLogSummary(const std::string& path);
// The summary of a file that does not read: its name for its start, and
// its problem.
RoastSummary SummaryOfProblem(const std::string& path, const std::string& problem);
