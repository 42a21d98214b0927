// The curve window on a recorder fed as the controller feeds it: a run with
// a step change, a sensor error, a gap in the readings and cooling, under
// an owner that runs modally as the main window does.
#include <QAreaSeries>
#include <QDialog>
#include <QLineSeries>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QValueAxis>
#include <QWindow>
#include <cmath>
#include <fstream>

#include "controller_state.h"
#include "curve_thinning.h"
#include "live_roast_curve.h"
#include "roast_curve_window.h"
#include "roast_log_files.h"
#include "roast_recorder.h"
#include "step_data.h"

namespace {

class FakeClock final : public RoastClock {
public:
    int64_t ms = 0;
    int64_t MonotonicMs() override { return ms; }
    LocalDateTime Now() override { return LocalDateTime{}; }
};

// A recorder with the curve on it, under a modal owner.
struct Stand {
    QTemporaryDir folder;
    QDialog owner;
    FakeClock clock;
    ControllerState s;
    CStep_Data working;
    RoastRecorder recorder{clock, nullptr, "kavolo-roaster test"};
    LiveRoastCurve live{recorder, folder.path(), &owner, [this] { return s.show_celsius != 0; }};

    Stand() {
        owner.setWindowModality(Qt::ApplicationModal);
        owner.show();
    }
    RoastCurveWindow* window() const { return live.window(); }

    void Run(int32_t phase, int32_t step) {
        s.machine_state = kRun;
        s.run_phase = phase;
        s.step_index = step;
        recorder.Observe(s, working);
    }
    // Readings every half second from `from` to `to` seconds.
    void Read(double from, double to, int32_t raw) {
        for (double t = from; t <= to + 1e-9; t += 0.5) {
            clock.ms = std::llround(t * 1000);
            s.temperature = raw;
            recorder.OnReading(raw + static_cast<int32_t>(t), s, working);
        }
    }
    // The run of the test: step 1, step 2, a sensor error, readings on,
    // five seconds without any, then cooling.
    void Roast() {
        Run(kHeat, 1);
        Read(0, 20, 100);
        Run(kHeat, 2);
        Read(20.5, 30, 100);
        Read(30.5, 30.5, 700);  // "Hi": no temperature
        Read(31, 35, 100);
        Read(40, 45, 100);
        Run(kCool, 3);
        Read(45.5, 50, 100);
    }
};

QString WriteFile(const QString& path, const std::string& text) {
    std::ofstream(path.toStdString(), std::ios::binary) << text;
    return path;
}

QMessageBox* ShownBox() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) return box;
    return nullptr;
}

// A click that goes through the window system, so a window blocked by a
// modal one would not get it.
void ClickAsUser(QPushButton* button) {
    QTest::mouseClick(button->window()->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                      button->mapTo(button->window(), button->rect().center()));
}

std::vector<int> PointCounts(const std::vector<QLineSeries*>& lines) {
    std::vector<int> counts;
    for (QLineSeries* line : lines) counts.push_back(line->count());
    return counts;
}

}  // namespace

class RoastCurveTest : public QObject {
    Q_OBJECT
private slots:
    void drawsARunAsItIsRecorded();
    void opensSavedRoastsAndRefusesBadOnes();
    void thinnedLinesKeepTheirShapeOnScreen();
};

void RoastCurveTest::drawsARunAsItIsRecorded() {
    Stand t;
    QVERIFY(!t.window());
    t.Roast();
    RoastCurveWindow* w = t.window();
    QVERIFY(w && w->isVisible());  // opened by itself when the run began
    QCOMPARE(w->windowTitle(), QStringLiteral("Roast curve"));

    // Bean lines: broken by the sensor error and the gap, and going on
    // without a break but in the cooling colour where cooling began.
    QCOMPARE(PointCounts(w->bean_lines()), (std::vector<int>{61, 9, 11, 11}));
    QCOMPARE(w->bean_lines()[0]->at(0), QPointF(0, 100));
    QCOMPARE(w->bean_lines()[3]->at(0), QPointF(45, 145));
    QCOMPARE(w->bean_lines()[3]->at(1), QPointF(45.5, 145));
    QVERIFY(w->bean_lines()[3]->pen().color() != w->bean_lines()[2]->pen().color());
    QCOMPARE(w->bean_lines()[2]->pen().color(), w->bean_lines()[0]->pen().color());

    // Rates: every one recorded is drawn, and no rate line spans the
    // error or the gap.
    int rates = 0;
    for (const RoastSample& sample : t.recorder.log().samples) rates += sample.ror_f_per_min ? 1 : 0;
    int drawn = 0;
    for (QLineSeries* line : w->rate_lines()) {
        drawn += line->count();
        for (int i = 1; i < line->count(); ++i) QVERIFY(line->at(i).x() - line->at(i - 1).x() <= 0.5 + 1e-9);
    }
    QCOMPARE(drawn, rates);
    QVERIFY(w->rate_lines().size() >= 3);

    const std::vector<std::pair<double, QString>> marks{{20.5, QStringLiteral("2")}, {45.5, QStringLiteral("C")}};
    QCOMPARE(w->marks(), marks);
    QCOMPARE(w->cooling_bands().size(), std::size_t{1});
    QCOMPARE(w->cooling_bands()[0]->upperSeries()->at(1).x(), 50.0);
    QCOMPARE(w->reading_text(),
             QStringLiteral("00:50   Bean 150 \u00b0F   Rate of rise %1 \u00b0F/min   Step C   Fan 5   Heat 3")
                 .arg(QString::fromStdString(OneDecimal(*t.recorder.log().samples.back().ror_f_per_min))));

    // The panel switched to °C: everything drawn again in °C.
    t.s.show_celsius = 1;
    t.live.FollowUnit();
    QCOMPARE(PointCounts(w->bean_lines()), (std::vector<int>{61, 9, 11, 11}));
    QCOMPARE(w->bean_lines()[0]->at(0), QPointF(0, (100 - 32) * 5.0 / 9.0));
    QCOMPARE(w->temperature_axis()->titleText(), QStringLiteral("Bean \u00b0C"));
    QVERIFY(w->reading_text().contains(QStringLiteral("Bean 66 \u00b0C")));

    // The window takes clicks while its owner runs modally: "Save log as…"
    // writes what is shown.
    const QString saved = t.folder.filePath(QStringLiteral("copy.csv"));
    w->choose_log_to_save = [&](const QString&) { return saved; };
    ClickAsUser(w->button(QStringLiteral("Save log as\u2026")));
    const RoastLogParse read = ReadRoastLogFile(saved.toStdString());
    QVERIFY(read.ok);
    QCOMPARE(read.log.samples.size(), t.recorder.log().samples.size());
}

