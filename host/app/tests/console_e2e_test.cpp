// The whole console: the real program's start-up (ConsoleProgram, the main
// window, libquarnel loaded from the build folder) against the simulated
// roaster as --simulate runs it (in the process, behind the serial
// control's interface) and, where the real serial control is under test,
// on a pseudo-terminal, in real time. The tests act only through
// the windows (clicks on the panel's and the PROGRAM window's buttons,
// answers to the boxes and the file dialog) and check what the panel and
// the editor show and what reaches the roaster.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMap>
#include <QSet>
#include <QTimeEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QElapsedTimer>
#include <QTest>
#include <algorithm>
#include <array>
#include <memory>
#include <vector>

#include "console_program.h"
#include "control_ids.h"
#include "kavolo_roaster_dlg.h"
#include "picture_control.h"
#include "picture_ids.h"
#include "simulated_roaster.h"
#include "simulated_roaster_host.h"
#include "skin_button.h"
#include "temperature_window.h"
#include "ui_driver.h"

namespace {

constexpr int kLinkTimeoutMs = 5000;
// One tenth of a minute is 6 s; a step ends within a few ticks of that.
constexpr int kStepTimeoutMs = 9000;

struct ProfileStep {
    int fan, time, heat;
};

// A ".coff" file: 20-byte records, the last one the cooling step.
QString WriteProfile(const QTemporaryDir& folder, const QString& name, const std::vector<ProfileStep>& steps) {
    QByteArray bytes;
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const ProfileStep& s = steps[i];
        bytes += i + 1 == steps.size() ? "QVR_COFF_COOL/" : "QVR_COFF_FLIE/";
        bytes += QByteArray::number(s.fan) + "/" + QByteArray::number(s.time).rightJustified(2, '0') + "/" +
                 QByteArray::number(s.heat);
    }
    const QString path = folder.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) return QString();
    return path;
}

// Two short roast steps and a short cooling, 0.1 minute each.
const std::vector<ProfileStep> kShortRoast = {{6, 1, 2}, {8, 1, 3}, {4, 1, 0}};

// The roaster's stored program before the console downloads anything.
RoasterModel::Options DistinctRoaster() {
    RoasterModel::Options o;
    o.program.steps = {{7, 42, 2}, {9, 18, 1}};
    o.program.cooling = {4, 25};
    o.manual = {3, 26, 1};
    return o;
}

// Fan, time, heat and status of every step of a list.
std::vector<std::array<int, 4>> Steps(const StepNode* head) {
    std::vector<std::array<int, 4>> out;
    for (const StepNode* p = head; p; p = p->next)
        out.push_back({p->fan, p->time, p->heat, static_cast<int>(p->status)});
    return out;
}

// Bytes `first` to `last` of a frame.
QList<int> Bytes(const Frame& frame, int first, int last) {
    QList<int> out;
    for (int i = first; i <= last; ++i) out << frame[i];
    return out;
}

bool IsStatusFrame(const ReceivedFrame& f) {
    return f.bytes[1] == 0xAA && (f.bytes[4] == kCmdStatus || f.bytes[4] == kCmdStart);
}

// The program, started in this process as main() starts it, with --simulate
// (the simulated roaster on a pseudo-terminal and the real serial control
// when `on_pseudo_terminal`).
struct RunningConsole {
    explicit RunningConsole(const RoasterModel::Options& roaster = DistinctRoaster(), bool silent = false,
                            const QString& library_folder = QString(), bool on_pseudo_terminal = false) {
        ConsoleSettings settings;
        settings.options.simulate = true;
        settings.simulate_on_pseudo_terminal = on_pseudo_terminal;
        settings.lock_folder = lock_folder.path();
        settings.library_folder = library_folder;
        settings.simulated_roaster = roaster;
        settings.roasts_folder = roasts.path();
        program = std::make_unique<ConsoleProgram>(settings);
        opened = program->Open();
        // No event has been handled yet, so no hello has been answered.
        if (opened) sim().model().faults.silent = silent;
    }
    ~RunningConsole() {
        program.reset();
        // Boxes and dialogs left behind by a failed check go with the window.
        QApplication::processEvents();
    }

