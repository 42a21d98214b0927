#include "profile_commands.h"

#include "coff_file.h"
#include "console.h"
#include "control_ids.h"
#include "editor_sync.h"
#include "modal_prompt.h"
#include "panel_refresh.h"

namespace {
const char* const kAskDelete = "Are you sure want to delete this coffee beans set?";
const char* const kAskSave = "Are you sure want to save this coffee beans set?";
const char* const kOpenFileError = "Open File Error!";
const char* const kSettingEmpty = "Current setting is empty!";
const char* const kSettingError = "Current setting is error!";
const char* const kStopBeforeExit =
    "Please long press the power button to stop the Brazimo operation before exit Software!";

const std::string kExtension = ".coff";

// Profiles that SAVE treats as having no file of their own.
bool SavesToNewFile(const std::string& name) {
    return name == kNewSetting || name == kMachineSetting || name == "Coffee Bean" || name == "Coffee Bean.coff" ||
           name == kLastUsbSetting;
}
}  // namespace

FileChoice WithCoffExtension(FileChoice choice) {
    const std::string& name = choice.name;
    if (name.size() <= kExtension.size() || name[name.size() - kExtension.size()] != '.') {
        choice.name += kExtension;
        choice.path += kExtension;
    }
    return choice;
}

bool ProfileCommands::OnButtonClicked(int control_id) {
    switch (control_id) {
    case ctl::kCreate: OnCreate(); return true;
    case ctl::kSelect: OnSelect(); return true;
    case ctl::kEdit: OnEdit(); return true;
    case ctl::kDelet: OnDelet(); return true;
    case ctl::kSave: OnSave(); return true;
    case ctl::kCancel: OnCancel(); return true;
    default: return false;
    }
}

bool ProfileCommands::ActsIn(std::initializer_list<int32_t> states) const {
    for (int32_t state : states)
        if (c_.state.machine_state == state) return true;
    return false;
}

bool ProfileCommands::Ask(const std::string& question) {
    bool yes = false;
    {
        ModalPrompt prompt(c_);
        yes = prompt.Ask(question);
    }
    // No control tick of a run may come to release the lock in the states
    // these questions are asked in, so the answer releases it.
    sync_.UnlockEditor();
    return yes;
}

void ProfileCommands::ReportWriteFailure(const std::string& path, const std::string& reason) {
    c_.window.MessageBox("Cannot write the file " + path + ": " + reason);
}

std::optional<FileChoice> ProfileCommands::ConfirmTarget(const FileChoice& chosen) {
    FileChoice target = WithCoffExtension(chosen);
    // The save dialog asked before replacing the file the user chose; a file
    // the appended extension led to has not been asked about yet.
    if (target.path != chosen.path && PathExists(target.path) &&
        !Ask(target.name + " already exists.\nDo you want to replace it?"))
        return std::nullopt;
    return target;
}

void ProfileCommands::OnCreate() {
    if (!ActsIn({kOff, kReady, kFinished})) return;
    const std::optional<FileChoice> chosen = c_.window.AskSaveFile();
    if (!chosen) return;
    const std::optional<FileChoice> target = ConfirmTarget(*chosen);
    if (!target) return;
    // The file is written before anything else changes, so a file that
    // cannot be created leaves the profile, the panel and the state alone.
    const FileResult written = WriteDefaultCoffFile(target->path);
    if (!written.ok) {
        ReportWriteFailure(target->path, written.reason);
        return;
    }

    ControllerState& s = c_.state;
    s.profile_name = kNewSetting;
    s.profile_path = kNoPath;
    c_.ShowProfileName();
    s.fan_level = 5;
    s.roast_time = 59;
    s.heat_level = 3;
    s.machine_state = kReady;
    s.edit_field = kEditNone;
    panel_.UpdatePanel();
    c_.DisarmDelayedStart();
    c_.window.EnablePicker(true);

    s.profile_name = target->name;
    s.profile_path = target->path;
    c_.ShowProfileName();
    c_.working.SetDefaultProfile();
    sync_.FullEditorRefresh();
}

void ProfileCommands::OnSelect() {
    if (!ActsIn({kOff, kReady, kFinished})) return;
    ControllerState& s = c_.state;
    if (const std::optional<FileChoice> chosen = c_.window.AskOpenFile()) {
        const CoffLoadResult loaded = LoadCoffFile(chosen->path, c_.working);
        switch (loaded.outcome) {
        case CoffLoad::CannotOpen:
            c_.window.MessageBox("Cannot open the file " + chosen->path + ": " + loaded.reason);
            return;
        case CoffLoad::Loaded:
            c_.LoadFirstStepValues();
            s.profile_name = chosen->name;
            s.profile_path = chosen->path;
            c_.ShowProfileName();
            s.machine_state = kReady;
            s.edit_field = kEditNone;
            break;
        case CoffLoad::NoCooling:
            // The steps are loaded; the identity and the state stay.
            c_.LoadFirstStepValues();
            break;
        case CoffLoad::Refused:
            // The values of a first roast record read before the file was
            // found wanting stay on the panel.
            if (loaded.first_step) {
                s.fan_level = loaded.first_step->fan;
                s.roast_time = loaded.first_step->time;
                s.heat_level = loaded.first_step->heat;
            }
            s.profile_name = kNoProfile;
            s.profile_path = kNoPath;
            c_.ShowProfileName();
            s.machine_state = kOff;
            s.run_phase = kWaitStart;
            s.edit_field = kEditNone;
            s.edit_countdown = 0;
            c_.window.MessageBox(kOpenFileError);
            break;
        }
        sync_.FullEditorRefresh();
    }
    panel_.UpdatePanel();
    c_.DisarmDelayedStart();
}

