// The real main window on the test stand-ins (serial control, port lister
// and editor library), initialised and shown, on real Qt timers.
#pragma once

#include <QApplication>
#include <QList>
#include <QMessageBox>
#include <QTest>
#include <memory>

#include "fake_editor.h"
#include "fake_serial.h"
#include "kavolo_roaster_dlg.h"

struct Stand {
    FakeSerial serial;
    FakePortLister ports;
    FakeEditor editor;
    QWidget* editor_host = nullptr;
    std::unique_ptr<CKavoloRoasterDlg> window;

    explicit Stand(const QString& roasts_folder = QString()) {
        window = std::make_unique<CKavoloRoasterDlg>(
            serial, ports,
            [this](QWidget* host) -> EditorLibrary& {
                editor_host = host;
                return editor;
            },
            roasts_folder);
        window->OnInitDialog();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }
    ControllerState& s() { return window->controller().state(); }
};

// The message boxes showing now.
inline QList<QMessageBox*> OpenBoxes() {
    QList<QMessageBox*> out;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) out << box;
    return out;
}
