#include "profile_commands.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <memory>
#include <tuple>

#include "coff_file.h"
#include "control_ids.h"
#include "controller_harness.h"
#include "frames.h"
#include "temp_folder.h"

namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::StartsWith;

const std::string kDefaultText = "QVR_COFF_FLIE/5/59/3QVR_COFF_COOL/5/30/0";
const std::string kLoadedText = Roast('7', "42", '2') + Roast('6', "11", '1') + Cool('4', "25");

// (fan, time, heat, status) of each step of a chain.
std::vector<std::array<int, 4>> Values(const std::vector<StepNode>& steps) {
    std::vector<std::array<int, 4>> out;
    for (const StepNode& n : steps) out.push_back({n.fan, n.time, n.heat, static_cast<int>(n.status)});
    return out;
}
const std::vector<std::array<int, 4>> kDefaultValues{{5, 59, 3, 0}, {5, 30, 0, 10}};
const std::vector<std::array<int, 4>> kLoadedValues{{7, 42, 2, 0}, {6, 11, 1, 0}, {4, 25, 0, 10}};

class ProfileCommandsTest : public ::testing::Test {
protected:
    ProfileCommandsTest() { Reset(); }

    // A started console with the profile of kLoadedText loaded from
    // Loaded.coff, in `state`.
    void Reset(int32_t state = kReady) {
        h = std::make_unique<ControllerHarness>();
        h->controller.Start();
        TempFolder::Write(loaded_path, kLoadedText);
        h->SetProfile({{7, 42, 2}, {6, 11, 1}}, {4, 25}, "Loaded.coff");
        h->s().profile_path = loaded_path;
        h->s().machine_state = state;
        h->controller.console.ShowProfileName();
        h->window.messages.clear();
        h->editor.ClearCalls();
    }
    FileChoice Choice(const std::string& name) { return {name, folder.Path(name)}; }
    void Click(int control) { h->controller.OnButtonClicked(control); }
    ControllerState& s() { return h->s(); }
    std::vector<std::array<int, 4>> Working() { return Values(h->Working()); }
    // Whether the command got as far as a dialog, a question, a message or a
    // change of the profile's identity.
    bool Acted() {
        return h->window.open_dialogs + h->window.save_dialogs > 0 || !h->window.prompts.empty() ||
               !h->window.messages.empty() || h->window.ended || s().profile_name != "Loaded.coff";
    }

    TempFolder folder;
    const std::string loaded_path = folder.Path("Loaded.coff");
    std::unique_ptr<ControllerHarness> h;
};

TEST_F(ProfileCommandsTest, CommandsActOnlyInTheirMachineStates) {
    // One letter a state: Off, Ready, Run, Finished.
    const std::vector<std::pair<int, std::string>> table{
        {ctl::kCreate, "YYNY"}, {ctl::kSelect, "YYNY"}, {ctl::kEdit, "NYNY"},
        {ctl::kDelet, "YYNY"},  {ctl::kSave, "NYYY"},
    };
    for (const auto& [control, acts] : table) {
        for (int32_t state : {kOff, kReady, kRun, kFinished}) {
            Reset(state);
            h->window.open_choices.push_back(std::nullopt);
            h->window.save_choices.push_back(std::nullopt);
            h->window.AnswerNo();
            Click(control);
            EXPECT_EQ(Acted(), acts[static_cast<size_t>(state)] == 'Y') << "control " << control << " state " << state;
        }
    }
}

