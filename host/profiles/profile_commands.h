// The profile commands of the front panel: CREATE, SELECT, EDIT and DELET in
// the top row, SAVE and CANCEL in the bottom corner. They create, open, copy,
// delete and save ".coff" profiles, keep the profile's identity (its name and
// path, or one of the reserved names of a profile without a file) and leave
// the program.
//
// Each command tests machine_state itself and does nothing in a state it
// does not act in. A file that cannot be opened, written or deleted is
// reported in a message box that names the file and the reason, and the
// command then ends with the working list and the identity as they were.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "step_node.h"
#include "window_services.h"

struct Console;
class EditorSync;
class PanelRefresh;

class ProfileCommands {
public:
    ProfileCommands(Console& console, EditorSync& sync, PanelRefresh& panel)
        : c_(console), sync_(sync), panel_(panel) {}

    // Runs the command of a profile button; false for any other control.
    bool OnButtonClicked(int control_id);

    void OnCreate();  // new file holding the default profile
    void OnSelect();  // open a file as the working profile
    void OnEdit();    // the current profile becomes an unsaved copy, fan selected
    void OnDelet();   // delete the current profile's file
    void OnSave();    // save in place, or to a new file for a profile without one
    void OnCancel();  // leave the program unless the roaster is running

    // Makes `steps` (roast steps, then the cooling) the current profile, an
    // unsaved copy named `name` that SAVE asks a file for, with the panel
    // ready to run it; nothing is sent to the roaster. Refused while a run
    // goes on (a delayed start's countdown too) and when the steps do not
    // make a profile a file holds: returns why, and nothing has changed.
    // Empty when done.
    std::string UseSteps(const std::string& name, const std::vector<StepNode>& steps);

private:
    // The current profile becomes an unsaved one named `name`, ready to run,
    // with that field being edited (kEditNone for none) and the panel shown.
    void BecomeUnsavedProfile(const std::string& name, uint8_t edit_field, int8_t edit_countdown);
    void SaveInPlace();
    void SaveToNewFile();
    // The file text of the working list, or nullopt after telling the user
    // why the list cannot be saved.
    std::optional<std::string> SavableText();
    // The dialog's choice with the extension rule applied; nullopt when the
    // user declines to replace an existing file the rule led to.
    std::optional<FileChoice> ConfirmTarget(const FileChoice& chosen);
    void ReportWriteFailure(const std::string& path, const std::string& reason);
    // A Yes/No question (true for Yes): the editor is locked and prompt_open
    // set while it is open, since ticks and received frames keep running.
    bool Ask(const std::string& question);
    bool ActsIn(std::initializer_list<int32_t> states) const;

    Console& c_;
    EditorSync& sync_;
    PanelRefresh& panel_;
};

// The extension rule of CREATE and SAVE: a file name of five characters or
// fewer, or one whose fifth character from the end is not ".", gets ".coff"
// appended to both the name and the path (Roast and Roast.cof gain it;
// Roast.coff and R.abcd keep their names).
FileChoice WithCoffExtension(FileChoice choice);
