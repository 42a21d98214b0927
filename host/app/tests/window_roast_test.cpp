// The main window and the roast recording beside it: the curve follows the
// panel's unit, the panel's keys work in it, a roast running at the end is
// kept, and a log that cannot be written is said once.
#include <QDir>
#include <QPushButton>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTableView>
#include <QTest>
#include <QWindow>

#include "controller_state.h"
#include "control_ids.h"
#include "follow_session.h"
#include "live_roast_curve.h"
#include "roast_again.h"
#include "roast_log_text.h"
#include "roast_notes_panel.h"
#include "roast_session.h"
#include "temperature_window.h"
#include "window_settings.h"
#include "window_stand.h"

class WindowRoastTest : public QObject {
    Q_OBJECT
private slots:
    void init() { WindowSettings().clear(); }
    void thePanelsKeysWorkInTheCurveWindow();
    void clickOnTheTemperatureWindowSwitchesTheCurvesUnit();
    void roastRunningAtTheEndIsKeptMarkedIncomplete();
    void roastLogThatCannotBeWrittenIsSaidInOneBoxThatBlocksNothing();
    void roastAgainMakesTheStepsAsRunTheProfileAndTheRoastTheBackground();
    void roastAgainOfAFollowedRoastRunsTheProgramItsSteeringKept();
    void followModeGoesOffAtAPanelKeyButNotAtTheCurvesMarks();
    void followingARoastRunsItsStepsUnlessTheUserChoseAnother();
    void roastAgainTakesAnArtisanRoastWhoseEventsMakeAProgram();
};

namespace {

// A saved roast: `header` lines, then two minutes of heating rising 1 °F a second.
QString WriteLog(const QString& path, const QByteArray& header) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return {};
    file.write(header + kRoastLogColumns + "\n");
    for (int i = 1; i <= 240; ++i)
        file.write(QByteArray::number(i * 0.5, 'f', 1) + "," + QByteArray::number(70 + i / 2) + ",,,run,heat,1,5,3,5.0\n");
    return path;
}

}  // namespace

void WindowRoastTest::roastAgainMakesTheStepsAsRunTheProfileAndTheRoastTheBackground() {
    QTemporaryDir roasts;
    Stand t(roasts.path());
    RoastSession& session = t.window->roast_session();
    QStringList warnings;
    session.roast_again().warn = [&](const QString& text) { warnings << text; };
    // A step split during the run is two steps of the steps as run.
    const QString split = WriteLog(roasts.filePath("2026-12-08_140305 Light roast.csv"),
                                   "# profile: Light roast\n# start: 2026-12-08T14:03:05+01:00\n# bean: Kenya AA\n"
                                   "# planned_steps: 9/5.0/3, 8/4.5/2, cool 5/3.0\n"
                                   "# run_steps: 9/1.2/3, 9/3.8/3, 8/4.5/2, cool 5/3.0\n");
    QByteArray steps;
    for (int i = 0; i < 21; ++i) steps += "9/1.0/3, ";
    const QString long_roast = WriteLog(roasts.filePath("2026-12-09_090000 Long.csv"),
                                        "# profile: Long\n# start: 2026-12-09T09:00:00+01:00\n# run_steps: " + steps +
                                            "cool 5/3.0\n");

    session.ShowHistory();
    RoastHistoryWindow* history = session.curve().history();
    QVERIFY(history);
    QTRY_VERIFY(history->table()->model()->rowCount() == 2 && !history->loading());
    QCOMPARE(history->cell(1, 1), QStringLiteral("Light roast"));  // newest first
    history->Choose(1);
    history->button(QStringLiteral("Roast again"))->click();
    QVERIFY2(warnings.isEmpty(), qPrintable(warnings.join('\n')));
    std::vector<std::array<int, 4>> working;
    for (const StepNode& n : Snapshot(t.window->controller().console.working.head))
        working.push_back({n.fan, n.time, n.heat, static_cast<int>(n.status)});
    QVERIFY(working == (std::vector<std::array<int, 4>>{{9, 12, 3, 0}, {9, 38, 3, 0}, {8, 45, 2, 0}, {5, 30, 0, 10}}));
    // Named after the bean and the start, as the name box shows it whole
    // (in the fonts here, maybe with the start shortened).
    const QString made = QString::fromStdString(t.s().profile_name);
    QVERIFY2(made == QStringLiteral("Kenya AA 2026-12-08 14:03") || made == QStringLiteral("Kenya AA 12-08 14:03"),
             qPrintable(made));
    QCOMPARE(t.s().profile_path, kNoPath);
    QCOMPARE(t.window->NameBox()->text(), made);
    QVERIFY(t.window->NameBox()->fontMetrics().horizontalAdvance(made) <= t.window->NameBox()->contentsRect().width());
    RoastCurveWindow* curve = session.curve().window();
    QVERIFY(curve && curve->isVisible());
    QCOMPARE(curve->background_path(), split);

    // 21 roast steps and the cooling: no profile holds them.
    curve->OpenRoastFile(long_roast);
    curve->button(QStringLiteral("Roast again"))->click();
    QCOMPARE(warnings.size(), 1);
    QVERIFY2(warnings[0].contains(QStringLiteral("22 steps, and a profile holds at most 21")), qPrintable(warnings[0]));
    QCOMPARE(QString::fromStdString(t.s().profile_name), made);
    QCOMPARE(curve->background_path(), split);
    // While a roast runs nothing is made again.
    t.s().machine_state = kRun;
    history->button(QStringLiteral("Roast again"))->click();
    QCOMPARE(warnings.size(), 2);
    QVERIFY(warnings[1].contains(QStringLiteral("while a roast runs")));
    t.s().machine_state = kReady;
}