    CKavoloRoasterDlg& w() { return *program->window(); }
    SimulatedRoaster& sim() { return *program->simulated_roaster(); }
    const RoasterModel& roaster() { return sim().model(); }
    ControllerState& state() { return w().controller().state(); }
    int Picture(int control) { return w().Picture(control)->picture_id(); }
    void Click(int control) { ClickMiddle(w().Button(control)); }

    std::vector<ReceivedFrame> StatusFrames() {
        std::vector<ReceivedFrame> out;
        for (const ReceivedFrame& f : roaster().received())
            if (IsStatusFrame(f)) out.push_back(f);
        return out;
    }
    // Waits for the next status frame to arrive, so that an action taken
    // right after it comes before the following one.
    bool NextStatusFrame() {
        const std::size_t before = StatusFrames().size();
        return QTest::qWaitFor([&] { return StatusFrames().size() > before; }, 2000);
    }
    bool LinkUp() {
        return QTest::qWaitFor([&] { return w().NameBox()->text() == QStringLiteral("Last USB Setting"); },
                               kLinkTimeoutMs) &&
               NextStatusFrame();
    }
    // SELECT with the file dialog answered by `path`.
    void Select(const QString& path) {
        dialogs.ChooseFile(path);
        Click(ctl::kSelect);
    }

    QTemporaryDir lock_folder;
    QTemporaryDir roasts;
    DialogAnswerer dialogs;
    std::unique_ptr<ConsoleProgram> program;
    bool opened = false;
};

}  // namespace

class ConsoleEndToEnd : public QObject {
    Q_OBJECT
private slots:
    void linkUpShowsTheRoastersProgram();
    void powerInReadyStartsTheRoaster_data();
    void powerInReadyStartsTheRoaster();
    void selectedProfileReachesTheRoaster();
    void powerWithoutTheLinkAsksForTheRoaster();
    void downloadWithoutTheLinkIsRefused();
    void profileRunsToTheEndWithTheEditorFollowing();
    void stepAppendedDuringCoolingResumesHeating();
    void editsInTheEditorAreDownloadedAndRun();
    void delayedStartBeginsAtThePickedTime();
    void longPowerPressStopsTheRun();
    void cancelEndsTheProgramUnlessItRoasts();
    void modeWithTheEditorOpenShowsTheMachineSetting();
    void programButtonWithoutTheLibrary();
    void programOnAPortAndASecondInstance();
    void exitStatusSaysWhetherTheConsoleFailed();
};

void ConsoleEndToEnd::linkUpShowsTheRoastersProgram() {
    RunningConsole c;
    QVERIFY(c.opened);
    QVERIFY(c.LinkUp());
    QTRY_COMPARE(c.Picture(ctl::kLinkLamp), pic::kLampGreen);
    QTRY_COMPARE(c.w().Temperature()->CurrentText(), QStringLiteral("70"));
    // Ready with step 1 of the uploaded program: fan 7, 4.2 minutes, MID.
    QCOMPARE(c.Picture(ctl::kFanDigit), pic::Digit(7));
    QCOMPARE(c.Picture(ctl::kTensDigit), pic::DigitWithPoint(4));
    QCOMPARE(c.Picture(ctl::kUnitsDigit), pic::Digit(2));
    QCOMPARE(c.Picture(ctl::kHeatMid), pic::kLampOrange);
    QCOMPARE(c.Picture(ctl::kHeatHigh), pic::kLampOff);
    QCOMPARE(c.roaster().hellos(), 1);
    const ConsoleView& seen = c.roaster().console();
    QCOMPARE(seen.state_bits, uint8_t{0x02});
    QCOMPARE((QList<int>{seen.fan, seen.time, seen.heat}), (QList<int>{7, 42, 2}));
    QCOMPARE(c.dialogs.boxes, QStringList());
}

void ConsoleEndToEnd::powerInReadyStartsTheRoaster_data() {
    QTest::addColumn<bool>("on_pseudo_terminal");
    QTest::newRow("in the process") << false;
    QTest::newRow("on a pseudo-terminal") << true;
}

