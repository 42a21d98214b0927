// Keeps the step-editor library and the working list in agreement: progress
// reports during a run, taking the editor's list back, resetting the step
// statuses, and the editor lock.
#pragma once

struct Console;

class EditorSync {
public:
    explicit EditorSync(Console& console) : c_(console) {}

    // Tells the editor how far the current step has run.
    void ReportProgress();
    // Locks the editor, then pushes the whole working list to an open editor
    // (editor_refresh) or takes the editor's list back; a closed editor gets
    // the list with no progress row.
    void SyncFromEditor();
    // Every step waiting, the last one cooling-waiting; hands the list on.
    void ResetStatuses();
    // Unlocks the editor unless a prompt is open.
    void UnlockEditor();
    // Full refresh: editor_refresh set around Updata_ShowDlg(working list).
    void FullEditorRefresh();
    // Copies the editor's list (return_link) into the working list.
    void TakeEditorList();

private:
    Console& c_;
};
