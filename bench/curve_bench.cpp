// curve_bench: what the roast curve costs the console during a roast.
//
// Two consoles run the same simulated roast side by side for --minutes
// minutes (30 unless set): one with the "Roast curve" window open, as it
// opens by itself when a run starts, and one with that window closed. Each
// is this program in its --roast-console role: the program's own window on
// the real serial control, port discovery, step-editor library and an
// in-process simulated roaster, with POWER pressed once the link is up. Each
// reports the status-frame cadence its simulated roaster saw (deviation of
// the intervals from 500 ms) and the samples it recorded; this process
// samples the CPU time and resident memory of both every second from /proc.
//
//   curve_bench [--minutes N]
#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <utility>
#include <vector>

#include "bench_support.h"
#include "event_loop.h"
#include "roast_session.h"
#include "roasting_console.h"

namespace {

const QString kCurveTitle = QStringLiteral("Roast curve");

// --- a console running a roast (child role) ---------------------------------

int RunRoastConsole(bool keep_curve, int minutes) {
    // Forty minutes of roasting on high and middle heat, then cooling.
    RoasterModel::Options roaster;
    roaster.program.steps = {{5, 99, 3}, {6, 99, 3}, {6, 99, 2}, {5, 99, 2}};
    roaster.program.cooling = {5, 30};
    RoastingConsole console(roaster);

    std::vector<double> deviations;
    QElapsedTimer clock;
    clock.start();
    qint64 last_ns = -1;
    bool roasting = false;
    console.sim().on_frame = [&](const ReceivedFrame& f) {
        if (!roasting || f.bytes[1] != 0xAA || (f.bytes[4] != kCmdStatus && f.bytes[4] != kCmdStart)) return;
        const qint64 now = clock.nsecsElapsed();
        if (last_ns >= 0) deviations.push_back(std::fabs(static_cast<double>(now - last_ns) / 1e6 - 500.0));
        last_ns = now;
    };
    auto report = [&] {
        CKavoloRoasterDlg& window = console.window();
        const RoastRecorder& recorder = window.roast_session().recorder();
        std::printf("cadence %zu %.3f %.3f %.3f samples %zu\n", deviations.size(), Percentile(deviations, 0.5),
                    Percentile(deviations, 0.99),
                    deviations.empty() ? 0.0 : *std::max_element(deviations.begin(), deviations.end()),
                    recorder.log().samples.size());
        std::fflush(stdout);
        window.EndDialog(0);
    };
    auto close_curve = [&] {
        if (keep_curve) return;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->windowTitle() == kCurveTitle && w->isVisible()) w->close();
    };
    console.Run(
        [&] {
            roasting = true;
            close_curve();
            QTimer::singleShot(minutes * 60 * 1000, Qt::PreciseTimer, &console.window(), report);
        },
        close_curve);
    return 0;
}

// --- the measurement ------------------------------------------------------------

struct Cadence {
    std::size_t intervals = 0;
    double p50 = 0, p99 = 0, max = 0;
    std::size_t samples = 0;
};