void RoastCurveTest::opensSavedRoastsAndRefusesBadOnes() {
    Stand t;
    t.Roast();
    RoastCurveWindow* w = t.window();
    const std::vector<QLineSeries*> lines = w->bean_lines();

    const QString bad = WriteFile(t.folder.filePath(QStringLiteral("bad.csv")),
                                  std::string("# profile: P\n") + kRoastLogColumns +
                                      "\n0.0,100,100,,run,heat,1,5,3,5.0\n0.5,101,100,,run,heat,1,x,3,5.0\n");
    QString chosen;
    w->choose_log_to_open = [&](const QString&) { return chosen; };
    RoastCurveWindow* viewer = nullptr;
    w->on_viewer_opened = [&](RoastCurveWindow& opened) { viewer = &opened; };
    chosen = bad;
    w->OpenRoast();
    QMessageBox* box = ShownBox();
    QVERIFY(box);
    QCOMPARE(box->text(), QStringLiteral("Cannot read the roast log %1: line 4: bad fan \"x\"").arg(bad));
    QCOMPARE(box->windowTitle(), QStringLiteral("Kavolo Roaster"));
    box->close();
    QCOMPARE(w->bean_lines(), lines);  // nothing shown changed, nothing opened
    QCOMPARE(PointCounts(w->bean_lines()), (std::vector<int>{61, 9, 11, 11}));
    QVERIFY(!viewer);

    // A good log while a run is recorded opens beside it, read only.
    RoastLog saved;
    saved.Set(roastkey::kProfile, "Saved");
    for (int i = 0; i < 5; ++i) {
        RoastSample sample;
        sample.seconds = i;
        sample.bean_f = 300;
        sample.machine_state = kRun;
        sample.run_phase = kHeat;
        sample.step = 1;
        saved.samples.push_back(sample);
    }
    chosen = WriteFile(t.folder.filePath(QStringLiteral("good.csv")), FormatRoastLog(saved));
    w->OpenRoast();
    QVERIFY(viewer && viewer != w && viewer->isVisible());
    QCOMPARE(PointCounts(viewer->bean_lines()), (std::vector<int>{5}));
    QVERIFY(w->live());
    QCOMPARE(w->bean_lines(), lines);

    // Once the run is over the window shows a chosen log itself, and the
    // next run takes its place again.
    t.s.machine_state = kFinished;
    t.recorder.Observe(t.s, t.working);
    w->OpenRoast();
    QVERIFY(!w->live());
    QCOMPARE(PointCounts(w->bean_lines()), (std::vector<int>{5}));
    t.Run(kHeat, 1);
    t.Read(0, 1, 100);
    QVERIFY(w->live());
    QCOMPARE(PointCounts(w->bean_lines()), (std::vector<int>{3}));
}

void RoastCurveTest::thinnedLinesKeepTheirShapeOnScreen() {
    // A straight line keeps its ends; a bend keeps its corner; a bump of
    // 0.6 pixels stays, one of 0.4 pixels (at that scale) goes.
    std::vector<CurvePoint> straight, bend, bump;
    for (int i = 0; i <= 100; ++i) {
        straight.push_back({i * 0.5, 100 + i * 0.25});
        bend.push_back({i * 0.5, i <= 60 ? 100.0 + i : 160.0});
        bump.push_back({i * 0.5, i == 40 ? 100.6 : 100.0});
    }
    const std::vector<CurvePoint> ends{straight.front(), straight.back()};
    QCOMPARE(ThinLine(straight, 2.0, 1.0), ends);
    const std::vector<CurvePoint> corner{bend.front(), bend[60], bend.back()};
    QCOMPARE(ThinLine(bend, 2.0, 1.0), corner);
    QCOMPARE(ThinLine(bump, 2.0, 1.0).size(), std::size_t{5});  // the bump's foot, top and foot
    QCOMPARE(ThinLine(bump, 2.0, 0.4 / 0.6).size(), std::size_t{2});

    // A long run: its first points move, thinned, to the line's history,
    // which ends where the live part goes on.
    Stand t;
    t.Run(kHeat, 1);
    t.Read(0, 150, 100);
    const std::vector<QLineSeries*>& lines = t.window()->bean_lines();
    QCOMPARE(lines.size(), std::size_t{2});
    QLineSeries* live = lines[0];
    QLineSeries* history = lines[1];
    QCOMPARE(history->at(0), QPointF(0, 100));
    QCOMPARE(history->at(history->count() - 1), live->at(0));
    QVERIFY(history->count() < 200);
    QCOMPARE(live->count(), 301 - 199);
    QCOMPARE(live->at(live->count() - 1), QPointF(150, 250));
}

QTEST_MAIN(RoastCurveTest)
#include "roast_curve_test.moc"
