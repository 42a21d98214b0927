#include "command_fixture.h"

namespace {

KeyMessage AltEnter(KeyKind kind) { return KeyMessage{kind, vk::kEnter, true, true, false}; }

class KeyFilterTest : public CommandTest {
protected:
    bool Key(const KeyMessage& m) { return rc().PreTranslateMessage(m); }
    // One press of Alt+Enter: a key-down and a character message.
    void PressAltEnter() {
        EXPECT_TRUE(Key(AltEnter(KeyKind::KeyDown)));
        EXPECT_TRUE(Key(AltEnter(KeyKind::Char)));
    }
    void ReleaseEnter() { Key(KeyMessage{KeyKind::KeyUp, vk::kEnter, true, false, false}); }
};

TEST_F(KeyFilterTest, OneAltEnterPressIsOnePowerClick) {
    PressAltEnter();
    EXPECT_EQ(s().machine_state, kRun);
    EXPECT_EQ(s().run_phase, kHeat);
    ReleaseEnter();
    EXPECT_EQ(s().alt_enter_count, 0);
    PressAltEnter();
    EXPECT_EQ(s().run_phase, kManualCool) << "the second press pauses the run";
}

TEST_F(KeyFilterTest, HoldingAltEnterStopsTheRunAtTheFortiethMessage) {
    // Held from Ready: the second message starts the run, the 40th stops it.
    s().delayed_start = true;
    for (int i = 0; i < 19; ++i) PressAltEnter();
    EXPECT_TRUE(Key(AltEnter(KeyKind::KeyDown)));
    EXPECT_EQ(s().machine_state, kRun);
    PlaceInStep(2, 5, 30);
    s().run_phase = kManualCool;
    s().heat_level = 0;
    EXPECT_TRUE(Key(AltEnter(KeyKind::Char)));
    EXPECT_EQ(s().machine_state, kFinished);
    EXPECT_EQ(s().run_phase, kManualCool) << "the phase stays as it was";
    EXPECT_EQ((std::array{s().fan_level, s().roast_time, s().heat_level}), (std::array{8, 25, 2})) << "not step 1";
    EXPECT_FALSE(s().delayed_start);
    EXPECT_TRUE(h().window.picker_enabled);
    EXPECT_EQ(Steps().front().status, StepWaiting);
    EXPECT_FALSE(h().window.TimerRunning(kDownloadTimer));
    for (int i = 0; i < 30; ++i) PressAltEnter();
    EXPECT_EQ(s().machine_state, kFinished) << "nothing more while held";
}

TEST_F(KeyFilterTest, CountRestartsOnlyWhenAltOrEnterIsReleased) {
    PressAltEnter();
    Key(KeyMessage{KeyKind::KeyDown, 'A', true, true, false});
    EXPECT_EQ(s().alt_enter_count, 2) << "both still held";
    Key(KeyMessage{KeyKind::KeyUp, 18, false, true, false});
    EXPECT_EQ(s().alt_enter_count, 0);
}

TEST_F(KeyFilterTest, KeysReachTheCommandsAndNeverCloseTheWindow) {
    struct Case {
        const char* what;
        KeyMessage message;
        bool consumed;
        std::function<bool(ControllerState&)> effect;
    };
    const std::vector<Case> cases = {
        {"up arrow", {KeyKind::KeyDown, vk::kUp}, true, [](auto& s) { return s.fan_level == 6; }},
        {"down arrow", {KeyKind::KeyDown, vk::kDown}, true, [](auto& s) { return s.fan_level == 4; }},
        {"right arrow", {KeyKind::KeyDown, vk::kRight}, true, [](auto& s) { return s.edit_field == kEditTime; }},
        {"left arrow", {KeyKind::KeyDown, vk::kLeft}, true, [](auto& s) { return s.edit_field == kEditHeat; }},
        {"tab", {KeyKind::KeyDown, vk::kTab}, true, [](auto& s) { return s.profile_name == kMachineSetting; }},
        {"alt+s is POWER: commits", {KeyKind::KeyDown, vk::kS, true}, false,
         [](auto& s) { return s.edit_countdown == 0 && s.edit_field == kEditFan; }},
        {"escape", {KeyKind::KeyDown, vk::kEscape}, true, [](auto& s) { return s.machine_state == kReady; }},
        {"space", {KeyKind::KeyDown, vk::kSpace}, true, [](auto& s) { return s.machine_state == kReady; }},
        {"enter commits", {KeyKind::KeyDown, vk::kEnter}, true,
         [](auto& s) { return s.edit_countdown == 0 && s.edit_field == kEditNone; }},
        {"letter to the name box", {KeyKind::Char, 'x', false, false, true}, true, [](auto&) { return true; }},
        {"digit elsewhere", {KeyKind::Char, '7'}, false, [](auto&) { return true; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        s().edit_field = kEditFan;
        s().edit_countdown = 5;
        s().fan_level = 5;
        rc().console.WriteStep(1, 5, 40, 3, StepWaiting);
        EXPECT_EQ(Key(c.message), c.consumed);
        EXPECT_TRUE(c.effect(s()));
    }
}

}  // namespace
