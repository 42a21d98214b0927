#include "notes_binding.h"

#include "roast_log_files.h"
#include "roast_notes.h"
#include "roast_notes_panel.h"
#include "roast_recorder.h"

NotesBinding::NotesBinding(RoastNotesPanel& panel, std::function<void(const QString&)> warn)
    : panel_(panel), warn_(std::move(warn)) {}

void NotesBinding::ToRecording(RoastRecorder& recorder) {
    target_ = Target::Recording;
    recorder_ = &recorder;
    panel_.Show(NotesOf(recorder.log()), true);
}

void NotesBinding::ToLastRoast(RoastRecorder& recorder, std::string file) {
    target_ = Target::LastRoast;
    recorder_ = &recorder;
    file_ = std::move(file);
    panel_.Show(NotesOf(recorder.log()), true);
}

void NotesBinding::ToOpenedFile(RoastLog& log, std::string path) {
    target_ = Target::OpenedFile;
    opened_ = &log;
    file_ = std::move(path);
    panel_.Show(NotesOf(log), true);
}

void NotesBinding::ToNothing(const RoastLog* log) {
    target_ = Target::None;
    panel_.Show(log ? NotesOf(*log) : RoastNotes{}, false);
}

void NotesBinding::RecordingEnded(std::string file) {
    target_ = Target::LastRoast;
    file_ = std::move(file);
    Commit();
}

void NotesBinding::NewRecordingBegins() {
    // The recorder's last roast is in its file only now.
    if (target_ == Target::LastRoast && panel_.Pending())
        CommitToFile(file_);
    else
        Commit();
}

void NotesBinding::Commit() {
    if (!panel_.Pending()) return;
    const RoastNotes notes = panel_.Notes();
    switch (target_) {
    case Target::None:
        return;
    case Target::Recording:
        // Into the partial log at once, and into the log at its end.
        recorder_->SetNotes(notes);
        break;
    case Target::LastRoast:
        recorder_->SetNotes(notes);
        if (!file_.empty()) {
            const FileResult written = RewriteRoastHeader(file_, recorder_->log());
            if (!written.ok) {
                ShowRewriteFailure(file_, written.reason);
                return;
            }
        }
        break;
    case Target::OpenedFile: {
        // The whole header read from the file, keys unknown here included.
        RoastLog updated;
        updated.header = opened_->header;
        updated.marks = opened_->marks;
        WriteNotes(updated, notes);
        const FileResult written = RewriteRoastHeader(file_, updated);
        if (!written.ok) {
            ShowRewriteFailure(file_, written.reason);
            return;
        }
        opened_->header = std::move(updated.header);
        break;
    }
    }
    panel_.Kept(notes);
}

void NotesBinding::CommitToFile(const std::string& path) {
    if (path.empty() || !panel_.Pending()) return;
    RoastLogParse read = ReadRoastLogFile(path);
    if (!read.ok) {
        ShowRewriteFailure(path, read.problem);
        return;
    }
    WriteNotes(read.log, panel_.Notes());
    const FileResult written = RewriteRoastHeader(path, read.log);
    if (!written.ok) ShowRewriteFailure(path, written.reason);
}

void NotesBinding::ShowRewriteFailure(const std::string& path, const std::string& reason) {
    warn_(QStringLiteral("Cannot save the notes in the roast log %1: %2")
              .arg(QString::fromStdString(path), QString::fromStdString(reason)));
}
