// The saved roasts of the roasts folder, a line each, for the history list.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "file_io.h"

struct RoastSummary {
    std::string path;
    std::string start;    // as the log says it: ISO 8601 local time
    std::string profile;
    std::string bean;
    double duration_s = 0;          // the last sample's time
    std::optional<int32_t> end_bean_f;  // at the drop mark, else the last reading
    std::optional<double> weight_loss;  // percent
    bool incomplete = false;
    std::string problem;  // set when the file does not read; the rest is empty
};

// Every "*.csv" log of `folder`, newest start first; a file that does not
// read is listed with its problem.
std::vector<RoastSummary> ListRoastLogs(const std::string& folder);

// Deletes a saved roast.
FileResult DeleteRoastLog(const std::string& path);
