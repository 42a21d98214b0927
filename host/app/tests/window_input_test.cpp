// The real window's buttons and keys on real timers: holding UP, DOWN,
// POWER and RIGHT, a double click, a release outside a button, and the
// keys that reach the panel commands.
#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTest>
#include <functional>
#include <vector>

#include "control_ids.h"
#include "event_loop.h"
#include "skin_button.h"
#include "ui_driver.h"
#include "window_stand.h"

namespace {

// Ready with a profile of its own, as after SELECT of a file.
void MakeReady(Stand& t) {
    ControllerState& s = t.s();
    s.profile_name = "Roast.coff";
    s.profile_path = "/tmp/Roast.coff";
    s.machine_state = kReady;
    s.run_phase = kWaitStart;
    s.edit_field = kEditNone;
    s.edit_countdown = 0;
}

// Running the cooling step of a three-step profile.
void MakeCooling(Stand& t) {
    ControllerState& s = t.s();
    CStep_Data& working = t.window->controller().console.working;
    working.Clear();
    working.InsertStep(1, 6, 30, 2, StepCompleted);
    working.InsertStep(2, 8, 30, 3, StepCompleted);
    working.InsertStep(3, 4, 40, 0, CoolRunning);
    s.profile_name = "Roast.coff";
    s.machine_state = kRun;
    s.run_phase = kCool;
    s.step_index = 3;
    s.fan_level = 4;
    s.cool_time = 40;
    s.heat_level = 0;
}

QPoint Middle(QWidget* w) { return w->rect().center(); }

struct Change {
    qint64 at_ms;
    int value;
};

// Holds `button` down for `hold_ms` and records when `value` changed, in
// milliseconds after the press.
std::vector<Change> HoldAndWatch(QWidget* button, int hold_ms, const std::function<int()>& value) {
    std::vector<Change> changes;
    // A user presses at any moment of the hold timer's period, not just as
    // it starts.
    QTest::qWait(150);
    int last = value();
    QElapsedTimer clock;
    QTest::mousePress(button, Qt::LeftButton, Qt::NoModifier, Middle(button));
    clock.start();
    RunUntil(
        [&] {
            const int now = value();
            if (now != last) changes.push_back({clock.elapsed(), now});
            last = now;
            return clock.elapsed() >= hold_ms;
        },
        hold_ms + 1000);
    QTest::mouseRelease(button, Qt::LeftButton, Qt::NoModifier, Middle(button));
    return changes;
}

// The first hold action 900 ms after the press, then one every 300 ms (a
// busy machine may run a timer late, never early).
void ExpectHoldTiming(const std::vector<Change>& changes) {
    for (std::size_t i = 0; i < changes.size(); ++i) {
        const qint64 expected = 900 + 300 * static_cast<qint64>(i);
        QVERIFY2(changes[i].at_ms >= expected - 60 && changes[i].at_ms <= expected + 300,
                 qPrintable(QStringLiteral("action %1 at %2 ms").arg(i).arg(changes[i].at_ms)));
    }
}

std::vector<int> Values(const std::vector<Change>& changes) {
    std::vector<int> out;
    for (const Change& c : changes) out.push_back(c.value);
    return out;
}

}  // namespace

class WindowInputTest : public QObject {
    Q_OBJECT
private slots:
    void holdingUpOrDownRepeats();
    void holdingPowerSwitchesReadyOff();
    void holdingRightInCoolingInsertsOneStep();
    void doubleClickIsTwoPressesAndTwoClicks();
    void releaseOutsideTheButtonGivesNoClick();
    void keysReachTheCommands();
};

void WindowInputTest::holdingUpOrDownRepeats() {
    struct Case {
        const char* name;
        int button;
        int right_clicks;  // 1 selects the fan, 2 the time
        std::vector<int> values;
    };
    const Case cases[] = {
        {"UP, time", ctl::kUp, 2, {69, 79, 89, 99}},  // and no further than 9.9 minutes
        {"DOWN, fan", ctl::kDown, 1, {4, 3, 2, 1}},   // and no lower than 1
    };
    for (const Case& c : cases) {
        Stand t;
        MakeReady(t);
        for (int i = 0; i < c.right_clicks; ++i) ClickMiddle(t.window->Button(ctl::kRight));
        ControllerState& s = t.s();
        const bool time = c.right_clicks == 2;
        const std::vector<Change> changes = HoldAndWatch(t.window->Button(c.button), 2250, [&] {
            return time ? s.roast_time : s.fan_level;
        });
        QCOMPARE(Values(changes), c.values);
        ExpectHoldTiming(changes);
        if (QTest::currentTestFailed()) return;
        // The hold has ended with the release: nothing repeats any more.
        const int after = time ? s.roast_time : s.fan_level;
        QTest::qWait(700);
        QCOMPARE(time ? s.roast_time : s.fan_level, after);
        // Ready keeps step 1 as the panel shows it.
        StepNode step{};
        QVERIFY(t.window->controller().console.ReadStep(1, step));
        QCOMPARE(time ? step.time : step.fan, after);
    }
}

void WindowInputTest::holdingPowerSwitchesReadyOff() {
    Stand t;
    MakeReady(t);
    DialogAnswerer dialogs;
    const std::vector<Change> changes =
        HoldAndWatch(t.window->Button(ctl::kPower), 1500, [&] { return t.s().machine_state; });
    QCOMPARE(Values(changes), std::vector<int>{kOff});
    ExpectHoldTiming(changes);
    // The click that ended the press only cleared the long-press mark.
    QCOMPARE(t.s().run_phase, kWaitStart);
    QCOMPARE(t.s().machine_state, kOff);
    QCOMPARE(dialogs.boxes, QStringList());
}

