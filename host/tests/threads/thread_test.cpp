// The code that runs on threads of its own, without any window: the
// history's reading of a roasts folder, the comparison's reading of roasts,
// and the roaster's model learnt from the folder. Built with
// ThreadSanitizer by ./test.sh, as well as in the normal builds.
#include <QCoreApplication>
#include <QFile>
#include <QFutureWatcher>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "roast_history_loader.h"
#include "roast_log_files.h"
#include "roast_reading.h"
#include "roaster_model_keeper.h"
#include "simulated_roasts.h"

class ThreadTest : public QObject {
    Q_OBJECT
private slots:
    void theHistoryReadsAFolderAndReadsItAgainMidway();
    void theComparisonReadsItsRoastsOffTheWindowsThread();
    void theModelLearnsOffTheWindowsThreadAndAgainAfterARoast();
};

namespace {

// Hang guards, not timings: under ThreadSanitizer, on a machine busy with
// other builds, learning the model took minutes.
constexpr int kReadingMs = 120000;
constexpr int kLearningMs = 240000;  // within Qt Test's five minutes a test

const std::string kRoaster = "Simulated (hot air)";
const SimulatedSteps kProfiles[] = {
    {{7, 30, 2}, {5, 30, 2}, {4, 30, 2}},
    {{9, 20, 3}, {6, 40, 2}, {4, 40, 2}},
    {{3, 30, 1}, {5, 40, 2}, {3, 35, 3}},
    {{8, 40, 2}, {6, 30, 3}, {5, 30, 1}, {3, 15, 2}},
};

// `count` roasts of the hot-air roaster saved in `folder`, from day `first`.
QStringList SaveRoasts(const QString& folder, int count, int first = 1) {
    BeanResponse beans;
    beans.airflow = Airflow::HotAir;
    ThermalModel model(beans);
    QStringList paths;
    for (int i = 0; i < count; ++i) {
        const std::string day = std::to_string(10 + first + i);
        const std::string path = folder.toStdString() + "/2026-11-" + day + "_090000 Roast.csv";
        SaveRoastLog(SimulatedRoastLog(model, kProfiles[(first + i) % 4], "2026-11-" + day + "T09:00:00+01:00", kRoaster),
                     path);
        paths << QString::fromStdString(path);
    }
    return paths;
}

}  // namespace

void ThreadTest::theHistoryReadsAFolderAndReadsItAgainMidway() {
    QTemporaryDir folder;
    SaveRoasts(folder.path(), 6);
    RoastHistoryLoader loader;
    std::size_t read = 0;
    bool finished = false;
    loader.on_batch = [&](const RoastHistoryLoader::Batch& batch) { read += batch.size(); };
    loader.on_finished = [&] { finished = true; };
    loader.Load(folder.path());
    // Read again before the first reading is done: only the second counts.
    read = 0;
    loader.Load(folder.path());
    QTRY_VERIFY_WITH_TIMEOUT(finished, kReadingMs);
    QCOMPARE(read, std::size_t{6});
    QCOMPARE(loader.cache().size(), std::size_t{6});
}

void ThreadTest::theComparisonReadsItsRoastsOffTheWindowsThread() {
    QTemporaryDir folder;
    QStringList paths = SaveRoasts(folder.path(), 3);
    paths << folder.filePath(QStringLiteral("missing.csv"));
    QFutureWatcher<RoastsRead> watcher;
    watcher.setFuture(ReadRoastsLater(paths));
    QTRY_VERIFY_WITH_TIMEOUT(watcher.isFinished(), kReadingMs);
    const RoastsRead read = watcher.result();
    QCOMPARE(read.size(), std::size_t{4});
    for (int i = 0; i < 3; ++i) QVERIFY(read[static_cast<std::size_t>(i)].second.ok);
    QVERIFY(!read[3].second.ok);
}

void ThreadTest::theModelLearnsOffTheWindowsThreadAndAgainAfterARoast() {
    QTemporaryDir data;
    const QString roasts = data.filePath(QStringLiteral("roasts"));
    QVERIFY(QDir().mkpath(roasts));
    SaveRoasts(roasts, 3);
    auto keeper = std::make_unique<RoasterModelKeeper>(roasts);
    int changes = 0;
    keeper->on_change = [&] { ++changes; };
    keeper->Start(kRoaster);
    QVERIFY(keeper->learning());
    // A roast saved while it learns: it learns again once done.
    SaveRoasts(roasts, 1, 4);
    keeper->Refresh();
    QTRY_VERIFY_WITH_TIMEOUT(!keeper->learning(), kLearningMs);
    QVERIFY(keeper->learnt() && keeper->learnt()->Predicts());
    QCOMPARE(keeper->learnt()->roasts, 4);
    QVERIFY(changes >= 2);
    QVERIFY(QFile::exists(data.filePath(QStringLiteral("roaster-model.txt"))));
    // Read back at the next start, before the folder is read again; and
    // dropped while it learns.
    keeper = std::make_unique<RoasterModelKeeper>(roasts);
    keeper->Start(kRoaster);
    QVERIFY(keeper->learnt() && keeper->learnt()->Predicts());
    SaveRoasts(roasts, 1, 5);
    keeper->Refresh();
    keeper.reset();
}

QTEST_GUILESS_MAIN(ThreadTest)
#include "thread_test.moc"