void ConsoleEndToEnd::powerInReadyStartsTheRoaster() {
    QFETCH(bool, on_pseudo_terminal);
    RunningConsole c(DistinctRoaster(), false, QString(), on_pseudo_terminal);
    QVERIFY(c.LinkUp());
    const std::size_t before = c.StatusFrames().size();
    c.Click(ctl::kPower);
    QTRY_VERIFY_WITH_TIMEOUT(c.StatusFrames().size() >= before + 2, 2000);
    const std::vector<ReceivedFrame> frames = c.StatusFrames();
    const Frame start = {0xAA, 0xAA, 0x61, 0x74, 0x13, 0x04, 0x02, 7, 42, 2, 0, 0, 0xAA, 0xFA};
    QCOMPARE(Bytes(frames[before].bytes, 0, 13), Bytes(start, 0, 13));
    QCOMPARE(frames[before + 1].bytes[4], kCmdStatus);
    QCOMPARE(frames[before + 1].bytes[5], uint8_t{0x04});
    QCOMPARE(frames[before + 1].bytes[6], uint8_t{0x02});
    // The beans warm up, and the panel shows it.
    QTRY_VERIFY_WITH_TIMEOUT(c.w().Temperature()->CurrentText().toInt() > 72, 10000);
    QCOMPARE(c.dialogs.boxes, QStringList());
}

void ConsoleEndToEnd::selectedProfileReachesTheRoaster() {
    QTemporaryDir files;
    const QString path = WriteProfile(files, "Light Roast.coff", {{6, 33, 1}, {8, 20, 3}, {3, 40, 0}});
    RunningConsole c;
    QVERIFY(c.LinkUp());
    c.Select(path);
    QCOMPARE(c.dialogs.file_filters, QStringList{"Coffee Setting (*.coff)"});
    QCOMPARE(c.w().NameBox()->text(), QStringLiteral("Light Roast"));
    QVERIFY(c.NextStatusFrame());
    const Frame frame = c.StatusFrames().back().bytes;
    QCOMPARE(Bytes(frame, 5, 9), (QList<int>{0x02, 0x01, 6, 33, 1}));
    QCOMPARE(c.Picture(ctl::kFanDigit), pic::Digit(6));
    QCOMPARE(c.Picture(ctl::kHeatLow), pic::kLampOrange);
}

void ConsoleEndToEnd::powerWithoutTheLinkAsksForTheRoaster() {
    QTemporaryDir files;
    const QString path = WriteProfile(files, "Dark.coff", kShortRoast);
    RunningConsole c(DistinctRoaster(), /*silent=*/true);
    QVERIFY(QTest::qWaitFor([&] { return c.roaster().hellos() >= 1; }, kLinkTimeoutMs));
    c.Select(path);
    QVERIFY2(c.w().NameBox()->text() == QStringLiteral("Dark"), qPrintable(c.dialogs.boxes.join(" | ")));
    c.Click(ctl::kPower);
    QCOMPARE(c.dialogs.boxes, QStringList{"Please connect the Brazimo on the computer!"});
    QCOMPARE(c.state().machine_state, kReady);
    QCOMPARE(c.Picture(ctl::kLinkLamp), pic::kLampOff);
    QTest::qWait(700);
    for (const ReceivedFrame& f : c.roaster().received()) QVERIFY(f.bytes[1] != 0xAA);  // hellos only
}

void ConsoleEndToEnd::downloadWithoutTheLinkIsRefused() {
    RunningConsole c(DistinctRoaster(), /*silent=*/true);
    QVERIFY(QTest::qWaitFor([&] { return c.roaster().hellos() >= 1; }, kLinkTimeoutMs));
    c.Click(ctl::kProgram);
    QVERIFY(ShownProgramWindow());
    QCOMPARE(ProgramRowStatuses(), (QStringList{"Wait", "COOL"}));
    const auto before = Steps(c.w().controller().console.working.head);
    c.dialogs.Answer("Are you sure want to download this step setting?", QMessageBox::Yes);
    ClickMiddle(ProgramButton("Download"));
    QCOMPARE(c.dialogs.boxes, (QStringList{"Are you sure want to download this step setting?",
                                           "Can't download! The Brazimo is not connected to the computer!"}));
    QVERIFY(Steps(c.w().controller().console.working.head) == before);
    QCOMPARE(c.state().download_active, 0);
    QTest::qWait(300);
    QCOMPARE(c.roaster().downloads(), 0);
}

