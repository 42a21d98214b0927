// The running step's fan and heat set from outside the panel (follow
// mode): as an edit commit leaves them, and only in a run's heating.
#include "command_fixture.h"
#include "frames.h"
#include "roast_steps.h"

namespace {

using ::testing::ElementsAre;

// Given during step 1 they stay in step 1's record to the end of the run
// (the steps as run), go out with the next status frame, and leave the
// step's time alone; step 2 then runs as planned.
TEST_F(CommandTest, RunningStepValuesGoWhereAnEditCommitPutsThem) {
    Click(ctl::kPower);
    h().Ticks(13);
    h().serial.written.clear();
    ASSERT_TRUE(rc().step_values.Set(8, 1));
    EXPECT_EQ((std::array{s().fan_level, s().roast_time, s().heat_level}), (std::array{8, 39, 1}));
    EXPECT_EQ(Steps()[0], (Step{8, 40, 1, StepRunning}));
    EXPECT_EQ(h().editor.CallsOf("update_data").back().list.at(0).fan, 8) << "the editor's progress";
    h().Ticks(1);
    ASSERT_FALSE(h().serial.written.empty());
    EXPECT_EQ(h().serial.written.back().bytes[7], 8);
    EXPECT_EQ(h().serial.written.back().bytes[9], 1);

    ASSERT_TRUE(h().window.AdvanceUntil([&] { return s().machine_state == kFinished; }, 30 * 60 * 1000));
    EXPECT_EQ(StepsText(rc().console.working), "8/4.0/1, 6/5.0/2, 7/3.0/1, cool 4/3.0");
}

TEST_F(CommandTest, RunningStepValuesAreRefusedOutsideTheHeatingAndForTheUsersEdit) {
    struct Case {
        const char* what;
        std::function<void()> place;
        int fan = 8, heat = 1;
    };
    const Case cases[] = {
        {"ready", [] {}},
        {"a delayed start's countdown",
         [&] {
             PlaceInStep(1, 0, 40);
             s().run_phase = kWaitStart;
         }},
        {"the cooling", [&] { PlaceInCooling(3, 20); }},
        {"a manual cooling",
         [&] {
             PlaceInStep(2, 5, 45);
             Click(ctl::kPower);
         }},
        {"the user's edit",
         [&] {
             PlaceInStep(2, 0, 50);  // nothing to split off yet: RIGHT selects the fan
             Click(ctl::kRight);
         }},
        {"fan 10", [&] { PlaceInStep(2, 5, 45); }, 10, 1},
        {"heat 0", [&] { PlaceInStep(2, 5, 45); }, 8, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        c.place();
        const ControllerState before = s();
        const std::vector<Step> steps = Steps();
        EXPECT_FALSE(rc().step_values.Set(c.fan, c.heat));
        EXPECT_EQ((std::array{s().fan_level, s().heat_level}), (std::array{before.fan_level, before.heat_level}));
        EXPECT_EQ(Steps(), steps);
    }
}

}  // namespace