bool ReadCadence(const QByteArray& said, Cadence& c) {
    const int at = said.indexOf("cadence ");
    if (at < 0) return false;
    return std::sscanf(said.constData() + at, "cadence %zu %lf %lf %lf samples %zu", &c.intervals, &c.p50, &c.p99,
                       &c.max, &c.samples) == 5;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption minutes_opt("minutes", "Minutes of roasting measured.", "N", "30");
    const QCommandLineOption roast_opt("roast-console", "Internal: be a console that runs a roast.");
    const QCommandLineOption keep_opt("keep-curve", "Internal: keep the curve window open.");
    parser.addOptions({minutes_opt, roast_opt, keep_opt});
    parser.process(app);
    const int minutes = parser.value(minutes_opt).toInt();
    if (parser.isSet(roast_opt)) return RunRoastConsole(parser.isSet(keep_opt), minutes);

    QTemporaryDir runtime, data;
    QFile::setPermissions(runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QProcessEnvironment env = ConsoleEnvironment(runtime.path(), data.path());
    // One lock folder each: the two consoles run at once.
    QTemporaryDir runtime2;
    QFile::setPermissions(runtime2.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QProcessEnvironment env2 = env;
    env2.insert("XDG_RUNTIME_DIR", runtime2.path());

    QProcess with, without;
    with.setProcessEnvironment(env);
    without.setProcessEnvironment(env2);
    const QString self = QCoreApplication::applicationFilePath();
    const QStringList common{"--roast-console", "--minutes", QString::number(minutes)};
    with.start(self, common + QStringList{"--keep-curve"});
    without.start(self, common);
    QByteArray said_with, said_without;
    auto read = [&] {
        said_with += with.readAllStandardOutput();
        said_without += without.readAllStandardOutput();
    };
    if (!RunUntil(
            [&] {
                read();
                return said_with.contains("roast running") && said_without.contains("roast running");
            },
            20000)) {
        std::fprintf(stderr, "curve_bench: the roasts did not start\n");
        return 1;
    }

    std::vector<ProcessSample> with_samples, without_samples;
    QElapsedTimer clock;
    clock.start();
    QTimer sampler;
    sampler.setTimerType(Qt::PreciseTimer);
    QObject::connect(&sampler, &QTimer::timeout, [&] {
        // A console that reported is ending: its last moments are no roast.
        read();
        const double at = static_cast<double>(clock.elapsed()) / 1000.0;
        if (!said_with.contains("cadence"))
            if (auto s = ReadProcessSample(with.processId(), at)) with_samples.push_back(*s);
        if (!said_without.contains("cadence"))
            if (auto s = ReadProcessSample(without.processId(), at)) without_samples.push_back(*s);
    });
    sampler.start(1000);
    const bool ended = RunUntil(
        [&] {
            read();
            return with.state() == QProcess::NotRunning && without.state() == QProcess::NotRunning;
        },
        (minutes + 2) * 60 * 1000);
    sampler.stop();
    read();
    Cadence c_with, c_without;
    if (!ended || !ReadCadence(said_with, c_with) || !ReadCadence(said_without, c_without)) {
        std::fprintf(stderr, "curve_bench: a console did not report its roast\n");
        return 1;
    }
    std::printf("a %d-minute roast against the simulated roaster, two consoles side by side:\n", minutes);
    const Resources r_with = Summarise(with_samples), r_without = Summarise(without_samples);
    PrintResources("with the roast curve window open:", r_with);
    std::printf("  memory growth per hour of recording: %+.2f MiB\n", r_with.growth_kb_per_min * 60 / 1024);
    PrintResources("with the roast curve window closed:", r_without);
    std::printf("  memory growth per hour of recording: %+.2f MiB\n", r_without.growth_kb_per_min * 60 / 1024);
    // Where the growth happens: resident memory every five minutes, and
    // how much of it is anonymous (the heap) rather than mapped files
    // (library code and fonts paged in as the roast reaches new paths).
    for (const auto& [what, samples] : {std::pair{"open", &with_samples}, std::pair{"closed", &without_samples}}) {
        std::printf("resident memory every 5 minutes, window %s (kB, anonymous in brackets):", what);
        double next = samples->empty() ? 0 : samples->front().at_s;
        for (const ProcessSample& s : *samples)
            if (s.at_s >= next) {
                std::printf(" %.0f (%.0f)", s.rss_kb, s.anon_kb);
                next += 300;
            }
        if (!samples->empty()) std::printf(" end %.0f (%.0f)", samples->back().rss_kb, samples->back().anon_kb);
        std::printf("\n");
    }
    std::printf("status-frame cadence, deviation from 500 ms (ms):\n");
    std::printf("  window open:   p50 %.3f  p99 %.3f  max %.3f  (%zu intervals, %zu samples recorded)\n", c_with.p50,
                c_with.p99, c_with.max, c_with.intervals, c_with.samples);
    std::printf("  window closed: p50 %.3f  p99 %.3f  max %.3f  (%zu intervals, %zu samples recorded)\n",
                c_without.p50, c_without.p99, c_without.max, c_without.intervals, c_without.samples);
    std::printf("  p99 ratio, open to closed: %.2f\n", c_without.p99 > 0 ? c_with.p99 / c_without.p99 : 0.0);
    return 0;
}
