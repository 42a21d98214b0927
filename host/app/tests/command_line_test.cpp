#include <gtest/gtest.h>

#include "command_line.h"

namespace {

TEST(CommandLine, ParsesTheOptionsAndRejectsEverythingElse) {
    struct Case {
        QStringList args;
        std::string port;
        bool simulate;
        bool help = false;
        bool version = false;
    };
    // --help and --version print and end whatever else is given with them.
    const Case accepted[] = {
        {{}, "", false},
        {{"--port", "/dev/ttyUSB1"}, "/dev/ttyUSB1", false},
        {{"--port=COM12"}, "COM12", false},
        {{"--simulate"}, "", true},
        {{"--help"}, "", false, true},
        {{"-h", "--port", "a", "--simulate"}, "", false, true},
        {{"--version"}, "", false, false, true},
        {{"--version", "--port", "a", "--simulate"}, "", false, false, true},
    };
    for (const Case& c : accepted) {
        const CommandLineOptions o = ParseCommandLine(QStringList{"kavolo-roaster"} + c.args);
        const std::string what = c.args.join(' ').toStdString();
        EXPECT_TRUE(o.ok) << what << ": " << o.error;
        EXPECT_EQ(o.port, c.port) << what;
        EXPECT_EQ(o.simulate, c.simulate) << what;
        EXPECT_EQ(o.help, c.help) << what;
        EXPECT_EQ(o.version, c.version) << what;
    }
    // Each refusal says what is wrong with its own command line.
    const std::pair<QStringList, std::string> rejected[] = {
        {{"--port"}, "Missing value after '--port'."},
        {{"--port", ""}, "--port needs a device."},
        {{"--port", "a", "--port", "b"}, "--port is given more than once."},
        {{"--port", "/dev/ttyUSB0", "--simulate"}, "--port and --simulate cannot be used together."},
        {{"--verbose"}, "Unknown option 'verbose'."},
        {{"--help", "--verbose"}, "Unknown option 'verbose'."},
        {{"-platform", "offscreen"}, "Unknown options: p, l, a, t, f, o, r, m."},
        {{"profile.coff"}, "Unexpected argument: profile.coff"},
    };
    for (const auto& [args, error] : rejected) {
        const CommandLineOptions o = ParseCommandLine(QStringList{"kavolo-roaster"} + args);
        EXPECT_FALSE(o.ok) << args.join(' ').toStdString();
        EXPECT_EQ(o.error, error) << args.join(' ').toStdString();
    }
}

}  // namespace
