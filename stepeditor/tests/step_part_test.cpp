// Step rows: what a row shows and enables for each status, the progress
// animation, the spinners, the HEAT list and the check box, driven through
// the row's real controls.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QToolButton>
#include <QWheelEvent>
#include <QtTest>
#include <memory>

#include "step_part.h"
#include "step_values.h"
#include "up_down_control.h"

namespace {
const NumEditLimits kHeatingTime{9.9f, 0.0f, 3.0f, 1};
const NumEditLimits kCoolingTime{9.0f, 0.0f, 3.0f, 1};
const NumEditLimits kFan{9.0f, 0.0f, 1.0f, 0};

bool IsRed(const QLabel* label) { return label->palette().color(QPalette::WindowText) == QColor(255, 0, 0); }
}  // namespace

class StepPartTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void statusDecidesTextsAndEnabledControls_data();
    void statusDecidesTextsAndEnabledControls();
    void progressTextsAnimateTheirDotsIndependently();
    void progressTextShowsTheElapsedMinutes();
    void spinners_data();
    void spinners();
    void timeUpArrowReportsMinusOne();
    void spinnersLeaveTheCommittedValueAlone();
    void heatWords_data();
    void heatWords();
    void choosingAHeatWordSetsTheHeat_data();
    void choosingAHeatWordSetsTheHeat();
    void wheelChangesTheHeatOnlyWithTheFocus();
    void checkBoxTogglesTheSelection();
    void loadedTimeIsStoredUnchanged();

private:
    // A row created as the PROGRAM window creates it: a cooling row when
    // `cooling`, a heating row otherwise.
    STEP_PART& MakeRow(bool cooling = false) {
        row_ = std::make_unique<STEP_PART>();
        row_->ConfigureFields(cooling ? kCoolingTime : kHeatingTime, kFan);
        row_->Create(parent_.get(), 1.0f, dots_);
        return *row_;
    }

    std::unique_ptr<QWidget> parent_;
    std::unique_ptr<STEP_PART> row_;
    DotCounters dots_;
};

void StepPartTest::init() {
    parent_ = std::make_unique<QWidget>();
    parent_->resize(460, 60);
    parent_->show();
    dots_ = DotCounters{};
}

void StepPartTest::cleanup() {
    row_.reset();
    parent_.reset();
}

void StepPartTest::statusDecidesTextsAndEnabledControls_data() {
    QTest::addColumn<uint>("status");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("number");
    QTest::addColumn<bool>("check");
    QTest::addColumn<bool>("heat");
    QTest::addColumn<bool>("fanAndTime");
    QTest::addColumn<bool>("red");

    QTest::newRow("waiting") << 0u << "     Wait          " << "3." << true << true << true << false;
    QTest::newRow("running") << 1u << "RUN 0.0min    " << "3." << false << false << false << true;
    QTest::newRow("completed") << 2u << "Completed       " << "3." << false << false << false << false;
    QTest::newRow("invalid heating 3") << 3u << "  ERR           " << "3." << false << false << false << false;
    QTest::newRow("invalid heating 5") << 5u << "  ERR           " << "3." << false << false << false << false;
    QTest::newRow("invalid heating 9") << 9u << "  ERR           " << "3." << false << false << false << false;
    QTest::newRow("cooling waiting") << 10u << "     COOL           " << "end" << false << false << true << false;
    QTest::newRow("cooling running") << 11u << "COOL 0.0min   " << "end" << false << false << false << true;
    QTest::newRow("program end") << 12u << "STEP  END         " << "end" << false << false << false << false;
    QTest::newRow("invalid cooling") << 13u << "  ERR              " << "end" << false << false << false << false;
}

void StepPartTest::statusDecidesTextsAndEnabledControls() {
    QFETCH(uint, status);
    QFETCH(QString, text);
    QFETCH(QString, number);
    QFETCH(bool, check);
    QFETCH(bool, heat);
    QFETCH(bool, fanAndTime);
    QFETCH(bool, red);

    STEP_PART& row = MakeRow();
    row.SetStep(3, 5, 59, 2, status);
    QCOMPARE(row.m_statusLabel->text(), text);
    QCOMPARE(row.m_numberLabel->text(), number);
    QCOMPARE(row.m_check->isEnabled(), check);
    QCOMPARE(row.m_heatList->isEnabled(), heat);
    QCOMPARE(row.m_fanEdit->isEnabled(), fanAndTime);
    QCOMPARE(row.m_fanSpin->isEnabled(), fanAndTime);
    QCOMPARE(row.m_timeEdit->isEnabled(), fanAndTime);
    QCOMPARE(row.m_timeSpin->isEnabled(), fanAndTime);
    QCOMPARE(IsRed(row.m_statusLabel), red);
    QCOMPARE(row.m_highlight, red ? 1 : 0);
}