void ConsoleEndToEnd::profileRunsToTheEndWithTheEditorFollowing() {
    QTemporaryDir files;
    const QString path = WriteProfile(files, "Short.coff", kShortRoast);
    RunningConsole c;
    QList<int> sent;  // every reading the roaster sends
    QList<QList<int>> echoed;  // and the state, phase, fan, time and heat it answers
    c.sim().on_sent = [&](const std::vector<uint8_t>& b) {
        if (b.size() != kFrameSize || b[1] != 0xAA || b[4] != kCmdStatus) return;
        sent << b[10] * 256 + b[11];
        echoed << QList<int>{b[5], b[6], b[7], b[8], b[9]};
    };
    QVERIFY(c.LinkUp());
    c.Select(path);
    c.Click(ctl::kProgram);
    QVERIFY(ShownProgramWindow());
    QCOMPARE(ProgramRowStatuses(), (QStringList{"Wait", "Wait", "COOL"}));

    c.Click(ctl::kPower);
    QVERIFY(ProgramRowStatuses().value(0).startsWith("RUN"));
    QTRY_VERIFY_WITH_TIMEOUT(c.roaster().console().Heating(), 2000);
    QTRY_VERIFY_WITH_TIMEOUT(ProgramRowStatuses().value(1).startsWith("RUN"), kStepTimeoutMs);
    QCOMPARE(ProgramRowStatuses().value(0), QStringLiteral("Completed"));
    QTRY_VERIFY_WITH_TIMEOUT(ProgramRowStatuses().value(2).startsWith("COOL "), kStepTimeoutMs);
    QTRY_VERIFY_WITH_TIMEOUT(c.roaster().console().Cooling(), 2000);
    QTRY_COMPARE_WITH_TIMEOUT(ProgramRowStatuses(), (QStringList{"Completed", "Completed", "STEP  END"}),
                              kStepTimeoutMs);
    // Finished: the panel shows its bars.
    QTRY_COMPARE(c.Picture(ctl::kFanDigit), pic::kLowBar);

    // The roast's log is in the roasts folder, whole, with the readings the
    // roaster sent while it ran, in order.
    const QStringList logs = QDir(c.roasts.path()).entryList(QDir::Files);
    QCOMPARE(logs.size(), 1);
    QVERIFY2(logs[0].endsWith(" Short.csv"), qPrintable(logs[0]));
    QFile log(c.roasts.filePath(logs[0]));
    QVERIFY(log.open(QIODevice::ReadOnly));
    QList<int> logged;
    QList<QList<QByteArray>> fields;
    bool rows = false;
    for (const QByteArray& line : log.readAll().split('\n')) {
        if (rows && !line.isEmpty()) {
            fields << line.split(',');
            logged << fields.back().value(1).toInt();
        }
        rows = rows || line.startsWith("seconds,bean_f,");
    }
    QVERIFY2(logged.size() >= 30, qPrintable(QString("0.3 minutes at two readings a second: %1").arg(logged.size())));
    QVERIFY(logged.size() <= sent.size());
    const auto first = std::search(sent.begin(), sent.end(), logged.begin(), logged.end());
    QVERIFY(first != sent.end());
    // Each row holds what the frame its reading answered told the roaster,
    // or, where the tick after that frame changed them, what the next one
    // told it; its step is the profile's step with that fan and heat.
    const QMap<QByteArray, int> state_bits{{"run", 0x04}};
    const QMap<QByteArray, int> phase_bits{{"heat", 0x02}, {"cool", 0x04}};
    QSet<int> steps;
    for (int i = 0, at = static_cast<int>(first - sent.begin()); i < fields.size(); ++i, ++at) {
        const QList<QByteArray>& f = fields[i];
        const QList<int> row{state_bits.value(f.value(4)), phase_bits.value(f.value(5)), f.value(7).toInt(),
                             qRound(f.value(9).toDouble() * 10), f.value(8).toInt()};
        QVERIFY2(row == echoed[at] || (at + 1 < echoed.size() && row == echoed[at + 1]), f.join(',').constData());
        const int step = f.value(6).toInt();
        QVERIFY2(step >= 1 && step <= 3, f.join(',').constData());
        const ProfileStep& planned = kShortRoast[step - 1];
        QVERIFY2(row[2] == planned.fan && row[4] == planned.heat && (row[1] == 0x04) == (step == 3),
                 f.join(',').constData());
        steps << step;
    }
    QCOMPARE(steps, (QSet<int>{1, 2, 3}));

    // The program that ran goes to the roaster, intact.
    QTRY_COMPARE_WITH_TIMEOUT(c.roaster().downloads(), 1, 2000);
    RoasterProgram expected;
    expected.steps = {{6, 1, 2}, {8, 1, 3}};
    expected.cooling = {4, 1};
    QVERIFY(c.roaster().program() == expected);
    const std::vector<std::array<int, 4>> ran = {
        {6, 1, 2, StepCompleted}, {8, 1, 3, StepCompleted}, {4, 1, 0, StepEnd}};
    QVERIFY(Steps(c.w().controller().console.working.head) == ran);
    // Status frames go on after the download, telling the roaster it finished.
    QVERIFY(c.NextStatusFrame());
    QCOMPARE(c.StatusFrames().back().bytes[5], uint8_t{0x08});
    QCOMPARE(c.dialogs.boxes, QStringList());

    // SAVE writes the roast as it ran back into its file.
    c.dialogs.Answer("Are you sure want to save this coffee beans set?", QMessageBox::Yes);
    c.Click(ctl::kSave);
    QCOMPARE(c.dialogs.boxes, QStringList{"Are you sure want to save this coffee beans set?"});
    QFile saved(path);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(saved.readAll(), QByteArray("QVR_COFF_FLIE/6/01/2QVR_COFF_FLIE/8/01/3QVR_COFF_COOL/4/01/0"));
}

