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

}  // namespace