void StepPartTest::progressTextsAnimateTheirDotsIndependently() {
    STEP_PART& run = MakeRow();
    STEP_PART cool;
    cool.ConfigureFields(kCoolingTime, kFan);
    cool.Create(parent_.get(), 1.0f, dots_);

    const QStringList runTexts = {"RUN 0.0min    ", "RUN 0.0min.   ", "RUN 0.0min..  ", "RUN 0.0min... ",
                                  "RUN 0.0min    "};
    const QStringList coolTexts = {"COOL 0.0min   ", "COOL 0.0min.  ", "COOL 0.0min.. ", "COOL 0.0min...",
                                   "COOL 0.0min   "};
    // Two RUN loads first: the COOL cycle still starts without a dot.
    run.SetStep(1, 5, 59, 3, StepRunning);
    QCOMPARE(run.m_statusText, runTexts[0]);
    run.SetStep(1, 5, 59, 3, StepRunning);
    QCOMPARE(run.m_statusText, runTexts[1]);
    for (int i = 0; i < coolTexts.size(); ++i) {
        cool.SetStep(2, 5, 30, 0, CoolRunning);
        QCOMPARE(cool.m_statusText, coolTexts[i]);
    }
    for (int i = 2; i < runTexts.size(); ++i) {
        run.SetStep(1, 5, 59, 3, StepRunning);
        QCOMPARE(run.m_statusText, runTexts[i]);
    }
}

void StepPartTest::progressTextShowsTheElapsedMinutes() {
    STEP_PART& row = MakeRow();
    row.m_elapsed = 2.5f;
    row.SetStep(1, 5, 59, 3, StepRunning);
    QCOMPARE(row.m_statusLabel->text(), QStringLiteral("RUN 2.5min    "));
}

void StepPartTest::spinners_data() {
    QTest::addColumn<bool>("time");  // else FAN
    QTest::addColumn<bool>("cooling");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("upArrow");
    QTest::addColumn<QStringList>("afterEachPress");

    QTest::newRow("fan up at 9 stays") << false << false << "9" << true << QStringList{"9"};
    QTest::newRow("fan up") << false << false << "4" << true << QStringList{"5", "6"};
    QTest::newRow("fan down at 1 stays") << false << false << "1" << false << QStringList{"1"};
    QTest::newRow("empty fan up shows 1") << false << false << "" << true << QStringList{"1"};
    QTest::newRow("time up at 9.9 stays") << true << false << "9.9" << true << QStringList{"9.9"};
    QTest::newRow("cooling time up to its bound") << true << true << "8.9" << true << QStringList{"9.0", "9.0"};
    QTest::newRow("time up 0.7") << true << false << "0.7" << true << QStringList{"0.8", "0.9", "1.0"};
    QTest::newRow("time down 0.7") << true << false << "0.7" << false << QStringList{"0.6", "0.5"};
    QTest::newRow("time down at 0.1 stays") << true << false << "0.1" << false << QStringList{"0.1"};
    QTest::newRow("time down at 0.0 gives 0.1") << true << false << "0.0" << false << QStringList{"0.1"};
}

void StepPartTest::spinners() {
    QFETCH(bool, time);
    QFETCH(bool, cooling);
    QFETCH(QString, shown);
    QFETCH(bool, upArrow);
    QFETCH(QStringList, afterEachPress);

    STEP_PART& row = MakeRow(cooling);
    row.SetStep(1, 5, 59, 3, cooling ? CoolWaiting : StepWaiting);
    CNumEdit* field = time ? row.m_timeEdit : row.m_fanEdit;
    UpDownControl* spinner = time ? row.m_timeSpin : row.m_fanSpin;
    field->setText(shown);
    for (const QString& expected : afterEachPress) {
        QTest::mouseClick(upArrow ? spinner->UpArrow() : spinner->DownArrow(), Qt::LeftButton);
        QCOMPARE(field->text(), expected);
    }
    if (time) {
        QCOMPARE(QString::asprintf("%0.1f", row.m_time), afterEachPress.last());
    } else {
        QCOMPARE(QString::number(row.m_fan), afterEachPress.last());
    }
}

void StepPartTest::timeUpArrowReportsMinusOne() {
    // The TIME spinner keeps the default range (100 down to 0), the FAN
    // spinner gets 1..9: their up arrows report opposite steps.
    STEP_PART& row = MakeRow();
    row.SetStep(1, 5, 59, 3, StepWaiting);
    QSignalSpy timeSteps(row.m_timeSpin, &UpDownControl::DeltaPos);
    QSignalSpy fanSteps(row.m_fanSpin, &UpDownControl::DeltaPos);
    QTest::mouseClick(row.m_timeSpin->UpArrow(), Qt::LeftButton);
    QTest::mouseClick(row.m_timeSpin->DownArrow(), Qt::LeftButton);
    QTest::mouseClick(row.m_fanSpin->UpArrow(), Qt::LeftButton);
    QCOMPARE(timeSteps.size(), 2);
    QCOMPARE(timeSteps[0][0].toInt(), -1);
    QCOMPARE(timeSteps[1][0].toInt(), 1);
    QCOMPARE(fanSteps[0][0].toInt(), 1);
}

