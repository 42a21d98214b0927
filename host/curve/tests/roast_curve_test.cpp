// The curve window on a recorder fed as the controller feeds it: a run with
// a step change, a sensor error, a gap in the readings and cooling, under
// an owner that runs modally as the main window does. Then what the user
// adds to a roast there (marks, notes, a background roast) and the roast
// history beside it.
#include <QAreaSeries>
#include <QChart>
#include <QCheckBox>
#include <QDateEdit>
#include <QDialog>
#include <QLineEdit>
#include <QLegendMarker>
#include <QLineSeries>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QValueAxis>
#include <QWindow>
#include <cmath>
#include <fstream>

#include "controller_state.h"
#include "curve_thinning.h"
#include "file_io.h"
#include "live_roast_curve.h"
#include "phase_bar.h"
#include "roast_curve_window.h"
#include "roast_compare_window.h"
#include "roast_history_window.h"
#include "roast_log_files.h"
#include "roast_notes_panel.h"
#include "roast_recorder.h"
#include "step_data.h"
#include "curve_stand.h"
#include "window_settings.h"

namespace {

void TypeInto(QLineEdit* field, const QString& text) {
    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, text);
    QTest::keyClick(field, Qt::Key_Return);
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
    // Window places, columns and the notes' state start afresh.
    void init() { WindowSettings().clear(); }
    void drawsARunAsItIsRecorded();
    void shortStepsLabelOnlyWhereTheirNumbersFit();
    void rateAxisSpansTheHeatingsRatesNotTheCoolings();
    void opensSavedRoastsAndRefusesBadOnes();
    void thinnedLinesKeepTheirShapeOnScreen();
    void keysMarkTheRoastAndThePhasesFollow();
    void notesReachTheSavedLogWithItsRowsUntouched();
    void notesGiveWayInANarrowWindowAndWidenItWhenAskedFor();
    void backgroundRoastIsDrawnAndCompared();
    void temperatureLabelsKeepRoomOnAShortPlot();
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
    QCOMPARE(PointCounts(w->plot().bean_lines()), (std::vector<int>{61, 9, 11, 11}));
    QCOMPARE(w->plot().bean_lines()[0]->at(0), QPointF(0, 100));
    QCOMPARE(w->plot().bean_lines()[3]->at(0), QPointF(45, 145));
    QCOMPARE(w->plot().bean_lines()[3]->at(1), QPointF(45.5, 145));
    QVERIFY(w->plot().bean_lines()[3]->pen().color() != w->plot().bean_lines()[2]->pen().color());
    QCOMPARE(w->plot().bean_lines()[2]->pen().color(), w->plot().bean_lines()[0]->pen().color());

    // Rates: every one recorded while heating is drawn, none of the
    // cooling's, and no rate line spans the error or the gap.
    int rates = 0;
    for (const RoastSample& sample : t.recorder.log().samples)
        rates += sample.ror_f_per_min && sample.run_phase != kCool ? 1 : 0;
    int drawn = 0;
    for (QLineSeries* line : w->plot().rate_lines()) {
        drawn += line->count();
        for (int i = 1; i < line->count(); ++i) QVERIFY(line->at(i).x() - line->at(i - 1).x() <= 0.5 + 1e-9);
    }
    QCOMPARE(drawn, rates);
    QVERIFY(w->plot().rate_lines().size() >= 3);

    const std::vector<std::pair<double, QString>> marks{{20.5, QStringLiteral("2")}, {45.5, QStringLiteral("C")}};
    QCOMPARE(w->plot().marks(), marks);
    QCOMPARE(w->plot().cooling_bands().size(), std::size_t{1});
    QCOMPARE(w->plot().cooling_bands()[0]->upperSeries()->at(1).x(), 50.0);
    QCOMPARE(w->reading_text(),
             QStringLiteral("00:50   Bean 150 \u00b0F   Rate of rise %1 \u00b0F/min   Step C   Fan 5   Heat 3")
                 .arg(QString::fromStdString(OneDecimal(*t.recorder.log().samples.back().ror_f_per_min))));

    // The panel switched to °C: everything drawn again in °C.
    t.s.show_celsius = 1;
    t.live.FollowUnit();
    QCOMPARE(PointCounts(w->plot().bean_lines()), (std::vector<int>{61, 9, 11, 11}));
    QCOMPARE(w->plot().bean_lines()[0]->at(0), QPointF(0, (100 - 32) * 5.0 / 9.0));
    QCOMPARE(w->plot().temperature_axis()->titleText(), QStringLiteral("Bean \u00b0C"));
    QCOMPARE(w->reading_text(),
             QStringLiteral("00:50   Bean 66 \u00b0C   Rate of rise %1 \u00b0C/min   Step C   Fan 5   Heat 3")
                 .arg(QString::fromStdString(OneDecimal(*t.recorder.log().samples.back().ror_f_per_min * 5 / 9))));

