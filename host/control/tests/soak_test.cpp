// A thousand roasts back to back, in virtual time, against the simulated
// roaster's model on the line: a 21-step profile, run the way a user runs
// it, with edits before and during the run, step splits, manual cooling
// with and without resuming, long presses, held keys and the editor's
// traffic. After every timer event the step lists keep their invariants,
// the controller values stay in range, the link stays up and no message
// appears; after every download the roaster stores exactly the working
// list. In the sanitizer build LeakSanitizer checks for leaks at the end.
#include <gtest/gtest.h>

#include <random>

#include "control_ids.h"
#include "controller_harness.h"
#include "invariants.h"
#include "temp_folder.h"
#include "virtual_wire.h"

namespace {

constexpr int kRoasts = 1000;

// 20 roast steps of 0.1 minute and a cooling step of 0.1 minute.
std::string TwentyOneStepProfile() {
    std::string text;
    for (int i = 0; i < 20; ++i) text += Roast(static_cast<char>('1' + i % 9), "01", static_cast<char>('1' + i % 3));
    return text + Cool('5', "01");
}

class Soak : public ::testing::Test {
protected:
    void SetUp() override {
        h.editor.record_calls = false;
        h.serial.record = false;
        h.window.record_fired = false;
        h.window.on_timer = [this](int id) {
            h.controller.OnTimer(id);
            ++events;
            Check();
        };
        h.controller.Start();
        ASSERT_TRUE(h.window.AdvanceUntil([&] { return s().link_ok; }, 5000));
        checking = true;
        path = folder.Path("Soak.coff");
        TempFolder::Write(path, TwentyOneStepProfile());
    }

    ControllerState& s() { return h.s(); }
    CStep_Data& working() { return h.controller.console.working; }
    int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng); }
    bool Chance(int percent) { return Pick(1, 100) <= percent; }
    void Click(int control) {
        h.controller.OnButtonClicked(control);
        Check();
    }
    void Ticks(int n) { h.window.Advance(int64_t{n} * 500); }

    // The invariants; the first broken one stops the soak.
    void Check() {
        if (broken || !checking) return;
        std::string p = ListProblem(working(), 22);
        if (p.empty()) p = ProfileProblem(working());
        if (p.empty()) p = ListProblem(h.controller.console.upload, 22);
        if (p.empty()) p = ListProblem(h.controller.console.parked, 22);
        if (p.empty()) p = StateProblem(s());
        if (p.empty() && s().link_down != 0) p = "the link went down";
        if (p.empty() && !h.window.messages.empty()) p = "message: " + h.window.messages.front();
        if (p.empty()) return;
        broken = true;
        ADD_FAILURE() << "roast " << roast << ", event " << events << " at " << h.window.now_ms << " ms: " << p;
    }

    // A Yes or No for a prompt the next action may open; while it is open
    // the timers keep running for a while.
    void Answer(bool yes) { h.window.answers.push_back(PromptAnswer{yes, Pick(0, 6) * 500, {}}); }
    void ForgetAnswers() { h.window.answers.clear(); }

    // A held button: pressed, held for `ms`, released, then its click.
    void Hold(int control, int64_t ms) {
        h.controller.OnButtonPressed(control);
        h.window.Advance(ms);
        h.controller.OnButtonReleased();
        Click(control);
    }

    void Prepare();
    void EditInEditor();
    void ActDuringRun();
    void ExpectRoasterHoldsWorkingList();

    ControllerHarness h;
    VirtualWire wire{h};
    TempFolder folder;
    std::string path;
    std::mt19937 rng{20250101};
    int roast = 0;
    int64_t events = 0;
    bool checking = false;  // from the link's start on
    bool broken = false;
};

void Soak::Prepare() {
    if (roast % 10 == 0 || s().machine_state == kOff) {
        // The 21-step profile from its file.
        h.window.open_choices.push_back(FileChoice{"Soak.coff", path});
        Click(ctl::kSelect);
        return;
    }
    if (Chance(30)) {
        // Edits on the panel before the run: the values of step 1.
        Click(ctl::kRight);
        for (int i = Pick(1, 3); i > 0; --i) Click(Chance(50) ? ctl::kUp : ctl::kDown);
        if (Chance(50)) {
            Click(ctl::kRight);  // on to the time
            Hold(Chance(50) ? ctl::kUp : ctl::kDown, Pick(900, 1800));
        }
        Ticks(Pick(1, 25));  // the edit commits by itself, or POWER commits it
    }
    if (Chance(20)) EditInEditor();
    if (Chance(5)) {
        // The roaster's manual setting and back.
        Click(ctl::kMode);
        Ticks(Pick(1, 3));
        Click(ctl::kMode);
    }
}