// A followed roast is roasted again (and saved as a profile) from the
// program its steering kept, not from its steps as run; the history's row
// and both buttons' tooltips say so.
void WindowRoastTest::roastAgainOfAFollowedRoastRunsTheProgramItsSteeringKept() {
    QTemporaryDir roasts;
    Stand t(roasts.path());
    RoastSession& session = t.window->roast_session();
    QStringList warnings;
    session.roast_again().warn = [&](const QString& text) { warnings << text; };
    const QString followed = WriteLog(roasts.filePath("2026-12-07_080000 Light roast.csv"),
                                      "# profile: Light roast\n# start: 2026-12-07T08:00:00+01:00\n"
                                      "# follow: background.csv\n# run_steps: 9/5.0/3, cool 5/3.0\n"
                                      "# steered_steps: 8/2.4/3, 6/2.6/2, cool 5/3.0\n");
    session.ShowHistory();
    RoastHistoryWindow* history = session.curve().history();
    QVERIFY(history);
    QTRY_VERIFY(history->table()->model()->rowCount() == 1 && !history->loading());
    QCOMPARE(history->cell(0, 1), QStringLiteral("(followed) Light roast"));
    history->Choose(0);
    QVERIFY(history->button(QStringLiteral("Roast again"))->toolTip().contains(QStringLiteral("followed")));
    history->button(QStringLiteral("Roast again"))->click();
    QVERIFY2(warnings.isEmpty(), qPrintable(warnings.join('\n')));
    std::vector<std::array<int, 4>> working;
    for (const StepNode& n : Snapshot(t.window->controller().console.working.head))
        working.push_back({n.fan, n.time, n.heat, static_cast<int>(n.status)});
    QVERIFY(working == (std::vector<std::array<int, 4>>{{8, 24, 3, 0}, {6, 26, 2, 0}, {5, 30, 0, 10}}));
    RoastCurveWindow* curve = session.curve().window();
    QVERIFY(curve);
    curve->OpenRoastFile(followed);
    QVERIFY(curve->button(QStringLiteral("Roast again"))->toolTip().contains(QStringLiteral("steering")));
    QVERIFY(curve->button(QStringLiteral("Save steps as profile\u2026"))->toolTip().contains(QStringLiteral("steering")));
}

