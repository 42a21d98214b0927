// history_bench: what opening the "Roast history" costs, with many saved
// roasts, while the console runs a roast.
//
// For each size (1000, 5000 and 20000 roasts unless --sizes says others)
// the roasts folder of a temporary data folder is filled with that many
// generated twelve-minute roasts, with marks, phases and notes (not
// measured; the sizes share the folder, each adding to the last). Their
// file data is then dropped from the page cache, so the first opening
// reads from the disk as after a restart (--warm keeps it). A console (this
// program in its --history-console role: the program's own window on the
// real serial control, and the simulated roaster on a thread of its own)
// runs a roast and, after a quiet stretch, opens its history and reports
//   - the time to the first rows shown and to the whole list, and the
//     resident memory before and after;
//   - the longest a sort by a column and a keystroke in the search box
//     took on the window's thread;
//   - the history closed and opened again (the summaries kept);
//   - the worst lateness of a status frame, measured at the roaster (an
//     interval between two frames beyond 500 ms), in each of those
//     stretches and in the quiet one before.
//
//   history_bench [--sizes 1000,5000,20000] [--warm]
#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QProcess>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <map>
#include <random>
#include <set>
#include <unistd.h>
#include <vector>

#include "bench_support.h"
#include "event_loop.h"
#include "frames.h"
#include "live_roast_curve.h"
#include "roast_compare_window.h"
#include "roast_curve_window.h"
#include "roast_history_window.h"
#include "roast_log_files.h"
#include "roast_log_maker.h"
#include "roast_session.h"
#include "roasting_console.h"