TEST_F(ProfileCommandsTest, CreateWritesTheDefaultFileUnderTheExtensionRule) {
    const std::vector<std::pair<std::string, std::string>> names{
        {"Roast", "Roast.coff"}, {"Roast.coff", "Roast.coff"}, {"R.abcd", "R.abcd"}, {"Roast.cof", "Roast.cof.coff"}};
    for (const auto& [typed, created] : names) {
        Reset(kFinished);
        std::filesystem::remove(folder.Path(created));
        s().delayed_start = true;
        h->window.EnablePicker(false);
        h->window.save_choices.push_back(Choice(typed));
        Click(ctl::kCreate);

        EXPECT_EQ(TempFolder::Read(folder.Path(created)), kDefaultText) << typed;
        EXPECT_EQ(s().profile_name, created);
        EXPECT_EQ(s().profile_path, folder.Path(created));
        EXPECT_EQ(h->window.name_text, DisplayName(created));
        EXPECT_EQ(Working(), kDefaultValues);
        ASSERT_FALSE(h->editor.CallsOf("Updata_ShowDlg").empty());
        EXPECT_EQ(Values(h->editor.CallsOf("Updata_ShowDlg").back().list), kDefaultValues);
        EXPECT_EQ(s().machine_state, kReady);
        EXPECT_FALSE(s().delayed_start);
        EXPECT_TRUE(h->window.picker_enabled && !h->window.picker_shown && h->window.clock_icon_shown);
        EXPECT_THAT(h->window.prompts, IsEmpty());
    }
}

TEST_F(ProfileCommandsTest, CreateAsksBeforeReplacingTheFileTheExtensionLedTo) {
    TempFolder::Write(folder.Path("Roast.coff"), kLoadedText);
    h->window.save_choices.push_back(Choice("Roast"));
    h->window.AnswerNo();
    Click(ctl::kCreate);
    EXPECT_THAT(h->window.prompts, ElementsAre("Roast.coff already exists.\nDo you want to replace it?"));
    EXPECT_EQ(TempFolder::Read(folder.Path("Roast.coff")), kLoadedText);
    EXPECT_EQ(s().profile_name, "Loaded.coff");

    h->window.save_choices.push_back(Choice("Roast"));
    h->window.AnswerYes();
    Click(ctl::kCreate);
    EXPECT_EQ(TempFolder::Read(folder.Path("Roast.coff")), kDefaultText);
}

TEST_F(ProfileCommandsTest, CreateThatCannotWriteReportsAndChangesNothing) {
    s().machine_state = kFinished;
    s().fan_level = 8;
    h->window.save_choices.push_back(FileChoice{"x.coff", folder.Path("gone/x.coff")});
    Click(ctl::kCreate);
    ASSERT_EQ(h->window.messages.size(), 1u);
    EXPECT_THAT(h->window.messages[0], StartsWith("Cannot write the file " + folder.Path("gone/x.coff") + ": "));
    EXPECT_EQ(s().profile_name, "Loaded.coff");
    EXPECT_EQ(s().profile_path, loaded_path);
    EXPECT_EQ(s().machine_state, kFinished);
    EXPECT_EQ(s().fan_level, 8);
    EXPECT_EQ(Working(), kLoadedValues);
    EXPECT_THAT(h->editor.calls, IsEmpty());
}

TEST_F(ProfileCommandsTest, SelectLoadsTheFileAndTheStatusFramesCarryItsFirstStep) {
    const std::string path = folder.Path("Other.coff");
    TempFolder::Write(path, Roast('9', "33", '1') + Cool('2', "44"));
    h->SetLinkUp();
    h->AnswerStatusFrames();
    s().machine_state = kOff;
    s().edit_field = kEditTime;
    h->window.open_choices.push_back(FileChoice{"Other.coff", path});
    Click(ctl::kSelect);

    EXPECT_EQ(Working(), (std::vector<std::array<int, 4>>{{9, 33, 1, 0}, {2, 44, 0, 10}}));
    EXPECT_EQ(s().profile_name, "Other.coff");
    EXPECT_EQ(s().profile_path, path);
    EXPECT_EQ(h->window.name_text, "Other");
    EXPECT_EQ(s().machine_state, kReady);
    EXPECT_EQ(s().edit_field, kEditNone);
    EXPECT_EQ(h->editor.CallsOf("Updata_ShowDlg").size(), 1u);
    EXPECT_THAT(h->window.messages, IsEmpty());

    h->serial.written.clear();
    h->Ticks(1);
    const std::vector<WrittenFrame> frames = h->serial.WrittenWithCommand(kCmdStatus);
    ASSERT_FALSE(frames.empty());
    EXPECT_THAT(std::vector<uint8_t>(frames.back().bytes.begin() + 7, frames.back().bytes.begin() + 10),
                ElementsAre(9, 33, 1));
}