void WindowRoastTest::followModeGoesOffAtAPanelKeyButNotAtTheCurvesMarks() {
    QTemporaryDir roasts;
    Stand t(roasts.path());
    RoastSession& session = t.window->roast_session();
    const QString background = WriteLog(roasts.filePath("background.csv"), "# profile: P\n");
    session.ShowCurve();
    RoastCurveWindow* curve = session.curve().window();
    QPushButton* follow = curve->button(QStringLiteral("Follow background"));
    QVERIFY(!follow->isEnabled());
    curve->ShowBackgroundFile(background);
    QVERIFY(follow->isEnabled());
    follow->click();
    QVERIFY(follow->isChecked());
    QCOMPARE(session.follow().state(), FollowState::Armed);

    // A run heats: two events handled, and follow mode follows it, waiting
    // for the roaster's readings (this one has none).
    t.s().machine_state = kRun;
    t.s().run_phase = kHeat;
    t.window->controller().OnButtonReleased();
    t.window->controller().OnButtonReleased();
    QCOMPARE(session.follow().state(), FollowState::Paused);
    QCOMPARE(curve->follow_status(), QStringLiteral("Follow mode paused: no readings"));
    QVERIFY(follow->isChecked());

    curve->activateWindow();
    QWindow* keys = curve->windowHandle();
    QTest::keyClick(keys, Qt::Key_D);
    QVERIFY(session.recorder().marks().Find(MarkKind::DryEnd));
    QCOMPARE(session.follow().state(), FollowState::Paused);
    QTest::keyClick(keys, Qt::Key_Up);
    QCOMPARE(session.follow().state(), FollowState::Ended);
    QCOMPARE(curve->follow_status(), QStringLiteral("Follow mode off: you took over"));
    QVERIFY(!follow->isChecked());
}

// --background LOG --follow: the background's steps become the profile,
// under a name the name box shows whole (the whole one in its tooltip and
// the curve window), again after the roaster sends its own program, but
// not once the user chose a profile.
void WindowRoastTest::followingARoastRunsItsStepsUnlessTheUserChoseAnother() {
    QTemporaryDir roasts;
    Stand t(roasts.path());
    RoastSession& session = t.window->roast_session();
    const QString path = WriteLog(roasts.filePath("2026-12-09_191400 Light roast.csv"),
                                  "# profile: Light roast\n# start: 2026-12-09T19:14:00+01:00\n"
                                  "# bean: Ethiopia Guji natural and then some more\n"
                                  "# run_steps: 7/4.0/2, 5/4.4/3, cool 9/3.0\n");
    RoastLogParse read = ReadRoastLogFile(path.toStdString());
    QVERIFY(read.ok);
    session.StartWithBackground(read.log, path, true);
    const QString whole = QStringLiteral("Ethiopia Guji natural and then some more 2026-12-09 19:14");
    const std::string shown = t.s().profile_name;
    QVERIFY2(QString::fromStdString(shown).endsWith(QStringLiteral("\u2026 12-09 19:14")), shown.c_str());
    QLineEdit* box = t.window->NameBox();
    QVERIFY(box->fontMetrics().horizontalAdvance(box->text()) <= box->contentsRect().width());
    QVERIFY(box->toolTip().contains(whole));
    QCOMPARE(t.window->controller().console.working.head->time, 40);
    QTRY_VERIFY(session.curve().window() && session.curve().window()->isVisible());
    RoastCurveWindow* curve = session.curve().window();
    QCOMPARE(curve->profile_note(), QStringLiteral("The profile holds the background's steps: ") + whole);
    RoastAgain::Saved(roasts.filePath("profiles/x.coff"));
    QVERIFY(session.roast_again().SuggestedFile().startsWith(roasts.filePath("profiles/")));

    // The link starts and the roaster sends its own program.
    t.s().profile_name = kLastUsbSetting;
    t.window->controller().OnButtonReleased();
    QTRY_COMPARE(t.s().profile_name, shown);

    // A profile the user chooses is the one the followed roast runs.
    t.s().profile_name = "Kenya.coff";
    t.s().profile_path = "/roasts/Kenya.coff";
    t.window->controller().OnButtonReleased();
    QTest::qWait(20);
    QCOMPARE(t.s().profile_name, std::string("Kenya.coff"));
    QCOMPARE(curve->profile_note(),
             QStringLiteral("The next roast runs the profile you chose, not the background's steps"));
    QVERIFY(session.roast_again().SuggestedFile().isEmpty());
}

