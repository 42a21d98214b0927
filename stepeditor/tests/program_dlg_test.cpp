// The PROGRAM window driven through its real buttons, check boxes and
// fields, and the editor's exports behind it: what each action does to the
// editor's list, what it tells the host, and how the list scrolls.
#include <QCheckBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QWheelEvent>
#include <QtTest>
#include <memory>

#include "editor_test_support.h"
#include "quarnel_editor.h"

using Steps = std::vector<StepValues>;
Q_DECLARE_METATYPE(Steps)

namespace {
QString Describe(const Steps& steps) {
    QStringList parts;
    for (const StepValues& s : steps) parts << QString::asprintf("%d/%d/%d/%u", s.fan, s.time, s.heat, s.status);
    return parts.join(QLatin1Char(' '));
}

// A profile whose steps carry the given statuses (fan 5, heat 3, times 11,
// 12, ...; the last one is a cooling step with heat 0).
Steps WithStatuses(const QList<uint32_t>& statuses) {
    Steps steps;
    for (int i = 0; i < statuses.size(); ++i) {
        const bool last = i + 1 == statuses.size();
        steps.push_back({5, last ? 30 : 11 + i, last ? 0 : 3, statuses[i]});
    }
    return steps;
}
}  // namespace

class ProgramWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void showsOneRowPerStepAtTheRememberedPlacement();
    void twentyOneRowsAreShownAndTwentyTwoRefused();
    void select_data();
    void select();
    void deleteRemovesTheSelectedPendingSteps_data();
    void deleteRemovesTheSelectedPendingSteps();
    void append_data();
    void append();
    void appendCopiesTheEditedValues();
    void lockIgnoresDeleteAndAppend();
    void downloadAsksThenSendsAfterWritingBack();
    void cancelHidesRemembersPlacementAndReportsLater();
    void closeBoxAndCloseDlgActAsCancel();
    void escapeAndEnterStayWithTheFocusedField();
    void showDlgRecreatesTheWindowAndClearsSelections();
    void exportsBeforeTheFirstShowWorkOnTheListAlone();
    void closedWindowsRowsNeverOverwriteTheHostsList();
    void updateDataRefreshesOneOrAllRows();
    void autoScrollKeepsTheRunningStepThird();
    void scrollRequestsFollowTheTable();
    void hostMayCallBackWhileHandlingAMessage();
    void rebuildWhileTheDownloadQuestionIsOpen();
    void enableShowDlgHidesAndShowsTheOpenWindow();

private:
    void Open(const Steps& steps) {
        FillList(profile_, steps);
        editor_->ShowDlg(profile_.head);
    }
    STEP_PART& Row(int i) { return editor_->Program().Row(i); }
    int Rows() { return editor_->Program().RowCount(); }
    void Click(int id) { QTest::mouseClick(editor_->Program().Button(id), Qt::LeftButton); }
    void Tick(int row) { QTest::mouseClick(Row(row).m_check, Qt::LeftButton); }
    Steps EditorSteps() { return Values(editor_->List().head); }
    QDialog* Window() { return editor_->Program().Window(); }
    int RowTop(int i) { return Row(i).Window()->y(); }
    QList<int> Codes() { return QList<int>(host_->codes.begin(), host_->codes.end()); }
    void Activate() {
        Window()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(Window()));
    }

    std::unique_ptr<RecordingHost> host_;
    ScriptedPrompts prompts_;
    unsigned char lock_ = 0;
    STEP_PART* partAll_ = nullptr;
    std::unique_ptr<QuarnelEditor> editor_;
    CStep_Data profile_;  // the host's list
};

void ProgramWindowTest::init() {
    host_ = std::make_unique<RecordingHost>();
    host_->resize(916, 722);
    host_->move(100, 50);
    host_->show();
    prompts_ = ScriptedPrompts();
    lock_ = 0;
    partAll_ = nullptr;
    editor_ = std::make_unique<QuarnelEditor>(&lock_, &partAll_);
    editor_->SetPrompts(&prompts_);
    editor_->send_dll_message(host_.get());
}

void ProgramWindowTest::cleanup() {
    editor_.reset();
    host_.reset();
}

