// The summaries of the roast logs read so far, kept for as long as the
// program runs, each with the size and modification time its file had
// when it was read: a file whose size or time changed since is read again.
// Safe to use from several threads at once; files are read outside its
// lock.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "roast_summary.h"

struct RoastFileStamp {
    std::uintmax_t size = 0;
    std::filesystem::file_time_type modified{};
    bool operator==(const RoastFileStamp& o) const { return size == o.size && modified == o.modified; }
    bool operator!=(const RoastFileStamp& o) const { return !(*this == o); }
};

// The size and modification time of the file at `path`; none when it
// cannot be looked at.
std::optional<RoastFileStamp> StampOf(const std::string& path);

class RoastSummaryCache {
public:
    using Summary = std::shared_ptr<const RoastSummary>;

    // The summary of the log at `path`: the one kept while the file has the
    // size and time it was read at, else read afresh and kept.
    Summary Get(const std::string& path);
    // Forgets a file (it was deleted).
    void Forget(const std::string& path);
    // Forgets every file but those of `present` (the folder as last listed).
    void KeepOnly(const std::unordered_set<std::string>& present);
    std::size_t size() const;

private:
    struct Kept {
        RoastFileStamp stamp;
        Summary summary;
    };
    mutable std::mutex mutex_;
    std::unordered_map<std::string, Kept> kept_;
};