namespace {

// --- the saved roasts ---------------------------------------------------------

const char* const kProfiles[] = {"Light roast", "City", "Full city", "Espresso", "Filter light", "Kenya special"};
const char* const kBeans[] = {"Kenya AA",          "Ethiopia Yirgacheffe", "Colombia Huila", "Brazil Cerrado",
                              "Guatemala Antigua", "Sumatra Mandheling",   "Costa Rica",     "Rwanda Nyamasheke",
                              "Honduras",          "Peru Cajamarca"};
const char* const kNotes[] = {"",
                              "Bright, a little fast after first crack.",
                              "Even colour.\nMore heat in the drying next time.",
                              "Smoky finish; drop earlier.",
                              "Good body, sweet.",
                              "First crack quiet, hard to hear."};

// The roasts folder's roast number `i`: one every six hours back from the
// end of 2026, the marks and weights varying from roast to roast.
std::pair<std::string, RoastLog> GeneratedRoast(int i) {
    std::mt19937 random(static_cast<unsigned>(i));
    auto between = [&](double low, double high) { return std::uniform_real_distribution<double>(low, high)(random); };
    const QDateTime start = QDateTime(QDate(2026, 12, 31), QTime(18, 0), Qt::UTC).addSecs(-6LL * 3600 * i);
    MadeRoast r;
    r.start = start.toString(Qt::ISODate).replace(QStringLiteral("Z"), QStringLiteral("+00:00")).toStdString();
    r.profile = kProfiles[random() % std::size(kProfiles)];
    r.dry_end = between(220, 280);
    r.first_crack = between(380, 460);
    r.drop = between(560, 640);
    if (random() % 40 == 0) r.first_crack.reset();  // not heard
    r.end_f = between(405, 440);
    r.notes.bean = kBeans[random() % std::size(kBeans)];
    r.notes.green_g = 250;
    r.notes.roasted_g = std::round(between(205, 222));
    r.notes.text = kNotes[random() % std::size(kNotes)];
    RoastLog log = MakeRoastLog(r);
    if (random() % 50 == 0) log.Set(roastkey::kIncomplete, "closed");
    const std::string name = start.toString(QStringLiteral("yyyy-MM-dd_HHmmss")).toStdString() + " " + r.profile;
    return {name + ".csv", log};
}

// Fills `folder` with the roasts numbered from `from` up to `to`.
bool Generate(const QString& folder, int from, int to, std::set<QString>& made) {
    for (int i = from; i < to; ++i) {
        const auto [name, log] = GeneratedRoast(i);
        const QString path = folder + QLatin1Char('/') + QString::fromStdString(name);
        if (!SaveRoastLog(log, path.toStdString()).ok) return false;
        made.insert(path);
    }
    return true;
}

// Asks the system to forget the files' data, as if the machine had just
// started; their folder entries stay known.
void DropFromPageCache(const std::set<QString>& files) {
    ::sync();
    for (const QString& path : files) {
        const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
        if (fd < 0) continue;
        ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
        ::close(fd);
    }
}

// --- a console opening its history (child role) -----------------------------

double ResidentKb() {
    const auto s = ReadProcessSample(QCoreApplication::applicationPid(), 0);
    return s ? s->rss_kb : 0;
}

int RunHistoryConsole() {
    // An hour-long program: the roast runs through the whole measurement.
    RoasterModel::Options roaster;
    roaster.program.steps = {{5, 99, 3}, {6, 99, 2}};
    roaster.program.cooling = {5, 30};
    RoastingConsole console(roaster, true);
    QElapsedTimer clock;
    clock.start();
    FrameTimes frames;
    console.sim().on_frame = [&](const ReceivedFrame& f) {
        if (f.bytes[1] == 0xAA && (f.bytes[4] == kCmdStatus || f.bytes[4] == kCmdStart)) frames.Add(clock.nsecsElapsed());
    };
    std::map<std::string, double> figures;
    std::map<std::string, qint64> marks;  // where each stretch begins
    auto mark = [&](const std::string& stretch) { marks[stretch] = clock.nsecsElapsed(); };
    auto ms_since = [&](const std::string& stretch) {
        return static_cast<double>(clock.nsecsElapsed() - marks[stretch]) / 1e6;
    };
    auto late_since = [&](const std::string& stretch) {
        figures[stretch + "_late_ms"] = frames.WorstLatenessMs(marks[stretch], clock.nsecsElapsed());
    };

    RoastHistoryWindow* history = nullptr;
    // Opens the history and calls `then` once the whole list is there.
    auto open = [&](const std::string& stretch, std::function<void()> then) {
        mark(stretch);
        console.window().roast_session().ShowHistory();
        history = console.window().roast_session().curve().history();
        auto first = std::make_shared<QMetaObject::Connection>();
        *first = QObject::connect(history->table()->model(), &QAbstractItemModel::rowsInserted, history,
                                  [&, stretch, first] {
                                      figures[stretch + "_first_ms"] = ms_since(stretch);
                                      QObject::disconnect(*first);
                                  });
        auto* poll = new QTimer(history);
        QObject::connect(poll, &QTimer::timeout, history, [&, stretch, poll, then] {
            if (history->loading()) return;
            figures[stretch + "_whole_ms"] = ms_since(stretch);
            figures[stretch + "_rows"] = history->table()->model()->rowCount();
            poll->deleteLater();
            then();
        });
        poll->start(2);
    };
    auto timed = [&](const std::string& what, const std::function<void()>& action) {
        QElapsedTimer t;
        t.start();
        action();
        figures[what] = std::max(figures[what], static_cast<double>(t.nsecsElapsed()) / 1e6);
    };

    // The steps, one after the other: each says how long after it the next
    // one comes.
    std::vector<std::function<void()>> steps;
    std::size_t done = 0;
    std::function<void(int)> next = [&](int gap_ms) {
        if (done < steps.size()) QTimer::singleShot(gap_ms, steps[done++]);
    };
    // Quiet, then open; sort by every column; search; open again.
    steps.push_back([&] {
        late_since("quiet");
        figures["rss_before_kb"] = ResidentKb();
        open("open", [&] {
            figures["rss_after_kb"] = ResidentKb();
            next(1000);
        });
    });
    steps.push_back([&] {
        late_since("open");
        mark("sort");
        next(0);
    });
    for (const int column : {1, 3, 4, 5, 2, 0})
        steps.push_back([&, column] {
            timed("sort_max_ms", [&] { history->table()->sortByColumn(column, Qt::AscendingOrder); });
            next(400);
        });
    steps.push_back([&] {
        timed("sort_max_ms", [&] { history->table()->sortByColumn(0, Qt::DescendingOrder); });
        next(400);
    });
    for (const char* key : {"k", "e", "n", "y", "a", " ", "l"})
        steps.push_back([&, key] {
            timed("keystroke_max_ms", [&] { QTest::keyClicks(history->search_box(), QString::fromLatin1(key)); });
            figures["search_rows"] = history->table()->model()->rowCount();
            next(250);
        });
    steps.push_back([&] {
        timed("keystroke_max_ms", [&] { history->search_box()->clear(); });
        next(1000);
    });
    steps.push_back([&] {
        late_since("sort");
        history->close();
        next(2000);
    });
    steps.push_back([&] { open("reopen", [&] { next(1000); }); });
    // Eight roasts compared: read off the window's thread, drawn on it.
    RoastCompareWindow* compared = nullptr;
    steps.push_back([&] {
        late_since("reopen");
        mark("compare");
        QItemSelectionModel* chosen = history->table()->selectionModel();
        for (int row = 0; row < RoastHistoryWindow::kMostCompared; ++row)
            chosen->select(history->table()->model()->index(row, 0),
                           QItemSelectionModel::Select | QItemSelectionModel::Rows);
        console.window().roast_session().curve().on_compare_made = [&](RoastCompareWindow& window) {
            figures["compare_ms"] = ms_since("compare");
            compared = &window;
        };
        history->CompareChosen();
        next(3000);
    });
    // A four-hour log opened beside the roast, then shown as its background.
    QTemporaryDir long_logs;
    const QString long_log = long_logs.filePath(QStringLiteral("four hours.csv"));
    steps.push_back([&] {
        late_since("compare");
        if (compared) compared->close();
        MadeRoast four_hours;
        four_hours.seconds = 4 * 3600;
        four_hours.dry_end = 3600;
        four_hours.first_crack = 9000;
        four_hours.drop = 4 * 3600 - 300;
        const std::string text = FormatRoastLog(MakeRoastLog(four_hours));
        ReplaceContents(long_log.toStdString(), text);
        mark("long");
        RoastCurveWindow* curve = console.window().roast_session().curve().window();
        timed("open_long_ms", [&] { curve->OpenRoastFile(long_log); });
        next(3000);
    });
    steps.push_back([&] {
        RoastCurveWindow* curve = console.window().roast_session().curve().window();
        timed("background_long_ms", [&] { curve->ShowBackgroundFile(long_log); });
        next(3000);
    });
    steps.push_back([&] {
        late_since("long");
        figures["frames"] = static_cast<double>(frames.Count());
        std::printf("figures");
        for (const auto& [key, value] : figures) std::printf(" %s=%.1f", key.c_str(), value);
        std::printf("\n");
        std::fflush(stdout);
        console.window().EndDialog(0);
    });
    console.Run([&] {
        mark("quiet");
        next(10000);
    });
    return 0;
}

// --- the measurement ------------------------------------------------------------

std::map<QString, double> ReadFigures(const QByteArray& said) {
    std::map<QString, double> figures;
    const int at = said.indexOf("figures ");
    if (at < 0) return figures;
    const QByteArray line = said.mid(at, said.indexOf('\n', at) - at);
    for (const QByteArray& pair : line.split(' ')) {
        const int eq = pair.indexOf('=');
        if (eq > 0) figures[QString::fromLatin1(pair.left(eq))] = pair.mid(eq + 1).toDouble();
    }
    return figures;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption sizes_opt("sizes", "Numbers of saved roasts, ascending.", "N,N,...", "1000,5000,20000");
    const QCommandLineOption warm_opt("warm", "Keep the generated files' data in the page cache.");
    const QCommandLineOption console_opt("history-console", "Internal: be a console that opens its history.");
    parser.addOptions({sizes_opt, warm_opt, console_opt});
    parser.process(app);
    if (parser.isSet(console_opt)) return RunHistoryConsole();

    std::vector<int> sizes;
    for (const QString& s : parser.value(sizes_opt).split(QLatin1Char(','))) sizes.push_back(s.toInt());
    QTemporaryDir runtime, data;
    QFile::setPermissions(runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QString roasts = data.path() + QStringLiteral("/kavolo-roaster/roasts");
    QDir().mkpath(roasts);
    const QProcessEnvironment env = ConsoleEnvironment(runtime.path(), data.path());

    std::printf("history_bench: twelve-minute roasts with marks and notes (the files' data %s);\n"
                "the console runs a roast meanwhile, the roaster on a thread of its own\n",
                parser.isSet(warm_opt) ? "in the page cache" : "dropped from the page cache first");
    std::set<QString> made;
    int have = 0;
    for (const int size : sizes) {
        QElapsedTimer generating;
        generating.start();
        if (!Generate(roasts, have, size, made)) {
            std::fprintf(stderr, "history_bench: cannot write the roasts in %s\n", qPrintable(roasts));
            return 1;
        }
        have = size;
        if (!parser.isSet(warm_opt)) DropFromPageCache(made);
        std::fprintf(stderr, "(%d roasts generated in %.1f s)\n", size, static_cast<double>(generating.elapsed()) / 1000.0);

        QProcess console;
        console.setProcessEnvironment(env);
        console.start(QCoreApplication::applicationFilePath(), {"--history-console"});
        QByteArray said;
        const bool ended = RunUntil(
            [&] {
                said += console.readAllStandardOutput();
                return console.state() == QProcess::NotRunning;
            },
            10 * 60 * 1000);
        said += console.readAllStandardOutput();
        const std::map<QString, double> f = ReadFigures(said);
        if (!ended || f.empty()) {
            std::fprintf(stderr, "history_bench: the console did not report (%s)\n", said.constData());
            return 1;
        }
        // The console's own roast, saved as it closed, is not one of ours.
        qint64 bytes = 0;
        for (const QFileInfo& file : QDir(roasts).entryInfoList(QDir::Files)) {
            if (!made.count(file.filePath()))
                QFile::remove(file.filePath());
            else
                bytes += file.size();
        }
        auto at = [&](const char* key) {
            const auto it = f.find(QString::fromLatin1(key));
            return it == f.end() ? -1.0 : it->second;
        };
        std::printf("%d roasts (%.0f MiB of logs):\n", size, static_cast<double>(bytes) / 1048576.0);
        std::printf("  opening: first rows after %.0f ms, the whole list (%.0f rows) after %.0f ms;"
                    " resident memory %+.1f MiB (%.1f MiB before)\n",
                    at("open_first_ms"), at("open_rows"), at("open_whole_ms"),
                    (at("rss_after_kb") - at("rss_before_kb")) / 1024.0, at("rss_before_kb") / 1024.0);
        std::printf("  opened again, its summaries kept: the whole list after %.0f ms\n", at("reopen_whole_ms"));
        std::printf("  on the window's thread: the longest sort %.1f ms, the longest search keystroke %.1f ms\n",
                    at("sort_max_ms"), at("keystroke_max_ms"));
        std::printf("  worst status-frame lateness at the roaster (ms beyond 500): %.1f in the quiet 10 s before,"
                    " %.1f opening, %.1f sorting and searching, %.1f opening again (%.0f frames)\n",
                    at("quiet_late_ms"), at("open_late_ms"), at("sort_late_ms"), at("reopen_late_ms"), at("frames"));
        std::printf("  eight roasts compared: the window after %.0f ms, worst lateness %.1f ms; a four-hour log"
                    " opened in %.0f ms and shown as the background in %.0f ms, worst lateness %.1f ms\n",
                    at("compare_ms"), at("compare_late_ms"), at("open_long_ms"), at("background_long_ms"),
                    at("long_late_ms"));
        std::fflush(stdout);
    }
    return 0;
}
