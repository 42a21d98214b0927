#include "roaster_model_keeper.h"

#include <QDir>
#include <QFileInfo>
#include <QtConcurrent>

#include "file_io.h"
#include "roaster_roasts.h"

namespace {

const QString kFileName = QStringLiteral("roaster-model.txt");

// Off the window's thread: the roaster's roasts read again and, unless
// they are those `known` was learnt from, learnt and written to `file`.
// None when nothing changed.
std::optional<LearntRoaster> Learn(const std::string& folder, const std::string& roaster, const std::string& file,
                                   const std::optional<std::string>& known_key) {
    RoasterRoasts roasts = ReadRoasterRoasts(folder, roaster);
    if (known_key && *known_key == roasts.key) return std::nullopt;
    LearntRoaster learnt = LearnRoaster(roasts.logs, roaster);
    learnt.first_cracks = std::move(roasts.first_cracks);
    learnt.roasts_key = roasts.key;
    // A file that cannot be written is learnt again at the next start.
    ReplaceContents(file, LearntRoasterText(learnt));
    return learnt;
}

}  // namespace

RoasterModelKeeper::RoasterModelKeeper(QString roasts_folder)
    : folder_(std::move(roasts_folder)),
      file_(QFileInfo(folder_).dir().filePath(kFileName)) {
    pool_.setMaxThreadCount(1);
    // The fit takes what the machine has left: the window's thread paces
    // the roaster's status frames and must never wait for a core.
    pool_.setThreadPriority(QThread::IdlePriority);
}

RoasterModelKeeper::~RoasterModelKeeper() {
    if (watcher_) watcher_->disconnect();
    pool_.waitForDone();
}

void RoasterModelKeeper::Start(const std::string& roaster) {
    roaster_ = roaster;
    learnt_.reset();
    std::string text, reason;
    if (ReadWholeFile(file_.toStdString(), text, reason))
        if (std::optional<LearntRoaster> read = ParseLearntRoaster(text); read && read->roaster == roaster_)
            learnt_ = std::move(read);
    Refresh();
}

void RoasterModelKeeper::Refresh() {
    if (roaster_.empty()) return;
    if (running_) {
        again_ = true;
        return;
    }
    Run();
}

void RoasterModelKeeper::Run() {
    running_ = true;
    again_ = false;
    watcher_ = std::make_unique<QFutureWatcher<std::optional<LearntRoaster>>>();
    QObject::connect(watcher_.get(), &QFutureWatcherBase::finished, watcher_.get(), [this] {
        std::optional<LearntRoaster> learnt = watcher_->result();
        watcher_.release()->deleteLater();
        running_ = false;
        // Of the roaster asked for last: one started before is dropped.
        if (learnt && learnt->roaster == roaster_) learnt_ = std::move(learnt);
        if (again_)
            Run();
        if (on_change) on_change();
    });
    const std::optional<std::string> known = learnt_ ? std::optional<std::string>(learnt_->roasts_key) : std::nullopt;
    watcher_->setFuture(QtConcurrent::run(&pool_, Learn, folder_.toStdString(), roaster_, file_.toStdString(), known));
    if (on_change) on_change();
}
