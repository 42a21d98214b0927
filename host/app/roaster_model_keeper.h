// The roaster's model in the program: learnt from the roasts folder on a
// thread of its own, so the window's thread (which paces the status
// frames) never waits for the disk or the fit, and learnt again after
// every roast. What it learnt is kept in a small file beside the roasts
// folder ("roaster-model.txt"): at the next start the console has its
// model at once, and reads the folder again only to see whether the roasts
// changed. The file is derived: deleted, damaged, of another version or of
// another roaster, it is learnt again.
#pragma once

#include <QFutureWatcher>
#include <QString>
#include <QThreadPool>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "learnt_roaster.h"

class RoasterModelKeeper {
public:
    // `roasts_folder`: where the roasts are; the file goes in its parent.
    explicit RoasterModelKeeper(QString roasts_folder);
    // Waits for a fit under way, whose result goes nowhere.
    ~RoasterModelKeeper();
    RoasterModelKeeper(const RoasterModelKeeper&) = delete;
    RoasterModelKeeper& operator=(const RoasterModelKeeper&) = delete;

    // Keeps the model of `roaster`: the file's at once, if it is this
    // roaster's, then the folder read again.
    void Start(const std::string& roaster);
    // The roasts changed (a roast was saved): reads the folder again, after
    // a reading under way.
    void Refresh();

    // What was learnt; null before anything was.
    const LearntRoaster* learnt() const { return learnt_ ? &*learnt_ : nullptr; }
    // The folder is being read or the model fitted.
    bool learning() const { return running_; }
    // Told whenever what was learnt, or whether it is learning, changed.
    std::function<void()> on_change;

    QString file_path() const { return file_; }

private:
    void Run();

    QString folder_;
    QString file_;
    std::string roaster_;
    std::optional<LearntRoaster> learnt_;
    bool running_ = false;
    bool again_ = false;  // asked to refresh while running
    QThreadPool pool_;
    std::unique_ptr<QFutureWatcher<std::optional<LearntRoaster>>> watcher_;
};
