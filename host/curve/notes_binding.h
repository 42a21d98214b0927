// Where the notes typed beside the curve go: into the roast being recorded
// (its partial log at once, its log at the end), into the recorder's last
// roast and its saved file, or into a log opened from a file, whose header
// is rewritten; nowhere when nothing that keeps notes is shown (the panel
// is read only then).
#pragma once

#include <QString>
#include <functional>
#include <string>

#include "roast_log.h"

class RoastNotesPanel;
class RoastRecorder;

class NotesBinding {
public:
    // `warn` says a file that could not be written.
    NotesBinding(RoastNotesPanel& panel, std::function<void(const QString&)> warn);

    // What is shown now, its notes in the panel: the roast `recorder`
    // records; its last roast, saved in `file` (empty: not saved); the log
    // read from `path` (kept by the caller); or `log` read only (may be
    // null).
    void ToRecording(RoastRecorder& recorder);
    void ToLastRoast(RoastRecorder& recorder, std::string file);
    void ToOpenedFile(RoastLog& log, std::string path);
    void ToNothing(const RoastLog* log);

    // The recording being shown ended, saved in `file`: notes typed during
    // it, and later ones, go to its file.
    void RecordingEnded(std::string file);
    // A new recording begins, replacing what is shown: notes still being
    // typed go where they belong.
    void NewRecordingBegins();

    // Keeps the notes as typed, if they changed.
    void Commit();

private:
    enum class Target { None, Recording, LastRoast, OpenedFile };
    // Notes typed for the recorder's last roast once the recorder moved
    // on: they go into its saved file directly.
    void CommitToFile(const std::string& path);
    void ShowRewriteFailure(const std::string& path, const std::string& reason);

    RoastNotesPanel& panel_;
    std::function<void(const QString&)> warn_;
    Target target_ = Target::None;
    RoastRecorder* recorder_ = nullptr;
    RoastLog* opened_ = nullptr;
    std::string file_;  // the last roast's file, or the opened log's
};