void WindowRoastTest::clickOnTheTemperatureWindowSwitchesTheCurvesUnit() {
    QTemporaryDir roasts;
    Stand t(roasts.path());
    t.window->roast_session().ShowCurve();
    RoastCurveWindow* curve = t.window->roast_session().curve().window();
    QVERIFY(curve && !curve->celsius());
    QTest::mouseClick(t.window->Temperature(), Qt::LeftButton);
    QCOMPARE(t.s().show_celsius, 1);
    QVERIFY(curve->celsius());
    QTest::mouseClick(t.window->Temperature(), Qt::LeftButton);
    QVERIFY(!curve->celsius());
}

void WindowRoastTest::roastRunningAtTheEndIsKeptMarkedIncomplete() {
    QTemporaryDir roasts;
    // A crash left a partial log: the start makes it whole, marked.
    const QString crashed = roasts.filePath(QStringLiteral("2026-12-08_070509 P.csv"));
    QFile partial(crashed + QStringLiteral(".partial"));
    QVERIFY(partial.open(QIODevice::WriteOnly));
    partial.write("# program: p\n" + QByteArray(kRoastLogColumns) + "\n0.5,70,70,,run,heat,1,5,3,5.9\n");
    partial.close();
    auto t = std::make_unique<Stand>(roasts.path());
    QVERIFY(!partial.exists());
    QFile whole(crashed);
    QVERIFY(whole.open(QIODevice::ReadOnly));
    QVERIFY(whole.readAll().contains("\n# incomplete: interrupted\n"));
    QVERIFY(QFile::remove(crashed));

    RoastRecorder& recorder = t->window->roast_session().recorder();
    t->s().machine_state = kRun;
    t->s().run_phase = kHeat;
    t->window->controller().OnButtonReleased();  // any event handled shows the recorder the state
    QVERIFY(recorder.recording());
    t->window->EndDialog(kResultCancel);
    // The rest of the event that ended the window starts no new recording.
    t->window->controller().OnButtonReleased();
    QVERIFY(!recorder.recording());
    t.reset();
    const QStringList logs = QDir(roasts.path()).entryList(QDir::Files);
    QCOMPARE(logs.size(), 1);
    QFile log(QDir(roasts.path()).filePath(logs.front()));
    QVERIFY(log.open(QIODevice::ReadOnly));
    const QByteArray text = log.readAll();
    QVERIFY(text.contains("\n# incomplete: closed\n"));
    // The program and the version the build gave it.
    QVERIFY2(text.startsWith("# program: kavolo-roaster " KAVOLO_VERSION "\n"), text.constData());
}

void WindowRoastTest::roastLogThatCannotBeWrittenIsSaidInOneBoxThatBlocksNothing() {
    QTemporaryDir files;
    QFile in_the_way(files.filePath(QStringLiteral("data")));
    QVERIFY(in_the_way.open(QIODevice::WriteOnly));
    const QString folder = files.filePath(QStringLiteral("data/roasts"));
    Stand t(folder);
    for (int run = 0; run < 2; ++run) {
        t.s().machine_state = kRun;
        t.s().run_phase = kHeat;
        t.window->controller().OnButtonReleased();
        t.s().machine_state = kFinished;
        t.window->controller().OnButtonReleased();
    }
    const QList<QMessageBox*> boxes = OpenBoxes();
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes.front()->windowTitle(), QStringLiteral("Kavolo Roaster"));
    QVERIFY(boxes.front()->text().startsWith(QStringLiteral("Cannot write the roast log %1: ").arg(folder)));
    QVERIFY(boxes.front()->text().contains(QStringLiteral("\"Save log as\u2026\"")));
    QVERIFY(!QApplication::activeModalWidget());
}

