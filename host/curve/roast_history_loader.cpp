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
// Logs read at once: reading a summary is mostly waiting for the disk.
constexpr int kReaders = 4;
constexpr std::size_t kChunk = 32;

void ReadFolder(QPromise<RoastHistoryLoader::Batch>& promise, const std::string& folder,
                const std::shared_ptr<RoastSummaryCache>& cache, QThreadPool* readers) {
    const std::vector<std::string> paths = RoastLogPaths(folder);
    RoastHistoryLoader::Batch batch;
    auto since = std::chrono::steady_clock::now();
    for (std::size_t from = 0; from < paths.size(); from += kChunk) {
        if (promise.isCanceled()) return;
        const std::vector<std::string> chunk(paths.begin() + static_cast<std::ptrdiff_t>(from),
                                             paths.begin() + static_cast<std::ptrdiff_t>(std::min(paths.size(), from + kChunk)));
        const RoastHistoryLoader::Batch read = QtConcurrent::blockingMapped<RoastHistoryLoader::Batch>(
            readers, chunk, [&cache](const std::string& path) { return cache->Get(path); });
        // Files that are no roast (a table saved in the folder) are passed over.
        for (const RoastSummaryCache::Summary& summary : read)
            if (summary->listed) batch.push_back(summary);
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
    // One reading of the folder at a time, reading a few logs at once.
    pool_.setMaxThreadCount(1);
    readers_.setMaxThreadCount(kReaders);
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
    watcher->setFuture(QtConcurrent::run(&pool_, ReadFolder, folder.toStdString(), cache_, &readers_));
}