void Soak::EditInEditor() {
    if (s().editor_open == 0) Click(ctl::kProgram);
    CStep_Data& list = h.editor.list;
    if (h.editor.lock == 0 && list.count > 4 && s().machine_state != kRun && Chance(50)) {
        // A roast step deleted, so the list has room for splits.
        list.DeleteStep(static_cast<uint32_t>(Pick(1, static_cast<int>(list.count) - 1)));
        list.Renumber();
    }
    const uint32_t step = static_cast<uint32_t>(Pick(1, static_cast<int>(list.count) - 1));
    StepNode node{};
    if (list.GetStep(step, node) && node.status == StepWaiting)
        list.UpdateStep(step, Pick(1, 9), Pick(1, 2), Pick(1, 3), KEEP_VALUE);
    h.controller.OnEditorMessage(2);  // changed
    Check();
    if (s().machine_state != kRun && Chance(30)) {
        const int before = wire.model.downloads();
        h.controller.OnEditorMessage(3);  // download
        ASSERT_TRUE(h.window.AdvanceUntil([&] { return wire.model.downloads() > before && s().download_active == 0; },
                                          5000));
        ExpectRoasterHoldsWorkingList();
    }
    if (Chance(40)) h.controller.OnEditorMessage(4);  // closed
    Check();
}

void Soak::ActDuringRun() {
    switch (Pick(0, 9)) {
    case 0:
    case 1:
        // A live change of the running step's time.
        Click(Chance(50) ? ctl::kUp : ctl::kDown);
        break;
    case 2:
        // RIGHT: a split of the running step when it has run a unit and
        // there is room, else editing its values.
        Answer(Chance(70));
        Click(ctl::kRight);
        ForgetAnswers();
        if (s().EditInProgress() && Chance(50)) Click(ctl::kUp);
        break;
    case 3:
        // A held DOWN shortens the running step a minute a repeat.
        Hold(ctl::kDown, Pick(900, 1500));
        break;
    case 4:
        if (s().run_phase == kHeat && !s().EditInProgress()) {
            // Manual cooling: resumed, shortened and left to run out, or
            // followed by a further step.
            Click(ctl::kPower);
            Ticks(Pick(1, 8));
            const int way = Pick(0, 2);
            if (way == 0) {
                if (!s().EditInProgress()) Click(ctl::kPower);
            } else if (way == 1) {
                for (int i = 0; i < 3; ++i) Click(ctl::kDown);
            } else {
                Answer(true);
                Hold(ctl::kRight, 1000);
                ForgetAnswers();
            }
        }
        break;
    case 5:
        if (s().run_phase == kCool && Chance(50)) {
            // A further roast step before the cooling.
            Answer(true);
            Hold(ctl::kRight, 1000);
            ForgetAnswers();
        }
        break;
    case 6:
        if (Chance(4)) Hold(ctl::kPower, 1000);  // stopped early
        break;
    case 7:
        if (Chance(30)) EditInEditor();
        break;
    default:
        break;
    }
}

void Soak::ExpectRoasterHoldsWorkingList() {
    RoasterProgram expected;
    expected.steps.clear();
    uint32_t n = 0;
    for (const StepNode* p = working().head; p; p = p->next) {
        ++n;
        if (p->next)
            expected.steps.push_back({uint8_t(p->fan), uint8_t(p->time), uint8_t(p->heat)});
        else
            expected.cooling = {uint8_t(p->fan), uint8_t(p->time)};
    }
    EXPECT_EQ(wire.model.program(), expected) << "roast " << roast;
}

TEST_F(Soak, AThousandRoastsKeepTheListsSoundAndTheLinkUp) {
    int downloads = 0;
    for (roast = 0; roast < kRoasts && !broken; ++roast) {
        Prepare();
        if (broken) break;
        // POWER first commits an edit in progress, then starts.
        Click(ctl::kPower);
        if (s().machine_state != kRun) Click(ctl::kPower);
        ASSERT_EQ(s().machine_state, kRun) << "roast " << roast;
        const int64_t started = h.window.now_ms;
        const int downloads_before = wire.model.downloads();
        while (s().machine_state == kRun && !broken) {
            ASSERT_LT(h.window.now_ms - started, 60 * 60 * 1000) << "roast " << roast << " never ended";
            Ticks(Pick(1, 30));
            if (s().machine_state == kRun && Chance(60)) ActDuringRun();
        }
        // A run that ended by itself (or was stopped in cooling) is
        // downloaded; the roaster then holds exactly the list as it ran.
        ASSERT_TRUE(h.window.AdvanceUntil([&] { return !h.window.TimerRunning(kDownloadTimer); }, 5000));
        if (wire.model.downloads() > downloads_before) {
            ExpectRoasterHoldsWorkingList();
            ++downloads;
        }
        // The POWER click that follows a long press only clears its mark.
        if (s().run_phase == kPhaseNone) Click(ctl::kPower);
        Ticks(Pick(1, 4));
    }
    std::printf("%d roasts, %d downloads, %zu prompts to add a step, %lld timer events, %.1f hours of virtual time\n",
                roast, downloads, h.window.prompts.size(), static_cast<long long>(events),
                static_cast<double>(h.window.now_ms) / 3.6e6);
    EXPECT_EQ(roast, kRoasts);
    EXPECT_GT(downloads, kRoasts / 2);
    EXPECT_EQ(wire.model.hellos(), 1) << "one hello: the link never dropped";
}

}  // namespace