TEST_F(ProfileCommandsTest, SelectOfARefusedFileAFileWithoutCoolingAndAMissingFile) {
    struct Case {
        const char* file;
        std::string bytes;  // empty: no such file
        const char* name;   // the identity afterwards
        int32_t state;
        const char* message;
        size_t steps;
        size_t refreshes;
        int countdown;  // 5 before; each panel update counts it down
    };
    std::string twenty_one;
    for (int i = 0; i < 21; ++i) twenty_one += Roast('3', "12", '2');
    const std::vector<Case> cases{
        {"bad.coff", Cool('5', "30"), "NULL", kOff, "Open File Error!", 2, 1, 0},
        {"long.coff", twenty_one, "Loaded.coff", kReady, "", 21, 1, 4},
        {"missing.coff", "", "Loaded.coff", kReady, "Cannot open the file ", 3, 0, 5},
    };
    for (const Case& c : cases) {
        Reset(kReady);
        s().edit_field = kEditHeat;
        s().edit_countdown = 5;
        const std::string path = folder.Path(c.file);
        if (!c.bytes.empty()) TempFolder::Write(path, c.bytes);
        h->window.open_choices.push_back(FileChoice{c.file, path});
        Click(ctl::kSelect);

        const bool refused = std::string(c.name) == "NULL";
        EXPECT_EQ(s().profile_name, c.name) << c.file;
        EXPECT_EQ(h->window.name_text, refused ? "NULL" : "Loaded") << c.file;
        EXPECT_EQ(s().profile_path, refused ? kNoPath : loaded_path) << c.file;
        EXPECT_EQ(s().machine_state, c.state) << c.file;
        EXPECT_EQ(s().edit_countdown, c.countdown) << c.file;
        EXPECT_EQ(h->Working().size(), c.steps) << c.file;
        if (refused) {
            EXPECT_EQ(Working(), kDefaultValues);
        }
        EXPECT_EQ(h->editor.CallsOf("Updata_ShowDlg").size(), c.refreshes) << c.file;
        ASSERT_EQ(h->window.messages.size(), *c.message ? 1u : 0u) << c.file;
        if (*c.message) {
            EXPECT_THAT(h->window.messages[0], StartsWith(c.message)) << c.file;
        }
    }
}

TEST_F(ProfileCommandsTest, SelectOfARefusedFileKeepsTheValuesOfItsFirstRoastRecord) {
    struct Case {
        const char* why;
        std::string bytes;
        std::array<int, 3> panel;  // fan, time, heat afterwards
    };
    const std::vector<Case> cases{
        {"ends before cooling", Roast('8', "33", '1') + Roast('6', "11", '1'), {8, 33, 1}},
        {"unknown second marker", Roast('9', "05", '0') + CoffRecord("QVR_COFF_XXXX", '4', "25", '0'), {9, 5, 0}},
        {"starts with cooling", Cool('2', "22") + Cool('2', "22"), {1, 2, 3}},
        {"too long", Repeat(Roast('8', "33", '1'), 22), {1, 2, 3}},
    };
    for (const Case& c : cases) {
        Reset(kReady);
        s().fan_level = 1;
        s().roast_time = 2;
        s().heat_level = 3;
        const std::string path = folder.Path("refused.coff");
        TempFolder::Write(path, c.bytes);
        h->window.open_choices.push_back(FileChoice{"refused.coff", path});
        Click(ctl::kSelect);
        EXPECT_THAT(h->window.messages, ElementsAre("Open File Error!")) << c.why;
        EXPECT_EQ((std::array<int, 3>{s().fan_level, s().roast_time, s().heat_level}), c.panel) << c.why;
        EXPECT_EQ(Working(), kDefaultValues) << c.why;
    }
}

