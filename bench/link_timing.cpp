// link_timing: how evenly the program's link paces its status frames.
//
// Runs the program's link (RoasterController, CMscomm1, port discovery and
// the timer bank on real Qt timers) against the simulated roaster, which
// runs on a thread of its own and timestamps every status frame as it
// arrives, while another process keeps both cores busy. Prints the
// distribution of the intervals between status frames as the roaster
// receives them and the drift of the control tick count against the wall
// clock.
//
//   link_timing [--seconds N] [--load-threads N]   (N = 0: no load)
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QThread>
#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <future>
#include <mutex>
#include <thread>
#include <vector>

#include "bench_support.h"
#include "cmscomm1.h"
#include "control_ids.h"
#include "event_loop.h"
#include "recording_qt_window.h"
#include "roaster_controller.h"
#include "serial_port_lister.h"
#include "simulated_roaster_host.h"

namespace {

// The step editor is not part of this measurement.
class NoEditor : public EditorLibrary {
public:
    void LoadAndBind() override {}
    bool Loaded() const override { return false; }
    int ShowDlg(StepNode*) override { return 0; }
    void Updata_ShowDlg(StepNode*) override {}
    void update_data(StepNode*, int, int) override {}
    StepNode* return_link() override { return nullptr; }
    void EnableShowDlg(int) override {}
    void CloseDlg() override {}
    void SetLock(uint8_t value) override { lock_ = value; }
    uint8_t Lock() const override { return lock_; }

private:
    uint8_t lock_ = 0;
};

[[noreturn]] void Burn(int threads) {
    std::vector<std::thread> spinners;
    for (int i = 0; i < threads; ++i)
        spinners.emplace_back([] {
            volatile uint64_t x = 0;
            for (;;) x = x + 1;
        });
    for (auto& t : spinners) t.join();
    std::abort();
}


}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption seconds_opt("seconds", "Seconds to measure (at least 60 for a report).", "N", "60");
    const QCommandLineOption load_opt("load-threads", "Busy threads in the load process (0: no load).", "N", "2");
    const QCommandLineOption burn_opt("burn", "Internal: be the load process with N busy threads.", "N");
    parser.addOptions({seconds_opt, load_opt, burn_opt});
    parser.process(app);
    if (parser.isSet(burn_opt)) Burn(parser.value(burn_opt).toInt());

    const int seconds = parser.value(seconds_opt).toInt();
    const int load_threads = parser.value(load_opt).toInt();
    QElapsedTimer wall;
    wall.start();

    // The roaster, on its own thread with its own event loop.
    std::mutex arrivals_mutex;
    std::vector<qint64> arrivals_ns;  // status frames, as the roaster receives them
    std::atomic<bool> measuring{false};
    QThread roaster_thread;
    roaster_thread.start();
    SimulatedRoasterHost* host = nullptr;
    std::promise<std::string> device;
    auto* starter = new QObject;
    starter->moveToThread(&roaster_thread);
    QMetaObject::invokeMethod(starter, [&] {
        host = new SimulatedRoasterHost();
        host->on_frame = [&](const ReceivedFrame& f) {
            if (!measuring || f.bytes[1] != 0xAA || (f.bytes[4] != kCmdStatus && f.bytes[4] != kCmdStart)) return;
            const qint64 at = wall.nsecsElapsed();
            std::lock_guard<std::mutex> lock(arrivals_mutex);
            arrivals_ns.push_back(at);
        };
        std::string error;
        if (!host->Start(&error)) {
            device.set_value("");
            std::fprintf(stderr, "link_timing: %s\n", error.c_str());
            return;
        }
        device.set_value(host->DevicePath());
    });
    const std::string path = device.get_future().get();
    if (path.empty()) return 1;

    // The load.
    QProcess load;
    if (load_threads > 0) {
        load.start(QCoreApplication::applicationFilePath(), {"--burn", QString::number(load_threads)});
        if (!load.waitForStarted(5000)) {
            std::fprintf(stderr, "link_timing: the load process did not start\n");
            return 1;
        }
    }

    // The console's link on this thread.
    std::vector<qint64> ticks_ns;
    CMscomm1 com;
    SerialPortLister lister(path);
    NoEditor editor;
    RoasterController* controller = nullptr;
    RecordingQtWindow window([&](int id) {
        if (id == kControlTimer && measuring) ticks_ns.push_back(wall.nsecsElapsed());
        controller->OnTimer(id);
    });
    RoasterController console(window, editor, com, lister);
    controller = &console;
    console.Start();
    if (!RunUntil([&] { return console.state().link_down == 0; }, 10000)) {
        std::fprintf(stderr, "link_timing: the link did not come up\n");
        return 1;
    }
    RunFor(1000);  // settle

    measuring = true;
    const qint64 start_ns = wall.nsecsElapsed();
    RunFor(seconds * 1000);
    measuring = false;
    const qint64 end_ns = wall.nsecsElapsed();
    const bool link_stayed_up = console.state().link_down == 0;
    const std::size_t messages = window.messages.size();

    if (load.state() != QProcess::NotRunning) {
        load.kill();
        load.waitForFinished(5000);
    }
    QMetaObject::invokeMethod(starter, [&] { delete host; }, Qt::BlockingQueuedConnection);
    roaster_thread.quit();
    roaster_thread.wait();
    delete starter;

    std::vector<double> intervals, deviations;
    for (std::size_t i = 1; i < arrivals_ns.size(); ++i) {
        const double ms = static_cast<double>(arrivals_ns[i] - arrivals_ns[i - 1]) / 1e6;
        intervals.push_back(ms);
        deviations.push_back(std::fabs(ms - 500.0));
    }
    if (intervals.empty() || ticks_ns.size() < 2) {
        std::fprintf(stderr, "link_timing: no status frames were measured\n");
        return 1;
    }
    const double measured_ms = static_cast<double>(end_ns - start_ns) / 1e6;
    // Drift: the time the ticks took against the time their count stands for.
    const double tick_span_ms = static_cast<double>(ticks_ns.back() - ticks_ns.front()) / 1e6;
    const double tick_ideal_ms = 500.0 * static_cast<double>(ticks_ns.size() - 1);
    const double roaster_span_ms = static_cast<double>(arrivals_ns.back() - arrivals_ns.front()) / 1e6;
    const double roaster_ideal_ms = 500.0 * static_cast<double>(arrivals_ns.size() - 1);
    const double expected_ticks = measured_ms / 500.0;

    std::printf("link_timing: %.1f s measured, load: %d busy threads in another process\n", measured_ms / 1000.0,
                load_threads);
    std::printf("status frames received by the roaster: %zu\n", arrivals_ns.size());
    std::printf("interval ms:            p50 %.3f  p99 %.3f  min %.3f  max %.3f\n", Percentile(intervals, 0.5),
                Percentile(intervals, 0.99), *std::min_element(intervals.begin(), intervals.end()),
                *std::max_element(intervals.begin(), intervals.end()));
    std::printf("deviation from 500 ms:  p50 %.3f  p99 %.3f  max %.3f\n", Percentile(deviations, 0.5),
                Percentile(deviations, 0.99), *std::max_element(deviations.begin(), deviations.end()));
    std::vector<double> tick_deviations;
    for (std::size_t i = 1; i < ticks_ns.size(); ++i)
        tick_deviations.push_back(std::fabs(static_cast<double>(ticks_ns[i] - ticks_ns[i - 1]) / 1e6 - 500.0));
    std::printf("  of which the console's timer 1: deviation p50 %.3f  p99 %.3f  max %.3f\n",
                Percentile(tick_deviations, 0.5), Percentile(tick_deviations, 0.99),
                *std::max_element(tick_deviations.begin(), tick_deviations.end()));
    std::printf("control ticks: %zu in %.1f ms wall (%.2f expected); drift %+.4f %%\n", ticks_ns.size(),
                measured_ms, expected_ticks, (tick_span_ms - tick_ideal_ms) / tick_ideal_ms * 100.0);
    std::printf("roaster side: %zu frames over %.1f ms; drift %+.4f %%\n", arrivals_ns.size(), roaster_span_ms,
                (roaster_span_ms - roaster_ideal_ms) / roaster_ideal_ms * 100.0);
    std::printf("link stayed up: %s; messages: %zu\n", link_stayed_up ? "yes" : "no", messages);
    return 0;
}