void ProgramWindowTest::showsOneRowPerStepAtTheRememberedPlacement() {
    Open(PendingProfile(5));
    QVERIFY(Window()->isVisible());
    QCOMPARE(Window()->windowTitle(), QStringLiteral("PROGRAM"));
    QCOMPARE(Window()->size(), QSize(650, 310));
    QCOMPARE(Window()->pos(), host_->pos() + QPoint(265, 340));
    QCOMPARE(Rows(), 5);
    QCOMPARE(partAll_, &Row(0));
    const QStringList numbers = {"1.", "2.", "3.", "4.", "end"};
    for (int i = 0; i < 5; ++i) {
        QCOMPARE(RowTop(i), i * 40);
        QCOMPARE(Row(i).m_numberLabel->text(), numbers[i]);
        QCOMPARE(Row(i).m_timeEdit->Limits().max, i == 4 ? 9.0f : 9.9f);
    }
    for (const char* name : {"Select", "Delete", "Append", "Download", "Cancel"}) {
        QVERIFY(Window()->findChild<QPushButton*>(QLatin1String(name)));
    }
    const ScrollState& s = editor_->State().scroll;
    QCOMPARE(editor_->Program().RowAreaHeight(), 120 + 5 * 40);
    QCOMPARE(s.maximum, 49);
    QCOMPARE(s.page, 50);
    QCOMPARE(s.position, 0);
    QVERIFY(prompts_.messages.isEmpty());
}

void ProgramWindowTest::twentyOneRowsAreShownAndTwentyTwoRefused() {
    Open(PendingProfile(21));
    QCOMPARE(Rows(), 21);
    QVERIFY(prompts_.messages.isEmpty());

    CStep_Data upload;
    FillList(upload, PendingProfile(22));
    editor_->Updata_ShowDlg(upload.head);
    QCOMPARE(prompts_.messages, QStringList{QStringLiteral("链表载入超出范围")});
    QCOMPARE(Rows(), 0);
    QCOMPARE(partAll_, nullptr);
    // The refused list still passes through the editor unchanged.
    QCOMPARE(Describe(Values(editor_->return_link())), Describe(PendingProfile(22)));

    FillList(profile_, PendingProfile(3));
    editor_->Updata_ShowDlg(profile_.head);
    QCOMPARE(Rows(), 3);
}

void ProgramWindowTest::select_data() {
    QTest::addColumn<Steps>("steps");
    QTest::addColumn<int>("preticked");  // row ticked before Select, or -1
    QTest::addColumn<QList<int>>("afterFirst");
    QTest::addColumn<QList<int>>("afterSecond");

    QTest::newRow("only row 3 is pending")
        << WithStatuses({StepCompleted, StepRunning, StepWaiting, CoolWaiting}) << -1 << QList<int>{0, 0, 1, 0}
        << QList<int>{0, 0, 0, 0};
    QTest::newRow("all pending: every row but the first")
        << WithStatuses({StepWaiting, StepWaiting, StepWaiting, CoolWaiting}) << -1 << QList<int>{0, 1, 1, 0}
        << QList<int>{0, 0, 0, 0};
    QTest::newRow("one ticked row clears them all")
        << WithStatuses({StepWaiting, StepWaiting, StepWaiting, CoolWaiting}) << 2 << QList<int>{0, 0, 0, 0}
        << QList<int>{0, 1, 1, 0};
    QTest::newRow("first row keeps its tick")
        << WithStatuses({StepWaiting, StepWaiting, CoolWaiting}) << 0 << QList<int>{1, 1, 0} << QList<int>{1, 0, 0};
    QTest::newRow("a single row is selected") << WithStatuses({CoolWaiting}) << -1 << QList<int>{1} << QList<int>{1};
}

void ProgramWindowTest::select() {
    QFETCH(Steps, steps);
    QFETCH(int, preticked);
    QFETCH(QList<int>, afterFirst);
    QFETCH(QList<int>, afterSecond);

    Open(steps);
    if (preticked >= 0) Tick(preticked);
    for (const QList<int>& expected : {afterFirst, afterSecond}) {
        Click(CProgramDlg::kSelect);
        for (int i = 0; i < Rows(); ++i) {
            QCOMPARE(Row(i).m_selected, expected[i]);
            QCOMPARE(Row(i).m_check->isChecked(), expected[i] == 1);
        }
    }
    QVERIFY(host_->codes.empty());
}

