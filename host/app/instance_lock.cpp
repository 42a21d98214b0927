#include "instance_lock.h"

#include <QDir>
#include <QStandardPaths>

InstanceLock::InstanceLock(const QString& folder) {
    QString dir = folder;
    if (dir.isEmpty()) dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty()) dir = QDir::tempPath();
    path_ = QDir(dir).filePath(QStringLiteral("tickets.lock"));
    lock_ = std::make_unique<QLockFile>(path_);
    // Stale only when its owner is gone, never by age: a console may run
    // for days.
    lock_->setStaleLockTime(0);
}

bool InstanceLock::TryAcquire() {
    if (lock_->isLocked()) return true;
    return lock_->tryLock(0);
}

bool InstanceLock::Held() const { return lock_->isLocked(); }
