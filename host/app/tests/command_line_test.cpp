#include <gtest/gtest.h>

#include "command_line.h"

namespace {

TEST(CommandLine, ParsesPortAndSimulateAndRejectsEverythingElse) {
    struct Case {
        QStringList args;
        bool ok;
        std::string port;
        bool simulate;
    };
    const Case cases[] = {
        {{}, true, "", false},
        {{"--port", "/dev/ttyUSB1"}, true, "/dev/ttyUSB1", false},
        {{"--port=COM12"}, true, "COM12", false},
        {{"--simulate"}, true, "", true},
        {{"--port"}, false, "", false},
        {{"--port", ""}, false, "", false},
        {{"--port", "a", "--port", "b"}, false, "", false},
        {{"--port", "/dev/ttyUSB0", "--simulate"}, false, "", false},
        {{"--verbose"}, false, "", false},
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
    }
}

}  // namespace