void ProgramWindowTest::deleteRemovesTheSelectedPendingSteps_data() {
    QTest::addColumn<Steps>("steps");
    QTest::addColumn<QList<int>>("ticked");
    QTest::addColumn<QList<int>>("timesLeft");
    QTest::addColumn<bool>("refused");  // "Cannot delete only STEP !" shown
    QTest::addColumn<QList<int>>("codes");

    QTest::newRow("rows 2 and 3 of 5") << PendingProfile(5) << QList<int>{1, 2} << QList<int>{11, 14, 30} << false
                                       << QList<int>{DLL_MSG_CHANGED};
    QTest::newRow("down to the last heating step") << PendingProfile(3) << QList<int>{0, 1} << QList<int>{12, 30}
                                                   << true << QList<int>{DLL_MSG_CHANGED};
    QTest::newRow("two steps are never touched") << PendingProfile(2) << QList<int>{0} << QList<int>{11, 30} << false
                                                 << QList<int>{};
    QTest::newRow("nothing ticked") << PendingProfile(4) << QList<int>{} << QList<int>{11, 12, 13, 30} << false
                                    << QList<int>{};
    QTest::newRow("run steps cannot be ticked")
        << WithStatuses({StepCompleted, StepRunning, StepWaiting, CoolWaiting}) << QList<int>{0, 1, 2}
        << QList<int>{11, 12, 30} << false << QList<int>{DLL_MSG_CHANGED};
}

void ProgramWindowTest::deleteRemovesTheSelectedPendingSteps() {
    QFETCH(Steps, steps);
    QFETCH(QList<int>, ticked);
    QFETCH(QList<int>, timesLeft);
    QFETCH(bool, refused);
    QFETCH(QList<int>, codes);

    Open(steps);
    for (int row : ticked) Tick(row);
    Click(CProgramDlg::kDelete);

    QList<int> times;
    for (const StepValues& s : EditorSteps()) times << s.time;
    QCOMPARE(times, timesLeft);
    QCOMPARE(prompts_.messages.contains(QStringLiteral("Cannot delete only STEP !")), refused);
    QCOMPARE(Codes(), codes);
    QCOMPARE(Rows(), timesLeft.size());
    QCOMPARE(Row(Rows() - 1).m_numberLabel->text(), QStringLiteral("end"));
}

void ProgramWindowTest::append_data() {
    QTest::addColumn<Steps>("steps");
    QTest::addColumn<int>("ticked");  // or -1
    QTest::addColumn<Steps>("expected");
    QTest::addColumn<QList<int>>("codes");

    const StepValues w1{5, 11, 3, StepWaiting}, w2{6, 12, 2, StepWaiting}, cool{5, 30, 0, CoolWaiting};
    QTest::newRow("before any run: copy of the last heating step")
        << Steps{w1, w2, cool} << -1 << Steps{w1, w2, w2, cool} << QList<int>{DLL_MSG_CHANGED};
    QTest::newRow("after the ticked step") << Steps{w1, w2, cool} << 0 << Steps{w1, w1, w2, cool}
                                           << QList<int>{DLL_MSG_CHANGED};

    const StepValues c1{5, 11, 3, StepCompleted}, c2{5, 12, 3, StepCompleted}, r3{7, 13, 1, StepRunning};
    QTest::newRow("after the running step 3 of 5")
        << Steps{c1, c2, r3, {5, 14, 3, StepWaiting}, cool} << -1
        << Steps{c1, c2, r3, {7, 13, 1, StepWaiting}, {5, 14, 3, StepWaiting}, cool} << QList<int>{DLL_MSG_CHANGED};

    const StepValues c6{6, 12, 2, StepCompleted};
    QTest::newRow("cooling running: heating resumes")
        << Steps{c1, c6, {4, 33, 0, CoolRunning}} << -1
        << Steps{c1, c6, {5, 59, 3, StepRunning}, {4, 33, 0, CoolWaiting}} << QList<int>{DLL_MSG_RESUME};
    QTest::newRow("cooling in error: heating resumes")
        << Steps{c1, c6, {4, 33, 2, 13}} << -1 << Steps{c1, c6, {5, 59, 3, StepRunning}, {4, 33, 0, CoolWaiting}}
        << QList<int>{DLL_MSG_RESUME};
    QTest::newRow("program ended") << Steps{c1, {5, 30, 0, StepEnd}} << -1 << Steps{c1, {5, 30, 0, StepEnd}}
                                   << QList<int>{};
    QTest::newRow("only the cooling step") << Steps{cool} << -1 << Steps{cool} << QList<int>{};
    QTest::newRow("21 steps") << PendingProfile(21) << -1 << PendingProfile(21) << QList<int>{};
}

