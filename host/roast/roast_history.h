// The saved roasts of the roasts folder, a line each, for the history list.
#pragma once

#include <string>
#include <vector>

#include "file_io.h"
#include "roast_summary.h"

class RoastSummaryCache;

// Whether a file of the roasts folder is a roast the history lists, by its
// `name` and its first bytes (`head`: up to a few hundred): a "*.csv" whose
// first line is a header line ("# key: value") or the column line, or an
// empty one named as the console names its logs (a log cut short).
// Anything else saved there (a table, say) is passed over. A reader of
// other roast files adds them here.
bool IsRoastFile(const std::string& name, const std::string& head);
// The same for the file at `path`, of which it reads the first bytes; a
// file that cannot be read is listed, so its problem is said.
bool IsRoastFileAt(const std::string& path);

// The "*.csv" logs of `folder` (not the partial log of a roast under way),
// by their names from the last to the first: the folder names its logs by
// their start, so the newest come first.
std::vector<std::string> RoastLogPaths(const std::string& folder);

// Every roast log of `folder` (IsRoastFile), newest start first; a file
// that does not read is listed with its problem. With a `cache`, files that did not
// change since it read them are not read again.
std::vector<RoastSummary> ListRoastLogs(const std::string& folder, RoastSummaryCache* cache = nullptr);

// Deletes a saved roast.
FileResult DeleteRoastLog(const std::string& path);
