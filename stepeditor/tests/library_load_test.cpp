// Loads the built libquarnel with QLibrary, resolves every export by name
// and drives it the way the program does, with a host window that records
// the editor's messages. Links nothing of the library.
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QLibrary>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "editor_test_support.h"
#include "quarnel_api.h"

class LibraryLoadTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void everyExportResolvesByName();
    void drivesTheEditorAsTheProgramDoes();

private:
    template <typename Fn>
    Fn Resolve(const char* name) {
        return reinterpret_cast<Fn>(library_.resolve(name));
    }
    QPushButton* Button(const char* name) {
        return host_.findChild<QDialog*>()->findChild<QPushButton*>(QLatin1String(name));
    }
    QList<int> Codes() { return QList<int>(host_.codes.begin(), host_.codes.end()); }

    QLibrary library_;
    RecordingHost host_;
};

void LibraryLoadTest::initTestCase() {
    library_.setFileName(QCoreApplication::applicationDirPath() + QStringLiteral("/quarnel"));
    QVERIFY2(library_.load(), qPrintable(library_.errorString()));
}

void LibraryLoadTest::everyExportResolvesByName() {
    for (const char* name : {"send_dll_message", "ShowDlg", "Updata_ShowDlg", "update_data", "return_link",
                             "EnableShowDlg", "CloseDlg", "Create_Dlg", "part_all", "dll_lock"}) {
        QVERIFY2(library_.resolve(name), name);
    }
}

void LibraryLoadTest::drivesTheEditorAsTheProgramDoes() {
    auto send = Resolve<SendDllMessageFn>("send_dll_message");
    auto show = Resolve<ShowDlgFn>("ShowDlg");
    auto refresh = Resolve<UpdataShowDlgFn>("Updata_ShowDlg");
    auto progress = Resolve<UpdateDataFn>("update_data");
    auto take = Resolve<ReturnLinkFn>("return_link");
    auto enable = Resolve<EnableShowDlgFn>("EnableShowDlg");
    auto close = Resolve<CloseDlgFn>("CloseDlg");
    auto create = Resolve<CreateDlgFn>("Create_Dlg");
    auto* lock = reinterpret_cast<unsigned char*>(library_.resolve("dll_lock"));
    auto* rows = reinterpret_cast<STEP_PART**>(library_.resolve("part_all"));
    QVERIFY(send && show && refresh && progress && take && enable && close && create && lock && rows);
    QCOMPARE(*lock, static_cast<unsigned char>(0));
    QCOMPARE(*rows, nullptr);

    host_.resize(916, 722);
    host_.show();
    QCOMPARE(send(&host_), static_cast<void*>(&host_));

    CStep_Data working;
    FillList(working, PendingProfile(3));
    QCOMPARE(show(working.head), 1);
    auto* window = host_.findChild<QDialog*>();
    QVERIFY(window && window->isVisible());
    QCOMPARE(window->windowTitle(), QStringLiteral("PROGRAM"));
    QCOMPARE(create(), reinterpret_cast<intptr_t>(window));
    QVERIFY(*rows != nullptr);

    // The host's lock keeps Append from changing anything.
    *lock = 1;
    QTest::mouseClick(Button("Append"), Qt::LeftButton);
    QVERIFY(host_.codes.empty());
    *lock = 0;

    // Append sends "changed"; the handler takes the list back at once.
    std::vector<StepValues> taken;
    host_.onMessage = [&](int) { taken = Values(take()); };
    QTest::mouseClick(Button("Append"), Qt::LeftButton);
    QCOMPARE(Codes(), QList<int>{DLL_MSG_CHANGED});
    QCOMPARE(taken.size(), size_t(4));

    // Progress reports and a refresh from the host.
    FillList(working, {{5, 11, 3, StepRunning}, {5, 12, 3, StepWaiting}, {5, 30, 0, CoolWaiting}});
    progress(working.head, 1, 5);
    refresh(working.head);
    QCOMPARE(Values(take()).size(), size_t(3));
    QCOMPARE(take()->status, StepRunning);

    enable(0);
    QVERIFY(!window->isVisible());
    enable(1);
    QVERIFY(window->isVisible());

    // Download asks with a real message box; answer No, then Yes.
    for (const bool yes : {false, true}) {
        QTimer::singleShot(0, [yes] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box) box->button(yes ? QMessageBox::Yes : QMessageBox::No)->click();
        });
        QTest::mouseClick(Button("Download"), Qt::LeftButton);
    }
    QCOMPARE(Codes(), (QList<int>{DLL_MSG_CHANGED, DLL_MSG_DOWNLOAD}));

    close();
    QVERIFY(!window->isVisible());
    QTRY_COMPARE(Codes(), (QList<int>{DLL_MSG_CHANGED, DLL_MSG_DOWNLOAD, DLL_MSG_CLOSED}));
}

QTEST_MAIN(LibraryLoadTest)
#include "library_load_test.moc"
