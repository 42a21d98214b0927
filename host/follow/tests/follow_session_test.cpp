// Follow mode wired into the console, in virtual time: the control logic on
// the simulated roaster's wire, the real recorder, and the follow session
// giving the running step its choices through the control layer.
#include <gtest/gtest.h>

#include <cmath>

#include "control_ids.h"
#include "controller_harness.h"
#include "follow_session.h"
#include "key_message.h"
#include "roast_recorder.h"
#include "roast_steps.h"
#include "virtual_roast_clock.h"
#include "virtual_wire.h"

namespace {

// Heat 2 throughout, the fan stepping down, as a roaster leaves headroom.
const std::vector<std::array<uint8_t, 3>> kSteps{{7, 40, 2}, {5, 30, 2}, {3, 30, 2}};

RoasterModel::Options Roaster(const BeanResponse& beans, const std::vector<std::array<uint8_t, 3>>& steps,
                              std::array<uint8_t, 2> cooling) {
    RoasterModel::Options o;
    o.beans = beans;
    o.program.steps = steps;
    o.program.cooling = cooling;
    return o;
}

// A console on the simulated roaster with its recorder and follow mode,
// added as the program adds them, the link up and the roaster's program
// loaded.
struct Console {
    explicit Console(const BeanResponse& beans = {}, const std::vector<std::array<uint8_t, 3>>& steps = kSteps,
                     std::array<uint8_t, 2> cooling = {9, 30})
        : wire(h, Roaster(beans, steps, cooling)), clock(h.window), recorder(clock, nullptr, "test"),
          follow(recorder, h.controller.step_values) {
        h.window.record_fired = false;
        h.controller.events().Add(follow);
        h.controller.events().Add(recorder);
        h.controller.Start();
        EXPECT_TRUE(h.window.AdvanceUntil([&] { return h.s().machine_state == kReady; }, 10000));
        h.Ticks(1);
    }
    void Power() { h.controller.OnButtonClicked(ctl::kPower); }
    // Runs until `seconds` into the recording.
    void RunTo(double seconds) {
        h.window.AdvanceUntil([&] { return recorder.ElapsedSeconds() >= seconds; }, 60 * 60 * 1000);
    }
    void RunToEnd() {
        h.window.AdvanceUntil([&] { return h.s().machine_state == kFinished; }, 60 * 60 * 1000);
    }
    int changes() const { return follow.follower() ? follow.follower()->changes() : -1; }

