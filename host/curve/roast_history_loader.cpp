#include "roast_history_loader.h"

#include <QPromise>
#include <QtConcurrent>
#include <chrono>
#include <unordered_set>

#include "roast_history.h"

namespace {

// Summaries go to the window at most this often: each batch costs it a
// little, so they come neither one by one nor all at the end.
constexpr std::chrono::milliseconds kBatchTime{30};

void ReadFolder(QPromise<RoastHistoryLoader::Batch>& promise, const std::string& folder,
                const std::shared_ptr<RoastSummaryCache>& cache) {
    const std::vector<std::string> paths = RoastLogPaths(folder);
    RoastHistoryLoader::Batch batch;
    auto since = std::chrono::steady_clock::now();
    for (const std::string& path : paths) {
        if (promise.isCanceled()) return;
        batch.push_back(cache->Get(path));
        const auto now = std::chrono::steady_clock::now();
        if (now - since >= kBatchTime) {
            promise.addResult(std::move(batch));
            batch = {};
            since = now;
        }
    }
    if (!batch.empty()) promise.addResult(std::move(batch));
    cache->KeepOnly(std::unordered_set<std::string>(paths.begin(), paths.end()));
}

}  // namespace

RoastHistoryLoader::RoastHistoryLoader() {
    // One reading at a time: the disk is the limit, and the other core
    // stays with the window's thread.
    pool_.setMaxThreadCount(1);
}

RoastHistoryLoader::~RoastHistoryLoader() {
    if (watcher_) watcher_->cancel();
    pool_.waitForDone();
}

void RoastHistoryLoader::Load(const QString& folder) {
    if (watcher_) {
        watcher_->disconnect();
        watcher_->cancel();
        watcher_.release()->deleteLater();
    }
    loading_ = true;
    watcher_ = std::make_unique<QFutureWatcher<Batch>>();
    QFutureWatcher<Batch>* watcher = watcher_.get();
    QObject::connect(watcher, &QFutureWatcherBase::resultsReadyAt, watcher, [this, watcher](int begin, int end) {
        for (int i = begin; i < end; ++i)
            if (on_batch) on_batch(watcher->future().resultAt(i));
    });
    QObject::connect(watcher, &QFutureWatcherBase::finished, watcher, [this] {
        loading_ = false;
        if (on_finished) on_finished();
    });
    watcher->setFuture(QtConcurrent::run(&pool_, ReadFolder, folder.toStdString(), cache_));
}