void ProfileCommands::OnEdit() {
    if (!ActsIn({kReady, kFinished})) return;
    BecomeUnsavedProfile(kNewSetting, kEditFan, 20);
    sync_.ResetStatuses();
    // The steps stay as they are; the next synchronisation hands them to the
    // editor whole.
    c_.state.editor_refresh = true;
}

void ProfileCommands::OnDelet() {
    if (!ActsIn({kOff, kReady, kFinished})) return;
    ControllerState& s = c_.state;
    // The roaster's own setting and its last upload keep the path of the
    // profile they replaced: that file is not theirs to delete.
    if (s.IsReservedMachineOrUsb() || s.profile_path == kNoPath) return;
    if (!CoffFileReadable(s.profile_path)) return;

    const std::string name = s.profile_name;
    const std::string path = s.profile_path;
    if (!Ask(kAskDelete)) return;
    // Ticks and received frames run while the question is open; an upload
    // that replaced the profile meanwhile must not be thrown away.
    if (s.profile_name != name || s.profile_path != path) return;

    const FileResult removed = DeleteCoffFile(path);
    if (!removed.ok) {
        c_.window.MessageBox("Cannot delete the file " + path + ": " + removed.reason);
        return;
    }
    // The path of the deleted file stays; the box keeps its colour.
    s.profile_name = kNoProfile;
    c_.window.ShowName(kNoProfile);
    c_.DisarmDelayedStart();
    s.machine_state = kOff;
    s.run_phase = kWaitStart;
    c_.working.SetDefaultProfile();
    sync_.FullEditorRefresh();
}

void ProfileCommands::OnSave() {
    if (!ActsIn({kReady, kRun, kFinished})) return;
    const std::string& name = c_.state.profile_name;
    // A profile made from a roast has a name but no file yet.
    if (SavesToNewFile(name) || (name != kNoProfile && c_.state.profile_path == kNoPath))
        SaveToNewFile();
    else if (name != kNoProfile)
        SaveInPlace();
}

std::optional<std::string> ProfileCommands::SavableText() {
    if (c_.working.Renumber() <= 1) {
        c_.window.MessageBox(kSettingEmpty);
        return std::nullopt;
    }
    std::optional<std::string> text = BuildCoffText(c_.working);
    if (!text) c_.window.MessageBox(kSettingError);
    return text;
}

void ProfileCommands::SaveInPlace() {
    ControllerState& s = c_.state;
    const std::string name = s.profile_name;
    const std::string path = s.profile_path;
    if (!Ask(kAskSave)) return;
    // An upload that replaced the profile while the question was open must
    // not be written over the old profile's file.
    if (s.profile_name != name || s.profile_path != path) return;
    const std::optional<std::string> text = SavableText();
    if (!text) return;
    const FileResult written = OverwriteCoffFile(path, *text);
    if (!written.ok) {
        ReportWriteFailure(path, written.reason);
        return;
    }
    if (s.machine_state == kReady) s.edit_field = kEditNone;
}

void ProfileCommands::SaveToNewFile() {
    ControllerState& s = c_.state;
    const std::optional<FileChoice> chosen = c_.window.AskSaveFile();
    if (!chosen) return;
    const std::optional<std::string> text = SavableText();
    if (!text) return;
    const std::optional<FileChoice> target = ConfirmTarget(*chosen);
    if (!target) return;
    const FileResult written = CreateCoffFile(target->path, *text);
    if (!written.ok) {
        ReportWriteFailure(target->path, written.reason);
        return;
    }
    // The roaster's own setting keeps its name: the saved file is a copy.
    if (s.profile_name != kMachineSetting) {
        s.profile_name = target->name;
        s.profile_path = target->path;
        c_.ShowProfileName();
    }
    if (s.machine_state == kReady) s.edit_field = kEditNone;
}

std::string ProfileCommands::UseSteps(const std::string& name, const std::vector<StepNode>& steps) {
    if (!ActsIn({kOff, kReady, kFinished})) return "a roast is running";
    CStep_Data list;
    if (std::string problem = CoffProfileOf(steps, list); !problem.empty()) return problem;

    c_.working.CopyFrom(list.head);
    c_.LoadFirstStepValues();
    BecomeUnsavedProfile(name, kEditNone, 0);
    sync_.FullEditorRefresh();
    return {};
}

void ProfileCommands::BecomeUnsavedProfile(const std::string& name, uint8_t edit_field, int8_t edit_countdown) {
    ControllerState& s = c_.state;
    s.profile_name = name;
    s.profile_path = kNoPath;
    c_.ShowProfileName();
    s.machine_state = kReady;
    s.edit_field = edit_field;
    s.edit_countdown = edit_countdown;
    panel_.UpdatePanel();
    c_.DisarmDelayedStart();
    c_.window.EnablePicker(true);
}

void ProfileCommands::OnCancel() {
    if (c_.state.machine_state == kRun && c_.state.link_ok)
        c_.window.MessageBox(kStopBeforeExit);
    else
        c_.CloseProgram();
}