TEST_F(ProfileCommandsTest, EditMakesAnUnsavedCopyAndSelectsTheFan) {
    h->controller.console.WriteStep(1, KEEP_VALUE, KEEP_VALUE, KEEP_VALUE, StepCompleted);
    h->controller.console.WriteStep(3, KEEP_VALUE, KEEP_VALUE, KEEP_VALUE, StepEnd);
    s().machine_state = kFinished;
    h->window.EnablePicker(false);
    Click(ctl::kEdit);

    EXPECT_EQ(s().profile_name, kNewSetting);
    EXPECT_EQ(s().profile_path, kNoPath);
    EXPECT_EQ(h->window.name_text, kNewSetting);
    EXPECT_EQ(s().machine_state, kReady);
    EXPECT_EQ(s().edit_field, kEditFan);
    EXPECT_GT(s().edit_countdown, 0);
    EXPECT_EQ(Working(), kLoadedValues);  // values kept, statuses reset
    EXPECT_TRUE(s().editor_refresh);
    EXPECT_TRUE(h->window.picker_enabled);
}

TEST_F(ProfileCommandsTest, DeletRemovesTheFileAndLeavesNoProfile) {
    h->window.AnswerYes();
    Click(ctl::kDelet);
    EXPECT_THAT(h->window.prompts, ElementsAre("Are you sure want to delete this coffee beans set?"));
    EXPECT_FALSE(PathExists(loaded_path));
    EXPECT_EQ(s().profile_name, "NULL");
    EXPECT_EQ(h->window.name_text, "NULL");
    EXPECT_EQ(s().profile_path, loaded_path);
    EXPECT_EQ(s().machine_state, kOff);
    EXPECT_EQ(Working(), kDefaultValues);
    EXPECT_EQ(h->editor.CallsOf("Updata_ShowDlg").size(), 1u);

    // SAVE no longer acts, not even in Ready, and DELET finds no file;
    // SELECT still acts.
    s().machine_state = kReady;
    Click(ctl::kSave);
    Click(ctl::kDelet);
    EXPECT_EQ(h->window.prompts.size(), 1u);
    EXPECT_EQ(h->window.save_dialogs, 0);
    h->window.open_choices.push_back(std::nullopt);
    Click(ctl::kSelect);
    EXPECT_EQ(h->window.open_dialogs, 1);
}

TEST_F(ProfileCommandsTest, DeletDoesNothingWithoutAFileOrAYes) {
    struct Case {
        std::string name, path;
        bool asks;
    };
    const std::vector<Case> cases{
        {kNewSetting, kNoPath, false},
        {kMachineSetting, "", false},  // "" stands for the loaded file's path
        {kLastUsbSetting, "", false},
        {"Gone.coff", "gone", false},
        {"Loaded.coff", "", true},  // answered No
    };
    for (const Case& c : cases) {
        Reset(kReady);
        s().profile_name = c.name;
        if (!c.path.empty()) s().profile_path = c.path == "gone" ? folder.Path("Gone.coff") : c.path;
        if (c.asks) h->window.AnswerNo();
        Click(ctl::kDelet);
        EXPECT_EQ(h->window.prompts.size(), c.asks ? 1u : 0u) << c.name;
        EXPECT_THAT(h->window.messages, IsEmpty()) << c.name;
        EXPECT_EQ(s().profile_name, c.name);
        EXPECT_TRUE(PathExists(loaded_path));
        EXPECT_EQ(Working(), kLoadedValues);
    }
}

#ifdef __linux__
TEST_F(ProfileCommandsTest, DeletReportsAFileThatCannotBeDeleted) {
    s().profile_path = "/proc/version";  // readable, never deletable
    h->window.AnswerYes();
    Click(ctl::kDelet);
    ASSERT_EQ(h->window.messages.size(), 1u);
    EXPECT_THAT(h->window.messages[0], StartsWith("Cannot delete the file /proc/version: "));
    EXPECT_EQ(s().profile_name, "Loaded.coff");
    EXPECT_EQ(s().machine_state, kReady);
    EXPECT_EQ(Working(), kLoadedValues);
}
#endif

