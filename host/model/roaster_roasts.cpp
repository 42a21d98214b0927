#include "roaster_roasts.h"

#include <chrono>
#include <cstdint>

#include "roast_history.h"
#include "roast_log_files.h"
#include "roast_marks.h"
#include "roast_notes.h"
#include "roast_summary.h"
#include "roast_summary_cache.h"

namespace {

// FNV-1a, 64 bits: the same on every system and in every run.
void Mix(std::uint64_t& hash, const std::string& text) {
    for (const unsigned char ch : text) {
        hash ^= ch;
        hash *= 1099511628211ull;
    }
}

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// How long `log` heated, by its header and last rows: to its drop mark,
// else (a roast that never cooled) to its last sample.
double HeatedSeconds(const RoastLog& log) {
    if (const std::optional<RoastMark> drop = log.marks.Find(MarkKind::Drop)) return drop->seconds;
    return log.samples.empty() ? 0.0 : log.samples.back().seconds;
}

}  // namespace

std::optional<std::string> RoasterOfLog(const RoastLog& log) {
    if (log.Get(roastkey::kProgram).rfind(kConsoleProgram, 0) != 0) return std::nullopt;
    return log.Has(roastkey::kRoaster) ? log.Get(roastkey::kRoaster) : kPortRoaster;
}

RoasterRoasts ReadRoasterRoasts(const std::string& folder, const std::string& roaster) {
    RoasterRoasts out;
    std::uint64_t hash = 14695981039346656037ull;
    int seen = 0;
    for (const std::string& path : RoastLogPaths(folder)) {
        if (static_cast<int>(out.logs.size()) >= kMostModelRoasts && seen >= kMostFirstCrackRoasts) break;
        // The console's logs are "*.csv"; Artisan's profiles are not its.
        if (!EndsWith(path, ".csv")) continue;
        const RoastLogParse ends = ReadRoastLogEnds(path);
        if (!ends.ok || RoasterOfLog(ends.log) != roaster) continue;
        ++seen;
        if (const std::optional<RoastMark> crack = ends.log.marks.Find(MarkKind::FirstCrack); crack && crack->bean_f)
            out.first_cracks.push_back({ends.log.Get(kBeanKey), static_cast<double>(*crack->bean_f)});
        if (static_cast<int>(out.logs.size()) >= kMostModelRoasts ||
            HeatedSeconds(ends.log) < kShortestModelRoastSeconds)
            continue;
        const std::optional<RoastFileStamp> stamp = StampOf(path);
        RoastLogParse whole = ReadRoastLogFile(path);
        if (!stamp || !whole.ok || !ModelRoastOf(whole.log)) continue;
        Mix(hash, path);
        Mix(hash, std::to_string(stamp->size));
        Mix(hash, std::to_string(stamp->modified.time_since_epoch().count()));
        out.logs.push_back(std::move(whole.log));
    }
    char key[17];
    for (int i = 0; i < 16; ++i) key[i] = "0123456789abcdef"[(hash >> (60 - 4 * i)) & 15];
    key[16] = '\0';
    out.key = key;
    return out;
}
