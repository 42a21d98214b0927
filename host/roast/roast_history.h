// The saved roasts of the roasts folder, a line each, for the history list.
#pragma once

#include <string>
#include <vector>

#include "file_io.h"
#include "roast_summary.h"

class RoastSummaryCache;

// The roast files of `folder`, "*.csv" and "*.alog" (not the partial log
// of a roast under way), by their names from the last to the first: the
// folder names its logs by their start, so the newest come first.
std::vector<std::string> RoastLogPaths(const std::string& folder);

// Every roast file of `folder`, newest start first; a file that does not
// read is listed with its problem, and one of no roast kind (a table saved
// beside the roasts) is passed over. With a `cache`, files that did not
// change since it read them are not read again.
std::vector<RoastSummary> ListRoastLogs(const std::string& folder, RoastSummaryCache* cache = nullptr);

// Deletes a saved roast.
FileResult DeleteRoastLog(const std::string& path);
