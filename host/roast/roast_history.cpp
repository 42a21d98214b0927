#include "roast_history.h"

#include <algorithm>
#include <cctype>
#include <system_error>

#include "file_reader.h"
#include "roast_log_names.h"
#include "roast_log_text.h"
#include "roast_summary_cache.h"

namespace fs = std::filesystem;

namespace {

// "2026-12-08_140305 …": a name the console gives a log.
bool StampedName(const std::string& name) {
    const std::string shape = "dddd-dd-dd_dddddd";
    if (name.size() < shape.size()) return false;
    for (std::size_t i = 0; i < shape.size(); ++i)
        if (shape[i] == 'd' ? !std::isdigit(static_cast<unsigned char>(name[i])) : name[i] != shape[i]) return false;
    return true;
}

}  // namespace

bool IsRoastFile(const std::string& name, const std::string& head) {
    if (!IsLogFileName(name)) return false;
    if (head.empty()) return StampedName(name);
    // A spreadsheet may have put a byte order mark before the first line.
    const std::string text = head.rfind("\xEF\xBB\xBF", 0) == 0 ? head.substr(3) : head;
    return text.rfind("# ", 0) == 0 || text.rfind(kRoastLogColumns, 0) == 0;
}

bool IsRoastFileAt(const std::string& path) {
    constexpr std::size_t kHead = 256;
    FileReader file(path);
    std::string head;
    if (!file.ok() || !file.ReadAt(0, kHead, head)) return true;
    return IsRoastFile(FsPath(path).filename().u8string(), head);
}

std::vector<std::string> RoastLogPaths(const std::string& folder) {
    std::vector<std::string> paths;
    std::error_code ec;
    for (fs::directory_iterator it(FsPath(folder), ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().u8string();
        std::error_code type_ec;
        if (!IsLogFileName(name) || !it->is_regular_file(type_ec)) continue;
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