void ConsoleEndToEnd::stepAppendedDuringCoolingResumesHeating() {
    QTemporaryDir files;
    // A cooling of 0.5 minutes leaves time to append while it runs, even when
    // a busy machine delays the ticks.
    const QString path = WriteProfile(files, "Short.coff", {{6, 1, 2}, {8, 1, 3}, {4, 5, 0}});
    RunningConsole c;
    QVERIFY(c.LinkUp());
    c.Select(path);
    QCOMPARE(c.w().NameBox()->text(), QStringLiteral("Short"));
    c.Click(ctl::kPower);
    // Opened during the run, the editor shows the statuses as they are.
    c.Click(ctl::kProgram);
    QVERIFY(ProgramRowStatuses().value(0).startsWith("RUN"));
    QTRY_VERIFY2_WITH_TIMEOUT(ProgramRowStatuses().value(2).startsWith("COOL "),
                              qPrintable(ProgramRowStatuses().join(" | ") +
                                         QStringLiteral(" state %1 phase %2 step %3 link_down %4")
                                             .arg(c.w().controller().state().machine_state)
                                             .arg(c.w().controller().state().run_phase)
                                             .arg(c.w().controller().state().step_index)
                                             .arg(c.w().controller().state().link_down)),
                              3 * kStepTimeoutMs);

    ClickMiddle(ProgramButton("Append"));
    QCOMPARE(c.dialogs.boxes, QStringList());
    QStringList rows = ProgramRowStatuses();
    QCOMPARE(rows.size(), 4);
    QCOMPARE(rows.mid(0, 2), (QStringList{"Completed", "Completed"}));
    QVERIFY(rows[2].startsWith("RUN"));
    QCOMPARE(rows[3], QStringLiteral("COOL"));

    // Heating again at fan 5, 5.9 minutes, high heat, the fan selected for
    // editing (it blinks).
    QTRY_COMPARE(c.Picture(ctl::kUnitsDigit), pic::Digit(9));
    QTRY_COMPARE(c.Picture(ctl::kFanDigit), pic::Digit(5));
    QVERIFY(c.Picture(ctl::kTensDigit) == pic::Digit(5) || c.Picture(ctl::kTensDigit) == pic::DigitWithPoint(5));
    QCOMPARE(c.Picture(ctl::kHeatHigh), pic::kLampOrange);
    QCOMPARE(c.Picture(ctl::kHeatLow), pic::kLampOff);
    QCOMPARE(c.Picture(ctl::kHeatMid), pic::kLampOff);
    QVERIFY(c.NextStatusFrame());
    const Frame frame = c.StatusFrames().back().bytes;
    QCOMPARE(Bytes(frame, 5, 9), (QList<int>{0x04, 0x02, 5, 59, 3}));
    QCOMPARE(c.dialogs.boxes, QStringList());
}

