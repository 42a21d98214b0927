// roaster-sim: the simulated roaster on a pseudo-terminal. Prints the
// device to give the console (kavolo-roaster --port DEVICE) and runs until
// stopped with Ctrl+C, logging the frames it receives.
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTimer>
#include <csignal>
#include <cstdio>
#include <optional>

#include "bean_options.h"
#include "simulated_roaster_host.h"

#if defined(Q_OS_UNIX)
#include <unistd.h>
#endif

namespace {

// "a,b,c" as three bytes.
std::optional<std::array<uint8_t, 3>> ParseTriple(const QString& text) {
    const QStringList parts = text.split(',');
    if (parts.size() != 3) return std::nullopt;
    std::array<uint8_t, 3> out{};
    for (int i = 0; i < 3; ++i) {
        bool ok = false;
        const int v = parts[i].trimmed().toInt(&ok);
        if (!ok || v < 0 || v > 255) return std::nullopt;
        out[static_cast<std::size_t>(i)] = static_cast<uint8_t>(v);
    }
    return out;
}

// "fan,time,heat;fan,time,heat;..." as roast steps.
std::optional<std::vector<std::array<uint8_t, 3>>> ParseSteps(const QString& text) {
    std::vector<std::array<uint8_t, 3>> steps;
    for (const QString& step : text.split(';', Qt::SkipEmptyParts)) {
        const auto triple = ParseTriple(step);
        if (!triple) return std::nullopt;
        steps.push_back(*triple);
    }
    return steps;
}

QString Hex(const Frame& f) {
    QString out;
    for (uint8_t b : f) out += QString::asprintf("%02X ", b);
    return out.trimmed();
}

#if defined(Q_OS_UNIX)
int g_signal_pipe[2] = {-1, -1};
extern "C" void OnStopSignal(int) {
    const char byte = 1;
    const ssize_t n = ::write(g_signal_pipe[1], &byte, 1);
    (void)n;
}
#endif

int Fail(const QString& text) {
    std::fprintf(stderr, "roaster-sim: %s\n", qPrintable(text));
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("roaster-sim");

    QCommandLineParser parser;
    parser.setApplicationDescription("Simulated Kavolo QL-900 roaster on a pseudo-terminal.");
    parser.addHelpOption();
    const QCommandLineOption steps_opt("steps", "Stored roast steps, fan,time,heat separated by ';'.", "STEPS",
                                       "5,59,3");
    const QCommandLineOption cooling_opt("cooling", "Stored cooling step as fan,time.", "FAN,TIME", "5,30");
    const QCommandLineOption manual_opt("manual", "Manual setting as fan,time,heat.", "SETTING", "5,59,3");
    const QCommandLineOption start_opt("start-temperature", "Bean temperature at start in °F.", "F");
    const QCommandLineOption reply_opt("reply-delay", "Milliseconds from a status frame to its reply.", "MS", "15");
    const QCommandLineOption gap_opt("frame-gap", "Milliseconds between upload frames.", "MS", "40");
    const QCommandLineOption silent_opt("silent", "Answer nothing.");
    const QCommandLineOption garbage_opt("garbage-every", "Replace every N-th reply by garbage bytes.", "N");
    const QCommandLineOption split_opt("split", "Send every frame in two parts.");
    const QCommandLineOption long_opt("long-upload", "Store 22 roast steps, one more than an upload may carry.");
    const QCommandLineOption off_opt("power-off-after", "Send the power-off notice after S seconds.", "S");
    const QCommandLineOption vanish_opt("vanish-after", "Remove the device after S seconds.", "S");
    const QCommandLineOption quiet_opt("quiet", "Do not log received frames.");
    parser.addOptions({steps_opt, cooling_opt, manual_opt, start_opt, reply_opt, gap_opt, silent_opt, garbage_opt,
                       split_opt, long_opt, off_opt, vanish_opt, quiet_opt});
    for (const BeanOption& o : BeanOptions())
        parser.addOption(QCommandLineOption(QString::fromStdString(o.name), QString::fromStdString(o.help),
                                            QString::fromStdString(o.value_name)));
    parser.process(app);

    RoasterModel::Options options;
    const auto steps = ParseSteps(parser.value(steps_opt));
    if (!steps) return Fail("--steps takes fan,time,heat;fan,time,heat;...");
    options.program.steps = *steps;
    if (parser.isSet(long_opt)) options.program.steps.assign(22, {6, 10, 2});
    const auto cooling = ParseTriple(parser.value(cooling_opt) + ",0");
    if (!cooling) return Fail("--cooling takes fan,time");
    options.program.cooling = {(*cooling)[0], (*cooling)[1]};
    const auto manual = ParseTriple(parser.value(manual_opt));
    if (!manual) return Fail("--manual takes fan,time,heat");
    options.manual = *manual;
    for (const BeanOption& o : BeanOptions()) {
        const QString name = QString::fromStdString(o.name);
        if (!parser.isSet(name)) continue;
        const std::string error = SetBeanOption(options.beans, o.name, parser.value(name).toStdString());
        if (!error.empty()) return Fail(QString::fromStdString(error));
    }
    bool ok = true;
    options.reply_delay_ms = parser.value(reply_opt).toInt(&ok);
    if (!ok || options.reply_delay_ms < 0) return Fail("--reply-delay takes milliseconds");
    options.frame_gap_ms = parser.value(gap_opt).toInt(&ok);
    if (!ok || options.frame_gap_ms < 0) return Fail("--frame-gap takes milliseconds");

    SimulatedRoasterHost host(options);
    if (parser.isSet(start_opt)) host.model().thermal().set_temperature_f(parser.value(start_opt).toDouble());
    host.model().faults.silent = parser.isSet(silent_opt);
    host.model().faults.split_frames = parser.isSet(split_opt);
    if (parser.isSet(garbage_opt)) host.model().faults.garbage_every = parser.value(garbage_opt).toInt();

    std::string error;
    if (!host.Start(&error)) return Fail(QString::fromStdString(error));
    std::printf("%s\n", host.DevicePath().c_str());
    std::fflush(stdout);

    if (!parser.isSet(quiet_opt)) {
        host.on_frame = [&host](const ReceivedFrame& r) {
            std::printf("%8.3f s  %s  bean %.0f F\n", r.at_ms / 1000.0, qPrintable(Hex(r.bytes)),
                        host.model().temperature_f());
            std::fflush(stdout);
        };
    }
    if (parser.isSet(off_opt))
        QTimer::singleShot(static_cast<int>(parser.value(off_opt).toDouble() * 1000), &host,
                           [&host] { host.PowerOff(); });
    if (parser.isSet(vanish_opt))
        QTimer::singleShot(static_cast<int>(parser.value(vanish_opt).toDouble() * 1000), &host,
                           [&host] { host.Vanish(); });

#if defined(Q_OS_UNIX)
    if (::pipe(g_signal_pipe) == 0) {
        auto* stop = new QSocketNotifier(g_signal_pipe[0], QSocketNotifier::Read, &app);
        QObject::connect(stop, &QSocketNotifier::activated, &app, &QCoreApplication::quit);
        std::signal(SIGINT, OnStopSignal);
        std::signal(SIGTERM, OnStopSignal);
    }
#endif
    return app.exec();
}