void ProgramWindowTest::append() {
    QFETCH(Steps, steps);
    QFETCH(int, ticked);
    QFETCH(Steps, expected);
    QFETCH(QList<int>, codes);

    Open(steps);
    if (ticked >= 0) Tick(ticked);
    Click(CProgramDlg::kAppend);
    QCOMPARE(Describe(EditorSteps()), Describe(expected));
    QCOMPARE(Codes(), codes);
    QCOMPARE(Rows(), static_cast<int>(expected.size()));
    QVERIFY(prompts_.messages.isEmpty());
    if (codes == QList<int>{DLL_MSG_RESUME}) {
        const int n = Rows();
        QCOMPARE(Row(n - 2).m_statusLabel->text(), QStringLiteral("RUN 0.0min    "));
        QCOMPARE(Row(n - 1).m_statusLabel->text(), QStringLiteral("     COOL           "));
        QVERIFY(Row(n - 1).TimeEnabled());
    }
    QCOMPARE(editor_->State().scroll.maximum, editor_->Program().RowAreaHeight() / 10 + 17);
}

void ProgramWindowTest::appendCopiesTheEditedValues() {
    Open(PendingProfile(3));
    Activate();
    // A new fan typed into step 2 and left by clicking Append.
    Row(1).m_fanEdit->setFocus();
    Row(1).m_fanEdit->selectAll();
    QTest::keyClicks(Row(1).m_fanEdit, QStringLiteral("8"));
    // A new time for step 2, committed with Enter.
    Row(1).m_timeEdit->setFocus();
    Row(1).m_timeEdit->selectAll();
    QTest::keyClicks(Row(1).m_timeEdit, QStringLiteral("4.5"));
    QTest::keyClick(Row(1).m_timeEdit, Qt::Key_Return);
    Click(CProgramDlg::kAppend);
    QCOMPARE(Describe(EditorSteps()), Describe(Steps{{5, 11, 3, 0}, {8, 45, 3, 0}, {8, 45, 3, 0}, {5, 30, 0, 10}}));
}

void ProgramWindowTest::lockIgnoresDeleteAndAppend() {
    Open(PendingProfile(4));
    lock_ = 1;
    Tick(1);
    Click(CProgramDlg::kDelete);
    Click(CProgramDlg::kAppend);
    QCOMPARE(Describe(EditorSteps()), Describe(PendingProfile(4)));
    QVERIFY(host_->codes.empty());
    QVERIFY(prompts_.messages.isEmpty());
    lock_ = 0;
    Click(CProgramDlg::kDelete);
    QCOMPARE(Codes(), QList<int>{DLL_MSG_CHANGED});
}

void ProgramWindowTest::downloadAsksThenSendsAfterWritingBack() {
    Open(PendingProfile(3));
    Row(0).m_timeEdit->selectAll();
    QTest::keyClicks(Row(0).m_timeEdit, QStringLiteral("7"));
    QTest::keyClick(Row(0).m_timeEdit, Qt::Key_Return);

    prompts_.answers = {false};
    Click(CProgramDlg::kDownload);
    QCOMPARE(prompts_.questions, QStringList{QStringLiteral("Are you sure want to download this step setting?")});
    QVERIFY(host_->codes.empty());

    Steps seen;
    host_->onMessage = [&](int) { seen = Values(editor_->return_link()); };
    prompts_.answers = {true};
    Click(CProgramDlg::kDownload);
    QCOMPARE(Codes(), QList<int>{DLL_MSG_DOWNLOAD});
    QCOMPARE(seen.size(), size_t(3));
    QCOMPARE(seen[0].time, 70);
}

