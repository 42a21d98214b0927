#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "command_line.h"
#include "roast_log_text.h"

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

namespace {

// --background reads its log at once: a log that does not read is refused
// with the file and its first bad line; --follow needs it.
TEST(CommandLine, TakesABackgroundLogThatReadsAndFollowOnlyWithIt) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    auto write = [&](const QString& name, const QByteArray& text) {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
        return file.fileName();
    };
    const QByteArray columns = QByteArray(kRoastLogColumns) + "\n";
    const QString good = write("good.csv", "# profile: P\n" + columns + "0.5,70,70,,run,heat,1,5,3,5.9\n");
    const QString bad = write("bad.csv", "# profile: P\n" + columns + "0.5,70,70,,run,heat,1,12,3,5.9\n");
    const QString alog = write("artisan.alog", "{'mode': 'C', 'timex': [0.0, 2.0], 'temp2': [90.0, 91.0]}");
    const QString bad_alog = write("bad.alog", "{'mode': 'C',\n 'timex': __import__('os')}");

    CommandLineOptions o = ParseCommandLine({"kavolo-roaster", "--background", good, "--follow"});
    ASSERT_TRUE(o.ok) << o.error;
    EXPECT_TRUE(o.follow);
    ASSERT_TRUE(o.background_log);
    EXPECT_EQ(o.background_log->Get("profile"), "P");
    o = ParseCommandLine({"kavolo-roaster", "--simulate", "--background=" + good});
    EXPECT_TRUE(o.ok && !o.follow && o.background_log) << o.error;
    o = ParseCommandLine({"kavolo-roaster", "--background", alog, "--follow"});
    ASSERT_TRUE(o.ok && o.background_log) << o.error;
    EXPECT_EQ(o.background_log->samples.size(), 2u);

    const std::pair<QStringList, std::string> rejected[] = {
        {{"--follow"}, "--follow needs --background FILE, the roast to follow."},
        {{"--background", ""}, "--background needs a roast log."},
        {{"--background", good, "--background", good}, "--background is given more than once."},
        {{"--background", bad, "--follow"},
         "Cannot read the roast log " + bad.toStdString() + ": line 3: bad fan \"12\"."},
        {{"--background", bad_alog},
         "Cannot read the roast log " + bad_alog.toStdString() +
             ": line 2: not an Artisan profile: a call of __import__ where a value belongs."},
        {{"--background", dir.filePath("none.csv")}, "Cannot read the roast log " + dir.filePath("none.csv").toStdString() + ": "},
    };
    for (const auto& [args, error] : rejected) {
        const CommandLineOptions r = ParseCommandLine(QStringList{"kavolo-roaster"} + args);
        EXPECT_FALSE(r.ok) << args.join(' ').toStdString();
        EXPECT_EQ(r.error.substr(0, error.size()), error) << args.join(' ').toStdString();
    }
    EXPECT_NE(UsageText().find("--background FILE"), std::string::npos);
    EXPECT_NE(UsageText().find("--follow"), std::string::npos);
}

}  // namespace
