// The application side of the program: the single-instance rule, then the
// main window run modally; the program ends when the window ends.
#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <optional>

#include "kavolo_roaster_dlg.h"
#include "roast_log.h"

class InstanceLock;

class CKavoloRoasterApp {
public:
    CKavoloRoasterApp(InstanceLock& lock, SerialControl& com, PortLister& ports,
                      CKavoloRoasterDlg::EditorFactory editor);
    ~CKavoloRoasterApp();

    // Shows "Only one instance can run!" and returns false when another
    // instance holds the lock; otherwise runs the main window until it ends
    // and returns whether it ended as asked (false: a failure ended it).
    bool InitInstance();
    // The same start without waiting for the window to end: the lock, the
    // window's initialisation, then the window shown modally over the
    // caller's event loop. False when refused or when the window ended
    // during its initialisation.
    bool Open();

    // The main window once made (it stays after it ended); nullptr before.
    CKavoloRoasterDlg* window() const { return window_.get(); }

    // Where the window keeps roast logs; empty: the user's data folder.
    QString roasts_folder;
    // The roaster the roasts are made on, as their logs name it.
    std::string roaster = kPortRoaster;
    // A saved roast shown behind the curve from the start, read from
    // `background_path`, and whether follow mode is armed with it.
    std::optional<RoastLog> background;
    QString background_path;
    bool follow = false;

    // The box shown to a second instance; tests replace it.
    std::function<void(const QString&)> show_message;

private:
    // Takes the lock and makes the window; false when refused.
    bool MakeWindow();

    InstanceLock& lock_;
    SerialControl& com_;
    PortLister& ports_;
    CKavoloRoasterDlg::EditorFactory editor_;
    std::unique_ptr<CKavoloRoasterDlg> window_;
};