void ConsoleEndToEnd::editsInTheEditorAreDownloadedAndRun() {
    QTemporaryDir files;
    const QString path = WriteProfile(files, "Medium.coff", {{6, 33, 1}, {8, 20, 3}, {3, 40, 0}});
    RunningConsole c;
    QVERIFY(c.LinkUp());
    c.Click(ctl::kProgram);
    c.Select(path);
    // The open editor follows the profile chosen.
    QCOMPARE(ProgramRowStatuses(), (QStringList{"Wait", "Wait", "COOL"}));
    TypeInto(ProgramRowField(0, "fan"), "9");
    TypeInto(ProgramRowField(1, "time"), "2.5");

    c.dialogs.Answer("Are you sure want to download this step setting?", QMessageBox::Yes);
    ClickMiddle(ProgramButton("Download"));
    QTRY_COMPARE_WITH_TIMEOUT(c.roaster().downloads(), 1, 2000);
    RoasterProgram expected;
    expected.steps = {{9, 33, 1}, {8, 25, 3}};
    expected.cooling = {3, 40};
    QVERIFY(c.roaster().program() == expected);
    // Ready shows step 1 as it is now, and so do the status frames.
    QVERIFY(c.NextStatusFrame());
    QCOMPARE(Bytes(c.StatusFrames().back().bytes, 5, 9), (QList<int>{0x02, 0x01, 9, 33, 1}));
    QCOMPARE(c.Picture(ctl::kFanDigit), pic::Digit(9));

    // The run takes the edited steps.
    c.Click(ctl::kPower);
    QVERIFY(c.NextStatusFrame());
    QCOMPARE(Bytes(c.StatusFrames().back().bytes, 4, 9), (QList<int>{0x13, 0x04, 0x02, 9, 33, 1}));
    QVERIFY(ProgramRowStatuses().value(0).startsWith("RUN"));
    QCOMPARE(ProgramRowField(0, "fan")->text(), QStringLiteral("9"));
    QCOMPARE(ProgramRowField(1, "time")->text(), QStringLiteral("2.5"));
    QCOMPARE(c.dialogs.boxes, QStringList{"Are you sure want to download this step setting?"});
}

void ConsoleEndToEnd::delayedStartBeginsAtThePickedTime() {
    RunningConsole c;
    QVERIFY(c.LinkUp());
    ClickMiddle(c.w().Control(ctl::kClockIcon));
    QTimeEdit* picker = c.w().ClockPicker();
    QVERIFY(picker->isVisible());
    QVERIFY(!c.w().Control(ctl::kClockIcon)->isVisible());
    // The picker and the clock compare whole seconds.
    const QTime now = QTime::currentTime().addSecs(4);
    const QTime start(now.hour(), now.minute(), now.second());
    QElapsedTimer waited;
    waited.start();
    const int wait_ms = ((QTime::currentTime().msecsTo(start) + 86400000) % 86400000);
    picker->setTime(start);
    c.Click(ctl::kPower);
    // Waiting: the name box counts down, the roaster is told it runs but
    // does not heat yet.
    QTRY_VERIFY(c.w().NameBox()->text().contains(QStringLiteral("sec left to work")));
    QVERIFY(c.NextStatusFrame());
    QCOMPARE(Bytes(c.StatusFrames().back().bytes, 5, 6), (QList<int>{0x04, 0x01}));
    QTRY_VERIFY_WITH_TIMEOUT(c.roaster().console().Heating(), 7000);
    QVERIFY(waited.elapsed() >= wait_ms - 600);  // the start second, seen by a 500 ms tick
    QCOMPARE(c.w().NameBox()->text(), QStringLiteral("Last USB Setting"));
    QVERIFY(!picker->isEnabled());
    QCOMPARE(c.dialogs.boxes, QStringList());
}

