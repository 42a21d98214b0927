// model_bench --frames: the roaster's model learnt again and again while
// the console runs a roast, in real time: the program's own window on the
// real serial control, the simulated roaster on a thread of its own, and a
// roasts folder of 36 roasts of that roaster. After a quiet stretch the
// model is learnt from the folder, then a roast's notes are changed and it
// is learnt again, eight times over; meanwhile the curve window foresees
// the running roast every few seconds. It prints how long each learning
// took (off the window's thread) and the worst lateness of a status frame
// at the roaster (the interval between two beyond 500 ms) in the quiet
// stretch and while learning.
#include "model_frames.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "bench_support.h"
#include "frames.h"
#include "roast_log_files.h"
#include "roast_session.h"
#include "roasting_console.h"
#include "simulated_roasts.h"

namespace {

constexpr int kRoasts = 36;
constexpr int kLearnings = 8;
constexpr int kQuietMs = 20000;

const SimulatedSteps kProfiles[] = {
    {{7, 30, 2}, {5, 30, 2}, {4, 30, 2}},
    {{9, 20, 3}, {6, 40, 2}, {4, 40, 2}},
    {{3, 30, 1}, {5, 40, 2}, {3, 35, 3}},
    {{8, 40, 2}, {6, 30, 3}, {5, 30, 1}, {3, 15, 2}},
    {{6, 35, 3}, {5, 35, 2}, {3, 30, 2}},
};

}  // namespace

int RunModelFrames(int argc, char** argv) {
    QTemporaryDir data;
    qputenv("XDG_DATA_HOME", data.path().toLocal8Bit());
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString roasts = data.path() + QStringLiteral("/kavolo-roaster/roasts");
    QDir().mkpath(roasts);
    BeanResponse beans;
    beans.airflow = Airflow::HotAir;
    ThermalModel model(beans);
    std::vector<std::string> paths;
    for (int i = 0; i < kRoasts; ++i) {
        char start[40], name[80];
        std::snprintf(start, sizeof start, "2026-11-%02dT%02d:00:00+01:00", 1 + i / 3, 9 + i % 3);
        std::snprintf(name, sizeof name, "/2026-11-%02d_%02d0000 Roast.csv", 1 + i / 3, 9 + i % 3);
        paths.push_back(roasts.toStdString() + name);
        if (!SaveRoastLog(SimulatedRoastLog(model, kProfiles[i % 5], start), paths.back()).ok) return 1;
    }

    RoasterModel::Options roaster;
    roaster.beans = beans;
    roaster.program.steps = {{5, 99, 2}, {6, 99, 2}};
    roaster.program.cooling = {5, 30};
    RoastingConsole console(roaster, true);
    QElapsedTimer clock;
    clock.start();
    FrameTimes frames;
    console.sim().on_frame = [&](const ReceivedFrame& f) {
        if (f.bytes[1] == 0xAA && (f.bytes[4] == kCmdStatus || f.bytes[4] == kCmdStart)) frames.Add(clock.nsecsElapsed());
    };
    std::vector<double> learn_ms;
    qint64 quiet_from = 0, learning_from = 0;
    return console.Run([&] {
        quiet_from = clock.nsecsElapsed();
        QTimer::singleShot(kQuietMs, [&] {
            learning_from = clock.nsecsElapsed();
            RoastSession& session = console.window().roast_session();
            RoasterModelKeeper& keeper = session.roaster_model();
            auto started = std::make_shared<QElapsedTimer>();
            started->start();
            keeper.on_change = [&, started] {
                session.forecast().ModelChanged();
                if (keeper.learning()) return;
                learn_ms.push_back(static_cast<double>(started->elapsed()));
                if (static_cast<int>(learn_ms.size()) < kLearnings) {
                    // A roast's notes changed: its file, and so the roasts, changed.
                    RoastLogParse read = ReadRoastLogFile(paths[learn_ms.size()]);
                    read.log.Set("notes", "changed " + std::to_string(learn_ms.size()));
                    SaveRoastLog(read.log, paths[learn_ms.size()]);
                    started->restart();
                    keeper.Refresh();
                    return;
                }
                const qint64 now = clock.nsecsElapsed();
                std::sort(learn_ms.begin(), learn_ms.end());
                std::printf("model_bench --frames: %d roasts in the folder, the roaster on a thread of its own\n"
                            "  learning from them, %zu times: median %.0f ms, longest %.0f ms (off the window's thread)\n"
                            "  the model: %s\n"
                            "  worst status-frame lateness at the roaster: %.1f ms in the quiet %d s before, %.1f ms "
                            "while learning\n",
                            kRoasts, learn_ms.size(), learn_ms[learn_ms.size() / 2], learn_ms.back(),
                            qPrintable(session.curve().window() ? session.curve().window()->model_text() : QString()),
                            frames.WorstLatenessMs(quiet_from, learning_from), kQuietMs / 1000,
                            frames.WorstLatenessMs(learning_from, now));
                std::fflush(stdout);
                console.window().EndDialog(0);
            };
            session.SetRoaster(kPortRoaster);
        });
    });
}
