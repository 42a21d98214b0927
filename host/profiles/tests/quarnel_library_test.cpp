// The program's binding of the step editor, against the real libquarnel in
// the build folder and against a folder without it.
#include <QDialog>
#include <QTemporaryDir>
#include <QtTest>
#include <vector>

#include "editor_message.h"
#include "quarnel_library.h"
#include "step_data.h"

namespace {
class Host : public QWidget {
public:
    std::vector<int> codes;
    bool event(QEvent* event) override {
        if (event->type() == EditorMessageType()) {
            codes.push_back(static_cast<EditorMessageEvent*>(event)->lparam);
            return true;
        }
        return QWidget::event(event);
    }
};
}  // namespace

class QuarnelLibraryTest : public QObject {
    Q_OBJECT

private slots:
    void missingLibraryMakesEveryCallDoNothing();
    void bindsTheRealLibrary();
};

void QuarnelLibraryTest::missingLibraryMakesEveryCallDoNothing() {
    QTemporaryDir empty;
    Host host;
    QuarnelLibrary editor(&host, empty.path());
    editor.LoadAndBind();
    QVERIFY(!editor.Loaded());
    QVERIFY(!editor.LoadError().isEmpty());

    CStep_Data list;
    QCOMPARE(editor.ShowDlg(list.head), 0);
    editor.Updata_ShowDlg(list.head);
    editor.update_data(list.head, 1, 0);
    editor.EnableShowDlg(1);
    editor.CloseDlg();
    editor.SetLock(1);
    QCOMPARE(editor.Lock(), uint8_t(0));
    QCOMPARE(editor.return_link(), nullptr);
    QVERIFY(host.findChildren<QDialog*>().isEmpty());
}

void QuarnelLibraryTest::bindsTheRealLibrary() {
    Host host;
    host.show();
    QuarnelLibrary editor(&host);
    editor.LoadAndBind();
    QVERIFY2(editor.Loaded(), qPrintable(editor.LoadError()));
    editor.LoadAndBind();  // once only
    QVERIFY(editor.Loaded());

    QCOMPARE(editor.Lock(), uint8_t(0));
    editor.SetLock(1);
    QCOMPARE(editor.Lock(), uint8_t(1));
    editor.SetLock(0);

    CStep_Data working;
    working.SetDefaultProfile();
    working.UpdateStep(1, 7, 42, 2, KEEP_VALUE);
    editor.ShowDlg(working.head);
    auto* window = host.findChild<QDialog*>();
    QVERIFY(window && window->isVisible());

    // The editor hands back its own copy, which the program copies at once.
    const StepNode* edited = editor.return_link();
    QVERIFY(edited && edited != working.head);
    QCOMPARE(edited->fan, 7);
    QCOMPARE(edited->time, 42);
    QCOMPARE(edited->next->status, CoolWaiting);

    working.UpdateStep(1, KEEP_VALUE, KEEP_VALUE, KEEP_VALUE, StepRunning);
    editor.update_data(working.head, 1, 3);
    QCOMPARE(editor.return_link()->status, StepRunning);
    editor.Updata_ShowDlg(working.head);
    editor.EnableShowDlg(0);
    QVERIFY(!window->isVisible());
    editor.EnableShowDlg(1);
    QVERIFY(window->isVisible());

    editor.CloseDlg();
    QVERIFY(!window->isVisible());
    QTRY_COMPARE(host.codes, std::vector<int>{DLL_MSG_CLOSED});
}

QTEST_MAIN(QuarnelLibraryTest)
#include "quarnel_library_test.moc"