void ConsoleEndToEnd::longPowerPressStopsTheRun() {
    RunningConsole c;
    QVERIFY(c.LinkUp());
    c.Click(ctl::kPower);
    QTRY_VERIFY_WITH_TIMEOUT(c.roaster().console().Heating(), 2000);
    c.Click(ctl::kProgram);
    QWidget* power = c.w().Button(ctl::kPower);
    QTest::mousePress(power, Qt::LeftButton, Qt::NoModifier, power->rect().center());
    QTest::qWait(1100);
    QTest::mouseRelease(power, Qt::LeftButton, Qt::NoModifier, power->rect().center());
    // Finished, and the click after the release does not start it again.
    QVERIFY(c.NextStatusFrame());
    QVERIFY(c.NextStatusFrame());
    QCOMPARE(Bytes(c.StatusFrames().back().bytes, 5, 6), (QList<int>{0x08, 0x00}));
    QCOMPARE(c.Picture(ctl::kFanDigit), pic::kLowBar);
    QCOMPARE(ProgramRowStatuses(), (QStringList{"Wait", "Wait", "COOL"}));
    QCOMPARE(c.roaster().downloads(), 0);  // stopped while heating: nothing to send
    QCOMPARE(c.dialogs.boxes, QStringList());
}

void ConsoleEndToEnd::cancelEndsTheProgramUnlessItRoasts() {
    RunningConsole c;
    QVERIFY(c.LinkUp());
    c.Click(ctl::kPower);
    c.Click(ctl::kCancel);
    QCOMPARE(c.dialogs.boxes,
             QStringList{"Please long press the power button to stop the Brazimo operation before exit Software!"});
    QVERIFY(!c.w().Ended());

    QWidget* power = c.w().Button(ctl::kPower);
    QTest::mousePress(power, Qt::LeftButton, Qt::NoModifier, power->rect().center());
    QTest::qWait(1100);
    QTest::mouseRelease(power, Qt::LeftButton, Qt::NoModifier, power->rect().center());
    c.Click(ctl::kCancel);
    QVERIFY(c.w().Ended());
    QVERIFY(!c.w().isVisible());
    // The roaster hears nothing more.
    const std::size_t frames = c.roaster().received().size();
    QTest::qWait(1200);
    QCOMPARE(c.roaster().received().size(), frames);
}

void ConsoleEndToEnd::modeWithTheEditorOpenShowsTheMachineSetting() {
    RunningConsole c;
    QVERIFY(c.LinkUp());
    c.Click(ctl::kProgram);
    QVERIFY(ShownProgramWindow());
    c.Click(ctl::kMode);
    QCOMPARE(c.w().NameBox()->text(), QStringLiteral("Last Machine Setting"));
    QVERIFY(!ShownProgramWindow());
    // The editor reports its closing a moment later; the roaster's manual
    // setting stays on the panel and goes to the roaster.
    QTest::qWait(2 * 400 + 100);
    QVERIFY(c.NextStatusFrame());
    const Frame frame = c.StatusFrames().back().bytes;
    QCOMPARE(Bytes(frame, 7, 9), (QList<int>{3, 26, 1}));
    QCOMPARE(c.Picture(ctl::kFanDigit), pic::Digit(3));
    QCOMPARE(c.Picture(ctl::kHeatLow), pic::kLampOrange);
    const std::vector<std::array<int, 4>> machine = {{3, 26, 1, StepWaiting}, {5, 30, 0, CoolWaiting}};
    QVERIFY(Steps(c.w().controller().console.working.head) == machine);

    // Back to the uploaded program, which was parked meanwhile.
    c.Click(ctl::kMode);
    QCOMPARE(c.w().NameBox()->text(), QStringLiteral("Last USB Setting"));
    QCOMPARE(c.Picture(ctl::kFanDigit), pic::Digit(7));
    QCOMPARE(c.dialogs.boxes, QStringList());
}