void StepPartTest::spinnersLeaveTheCommittedValueAlone() {
    STEP_PART& row = MakeRow();
    row.SetStep(1, 5, 59, 3, StepWaiting);
    QTest::mouseClick(row.m_timeSpin->UpArrow(), Qt::LeftButton);
    QTest::mouseClick(row.m_fanSpin->UpArrow(), Qt::LeftButton);
    QCOMPARE(row.m_timeEdit->text(), QStringLiteral("6.0"));
    row.Commit();
    QCOMPARE(row.m_fan, 5);
    QCOMPARE(row.m_time, row.m_timeEdit->Value());
    QTest::keyClick(row.m_timeEdit, Qt::Key_Return);
    QTest::keyClick(row.m_fanEdit, Qt::Key_Return);
    row.Commit();
    QCOMPARE(row.m_fan, 6);
    QCOMPARE(QString::asprintf("%0.1f", row.m_time), QStringLiteral("6.0"));
}

void StepPartTest::heatWords_data() {
    QTest::addColumn<int>("heat");
    QTest::addColumn<uint>("status");
    QTest::addColumn<QString>("word");

    QTest::newRow("low") << 1 << 0u << "LOW";
    QTest::newRow("mid") << 2 << 0u << "MID";
    QTest::newRow("high") << 3 << 0u << "HIGH";
    QTest::newRow("no heat") << 0 << 0u << "COOL";
    QTest::newRow("cooling step") << 3 << 10u << "COOL";
    QTest::newRow("unknown heat keeps the selection") << 7 << 0u << "MID";
}

void StepPartTest::heatWords() {
    QFETCH(int, heat);
    QFETCH(uint, status);
    QFETCH(QString, word);

    STEP_PART& row = MakeRow();
    row.SetStep(1, 5, 59, 2, StepWaiting);
    row.SetStep(1, 5, 59, heat, status);
    QCOMPARE(row.m_heatList->currentText(), word);
    QCOMPARE(row.m_heat, heat);
}

void StepPartTest::choosingAHeatWordSetsTheHeat_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("heat");

    QTest::newRow("COOL on a heating step") << int(Qt::Key_End) << 0;
    QTest::newRow("LOW") << int(Qt::Key_Home) << 1;
    QTest::newRow("next after MID") << int(Qt::Key_Down) << 3;
}

void StepPartTest::choosingAHeatWordSetsTheHeat() {
    QFETCH(int, key);
    QFETCH(int, heat);

    STEP_PART& row = MakeRow();
    row.SetStep(1, 5, 59, 2, StepWaiting);
    QTest::keyClick(row.m_heatList, static_cast<Qt::Key>(key));
    QCOMPARE(row.m_heat, heat);
}

void StepPartTest::wheelChangesTheHeatOnlyWithTheFocus() {
    STEP_PART& row = MakeRow();
    row.SetStep(1, 5, 59, 2, StepWaiting);
    parent_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(parent_.get()));
    const auto turnWheel = [&row] {
        const QPointF at(5, 5);
        QWheelEvent wheel(at, row.m_heatList->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(row.m_heatList, &wheel);
    };
    row.m_fanEdit->setFocus();
    turnWheel();
    QCOMPARE(row.m_heatList->currentText(), QStringLiteral("MID"));
    QCOMPARE(row.m_heat, 2);
    row.m_heatList->setFocus();
    turnWheel();
    QCOMPARE(row.m_heatList->currentText(), QStringLiteral("HIGH"));
    QCOMPARE(row.m_heat, 3);
}

void StepPartTest::checkBoxTogglesTheSelection() {
    STEP_PART& row = MakeRow();
    row.SetStep(2, 5, 59, 3, StepWaiting);
    QTest::mouseClick(row.m_check, Qt::LeftButton);
    QCOMPARE(row.m_selected, 1);
    QVERIFY(row.m_check->isChecked());
    QTest::mouseClick(row.m_check, Qt::LeftButton);
    QCOMPARE(row.m_selected, 0);
    QVERIFY(!row.m_check->isChecked());
}

void StepPartTest::loadedTimeIsStoredUnchanged() {
    STEP_PART& row = MakeRow();
    for (const auto& [tenths, shown] : {std::pair{59, "5.9"}, std::pair{1, "0.1"}, std::pair{99, "9.9"}}) {
        row.SetStep(1, 5, tenths, 3, StepWaiting);
        QCOMPARE(row.m_timeEdit->text(), QLatin1String(shown));
        row.Commit();
        QCOMPARE(stepvalues::MinutesToTenths(row.m_time), tenths);
        QTest::keyClick(row.m_timeEdit, Qt::Key_Return);
        row.Commit();
        QCOMPARE(stepvalues::MinutesToTenths(row.m_time), tenths);
    }
}

QTEST_MAIN(StepPartTest)
#include "step_part_test.moc"
