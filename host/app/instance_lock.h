// The single-instance rule: a lock named "tickets" that one process of the
// program holds while it runs. The lock is a file in the user's runtime
// folder; a lock left behind by a process that died is found stale and
// taken over, so a crash never blocks the next start.
#pragma once

#include <QLockFile>
#include <QString>
#include <memory>

class InstanceLock {
public:
    // `folder` empty: the user's runtime folder (or the temporary folder
    // where there is none).
    explicit InstanceLock(const QString& folder = QString());

    // True when this process holds the lock now; never waits.
    bool TryAcquire();
    bool Held() const;
    QString FilePath() const { return path_; }

private:
    QString path_;
    std::unique_ptr<QLockFile> lock_;
};
