#include "editor_sync.h"

#include "console.h"

namespace {
constexpr int kAllSteps = 255;
constexpr int32_t kMaxProgressStep = 22;
}  // namespace

void EditorSync::ReportProgress() {
    if (!c_.editor.Loaded()) return;
    ControllerState& s = c_.state;
    if (s.step_index > kMaxProgressStep) {
        c_.window.MessageBox("STEP find data is empty!");
        return;
    }
    StepNode step{};
    const bool found = c_.ReadStep(s.step_index, step);
    // A step index that names no step reports the roast progress.
    const int elapsed = (found && IsCoolingStatus(step.status)) ? s.cool_elapsed : s.Ran();
    c_.editor.update_data(c_.working.head, s.step_index, elapsed);
}

void EditorSync::TakeEditorList() {
    if (const StepNode* edited = c_.editor.return_link()) c_.working.CopyFrom(edited);
}

void EditorSync::SyncFromEditor() {
    ControllerState& s = c_.state;
    c_.editor.SetLock(1);
    if (s.editor_open == 1) {
        if (s.editor_refresh) {
            c_.editor.Updata_ShowDlg(c_.working.head);
            s.editor_refresh = false;
        } else {
            TakeEditorList();
        }
    } else {
        c_.editor.update_data(c_.working.head, kAllSteps, 0);
    }
}

void EditorSync::ResetStatuses() {
    SyncFromEditor();
    CStep_Data& list = c_.working;
    // Renumber reports a chain longer than its count itself and returns 0.
    if (list.Renumber() == 0) {
        c_.window.MessageBox("STEP data is empty!");
        return;
    }
    for (StepNode* p = list.head; p; p = p->next) p->status = p->next ? StepWaiting : CoolWaiting;
    c_.editor.update_data(list.head, kAllSteps, 0);
    UnlockEditor();
}

void EditorSync::UnlockEditor() {
    if (c_.state.prompt_open != 1) c_.editor.SetLock(0);
}

void EditorSync::FullEditorRefresh() {
    c_.state.editor_refresh = true;
    c_.editor.Updata_ShowDlg(c_.working.head);
    c_.state.editor_refresh = false;
}