void ProgramWindowTest::cancelHidesRemembersPlacementAndReportsLater() {
    Open(PendingProfile(3));
    Window()->move(Window()->pos() + QPoint(30, 20));
    Row(1).m_fanEdit->selectAll();
    QTest::keyClicks(Row(1).m_fanEdit, QStringLiteral("9"));
    QTest::keyClick(Row(1).m_fanEdit, Qt::Key_Return);

    QElapsedTimer clock;
    clock.start();
    Click(CProgramDlg::kCancel);
    QVERIFY(!Window()->isVisible());
    QCOMPARE(editor_->State().shown, uint8_t(0));
    QVERIFY(host_->codes.empty());
    QCOMPARE(EditorSteps()[1].fan, 9);  // the edit stays in the editor's list
    QTRY_COMPARE_WITH_TIMEOUT(Codes(), QList<int>{DLL_MSG_CLOSED}, 2000);
    QVERIFY(clock.elapsed() >= 390);

    host_->move(160, 80);
    editor_->ShowDlg(profile_.head);
    QCOMPARE(Window()->pos(), host_->pos() + QPoint(295, 360));
}

void ProgramWindowTest::closeBoxAndCloseDlgActAsCancel() {
    Open(PendingProfile(3));
    Window()->close();
    QVERIFY(!Window()->isVisible());
    QCOMPARE(editor_->State().shown, uint8_t(0));
    QTRY_COMPARE(Codes(), QList<int>{DLL_MSG_CLOSED});

    editor_->CloseDlg();  // closed already: nothing
    QTest::qWait(500);
    QCOMPARE(Codes(), QList<int>{DLL_MSG_CLOSED});

    editor_->ShowDlg(profile_.head);
    editor_->CloseDlg();
    QVERIFY(!Window()->isVisible());
    QTRY_COMPARE(Codes(), (QList<int>{DLL_MSG_CLOSED, DLL_MSG_CLOSED}));
}

void ProgramWindowTest::escapeAndEnterStayWithTheFocusedField() {
    Open(PendingProfile(3));
    Activate();
    Row(0).m_fanEdit->setFocus();
    QTest::keyClick(Row(0).m_fanEdit, Qt::Key_Escape);
    QTest::keyClick(Row(0).m_fanEdit, Qt::Key_Return);
    // Keys a focused button does not take reach the window, which has no
    // Escape or default-button handling of its own.
    QPushButton* cancel = editor_->Program().Button(CProgramDlg::kCancel);
    cancel->setFocus();
    QTest::keyClick(cancel, Qt::Key_Return);
    QTest::keyClick(cancel, Qt::Key_Escape);
    QVERIFY(Window()->isVisible());
    QCOMPARE(editor_->State().shown, uint8_t(1));
    QTest::qWait(450);
    QVERIFY(host_->codes.empty());
}

void ProgramWindowTest::showDlgRecreatesTheWindowAndClearsSelections() {
    Open(PendingProfile(4));
    QPointer<QDialog> first = Window();
    Tick(1);
    editor_->ShowDlg(profile_.head);
    QVERIFY(first.isNull());
    QVERIFY(Window()->isVisible());
    QCOMPARE(Row(1).m_selected, 0);
    QVERIFY(!Row(1).m_check->isChecked());
}

void ProgramWindowTest::exportsBeforeTheFirstShowWorkOnTheListAlone() {
    FillList(profile_, PendingProfile(4));
    editor_->update_data(profile_.head, 2, 5);
    QCOMPARE(Describe(EditorSteps()), Describe(PendingProfile(4)));
    CStep_Data other;
    FillList(other, PendingProfile(6));
    editor_->Updata_ShowDlg(other.head);
    QCOMPARE(Describe(Values(editor_->return_link())), Describe(PendingProfile(6)));
    QVERIFY(!editor_->Program().Exists());
    QCOMPARE(partAll_, nullptr);
    QVERIFY(prompts_.messages.isEmpty());
    editor_->EnableShowDlg(1);
    editor_->CloseDlg();
    QVERIFY(!editor_->Program().Exists());
    QVERIFY(host_->codes.empty());
}

