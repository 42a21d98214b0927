// Reads the summaries of a roasts folder's logs on a thread of its own, so
// the window's thread (which also paces the roaster's status frames) never
// waits for the disk, and hands them over on the thread that made it, in
// batches as they are read, the newest logs (by their names) first. What
// was read is kept for the next reading: a log that did not change since is
// not read again.
#pragma once

#include <QFutureWatcher>
#include <QString>
#include <QThreadPool>
#include <functional>
#include <memory>
#include <vector>

#include "roast_summary_cache.h"

class RoastHistoryLoader {
public:
    using Batch = std::vector<RoastSummaryCache::Summary>;

    RoastHistoryLoader();
    // Drops a reading under way and waits for its thread to let go.
    ~RoastHistoryLoader();
    RoastHistoryLoader(const RoastHistoryLoader&) = delete;
    RoastHistoryLoader& operator=(const RoastHistoryLoader&) = delete;

    // Reads `folder` afresh; a reading under way is dropped, and nothing
    // more of it is handed over.
    void Load(const QString& folder);
    bool loading() const { return loading_; }
    RoastSummaryCache& cache() { return *cache_; }

    // Summaries read, in the order read.
    std::function<void(const Batch&)> on_batch;
    // Every log of the folder was handed over.
    std::function<void()> on_finished;

private:
    QThreadPool readers_;
    QThreadPool pool_;
    std::shared_ptr<RoastSummaryCache> cache_ = std::make_shared<RoastSummaryCache>();
    std::unique_ptr<QFutureWatcher<Batch>> watcher_;
    bool loading_ = false;
};
