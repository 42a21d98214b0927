#include "roast_history.h"

#include <algorithm>
#include <system_error>

#include "roast_files.h"
#include "roast_log_names.h"
#include "roast_summary_cache.h"

namespace fs = std::filesystem;

std::vector<std::string> RoastLogPaths(const std::string& folder) {
    std::vector<std::string> paths;
    std::error_code ec;
    for (fs::directory_iterator it(FsPath(folder), ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().u8string();
        std::error_code type_ec;
        if (!IsRoastFileName(name) || !it->is_regular_file(type_ec)) continue;
        paths.push_back(it->path().u8string());
    }
    std::sort(paths.begin(), paths.end(), std::greater<>());
    return paths;
}

std::vector<RoastSummary> ListRoastLogs(const std::string& folder, RoastSummaryCache* cache) {
    std::vector<RoastSummary> list;
    for (const std::string& path : RoastLogPaths(folder)) {
        RoastSummary summary = cache ? *cache->Get(path) : ReadRoastSummary(path);
        if (summary.listed) list.push_back(std::move(summary));
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
