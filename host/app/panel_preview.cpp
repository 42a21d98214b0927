// Shows the main window on stand-ins for the roaster, the port listing and
// the editor library, in a Ready state with a profile loaded. With
// --shot FILE it saves a picture of the window to FILE and exits.
#include <QApplication>
#include <QPixmap>
#include <QTimer>
#include <cstring>

#include "fake_editor.h"
#include "fake_serial.h"
#include "kavolo_roaster_dlg.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const char* shot = nullptr;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--shot") == 0) shot = argv[i + 1];

    FakeSerial serial;
    FakePortLister ports;
    FakeEditor editor;
    CKavoloRoasterDlg window(serial, ports, [&](QWidget*) -> EditorLibrary& { return editor; });
    window.OnInitDialog();

    ControllerState& s = window.controller().state();
    s.machine_state = kReady;
    s.fan_level = 5;
    s.roast_time = 59;
    s.heat_level = 3;
    s.link_ok = true;
    s.temperature = 412;
    s.profile_name = "Ethiopia Guji.coff";
    window.controller().console.ShowProfileName();
    s.blink_phase = 1;  // the update toggles it to 0: no value blanked
    window.controller().panel.UpdatePanel();

    if (shot) {
        window.show();
        QApplication::processEvents();
        return window.grab().save(QString::fromLocal8Bit(shot)) ? 0 : 1;
    }
    // Interactive: keep the link lamp lit although no roaster answers.
    window.KillTimer(2);
    return window.exec();
}
