// Shows the main window on stand-ins for the roaster, the port listing and
// the editor library, in a Ready state with a profile loaded. With
// --shot FILE it saves a picture of the window to FILE and exits; with
// --picker the delayed-start clock shows instead of its icon; --sheet FILE
// saves every skin button image to FILE.
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QTimer>
#include <cstring>

#include "fake_editor.h"
#include "fake_serial.h"
#include "kavolo_roaster_dlg.h"
#include "skin_art.h"

// Every state image of every skin button, one button a row, on the panel's
// colour: for looking at the art.
bool SaveSheet(const char* path) {
    const SkinArt art;
    const char* captions[] = {"CREATE", "SELECT", "EDIT", "DELET", "SAVE", "CANCEL", "PROGRAM",
                              "RIGHT",  "UP",     "DOWN", "POWER", "MODEE"};
    QImage sheet(4 * 220, 12 * 110, QImage::Format_RGB32);
    sheet.fill(QColor(0x26, 0x28, 0x2c));
    QPainter p(&sheet);
    int row = 0;
    for (const char* caption : captions) {
        int column = 0;
        for (const char* letter : {"U", "D", "F", "X"}) {
            const QPixmap image = art.Named(QString::fromLatin1(caption) + letter);
            if (!image.isNull()) p.drawPixmap(column * 220 + 5, row * 110 + 4, image);
            ++column;
        }
        ++row;
    }
    p.end();
    return sheet.save(QString::fromLocal8Bit(path));
}

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const char* shot = nullptr;
    bool picker = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--shot") == 0 && i + 1 < argc) shot = argv[i + 1];
        if (std::strcmp(argv[i], "--picker") == 0) picker = true;  // the delayed-start clock instead of its icon
        if (std::strcmp(argv[i], "--sheet") == 0 && i + 1 < argc) return SaveSheet(argv[i + 1]) ? 0 : 1;
    }

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
    if (picker) {
        window.ShowClockIcon(false);
        window.ShowPicker(true);
        window.SetPickerTime(ClockTime{7, 30, 0});
    }

    if (shot) {
        window.show();
        QApplication::processEvents();
        return window.grab().save(QString::fromLocal8Bit(shot)) ? 0 : 1;
    }
    // Interactive: the panel runs on; with no roaster answering, the link
    // lamp goes out at the first control tick.
    return window.exec();
}
