// The main window and the roast recording beside it: the curve follows the
// panel's unit, the panel's keys work in it, it comes back where the user
// put it, a roast running at the end is kept, and a log that cannot be
// written is said once.
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLineEdit>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>

#include "controller_state.h"
#include "control_ids.h"
#include "live_roast_curve.h"
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
    void theCurveWindowComesBackWhereTheUserPutIt();
    void clickOnTheTemperatureWindowSwitchesTheCurvesUnit();
    void roastRunningAtTheEndIsKeptMarkedIncomplete();
    void roastLogThatCannotBeWrittenIsSaidInOneBoxThatBlocksNothing();
};

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

void WindowRoastTest::theCurveWindowComesBackWhereTheUserPutIt() {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const QRect put(screen.left() + 20, screen.top() + 30, 600, 420);
    {
        QTemporaryDir roasts;
        Stand t(roasts.path());
        t.window->roast_session().ShowCurve();
        RoastCurveWindow* curve = t.window->roast_session().curve().window();
        curve->setGeometry(put);  // the user moves it
        curve->close();
    }
    {
        QTemporaryDir roasts;
        Stand t(roasts.path());
        t.window->roast_session().ShowCurve();
        QCOMPARE(t.window->roast_session().curve().window()->geometry(), put);
    }
    // A place no screen shows any more is not used.
    WindowSettings().setValue(QStringLiteral("curve/geometry"), put.translated(screen.width() * 3, 0));
    QTemporaryDir roasts;
    Stand t(roasts.path());
    t.window->roast_session().ShowCurve();
    QVERIFY(screen.intersects(t.window->roast_session().curve().window()->geometry()));
}

QTEST_MAIN(WindowRoastTest)
#include "window_roast_test.moc"