    // The window takes clicks while its owner runs modally: "Save log as…"
    // writes what is shown.
    const QString saved = t.folder.filePath(QStringLiteral("copy.csv"));
    w->files().choose_log_to_save = [&](const QString&) { return saved; };
    ClickAsUser(w->button(QStringLiteral("Save log as\u2026")));
    const RoastLogParse read = ReadRoastLogFile(saved.toStdString());
    QVERIFY(read.ok);
    QCOMPARE(read.log.samples.size(), t.recorder.log().samples.size());
}

// A kept program of many six-second steps: the labels shown never overlap,
// and the running step's is always one of them.
void RoastCurveTest::shortStepsLabelOnlyWhereTheirNumbersFit() {
    Stand t;
    for (int step = 1; step <= 20; ++step) {
        t.Run(kHeat, step);
        t.Read(6.0 * (step - 1), 6.0 * step - 0.5, 100);
        if (step == 1) continue;  // the run's start: no mark
        const auto shown = t.window()->plot().shown_step_labels();
        QVERIFY(!shown.empty());
        QCOMPARE(shown.back().first, QString::number(step));
        for (std::size_t i = 1; i < shown.size(); ++i)
            QVERIFY2(shown[i - 1].second.right() < shown[i].second.left(), qPrintable(shown[i].first));
    }
    QVERIFY(t.window()->plot().shown_step_labels().size() < 20);
    QCOMPARE(t.window()->plot().marks().size(), std::size_t{19});  // step 1 begins the run: no mark
}

void RoastCurveTest::opensSavedRoastsAndRefusesBadOnes() {
    Stand t;
    t.Roast();
    RoastCurveWindow* w = t.window();
    const std::vector<QLineSeries*> lines = w->plot().bean_lines();

    const QString bad = WriteFile(t.folder.filePath(QStringLiteral("bad.csv")),
                                  std::string("# profile: P\n") + kRoastLogColumns +
                                      "\n0.0,100,100,,run,heat,1,5,3,5.0\n0.5,101,100,,run,heat,1,x,3,5.0\n");
    QString chosen;
    w->files().choose_log_to_open = [&](const QString&) { return chosen; };
    RoastCurveWindow* viewer = nullptr;
    w->on_viewer_opened = [&](RoastCurveWindow& opened) { viewer = &opened; };
    chosen = bad;
    w->files().OpenRoast();
    QMessageBox* box = ShownBox();
    QVERIFY(box);
    QCOMPARE(box->text(), QStringLiteral("Cannot read the roast log %1: line 4: bad fan \"x\"").arg(bad));
    QCOMPARE(box->windowTitle(), QStringLiteral("Kavolo Roaster"));
    box->close();
    QCOMPARE(w->plot().bean_lines(), lines);  // nothing shown changed, nothing opened
    QCOMPARE(PointCounts(w->plot().bean_lines()), (std::vector<int>{61, 9, 11, 11}));
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
    w->files().OpenRoast();
    QVERIFY(viewer && viewer != w && viewer->isVisible());
    QCOMPARE(PointCounts(viewer->plot().bean_lines()), (std::vector<int>{5}));
    QVERIFY(w->live());
    QCOMPARE(w->plot().bean_lines(), lines);

    // Once the run is over the window shows a chosen log itself, and the
    // next run takes its place again.
    t.s.machine_state = kFinished;
    t.recorder.Observe(t.s, t.working);
    w->files().OpenRoast();
    QVERIFY(!w->live());
    QCOMPARE(PointCounts(w->plot().bean_lines()), (std::vector<int>{5}));
    t.Run(kHeat, 1);
    t.Read(0, 1, 100);
    QVERIFY(w->live());
    QCOMPARE(PointCounts(w->plot().bean_lines()), (std::vector<int>{3}));
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
    const std::vector<QLineSeries*>& lines = t.window()->plot().bean_lines();
    QCOMPARE(lines.size(), std::size_t{2});
    QLineSeries* live = lines[0];
    QLineSeries* history = lines[1];
    QCOMPARE(history->at(0), QPointF(0, 100));
    QCOMPARE(history->at(history->count() - 1), live->at(0));
    QVERIFY(history->count() < 200);
    // 64 points a live part; each move to the history leaves the last one.
    QCOMPARE(live->count(), 1 + (301 - 64) % 63);
    QCOMPARE(live->at(live->count() - 1), QPointF(150, 250));

    // Thirty minutes outgrow the first ten of the time axis: the lines are
    // drawn afresh at the coarser scale, with no more points than a drawing
    // of the whole roast has.
    Stand long_roast;
    long_roast.Run(kHeat, 1);
    RoastCurveWindow* window = long_roast.window();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    for (double t = 0; t <= 1800; t += 0.5) {
        long_roast.clock.ms = std::llround(t * 1000);
        const auto raw = static_cast<int32_t>(std::lround(70 + 380 * (1 - std::exp(-t / 300))));
        long_roast.s.temperature = raw;
        long_roast.recorder.OnReading(raw, long_roast.s, long_roast.working);
    }
    auto points = [window] {
        int n = 0;
        for (const auto* lines : {&window->plot().bean_lines(), &window->plot().rate_lines()})
            for (const QLineSeries* line : *lines) n += line->count();
        return n;
    };
    const int drawn = points();
    QTRY_VERIFY(points() < drawn);
    const int kept = points();
    window->ShowLog(long_roast.recorder.log(), QString());
    QCOMPARE(kept, points());
}