TEST_F(ProfileCommandsTest, AQuestionDoesNotActOnAProfileReplacedWhileItWasOpen) {
    for (int control : {ctl::kDelet, ctl::kSave}) {
        Reset(kReady);
        // An upload from the roaster completes while the question is open.
        h->window.answers.push_back({true, 0, [this] {
                                         h->SetProfile({{1, 10, 1}}, {1, 10}, kLastUsbSetting);
                                     }});
        Click(control);
        EXPECT_EQ(TempFolder::Read(loaded_path), kLoadedText) << control;
        EXPECT_EQ(s().profile_name, kLastUsbSetting) << control;
        EXPECT_EQ(h->Working().size(), 2u) << control;
    }
}

TEST_F(ProfileCommandsTest, TheEditorIsLockedWhileAQuestionIsOpen) {
    // The three questions of the profile commands, each answered both ways.
    const std::vector<std::pair<const char*, std::function<void()>>> questions{
        {"CREATE replace", [this] {
             TempFolder::Write(folder.Path("Roast.coff"), kLoadedText);
             h->window.save_choices.push_back(Choice("Roast"));
             Click(ctl::kCreate);
         }},
        {"DELET", [this] { Click(ctl::kDelet); }},
        {"SAVE", [this] { Click(ctl::kSave); }},
    };
    for (const auto& [name, ask] : questions) {
        for (bool yes : {false, true}) {
            Reset(kReady);
            int lock_while_open = -1;
            int prompt_open_while_open = -1;
            h->window.answers.push_back({yes, 0, [&] {
                                             lock_while_open = h->editor.Lock();
                                             prompt_open_while_open = s().prompt_open;
                                         }});
            ask();
            ASSERT_EQ(h->window.prompts.size(), 1u) << name;
            EXPECT_EQ(lock_while_open, 1) << name << (yes ? " Yes" : " No");
            EXPECT_EQ(prompt_open_while_open, 1) << name;
            EXPECT_EQ(h->editor.Lock(), 0) << name << (yes ? " Yes" : " No") << ": the editor stays locked";
            EXPECT_EQ(s().prompt_open, 0) << name;
        }
    }
}

TEST_F(ProfileCommandsTest, SaveInPlaceWritesTheWorkingListOverTheFile) {
    for (int32_t state : {kReady, kRun}) {
        Reset(state);
        TempFolder::Write(loaded_path, kLoadedText + Cool('9', "99"));
        h->controller.console.WriteStep(2, 3, 5, 3, KEEP_VALUE);
        s().edit_field = kEditTime;
        h->window.AnswerYes();
        Click(ctl::kSave);
        EXPECT_THAT(h->window.prompts, ElementsAre("Are you sure want to save this coffee beans set?"));
        EXPECT_EQ(TempFolder::Read(loaded_path),
                  Roast('7', "42", '2') + Roast('3', "05", '3') + Cool('4', "25") + Cool('9', "99"));
        EXPECT_EQ(s().edit_field, state == kReady ? kEditNone : kEditTime);
        EXPECT_EQ(s().machine_state, state);
        EXPECT_THAT(h->window.messages, IsEmpty());
    }
}

