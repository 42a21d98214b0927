// Which files are roasts, and reading them whatever they are: the console's
// own logs, Artisan's profiles (.alog) and Artisan's CSV, told apart by
// their first bytes, not their names. Everything that opens a saved roast
// (the curve window, the background, the history, a comparison, the
// command line) reads it through here and gets a RoastLog; none of them
// needs to know which program wrote it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "roast_log_text.h"
#include "roast_summary.h"

// Files larger than this are refused without being read.
constexpr std::uint64_t kLargestRoastFile = 64ull << 20;

// The names the roasts folder's roasts have: "*.csv" and "*.alog" (a
// partial log, "*.csv.partial", is none).
bool IsRoastFileName(const std::string& name);

// What the first bytes of a file say it is.
enum class RoastFileKind { None, ConsoleLog, ArtisanProfile, ArtisanCsv };
RoastFileKind RoastFileKindOf(const std::string& head);

// Reads a roast file's text, whichever kind it is; text of no kind is read
// as a console log, whose reading says what is wrong with it.
RoastLogParse ParseRoastFileText(const std::string& text);

// Reads the file at `path` as the roast it is; a file that cannot be read,
// or is larger than kLargestRoastFile, gives line 0 and the reason.
RoastLogParse ReadRoastFile(const std::string& path);

// Whether the file at `path` is a roast the console reads and, if it is,
// what the history shows of it (a roast file that does not read: its
// problem); none for a file of no roast kind (a table saved beside the
// roasts, an empty file).
std::optional<RoastSummary> ReadRoastSummaryIfRoast(const std::string& path);

// True when the file at `path` is one of the console's own logs, whose
// header the notes typed for it are written into; another program's file
// is left as it is.
bool RoastFileKeepsNotes(const std::string& path);