void WindowRoastTest::thePanelsKeysWorkInTheCurveWindow() {
    QTemporaryDir roasts;
    Stand t(roasts.path());
    ControllerState& s = t.s();
    s.machine_state = kRun;
    s.run_phase = kHeat;
    s.roast_time = 30;
    t.window->controller().OnButtonReleased();  // the recording starts, the curve window opens
    RoastCurveWindow* curve = t.window->roast_session().curve().window();
    QVERIFY(curve && curve->isVisible());
    curve->activateWindow();
    QWindow* keys = curve->windowHandle();

    // The panel's pictures stay part of the panel's own window: as native
    // windows of their own they are not redrawn.
    for (int id : {ctl::kFanDigit, ctl::kTensDigit, ctl::kHeatHigh, ctl::kLinkLamp})
        QVERIFY(!t.window->Control(id)->testAttribute(Qt::WA_NativeWindow) && !t.window->Control(id)->internalWinId());

    // Up lengthens the running step as on the panel; D stays the curve's mark.
    QTest::keyClick(keys, Qt::Key_Up);
    QCOMPARE(s.roast_time, 31);
    QTest::keyClick(keys, Qt::Key_D);
    QVERIFY(t.window->roast_session().recorder().marks().Find(MarkKind::DryEnd));
    // A notes field being typed into keeps its arrows.
    curve->notes()->bean_field()->setFocus();
    QTest::keyClick(keys, Qt::Key_Up);
    QCOMPARE(s.roast_time, 31);
}

void WindowRoastTest::roastAgainTakesAnArtisanRoastWhoseEventsMakeAProgram() {
    QTemporaryDir roasts;
    Stand t(roasts.path());
    RoastSession& session = t.window->roast_session();
    QStringList warnings;
    session.roast_again().warn = [&](const QString& text) { warnings << text; };
    // Six minutes from CHARGE, a sample every two seconds: Burner 3 and Air 7
    // at CHARGE, Burner 2 after two minutes, the drop at 6:00, COOL at 7:00.
    auto alog = [&](const QString& name, const QByteArray& events) {
        QByteArray timex, temp2;
        for (int i = 0; i < 240; ++i) {
            timex += (i ? ", " : "") + QByteArray::number(i * 2) + ".0";
            temp2 += (i ? ", " : "") + QByteArray::number(90 + i / 2) + ".0";
        }
        QFile file(roasts.filePath(name));
        if (!file.open(QIODevice::WriteOnly)) return QString();
        file.write("{'mode': 'C', 'title': 'Guji', 'timeindex': [0, 0, 0, 0, 0, 0, 180, 210], 'timex': [" + timex +
                   "], 'temp2': [" + temp2 + "]" + events + "}");
        return file.fileName();
    };
    const QString programmed = alog(QStringLiteral("programmed.alog"),
                                    ", 'specialevents': [0, 0, 60], 'specialeventstype': [3, 0, 3], "
                                    "'specialeventsvalue': [1.3, 1.7, 1.2]");
    const QString plain = alog(QStringLiteral("plain.alog"), "");
    session.ShowCurve();
    RoastCurveWindow* curve = session.curve().window();
    curve->OpenRoastFile(programmed);
    curve->button(QStringLiteral("Roast again"))->click();
    QVERIFY2(warnings.isEmpty(), qPrintable(warnings.join('\n')));
    std::vector<std::array<int, 4>> working;
    for (const StepNode& n : Snapshot(t.window->controller().console.working.head))
        working.push_back({n.fan, n.time, n.heat, static_cast<int>(n.status)});
    QVERIFY(working == (std::vector<std::array<int, 4>>{{7, 20, 3, 0}, {7, 40, 2, 0}, {7, 10, 0, 10}}));
    QCOMPARE(curve->background_path(), programmed);

    curve->OpenRoastFile(plain);
    curve->button(QStringLiteral("Roast again"))->click();
    QCOMPARE(warnings, QStringList{QStringLiteral("Cannot roast again: its file has no Burner and Air events to make "
                                                  "a program of.")});
    QCOMPARE(curve->background_path(), programmed);
}

QTEST_MAIN(WindowRoastTest)
#include "window_roast_test.moc"
