// console_bench: the console's start-up time, CPU use and resident memory.
//
// Start-up: the real program (kavolo-roaster --port DEVICE) is started
// against a simulated roaster on a pseudo-terminal of this process, several
// times; each time reports how long after the process start the roaster
// got the hello frame and the first status frame.
//
// Resources: for --minutes minutes two consoles run side by side, each
// sampled once a second from /proc/<pid>/stat and /proc/<pid>/status:
//   - the real program, kavolo-roaster --simulate, idle with its link up;
//   - the console running a roast: this program in its --roast-console
//     role, which builds the program's own window on the real serial
//     control, port discovery, step-editor library and an in-process
//     simulated roaster exactly as the program does, then presses POWER
//     once the link is up (the program itself takes no input headless).
// For each: CPU in % of one core, and resident memory with its growth per
// minute (least-squares slope after the first minute).
//
//   console_bench [--minutes N] [--startups N]
#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>
#include <unistd.h>
#include <vector>

#include "bench_support.h"
#include "event_loop.h"
#include "roasting_console.h"
#include "simulated_roaster_host.h"

namespace {

// --- the roast console (child role) ---------------------------------------

int RunRoastConsole() {
    // A program the roast runs for longer than any measurement: 9.9 minutes
    // and 4.9 minutes of roasting, then 3 minutes of cooling.
    RoasterModel::Options roaster;
    roaster.program.steps = {{5, 99, 3}, {6, 49, 2}};
    roaster.program.cooling = {5, 30};
    RoastingConsole console(roaster);
    return console.Run([] {});
}

// --- start-up -----------------------------------------------------------------

struct StartUp {
    double hello_ms = -1, first_status_ms = -1;
};

std::optional<StartUp> MeasureStartUp(const QString& program, const QProcessEnvironment& env) {
    SimulatedRoasterHost sim;
    std::string error;
    if (!sim.Start(&error)) {
        std::fprintf(stderr, "console_bench: %s\n", error.c_str());
        return std::nullopt;
    }
    StartUp result;
    QElapsedTimer clock;
    sim.on_frame = [&](const ReceivedFrame& f) {
        const double at = static_cast<double>(clock.nsecsElapsed()) / 1e6;
        if (f.bytes[1] == 0x55 && result.hello_ms < 0) result.hello_ms = at;
        if (f.bytes[1] == 0xAA && f.bytes[4] == kCmdStatus && result.first_status_ms < 0) result.first_status_ms = at;
    };
    QProcess console;
    console.setProcessEnvironment(env);
    console.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    clock.start();
    console.start(program, {"--port", QString::fromStdString(sim.DevicePath())});
    const bool seen = RunUntil([&] { return result.first_status_ms >= 0; }, 10000);
    console.kill();
    console.waitForFinished(5000);
    if (!seen) return std::nullopt;
    return result;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption minutes_opt("minutes", "Minutes the two consoles are sampled.", "N", "10");
    const QCommandLineOption startups_opt("startups", "Start-ups measured.", "N", "5");
    const QCommandLineOption roast_opt("roast-console", "Internal: be the console that runs a roast.");
    parser.addOptions({minutes_opt, startups_opt, roast_opt});
    parser.process(app);
    if (parser.isSet(roast_opt)) return RunRoastConsole();

    const QString folder = QCoreApplication::applicationDirPath();
    const QString program = QDir(folder).filePath("kavolo-roaster");
    QTemporaryDir runtime;
    QFile::setPermissions(runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QTemporaryDir data;
    const QProcessEnvironment env = ConsoleEnvironment(runtime.path(), data.path());

    // Start-up.
    std::vector<double> hellos, firsts;
    for (int i = 0; i < parser.value(startups_opt).toInt(); ++i) {
        const auto r = MeasureStartUp(program, env);
        if (!r) {
            std::fprintf(stderr, "console_bench: the program sent no status frame within 10 s\n");
            return 1;
        }
        hellos.push_back(r->hello_ms);
        firsts.push_back(r->first_status_ms);
        RunFor(500);
    }
    std::sort(hellos.begin(), hellos.end());
    std::sort(firsts.begin(), firsts.end());
    std::printf("start-up, %zu runs of kavolo-roaster --port DEVICE against the simulated roaster:\n", firsts.size());
    std::printf("  hello frame after        median %.0f ms, max %.0f ms\n", hellos[hellos.size() / 2], hellos.back());
    std::printf("  first status frame after median %.0f ms, max %.0f ms (the link is up before it)\n",
                firsts[firsts.size() / 2], firsts.back());
    std::fflush(stdout);

    // Resources.
    const int minutes = parser.value(minutes_opt).toInt();
    QProcess idle, roasting;
    for (QProcess* p : {&idle, &roasting}) {
        p->setProcessEnvironment(env);
        p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    }
    idle.start(program, {"--simulate"});
    roasting.start(QCoreApplication::applicationFilePath(), {"--roast-console"});
    if (!idle.waitForStarted(5000) || !roasting.waitForStarted(5000)) {
        std::fprintf(stderr, "console_bench: a console did not start\n");
        return 1;
    }
    QByteArray said;
    if (!RunUntil([&] { return (said += roasting.readAllStandardOutput()).contains("roast running"); }, 15000)) {
        std::fprintf(stderr, "console_bench: the roast did not start (%s)\n", said.constData());
        return 1;
    }
    std::vector<ProcessSample> idle_samples, roast_samples;
    QElapsedTimer clock;
    clock.start();
    QTimer sampler;
    sampler.setTimerType(Qt::PreciseTimer);
    QObject::connect(&sampler, &QTimer::timeout, [&] {
        const double at = static_cast<double>(clock.elapsed()) / 1000.0;
        if (auto s = ReadProcessSample(idle.processId(), at)) idle_samples.push_back(*s);
        if (auto s = ReadProcessSample(roasting.processId(), at)) roast_samples.push_back(*s);
    });
    sampler.start(1000);
    RunFor(minutes * 60 * 1000);
    sampler.stop();
    const bool both_ran = idle.state() == QProcess::Running && roasting.state() == QProcess::Running;
    for (QProcess* p : {&idle, &roasting}) {
        p->kill();
        p->waitForFinished(5000);
    }
    if (!both_ran || idle_samples.size() < 2 || roast_samples.size() < 2) {
        std::fprintf(stderr, "console_bench: a console ended during the measurement\n");
        return 1;
    }
    std::printf("resources over %d minutes, sampled every second:\n", minutes);
    PrintResources("kavolo-roaster --simulate, idle with the link up:", Summarise(idle_samples));
    PrintResources("the console running a roast (the program's window and parts, simulated roaster in-process):",
                   Summarise(roast_samples));
    return 0;
}
