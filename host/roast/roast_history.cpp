#include "roast_history.h"

#include <algorithm>
#include <system_error>

#include "roast_log_files.h"
#include "roast_marks.h"
#include "roast_notes.h"

namespace fs = std::filesystem;

std::vector<RoastSummary> ListRoastLogs(const std::string& folder) {
    std::vector<RoastSummary> list;
    std::error_code ec;
    for (fs::directory_iterator it(FsPath(folder), ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().u8string();
        if (!IsLogFileName(name) || !it->is_regular_file(ec)) continue;
        RoastSummary summary;
        summary.path = it->path().u8string();
        const RoastLogParse read = ReadRoastLogFile(summary.path);
        if (!read.ok) {
            summary.problem = read.bad_line > 0 ? "line " + std::to_string(read.bad_line) + ": " + read.problem
                                                : read.problem;
            summary.start = name;  // sorts by the name's date
            list.push_back(summary);
            continue;
        }
        const RoastLog& log = read.log;
        summary.start = log.Get(roastkey::kStart);
        summary.profile = log.Get(roastkey::kProfile);
        summary.incomplete = log.Has(roastkey::kIncomplete);
        const RoastNotes notes = NotesOf(log);
        summary.bean = notes.bean;
        summary.weight_loss = notes.WeightLoss();
        if (!log.samples.empty()) summary.duration_s = log.samples.back().seconds;
        // A roast ends where the beans were dropped; without a drop mark
        // (or a reading at it) the last reading stands in.
        if (const auto drop = log.marks.Find(MarkKind::Drop)) summary.end_bean_f = drop->bean_f;
        for (auto s = log.samples.rbegin(); s != log.samples.rend() && !summary.end_bean_f; ++s)
            summary.end_bean_f = s->bean_f;
        list.push_back(summary);
    }
    std::stable_sort(list.begin(), list.end(),
                     [](const RoastSummary& a, const RoastSummary& b) { return a.start > b.start; });
    return list;
}

FileResult DeleteRoastLog(const std::string& path) {
    std::error_code ec;
    const bool removed = fs::remove(FsPath(path), ec);
    if (ec) return {false, ec.message()};
    if (!removed) return {false, "no such file"};
    return {};
}