void ConsoleEndToEnd::programButtonWithoutTheLibrary() {
    QTemporaryDir empty_folder;
    RunningConsole c(DistinctRoaster(), false, empty_folder.path());
    QVERIFY(c.opened);
    QVERIFY(c.LinkUp());
    c.Click(ctl::kProgram);
    QCOMPARE(c.dialogs.boxes, QStringList{"The step editor (quarnel) could not be loaded."});
    QVERIFY(!ShownProgramWindow());
    // The rest of the console works on: a run starts.
    c.Click(ctl::kPower);
    QTRY_VERIFY_WITH_TIMEOUT(c.roaster().console().Heating(), 2000);
}

void ConsoleEndToEnd::programOnAPortAndASecondInstance() {
    SimulatedRoasterHost roaster(DistinctRoaster());
    std::string error;
    QVERIFY2(roaster.Start(&error), error.c_str());
    QTemporaryDir runtime;  // the single-instance lock lies here
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("XDG_RUNTIME_DIR", runtime.path());
    const QString program = QDir(QCoreApplication::applicationDirPath()).filePath("kavolo-roaster");

    QProcess first;
    first.setProcessEnvironment(env);
    first.start(program, {"--port", QString::fromStdString(roaster.DevicePath())});
    QVERIFY(first.waitForStarted());
    auto status_frames = [&] { return roaster.model().ReceivedWith(0xAA, kCmdStatus).size(); };
    QTRY_VERIFY_WITH_TIMEOUT(roaster.model().hellos() == 1, kLinkTimeoutMs);
    QTRY_VERIFY_WITH_TIMEOUT(status_frames() >= 2, 3000);
    QCOMPARE(roaster.model().console().fan, uint8_t{7});

    QProcess second;
    second.setProcessEnvironment(env);
    second.start(program, {"--port", QString::fromStdString(roaster.DevicePath())});
    QVERIFY(second.waitForFinished(5000));
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 1);  // a refused start is a failed one
    QVERIFY2(second.readAllStandardError().contains("Only one instance can run!"), "refusal on standard error");
    QCOMPARE(first.state(), QProcess::Running);
    QCOMPARE(roaster.model().hellos(), 1);  // the second one never touched the port

    first.kill();
    QVERIFY(first.waitForFinished());
}

void ConsoleEndToEnd::exitStatusSaysWhetherTheConsoleFailed() {
    QTemporaryDir folder;
    QFile not_a_port(folder.filePath("not-a-port"));
    QVERIFY(not_a_port.open(QIODevice::WriteOnly));
    not_a_port.close();
    RoasterModel::Options long_upload = DistinctRoaster();
    long_upload.program.steps.assign(22, {5, 10, 3});
    const struct {
        const char* name;
        QString port;  // empty: --simulate
        RoasterModel::Options roaster;
        QString box;  // empty: none, and the user presses CANCEL
        int status;
    } cases[] = {
        {"a port that is no serial port", not_a_port.fileName(), {}, "Open Communication Port Failure!", 1},
        {"an upload of 22 steps", QString(), long_upload, "The Port communications error!", 1},
        {"CANCEL", QString(), DistinctRoaster(), QString(), 0},
    };
    for (const auto& c : cases) {
        ConsoleSettings settings;
        settings.options.port = c.port.toStdString();
        settings.options.simulate = c.port.isEmpty();
        settings.simulated_roaster = c.roaster;
        settings.lock_folder = folder.path();
        settings.roasts_folder = folder.filePath("roasts");
        ConsoleProgram program(settings);
        DialogAnswerer dialogs;
        QTimer cancel;
        cancel.setSingleShot(true);
        connect(&cancel, &QTimer::timeout, [&program] { ClickMiddle(program.window()->Button(ctl::kCancel)); });
        if (c.box.isEmpty()) cancel.start(1000);
        const int status = program.Run();
        QVERIFY2(status == c.status, qPrintable(QStringLiteral("%1: exit status %2").arg(c.name).arg(status)));
        QCOMPARE(dialogs.boxes, c.box.isEmpty() ? QStringList() : QStringList{c.box});
    }
}

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ConsoleEndToEnd test;
    return QTest::qExec(&test, argc, argv);
}

#include "console_e2e_test.moc"