void ProgramWindowTest::closedWindowsRowsNeverOverwriteTheHostsList() {
    Open(PendingProfile(3));
    Row(0).m_fanEdit->selectAll();
    QTest::keyClicks(Row(0).m_fanEdit, QStringLiteral("2"));
    QTest::keyClick(Row(0).m_fanEdit, Qt::Key_Return);
    editor_->CloseDlg();
    // Closing wrote the edited row back.
    QCOMPARE(EditorSteps()[0].fan, 2);
    QCOMPARE(Values(editor_->return_link())[0].fan, 2);

    // The host hands in its list while the window is closed: the hidden rows
    // keep showing the old one, and return_link gives the host's list back
    // instead of writing those rows over it.
    CStep_Data running;
    FillList(running, {{7, 42, 2, StepRunning}, {9, 18, 1, StepWaiting}, {4, 25, 0, CoolWaiting}});
    editor_->update_data(running.head, 255, 0);
    QCOMPARE(Row(0).m_statusLabel->text(), QStringLiteral("     Wait          "));
    QCOMPARE(Describe(Values(editor_->return_link())), Describe(Values(running.head)));
    CStep_Data machine;
    FillList(machine, {{3, 26, 1, StepWaiting}, {5, 30, 0, CoolWaiting}});
    editor_->Updata_ShowDlg(machine.head);
    QCOMPARE(Describe(Values(editor_->return_link())), Describe(Values(machine.head)));
}

void ProgramWindowTest::updateDataRefreshesOneOrAllRows() {
    Open(PendingProfile(4));
    FillList(profile_, WithStatuses({StepCompleted, StepRunning, StepWaiting, CoolWaiting}));

    // A step of 0 or above the count changes no row, but the list is copied.
    for (int step : {0, 5}) {
        editor_->update_data(profile_.head, step, 10);
        QCOMPARE(Row(0).m_statusLabel->text(), QStringLiteral("     Wait          "));
        QCOMPARE(editor_->List().head->status, StepCompleted);
    }
    // One step: its row only, showing the elapsed time of the previous report.
    editor_->update_data(profile_.head, 2, 25);
    QCOMPARE(Row(0).m_statusLabel->text(), QStringLiteral("     Wait          "));
    QCOMPARE(Row(1).m_statusLabel->text(), QStringLiteral("RUN 0.0min    "));
    editor_->update_data(nullptr, 2, 31);
    QCOMPARE(Row(1).m_statusLabel->text(), QStringLiteral("RUN 2.5min.   "));
    QVERIFY(!Row(1).CheckEnabled());

    editor_->update_data(profile_.head, 255, 0);
    QCOMPARE(Row(0).m_statusLabel->text(), QStringLiteral("Completed       "));
    QCOMPARE(Row(3).m_statusLabel->text(), QStringLiteral("     COOL           "));

    // A longer list than the rows: only the rows there are are loaded.
    CStep_Data longer;
    FillList(longer, WithStatuses({StepCompleted, StepCompleted, StepCompleted, StepCompleted, StepRunning,
                                   CoolWaiting}));
    editor_->update_data(longer.head, 5, 10);
    editor_->update_data(longer.head, 255, 0);
    QCOMPARE(Rows(), 4);
    QCOMPARE(Row(3).m_statusLabel->text(), QStringLiteral("Completed       "));
    QCOMPARE(static_cast<int>(editor_->List().count), 6);
    QVERIFY(prompts_.messages.isEmpty());
}

void ProgramWindowTest::autoScrollKeepsTheRunningStepThird() {
    Open(PendingProfile(12));
    const ScrollState& s = editor_->State().scroll;
    QCOMPARE(s.maximum, 77);
    QScrollBar* bar = editor_->Scroll().ScrollBar();
    // Step 12 would need position 36, beyond the last one a page fits (28).
    const QList<QPair<int, int>> stepAndPosition = {{5, 8}, {6, 12}, {3, 12}, {2, 0}, {9, 24}, {12, 24}, {1, 0}};
    for (const auto& [step, position] : stepAndPosition) {
        editor_->update_data(profile_.head, step, 0);
        QCOMPARE(s.position, position);
        QCOMPARE(bar->value(), position);
        QCOMPARE(RowTop(0), -10 * position);
    }

    // When the page would not fit the list stays where it is.
    Open(PendingProfile(5));
    editor_->update_data(profile_.head, 5, 0);
    QCOMPARE(editor_->State().scroll.position, 0);
    QCOMPARE(RowTop(0), 0);
}

