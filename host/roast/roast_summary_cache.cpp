#include "roast_summary_cache.h"

#include <system_error>

#include "file_io.h"

std::optional<RoastFileStamp> StampOf(const std::string& path) {
    std::error_code ec;
    RoastFileStamp stamp;
    stamp.size = std::filesystem::file_size(FsPath(path), ec);
    if (ec) return std::nullopt;
    stamp.modified = std::filesystem::last_write_time(FsPath(path), ec);
    if (ec) return std::nullopt;
    return stamp;
}

RoastSummaryCache::Summary RoastSummaryCache::Get(const std::string& path) {
    // The stamp is taken before the file is read: a change made while it is
    // read gives the file a newer stamp, and the next look reads it again.
    const std::optional<RoastFileStamp> stamp = StampOf(path);
    if (stamp) {
        std::lock_guard<std::mutex> lock(mutex_);
        const auto kept = kept_.find(path);
        if (kept != kept_.end() && kept->second.stamp == *stamp) return kept->second.summary;
    }
    Summary summary = std::make_shared<const RoastSummary>(ReadRoastSummary(path));
    std::lock_guard<std::mutex> lock(mutex_);
    if (stamp)
        kept_[path] = Kept{*stamp, summary};
    else
        kept_.erase(path);  // gone, or not to be looked at: nothing to compare with next time
    return summary;
}

void RoastSummaryCache::Forget(const std::string& path) {
    std::lock_guard<std::mutex> lock(mutex_);
    kept_.erase(path);
}

void RoastSummaryCache::KeepOnly(const std::unordered_set<std::string>& present) {
    std::lock_guard<std::mutex> lock(mutex_);
    for (auto it = kept_.begin(); it != kept_.end();)
        it = present.count(it->first) ? std::next(it) : kept_.erase(it);
}

std::size_t RoastSummaryCache::size() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return kept_.size();
}