void RoastCurveTest::keysMarkTheRoastAndThePhasesFollow() {
    Stand t;
    t.Run(kHeat, 1);
    t.Read(0, 60, 300);  // the bean at 300 °F + 1 °F a second
    RoastCurveWindow* w = t.ActiveWindow();
    QVERIFY(w);
    QWidget* keys = w->focusWidget();  // the curve has the keyboard
    QVERIFY(keys);
    // Before the first crack the ratio stays unknown, and the bar changes all the same.
    const QString no_ratio = QStringLiteral("DTR \u2014");
    QCOMPARE(w->phase_bar()->texts(), (QStringList{QStringLiteral("Drying 1:00 \u00b7 100 %"), no_ratio}));
    QTest::keyClick(keys, Qt::Key_D);
    t.Read(60.5, 120, 300);
    QCOMPARE(w->phase_bar()->texts(), (QStringList{QStringLiteral("Drying 1:00 \u00b7 50 %"),
                                                   QStringLiteral("Maillard 1:00 \u00b7 50 %"), no_ratio}));
    QTest::keyClick(keys, Qt::Key_F);
    const std::vector<RoastMark>& marks = t.recorder.marks().list();
    QCOMPARE(marks.size(), std::size_t{2});
    QCOMPARE(marks[1].kind, MarkKind::FirstCrack);
    QCOMPARE(*marks[1].bean_f, 420);
    const std::vector<std::pair<double, QString>> drawn{{60, QStringLiteral("Dry end 360 \u00b0F")},
                                                        {120, QStringLiteral("First crack 420 \u00b0F")}};
    QCOMPARE(w->plot().event_marks(), drawn);

    // The development grows with the samples after the first crack.
    t.Read(120.5, 150, 300);
    QCOMPARE(*w->phase_bar()->phases()->development, 30.0);
    QCOMPARE(w->phase_bar()->texts(), (QStringList{QStringLiteral("Drying 1:00 \u00b7 40 %"),
                                                   QStringLiteral("Maillard 1:00 \u00b7 40 %"),
                                                   QStringLiteral("Development 0:30 \u00b7 20 %"),
                                                   QStringLiteral("DTR 20.0 %")}));

    // A letter typed into the notes is no mark; Ctrl+Z takes the last mark back.
    QTest::keyClick(w->notes()->bean_field(), Qt::Key_F);
    QCOMPARE(t.recorder.marks().list().size(), std::size_t{2});
    QTest::keyClick(keys, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(!t.recorder.marks().Find(MarkKind::FirstCrack));
    QCOMPARE(w->plot().event_marks().size(), std::size_t{1});
    QVERIFY(!w->phase_bar()->phases()->development);

    // Marks are for a roast being recorded.
    QVERIFY(w->button(QStringLiteral("First crack"))->isEnabled());
    t.Finish();
    QVERIFY(!w->button(QStringLiteral("First crack"))->isEnabled());
    QTest::keyClick(keys, Qt::Key_S);
    QCOMPARE(t.recorder.marks().list().size(), std::size_t{1});
}

void RoastCurveTest::notesReachTheSavedLogWithItsRowsUntouched() {
    Stand t(/*saved=*/true);
    t.Run(kHeat, 1);
    t.Read(0, 20, 300);
    t.Finish();
    QVERIFY(t.files.saved());
    const std::string path = t.files.path();
    const std::string rows = Rows(path);
    RoastCurveWindow* w = t.ActiveWindow();
    QVERIFY(w);
    RoastNotesPanel* notes = w->notes();

    TypeInto(notes->bean_field(), QStringLiteral("Yirgacheffe"));
    TypeInto(notes->green_field(), QStringLiteral("250"));
    TypeInto(notes->roasted_field(), QStringLiteral("212,5"));
    QCOMPARE(notes->weight_loss_text(), QStringLiteral("15.0 %"));
    // Weights that are not positive numbers are refused where typed, and
    // stay out of the notes kept when another field's are.
    for (const QString& bad : {QStringLiteral("0"), QStringLiteral("-5")}) {
        TypeInto(notes->roasted_field(), bad);
        QVERIFY(notes->roasted_field()->toolTip().contains(QStringLiteral("positive number")));
    }
    notes->text_field()->setFocus();
    QTest::keyClicks(notes->text_field(), QStringLiteral("even"));
    QTest::keyClick(notes->text_field(), Qt::Key_Return);
    QTest::keyClicks(notes->text_field(), QStringLiteral("sweet"));
    QTest::keyClick(notes->text_field(), Qt::Key_Tab);  // the notes lose the keyboard: their editing is over
    RoastLogParse read = ReadRoastLogFile(path);
    QVERIFY(read.ok);
    RoastNotes expected{"Yirgacheffe", 250.0, 212.5, "even\nsweet"};
    QVERIFY(NotesOf(read.log) == expected);
    QCOMPARE(read.log.Get(kWeightLossKey), std::string("15.0%"));
    QCOMPARE(Rows(path), rows);

    // Typing still going on when the next roast starts goes into the file
    // of the roast it was for, not into the new one.
    notes->bean_field()->setFocus();
    QTest::keyClicks(notes->bean_field(), QStringLiteral(" 2"));
    t.clock.ms += 100000;
    t.Run(kHeat, 1);
    QCOMPARE(ReadRoastLogFile(path).log.Get(kBeanKey), std::string("Yirgacheffe 2"));
    QCOMPARE(Rows(path), rows);
    QVERIFY(NotesOf(t.recorder.log()) == RoastNotes{});
    t.Finish();

    // A roast opened from its file keeps the header lines the console
    // does not know when its notes change.
    const std::string other = t.folder.filePath(QStringLiteral("other.csv")).toStdString();
    std::ofstream(other, std::ios::binary) << SavedRoast(30, 300, "# roaster_mood: calm\n");
    const std::string other_rows = Rows(other);
    w->OpenRoastFile(QString::fromStdString(other));
    QCOMPARE(notes->bean_field()->text(), QString());
    TypeInto(notes->bean_field(), QStringLiteral("Sidamo"));
    read = ReadRoastLogFile(other);
    QCOMPARE(read.log.Get(kBeanKey), std::string("Sidamo"));
    QCOMPARE(read.log.Get("roaster_mood"), std::string("calm"));
    QCOMPARE(Rows(other), other_rows);
}

void RoastCurveTest::notesGiveWayInANarrowWindowAndWidenItWhenAskedFor() {
    QTemporaryDir dir;
    RoastCurveWindow w(dir.path());
    QPushButton* notes = w.button(QStringLiteral("Notes"));
    w.resize(1040, 640);
    w.show();
    QVERIFY(w.notes()->isVisible() && notes->isChecked());
    // Narrowed (beside the panel on a small screen): the curve keeps its
    // width, the notes give way, and come back with the room.
    w.resize(460, 640);
    QVERIFY(!w.notes()->isVisible() && !notes->isChecked());
    w.resize(1040, 640);
    QVERIFY(w.notes()->isVisible());
    // Folded by the user, they stay folded in any width.
    notes->click();
    QVERIFY(!w.notes()->isVisible());
    w.resize(1100, 640);
    QVERIFY(!w.notes()->isVisible());
    QCOMPARE(WindowSettings().value(QStringLiteral("curve/notes_shown")).toBool(), false);
    // Asked for in a narrow window, they widen it to make room.
    w.resize(460, 640);
    notes->click();
    QVERIFY(w.notes()->isVisible() && notes->isChecked());
    QVERIFY(w.width() > 460);
}

void RoastCurveTest::backgroundRoastIsDrawnAndCompared() {
    Stand t;
    const QString path = WriteFile(t.folder.filePath(QStringLiteral("good.csv")),
                                   SavedRoast(100, 200, "# event: first_crack 50.0 250\n"));
    t.Run(kHeat, 1);
    t.Read(0, 10, 204);  // 4 °F above the background
    RoastCurveWindow* w = t.window();
    QString chosen = path;
    w->files().choose_background_log = [&](const QString&) { return chosen; };
    ClickAsUser(w->button(QStringLiteral("Show as background\u2026")));
    QCOMPARE(w->plot().background_lines().size(), std::size_t{1});
    QCOMPARE(w->plot().background_lines()[0]->at(0), QPointF(0, 200));
    const std::vector<std::pair<double, QString>> faint{{50, QStringLiteral("First crack")}};
    QCOMPARE(w->plot().background_marks(), faint);
    // First, so a narrow window shows it.
    QVERIFY(w->reading_text().startsWith(QStringLiteral("+4 \u00b0F vs background   00:10")));
    t.Read(10.5, 20, 150);  // 50 °F below it
    QVERIFY(w->reading_text().startsWith(QStringLiteral("-50 \u00b0F vs background   ")));
    t.s.show_celsius = 1;
    t.live.FollowUnit();
    QVERIFY(w->reading_text().startsWith(QStringLiteral("-28 \u00b0C vs background   ")));

    // A malformed log changes nothing; the background stays for the next roast.
    chosen = WriteFile(t.folder.filePath(QStringLiteral("bad.csv")), "# event: first_crack soon\n" + Rows(path.toStdString()));
    w->files().ShowBackground();
    QMessageBox* box = ShownBox();
    QVERIFY(box);
    QCOMPARE(box->text(), QStringLiteral("Cannot read the roast log %1: line 1: bad event \"first_crack soon\"").arg(chosen));
    box->close();
    // The roast over, there is no "now" to compare: the figure goes.
    t.Finish();
    QVERIFY(!w->reading_text().contains(QStringLiteral("vs background")));
    t.Run(kHeat, 1);
    t.Read(0, 1, 100);
    QCOMPARE(w->plot().background_marks(), faint);
    QCOMPARE(w->plot().background_lines()[0]->at(0), QPointF(0, (200 - 32) * 5.0 / 9.0));
    w->ClearBackground();
    QVERIFY(w->plot().background_lines().empty());
    QVERIFY(!w->reading_text().contains(QStringLiteral("background")));
}

void RoastCurveTest::rateAxisSpansTheHeatingsRatesNotTheCoolings() {
    Stand t;
    auto read = [&](double seconds, double bean) {
        t.clock.ms = std::llround(seconds * 1000);
        t.recorder.OnReading(static_cast<int32_t>(std::lround(bean)), t.s, t.working);
    };
    t.Run(kHeat, 1);
    for (double s = 0; s <= 600; s += 0.5) read(s, 300 + s / 6);  // 10 °F/min, as late in a roast
    t.Run(kCool, 2);
    for (double s = 600.5; s <= 660; s += 0.5) read(s, 400 - (s - 600) * 100 / 60);  // -100 °F/min
    const RoastPlot& plot = t.window()->plot();
    QVERIFY(!plot.rate_lines().empty());
    for (const QLineSeries* line : plot.rate_lines())
        QVERIFY(line->at(line->count() - 1).x() <= 600);  // no rate drawn in cooling
    // The heating's 10 °F/min reads in the lower third, not in a fifth of
    // an axis that reaches -100.
    QCOMPARE(plot.rate_axis()->min(), 0.0);
    QCOMPARE(plot.rate_axis()->max(), 50.0);
}

void RoastCurveTest::temperatureLabelsKeepRoomOnAShortPlot() {
    QTemporaryDir dir;
    RoastCurveWindow w(dir.path());
    const RoastPlot& plot = w.plot();
    const auto label_room = [&plot] {
        const int intervals = plot.temperature_axis()->tickCount() - 1;
        return plot.chart()->plotArea().height() / intervals;
    };
    // Tall: 0-500 °F in steps of 50.
    w.resize(1040, 900);
    w.show();
    QTRY_COMPARE(plot.temperature_axis()->tickCount(), 11);
    // Made short (a small screen): wider steps, each label with a line's
    // room, where Qt would print "..." for them; the rate axis keeps to the
    // grid.
    w.resize(1040, 400);
    QTRY_VERIFY2(label_room() >= 24, qPrintable(QString::number(label_room())));
    QCOMPARE(plot.temperature_axis()->max(), 500.0);
    QCOMPARE(plot.rate_axis()->tickCount(), plot.temperature_axis()->tickCount());
    w.resize(1040, 900);
    QTRY_COMPARE(plot.temperature_axis()->tickCount(), 11);
}

QTEST_MAIN(RoastCurveTest)
#include "roast_curve_test.moc"