void ProgramWindowTest::scrollRequestsFollowTheTable() {
    Open(PendingProfile(8));  // maximum 61, page 50: positions 0 to 12
    QScrollBar* bar = editor_->Scroll().ScrollBar();
    const ScrollState& s = editor_->State().scroll;
    struct Request {
        QAbstractSlider::SliderAction action;
        int repeat;
        int position;
    };
    const Request requests[] = {
        {QAbstractSlider::SliderSingleStepSub, 1, 0},  {QAbstractSlider::SliderSingleStepAdd, 13, 12},
        {QAbstractSlider::SliderPageStepSub, 3, 2},    {QAbstractSlider::SliderPageStepAdd, 3, 12},
        {QAbstractSlider::SliderToMinimum, 1, 0},      {QAbstractSlider::SliderToMaximum, 1, 12},
        {QAbstractSlider::SliderSingleStepSub, 1, 11},
    };
    for (const Request& r : requests) {
        for (int i = 0; i < r.repeat; ++i) bar->triggerAction(r.action);
        QCOMPARE(s.position, r.position);
        QCOMPARE(bar->value(), r.position);
        QCOMPARE(RowTop(0), -10 * r.position);
    }
    // Dragging the thumb.
    bar->setSliderPosition(5);
    QCOMPARE(s.position, 5);
    QCOMPARE(RowTop(0), -50);
    // The wheel has no effect of its own.
    QWheelEvent wheel(QPointF(5, 5), bar->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(bar, &wheel);
    QCOMPARE(s.position, 5);
    QCOMPARE(RowTop(0), -50);
}

void ProgramWindowTest::hostMayCallBackWhileHandlingAMessage() {
    Open(PendingProfile(5));
    // The host takes the list back, refreshes the rows and, at worst,
    // reopens the window from inside its handler.
    int handled = 0;
    host_->onMessage = [&](int code) {
        ++handled;
        CStep_Data working;
        working.CopyFrom(editor_->return_link());
        editor_->update_data(working.head, 255, 0);
        editor_->Updata_ShowDlg(working.head);
        if (code == DLL_MSG_DOWNLOAD) editor_->ShowDlg(working.head);
    };
    Tick(1);
    Click(CProgramDlg::kDelete);
    Click(CProgramDlg::kAppend);
    prompts_.answers = {true};
    Click(CProgramDlg::kDownload);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(handled, 3);
    QCOMPARE(Codes(), (QList<int>{DLL_MSG_CHANGED, DLL_MSG_CHANGED, DLL_MSG_DOWNLOAD}));
    QCOMPARE(Rows(), 5);
    QCOMPARE(static_cast<int>(editor_->List().count), 5);
    QVERIFY(Window()->isVisible());
    QCOMPARE(Row(4).m_numberLabel->text(), QStringLiteral("end"));
}

void ProgramWindowTest::rebuildWhileTheDownloadQuestionIsOpen() {
    Open(PendingProfile(3));
    // A program refresh arrives while the question is open.
    CStep_Data refreshed;
    FillList(refreshed, Steps{{7, 21, 1, StepWaiting}, {5, 30, 0, CoolWaiting}});
    prompts_.whileOpen = [&] { editor_->Updata_ShowDlg(refreshed.head); };
    prompts_.answers = {true};
    Click(CProgramDlg::kDownload);
    QCOMPARE(Codes(), QList<int>{DLL_MSG_DOWNLOAD});
    QCOMPARE(Describe(EditorSteps()), Describe(Values(refreshed.head)));
}

void ProgramWindowTest::enableShowDlgHidesAndShowsTheOpenWindow() {
    Open(PendingProfile(3));
    editor_->EnableShowDlg(0);
    QVERIFY(!Window()->isVisible());
    QCOMPARE(editor_->State().shown, uint8_t(1));
    // A hidden open window is still rebuilt.
    FillList(profile_, PendingProfile(4));
    editor_->Updata_ShowDlg(profile_.head);
    QCOMPARE(Rows(), 4);
    editor_->EnableShowDlg(1);
    QVERIFY(Window()->isVisible());

    Click(CProgramDlg::kCancel);
    editor_->EnableShowDlg(1);
    QVERIFY(!Window()->isVisible());
}

QTEST_MAIN(ProgramWindowTest)
#include "program_dlg_test.moc"