void WindowInputTest::holdingRightInCoolingInsertsOneStep() {
    Stand t;
    MakeCooling(t);
    DialogAnswerer dialogs;
    const QString question = QStringLiteral("Are you sure insert a new STEP ? You can also insert 18 STEP.");
    dialogs.Answer(question, QMessageBox::Yes);
    CStep_Data& working = t.window->controller().console.working;
    const std::vector<Change> changes =
        HoldAndWatch(t.window->Button(ctl::kRight), 2000, [&] { return static_cast<int>(working.count); });
    // Once per press, however long it is held.
    QCOMPARE(dialogs.boxes, QStringList{question});
    QCOMPARE(Values(changes), std::vector<int>{4});
    ExpectHoldTiming(changes);
    QCOMPARE(t.s().run_phase, kHeat);
    QCOMPARE(t.s().fan_level, 5);
    QCOMPARE(t.s().roast_time, 59);
    QCOMPARE(t.s().heat_level, 3);
}

void WindowInputTest::doubleClickIsTwoPressesAndTwoClicks() {
    Stand t;
    MakeReady(t);
    ClickMiddle(t.window->Button(ctl::kRight));  // the fan
    QWidget* up = t.window->Button(ctl::kUp);
    QTest::mousePress(up, Qt::LeftButton, Qt::NoModifier, Middle(up));
    QTest::mouseRelease(up, Qt::LeftButton, Qt::NoModifier, Middle(up));
    QMouseEvent second(QEvent::MouseButtonDblClick, QPointF(Middle(up)), up->mapToGlobal(QPointF(Middle(up))),
                       Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(up, &second);
    QCOMPARE(t.s().fan_level, 6);  // the first click
    // The second press is a press of its own: held, it repeats.
    QTest::qWait(1000);
    QCOMPARE(t.s().fan_level, 7);
    QTest::mouseRelease(up, Qt::LeftButton, Qt::NoModifier, Middle(up));
    QCOMPARE(t.s().fan_level, 8);  // the second click
}

void WindowInputTest::releaseOutsideTheButtonGivesNoClick() {
    Stand t;
    MakeReady(t);
    DialogAnswerer dialogs;
    for (int id : {ctl::kPower, ctl::kUp}) {
        ClickMiddle(t.window->Button(ctl::kRight));
        const int32_t fan = t.s().fan_level;
        SkinButton* button = t.window->Button(id);
        QTest::mousePress(button, Qt::LeftButton, Qt::NoModifier, Middle(button));
        QVERIFY(button->isDown());
        QTest::mouseRelease(button, Qt::LeftButton, Qt::NoModifier, QPoint(-40, -40));
        QVERIFY(!button->isDown());
        QCOMPARE(t.s().fan_level, fan);
        QCOMPARE(t.s().button_down, 0);
        // No click, and no hold action later either.
        QTest::qWait(1000);
        QCOMPARE(t.s().fan_level, fan);
        QCOMPARE(t.s().machine_state, kReady);
    }
    QCOMPARE(dialogs.boxes, QStringList());
}

void WindowInputTest::keysReachTheCommands() {
    Stand t;
    MakeReady(t);
    DialogAnswerer dialogs;
    QWindow* keys = t.window->windowHandle();
    ControllerState& s = t.s();
    struct Step {
        const char* name;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        uint8_t edit_field;
        int32_t fan;
        int32_t time;
    };
    const Step steps[] = {
        {"right selects the fan", Qt::Key_Right, Qt::NoModifier, kEditFan, 5, 59},
        {"up raises it", Qt::Key_Up, Qt::NoModifier, kEditFan, 6, 59},
        {"right selects the time", Qt::Key_Right, Qt::NoModifier, kEditTime, 6, 59},
        {"down lowers it", Qt::Key_Down, Qt::NoModifier, kEditTime, 6, 58},
        {"left goes back to the fan", Qt::Key_Left, Qt::NoModifier, kEditFan, 6, 58},
        {"enter commits and ends the selection", Qt::Key_Return, Qt::NoModifier, kEditNone, 6, 58},
    };
    for (const Step& step : steps) {
        QTest::keyClick(keys, step.key, step.modifiers);
        QVERIFY2(s.edit_field == step.edit_field, step.name);
        QVERIFY2(s.fan_level == step.fan && s.roast_time == step.time, step.name);
    }
    QCOMPARE(s.edit_countdown, 0);
    StepNode first{};
    QVERIFY(t.window->controller().console.ReadStep(1, first));
    QCOMPARE((QList<int>{first.fan, first.time}), (QList<int>{6, 58}));

    // Alt+S is POWER: without the roaster it asks for it.
    QTest::keyClick(keys, Qt::Key_S, Qt::AltModifier);
    QCOMPARE(dialogs.boxes, QStringList{"Please connect the Brazimo on the computer!"});
    // Tab is MODEE: the roaster's own setting.
    QTest::keyClick(keys, Qt::Key_Tab);
    QCOMPARE(t.window->NameBox()->text(), QStringLiteral("Last Machine Setting"));
    QVERIFY(t.window->isVisible());
}

QTEST_MAIN(WindowInputTest)
#include "window_input_test.moc"
