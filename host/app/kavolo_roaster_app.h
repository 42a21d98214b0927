// The application side of the program: the single-instance rule, then the
// main window run modally; the program ends when the window ends.
#pragma once

#include <QString>
#include <functional>

#include "kavolo_roaster_dlg.h"

class InstanceLock;

class CKavoloRoasterApp {
public:
    CKavoloRoasterApp(InstanceLock& lock, SerialControl& com, PortLister& ports,
                      CKavoloRoasterDlg::EditorFactory editor);

    // Shows "Only one instance can run!" and returns the Cancel result when
    // another instance holds the lock; otherwise runs the main window and
    // returns its result.
    int InitInstance();

    // The box shown to a second instance; tests replace it.
    std::function<void(const QString&)> show_message;

private:
    InstanceLock& lock_;
    SerialControl& com_;
    PortLister& ports_;
    CKavoloRoasterDlg::EditorFactory editor_;
};