    ControllerHarness h;
    VirtualWire wire;
    VirtualRoastClock clock;
    RoastRecorder recorder;
    FollowSession follow;
};

// The reason word of the log's follow_end line; empty without one.
std::string EndReason(const RoastLog& log) {
    const std::string end = log.Get("follow_end");
    const std::size_t space = end.find(' ');
    return space == std::string::npos ? std::string() : end.substr(space + 1);
}

RoastLog Reference() {
    Console c;
    c.Power();
    c.RunToEnd();
    return c.recorder.log();
}

// On a bigger batch follow mode changes the running step's values, which
// the status frames carry; a key press ends it at once and for good: the
// key acts, nothing is chosen any more, and the log says when and why.
TEST(FollowSession, FollowsUntilAKeyTakesOverForGood) {
    BeanResponse bigger;
    bigger.batch_scale = 1.25;
    Console c(bigger);
    c.follow.Arm(Reference(), "reference.csv");
    EXPECT_EQ(c.follow.state(), FollowState::Armed);
    c.Power();
    c.RunTo(180);
    ASSERT_EQ(c.follow.state(), FollowState::Following);
    EXPECT_EQ(c.follow.StatusText(), "Following the background");
    EXPECT_EQ(c.recorder.log().Get("follow"), "reference.csv");
    EXPECT_GT(c.changes(), 0);
    bool changed = false;
    for (const RoastSample& s : c.recorder.log().samples) changed |= s.step == 1 && (s.fan != 7 || s.heat != 2);
    EXPECT_TRUE(changed) << "step 1 ran with the values follow mode chose";
    c.h.Ticks(1);
    EXPECT_EQ(c.wire.model.console().fan, c.h.s().fan_level);
    EXPECT_EQ(c.wire.model.console().heat, c.h.s().heat_level);

    const int32_t time_left = c.h.s().roast_time;
    KeyMessage up;
    up.code = vk::kUp;
    c.h.controller.PreTranslateMessage(up);
    EXPECT_EQ(c.follow.state(), FollowState::Ended);
    EXPECT_EQ(c.follow.end(), FollowEnd::TookOver);
    EXPECT_EQ(c.follow.StatusText(), "Follow mode off: you took over");
    EXPECT_EQ(c.h.s().roast_time, time_left + 1) << "the key acts";
    const std::string end = c.recorder.log().Get("follow_end");
    EXPECT_EQ(end.substr(0, 4), "180.");
    EXPECT_EQ(EndReason(c.recorder.log()), "took_over");

    const int changes = c.changes();
    const std::size_t from = c.recorder.log().samples.size();
    const int fan = c.h.s().fan_level, heat = c.h.s().heat_level;
    c.RunTo(235);  // step 1 ends at 4:00 and one more minute for the key's tenth
    for (std::size_t i = from; i < c.recorder.log().samples.size(); ++i) {
        const RoastSample& s = c.recorder.log().samples[i];
        if (s.step != 1) break;
        EXPECT_EQ(s.fan, fan) << s.seconds;
        EXPECT_EQ(s.heat, heat) << s.seconds;
    }
    c.RunToEnd();
    EXPECT_EQ(c.changes(), changes);
    EXPECT_EQ(c.recorder.log().Get("follow_end"), end);
}

// A followed run that heats to its cooling keeps its steering as a program:
// at most 20 roast steps whose times add up to the heating's, then the run's
// cooling; run by the roaster alone, it gives the followed roast's curve
// again. A roast not followed keeps none.
TEST(FollowSession, KeepsTheSteeringAsAProgramThatRoastsTheSameAgain) {
    const RoastLog reference = Reference();
    EXPECT_FALSE(reference.Has(roastkey::kSteeredSteps));
    BeanResponse bigger;
    bigger.batch_scale = 1.25;
    bigger.airflow = Airflow::HotAir;
    Console c(bigger);
    c.follow.Arm(reference, "reference.csv");
    c.Power();
    c.RunToEnd();
    const RoastLog followed = c.recorder.log();
    EXPECT_GT(c.changes(), 10);

    const StepsParse kept = ParseStepsText(followed.Get(roastkey::kSteeredSteps));
    ASSERT_TRUE(kept.ok) << followed.Get(roastkey::kSteeredSteps);
    ASSERT_GE(kept.steps.size(), 2u);
    EXPECT_LE(kept.steps.size(), 21u);
    std::vector<std::array<uint8_t, 3>> steps;
    int tenths = 0;
    for (std::size_t i = 0; i + 1 < kept.steps.size(); ++i) {
        const StepNode& n = kept.steps[i];
        EXPECT_FALSE(IsCoolingStatus(n.status));
        EXPECT_TRUE(n.fan >= 1 && n.fan <= 9 && n.heat >= 1 && n.heat <= 3 && n.time >= 1 && n.time <= 99);
        tenths += n.time;
        steps.push_back({static_cast<uint8_t>(n.fan), static_cast<uint8_t>(n.time), static_cast<uint8_t>(n.heat)});
    }
    EXPECT_EQ(tenths, 100) << "the heating's ten minutes";
    const StepNode& cooling = kept.steps.back();
    EXPECT_TRUE(IsCoolingStatus(cooling.status));
    EXPECT_EQ(cooling.fan, 9);

    Console again(bigger, steps, {9, 30});
    again.Power();
    again.RunToEnd();
    double sum = 0;
    int n = 0;
    for (const RoastSample& s : again.recorder.log().samples) {
        const std::optional<double> was = BeanAt(followed, s.seconds);
        if (s.seconds < 60 || s.seconds > 600 || !was || !s.bean_f) continue;
        sum += (*s.bean_f - *was) * (*s.bean_f - *was);
        ++n;
    }
    EXPECT_LT(std::sqrt(sum / n), 3.0) << "°F RMS from the followed roast, open loop";
}

// A sensor error and a roaster gone silent (the link lost and found again)
// pause follow mode, which changes nothing until readings return; a run
// stopped by the roaster switched off still gets its last line.
TEST(FollowSession, PausesWithoutReadingsAndEndsWithTheRun) {
    Console c;
    c.follow.Arm(Reference(), "reference.csv");
    c.Power();
    c.RunTo(60);
    ASSERT_EQ(c.follow.state(), FollowState::Following);

    const double beans = c.wire.model.thermal().temperature_f();
    c.wire.model.thermal().set_temperature_f(700);  // the roaster reads "Hi"
    c.RunTo(61);
    EXPECT_EQ(c.follow.state(), FollowState::Paused);
    EXPECT_EQ(c.follow.StatusText(), "Follow mode paused: sensor error");
    int changes = c.changes();
    c.RunTo(66);
    EXPECT_EQ(c.changes(), changes);
    c.wire.model.thermal().set_temperature_f(beans);
    c.RunTo(75);
    EXPECT_EQ(c.follow.state(), FollowState::Following);

    c.wire.model.faults.silent = true;
    c.h.window.Advance(3000);
    EXPECT_EQ(c.follow.state(), FollowState::Paused);
    EXPECT_EQ(c.follow.StatusText(), "Follow mode paused: no readings");
    changes = c.changes();
    c.h.window.Advance(5000);
    EXPECT_FALSE(c.h.s().link_ok) << "the link is lost";
    c.wire.model.faults.silent = false;
    // Nothing is changed while paused, up to the reading that resumes
    // following (which may bring a choice of its own).
    int while_paused = changes;
    EXPECT_TRUE(c.h.window.AdvanceUntil(
        [&] {
            if (c.follow.state() == FollowState::Paused) while_paused = c.changes();
            return c.follow.state() == FollowState::Following;
        },
        30000));
    EXPECT_EQ(while_paused, changes);
    EXPECT_EQ(c.h.s().machine_state, kRun);

    c.RunTo(120);
    c.wire.model.SendPowerOff(c.h.window.now_ms);
    c.h.Ticks(2);
    EXPECT_FALSE(c.recorder.recording());
    EXPECT_EQ(c.follow.state(), FollowState::Ended);
    EXPECT_EQ(EndReason(c.recorder.log()), "run_ended");
}

// Switching the temperature's unit changes nothing of the roast and leaves
// follow mode on; turned on again after the user took over, it follows the
// same heating again from there; and the next run starts without the last
// one's status.
TEST(FollowSession, TheUnitLeavesItOnAndTurnedOnAgainItFollowsFromThere) {
    const RoastLog reference = Reference();
    Console c;
    c.follow.Arm(reference, "reference.csv");
    c.Power();
    c.RunTo(60);
    ASSERT_EQ(c.follow.state(), FollowState::Following);
    c.h.controller.OnButtonClicked(ctl::kTemperature);
    EXPECT_EQ(c.h.s().show_celsius, 1);
    EXPECT_EQ(c.follow.state(), FollowState::Following) << "the unit changed nothing of the roast";

    c.h.controller.OnButtonClicked(ctl::kUp);
    ASSERT_EQ(c.follow.end(), FollowEnd::TookOver);
    c.RunTo(90);
    c.follow.Arm(reference, "reference.csv");
    c.h.Ticks(1);
    EXPECT_EQ(c.follow.state(), FollowState::Following) << "followed again from there";
    EXPECT_EQ(c.follow.StatusText(), "Following the background");
    c.RunToEnd();
    EXPECT_EQ(c.follow.state(), FollowState::Ended);
    EXPECT_NE(EndReason(c.recorder.log()), "took_over");
    EXPECT_NE(c.follow.StatusText(), "");

    c.Power();
    EXPECT_TRUE(c.h.window.AdvanceUntil([&] { return c.recorder.recording(); }, 10000));
    c.h.Ticks(1);
    EXPECT_EQ(c.follow.state(), FollowState::Off);
    EXPECT_EQ(c.follow.StatusText(), "") << "the last run's status goes";
}

}  // namespace
