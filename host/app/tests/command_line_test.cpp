#include <gtest/gtest.h>

#include "command_line.h"

namespace {

TEST(CommandLine, ParsesTheOptionsAndRejectsEverythingElse) {
    struct Case {
        QStringList args;
        bool ok;
        std::string port;
        bool simulate;
        bool help = false;
        bool version = false;
    };
    const Case cases[] = {
        {{}, true, "", false},
        {{"--port", "/dev/ttyUSB1"}, true, "/dev/ttyUSB1", false},
        {{"--port=COM12"}, true, "COM12", false},
        {{"--simulate"}, true, "", true},
        {{"--help"}, true, "", false, true},
        {{"-h", "--port", "a", "--simulate"}, true, "", false, true},
        {{"--version"}, true, "", false, false, true},
        {{"--port"}, false, "", false},
        {{"--port", ""}, false, "", false},
        {{"--port", "a", "--port", "b"}, false, "", false},
        {{"--port", "/dev/ttyUSB0", "--simulate"}, false, "", false},
        {{"--verbose"}, false, "", false},
        {{"--help", "--verbose"}, false, "", false},
        {{"-platform", "offscreen"}, false, "", false},
        {{"profile.coff"}, false, "", false},
    };
    for (const Case& c : cases) {
        const CommandLineOptions o = ParseCommandLine(QStringList{"kavolo-roaster"} + c.args);
        const std::string what = c.args.join(' ').toStdString();
        EXPECT_EQ(o.ok, c.ok) << what;
        if (!c.ok) {
            EXPECT_FALSE(o.error.empty()) << what;
            continue;
        }
        EXPECT_EQ(o.port, c.port) << what;
        EXPECT_EQ(o.simulate, c.simulate) << what;
        EXPECT_EQ(o.help, c.help) << what;
        EXPECT_EQ(o.version, c.version) << what;
    }
}

// The simulated roaster's options come only with --simulate; an error
// names the option.
TEST(CommandLine, TakesHowTheSimulatedBeansAnswerOnlyWithSimulate) {
    struct Case {
        QStringList args;
        std::string error;  // a part of the error; empty: accepted
        double batch_scale = 1.0;
        double fan_effect = 1.0;
        double room_f = 70.0;
        double heat_scale = 1.0;
        double heater_lag_seconds = 0.0;
    };
    const Case cases[] = {
        {{"--simulate", "--batch-scale", "1.25", "--fan-effect", "reversed", "--room=55"}, "", 1.25, -1.0, 55.0},
        {{"--simulate", "--heat-scale", "0.85", "--heater-lag", "30"}, "", 1.0, 1.0, 70.0, 0.85, 30.0},
        {{"--batch-scale", "0.8"}, "--batch-scale needs --simulate"},
        {{"--port", "/dev/ttyUSB0", "--fan-effect", "reversed"}, "--fan-effect needs --simulate"},
        {{"--simulate", "--heat-scale", "0"}, "--heat-scale takes a number"},
        {{"--simulate", "--room", "warm"}, "--room takes a number"},
        {{"--simulate", "--fan-effect", "up"}, "--fan-effect takes normal or reversed"},
    };
    for (const Case& c : cases) {
        const CommandLineOptions o = ParseCommandLine(QStringList{"kavolo-roaster"} + c.args);
        const std::string what = c.args.join(' ').toStdString();
        if (!c.error.empty()) {
            EXPECT_FALSE(o.ok) << what;
            EXPECT_NE(o.error.find(c.error), std::string::npos) << what << ": " << o.error;
            continue;
        }
        ASSERT_TRUE(o.ok) << what << ": " << o.error;
        EXPECT_TRUE(o.simulate) << what;
        EXPECT_EQ(o.simulated_beans.batch_scale, c.batch_scale) << what;
        EXPECT_EQ(o.simulated_beans.fan_effect, c.fan_effect) << what;
        EXPECT_EQ(o.simulated_beans.room_f, c.room_f) << what;
        EXPECT_EQ(o.simulated_beans.heat_scale, c.heat_scale) << what;
        EXPECT_EQ(o.simulated_beans.heater_lag_seconds, c.heater_lag_seconds) << what;
    }
    EXPECT_NE(UsageText().find("--heat-scale F"), std::string::npos);
}

}  // namespace