TEST_F(ProfileCommandsTest, SaveInPlaceRefusalsAndFailuresLeaveTheFileAndIdentity) {
    struct Case {
        const char* what;
        std::function<void()> arrange;
        const char* message;
    };
    const std::vector<Case> cases{
        {"one step", [this] { h->SetProfile({}, {5, 30}, "Loaded.coff"); },
         "Current setting is empty!"},
        {"no cooling step",
         [this] {
             h->controller.console.WriteStep(3, KEEP_VALUE, KEEP_VALUE, KEEP_VALUE, StepWaiting);
         },
         "Current setting is error!"},
        {"folder", [this] { s().profile_path = folder.Path(""); }, "Cannot write the file "},
#ifdef __linux__
        {"full disk", [this] { s().profile_path = "/dev/full"; }, "Cannot write the file "},
#endif
    };
    for (const Case& c : cases) {
        Reset(kReady);
        c.arrange();
        const std::string path = s().profile_path;
        s().edit_field = kEditHeat;
        h->window.AnswerYes();
        Click(ctl::kSave);
        ASSERT_EQ(h->window.messages.size(), 1u) << c.what;
        EXPECT_THAT(h->window.messages[0], StartsWith(c.message)) << c.what;
        EXPECT_EQ(TempFolder::Read(loaded_path), kLoadedText) << c.what;
        EXPECT_EQ(s().profile_name, "Loaded.coff");
        EXPECT_EQ(s().profile_path, path);
        EXPECT_EQ(s().edit_field, kEditHeat) << c.what;
    }
}

TEST_F(ProfileCommandsTest, ProfilesWithoutAFileOfTheirOwnSaveToANewFile) {
    for (const std::string& name : {kNewSetting, std::string("Coffee Bean"), std::string("Coffee Bean.coff"),
                                    kLastUsbSetting, kMachineSetting}) {
        Reset(kReady);
        s().profile_name = name;
        h->window.ShowName(DisplayName(name));
        std::filesystem::remove(folder.Path("Batch.coff"));
        h->window.save_choices.push_back(Choice("Batch"));
        Click(ctl::kSave);
        EXPECT_THAT(h->window.prompts, IsEmpty()) << name;
        EXPECT_EQ(TempFolder::Read(folder.Path("Batch.coff")), kLoadedText) << name;
        const bool keeps = name == kMachineSetting;
        EXPECT_EQ(s().profile_name, keeps ? name : "Batch.coff") << name;
        EXPECT_EQ(s().profile_path, keeps ? loaded_path : folder.Path("Batch.coff")) << name;
        EXPECT_EQ(h->window.name_text, keeps ? "Last Machine Setting" : "Batch") << name;
    }
}

TEST_F(ProfileCommandsTest, SaveToNewFileRefusesAnUnloadableListAndReportsAFailedWrite) {
    s().profile_name = kLastUsbSetting;
    std::vector<std::array<int, 3>> twenty_one(21, {5, 20, 2});
    h->SetProfile(twenty_one, {5, 30}, kLastUsbSetting);  // 22 steps, as an upload may hold
    h->window.save_choices.push_back(Choice("Upload"));
    Click(ctl::kSave);
    EXPECT_THAT(h->window.messages, ElementsAre("Current setting is error!"));
    EXPECT_FALSE(PathExists(folder.Path("Upload.coff")));

    Reset(kReady);
    s().profile_name = kNewSetting;
    h->window.save_choices.push_back(FileChoice{"x.coff", folder.Path("gone/x.coff")});
    Click(ctl::kSave);
    ASSERT_EQ(h->window.messages.size(), 1u);
    EXPECT_THAT(h->window.messages[0], HasSubstr(folder.Path("gone/x.coff")));
    EXPECT_EQ(s().profile_name, kNewSetting);
}

TEST_F(ProfileCommandsTest, CancelStaysOnlyWhileTheRoasterRunsWithTheLinkUp) {
    for (const auto& [state, link, ends] : std::vector<std::tuple<int32_t, bool, bool>>{
             {kRun, true, false}, {kRun, false, true}, {kReady, true, true}}) {
        Reset(state);
        s().link_ok = link;
        Click(ctl::kCancel);
        EXPECT_EQ(h->window.ended, ends) << state << link;
        EXPECT_EQ(h->window.TimerRunning(kControlTimer), !ends);
        EXPECT_EQ(h->window.messages.size(), ends ? 0u : 1u);
    }
}

}  // namespace

namespace {

std::vector<StepNode> Steps(const std::vector<std::array<int, 3>>& roast, std::array<int, 2> cooling) {
    std::vector<StepNode> out;
    for (const auto& s : roast) out.push_back({0, s[0], s[1], s[2], StepCompleted, nullptr});
    out.push_back({0, cooling[0], cooling[1], 0, StepEnd, nullptr});
    return out;
}

}  // namespace

