// Saves a picture of the PROGRAM window showing a five-step profile whose
// third step is running: quarnel_snapshot FILE.png
#include <QApplication>
#include <QDialog>
#include <QPixmap>
#include <QTextStream>
#include <QWidget>

#include "quarnel_editor.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        QTextStream(stderr) << "usage: quarnel_snapshot FILE.png\n";
        return 2;
    }
    QWidget host;
    host.resize(916, 722);
    host.show();

    unsigned char lock = 0;
    STEP_PART* rows = nullptr;
    QuarnelEditor editor(&lock, &rows);
    editor.send_dll_message(&host);

    CStep_Data profile;
    profile.UpdateStep(1, 6, 25, 3, StepCompleted);
    profile.InsertStep(2, 5, 40, 2, StepCompleted);
    profile.InsertStep(3, 4, 59, 2, StepRunning);
    profile.InsertStep(4, 3, 30, 1, StepWaiting);
    profile.InsertStep(5, 7, 45, 0, CoolWaiting);
    editor.ShowDlg(profile.head);
    // Two progress reports: the running step shows 2.3 minutes, its dots moving.
    editor.update_data(profile.head, 3, 23);
    editor.update_data(profile.head, 3, 24);
    QApplication::processEvents();

    if (!editor.Program().Window()->grab().save(QString::fromLocal8Bit(argv[1]))) {
        QTextStream(stderr) << "cannot write " << argv[1] << "\n";
        return 1;
    }
    return 0;
}
