#include "editor_binding.h"

#include "console.h"
#include "editor_sync.h"
#include "roaster_link.h"

namespace {
constexpr int kResume = 1;
constexpr int kChanged = 2;
constexpr int kDownload = 3;
constexpr int kClosed = 4;
}  // namespace

void EditorBinding::OnProgram() {
    ControllerState& s = c_.state;
    if (s.profile_name == kMachineSetting) return;
    if (!c_.editor.CanShowEditor()) {
        // Without the library (or its ShowDlg) there is no editor to open;
        // say so rather than leave the button silent or mark a window open
        // that never appeared.
        c_.window.MessageBox("The step editor (quarnel) could not be loaded.");
        return;
    }
    // Renumber reports a chain longer than its count itself and returns 0.
    if (c_.working.Renumber() == 0) {
        c_.window.MessageBox("STEP data is empty!");
        return;
    }
    if (s.editor_open == 0) {
        c_.editor.ShowDlg(c_.working.head);
        s.editor_open = 1;
        s.editor_refresh = false;
    }
    // Outside a run the editor starts from a clean program; during a run it
    // shows the statuses as they are.
    if (s.machine_state != kRun) sync_.ResetStatuses();
}

void EditorBinding::TakeEditedProfile() {
    sync_.TakeEditorList();
    // Ready shows step 1 of the profile and the status frames carry it to
    // the roaster, so an edit of step 1 in the editor shows there too. A
    // panel edit under way keeps its values: its commit writes them into
    // step 1.
    ControllerState& s = c_.state;
    if (s.machine_state == kReady && !s.EditInProgress()) c_.LoadFirstStepValues();
}

void EditorBinding::OnEditorMessage(int code) {
    ControllerState& s = c_.state;
    switch (code) {
    case kResume:
        // A step appended during cooling: the new step is now current and
        // runs with the values the editor gave it, the fan selected for editing.
        sync_.TakeEditorList();
        s.step_start = s.run_elapsed;
        s.fan_level = 5;
        s.roast_time = 59;
        s.heat_level = 3;
        s.run_phase = kHeat;
        s.step_split = 0;
        s.edit_countdown = 20;
        s.edit_field = kEditFan;
        break;
    case kChanged:
        TakeEditedProfile();
        break;
    case kDownload:
        if (s.link_down) {
            c_.window.MessageBox("Can't download! The Brazimo is not connected to the computer!");
        } else if (!s.download_active) {
            TakeEditedProfile();
            sync_.SyncFromEditor();
            link_.StartDownload(true);
        }
        break;
    case kClosed: {
        const bool idle = s.machine_state != kRun || s.run_phase == kWaitStart;
        if (idle && s.profile_name == kMachineSetting) {
            sync_.TakeEditorList();
            c_.LoadFirstStepValues();
        }
        s.editor_open = 0;
        break;
    }
    default:
        break;
    }
}