// A roast's steps become the current profile, an unsaved copy that SAVE
// asks a file for; nothing goes to the roaster.
TEST_F(ProfileCommandsTest, StepsOfARoastBecomeAnUnsavedProfileThatSaveAsksAFileFor) {
    Reset(kFinished);
    h->serial.written.clear();
    const std::string name = "Kenya AA 2026-12-08 14:03";
    EXPECT_EQ(h->controller.UseProfileSteps(name, Steps({{9, 12, 3}, {9, 38, 3}, {8, 45, 2}}, {5, 30})), "");
    EXPECT_EQ(Working(), (std::vector<std::array<int, 4>>{{9, 12, 3, 0}, {9, 38, 3, 0}, {8, 45, 2, 0}, {5, 30, 0, 10}}));
    EXPECT_EQ(s().profile_name, name);
    EXPECT_EQ(s().profile_path, kNoPath);
    EXPECT_EQ(h->window.name_text, name);
    EXPECT_EQ(s().machine_state, kReady);
    EXPECT_EQ((std::array{s().fan_level, s().roast_time, s().heat_level}), (std::array{9, 12, 3}));
    EXPECT_THAT(h->serial.written, IsEmpty());

    h->window.save_choices.push_back(Choice("Kenya"));
    Click(ctl::kSave);
    EXPECT_EQ(h->window.save_dialogs, 1);
    EXPECT_EQ(TempFolder::Read(folder.Path("Kenya.coff")),
              Roast('9', "12", '3') + Roast('9', "38", '3') + Roast('8', "45", '2') + Cool('5', "30"));
    EXPECT_EQ(s().profile_name, "Kenya.coff");
}

// Refused while a run goes on and for steps no profile file holds as they
// are: the reason is given, and the profile and the panel stay.
TEST_F(ProfileCommandsTest, StepsThatDoNotMakeAProfileAreRefused) {
    std::vector<std::array<int, 3>> twenty_one(21, {9, 10, 3});
    const std::tuple<const char*, int32_t, std::vector<StepNode>, std::string> cases[] = {
        {"a run", kRun, Steps({{9, 12, 3}}, {5, 30}), "a roast is running"},
        {"a delayed start", kRun, Steps({{9, 12, 3}}, {5, 30}), "a roast is running"},
        {"22 steps", kFinished, Steps(twenty_one, {5, 30}), "22 steps, and a profile holds at most 21 with its cooling"},
        {"fan 10", kFinished, Steps({{9, 12, 3}, {10, 5, 2}}, {5, 30}), "step 2 has fan 10 (1 to 9)"},
        {"heat 4", kReady, Steps({{9, 12, 4}}, {5, 30}), "step 1 has heat 4 (0 to 3)"},
        {"no time", kOff, Steps({{9, 0, 3}}, {5, 30}), "step 1 has 0.0 minutes (0.1 to 9.9)"},
        {"a long cooling", kOff, Steps({{9, 12, 3}}, {5, 100}), "the cooling has 10.0 minutes (0.1 to 9.9)"},
        {"no roast step", kOff, Steps({}, {5, 30}), "it has no roast step"},
        {"a cooling first", kOff, {{0, 5, 30, 0, CoolWaiting, nullptr}, {0, 9, 12, 3, StepWaiting, nullptr}},
         "step 1 is a cooling step before the last"},
    };
    for (const auto& [what, state, steps, problem] : cases) {
        Reset(state);
        if (std::string(what) == "a delayed start") s().run_phase = kWaitStart;
        EXPECT_EQ(h->controller.UseProfileSteps("Roast", steps), problem) << what;
        EXPECT_EQ(Working(), kLoadedValues) << what;
        EXPECT_EQ(s().machine_state, state) << what;
        EXPECT_FALSE(Acted()) << what;
    }
}
