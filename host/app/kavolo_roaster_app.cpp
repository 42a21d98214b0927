#include "kavolo_roaster_app.h"

#include <QMessageBox>

#include "control_ids.h"
#include "instance_lock.h"
#include "program_names.h"

CKavoloRoasterApp::CKavoloRoasterApp(InstanceLock& lock, SerialControl& com, PortLister& ports,
                                     CKavoloRoasterDlg::EditorFactory editor)
    : lock_(lock), com_(com), ports_(ports), editor_(std::move(editor)) {
    show_message = [](const QString& text) { QMessageBox::warning(nullptr, kProgramName, text, QMessageBox::Ok); };
}

int CKavoloRoasterApp::InitInstance() {
    if (!lock_.TryAcquire()) {
        show_message(QStringLiteral("Only one instance can run!"));
        return kResultCancel;
    }
    CKavoloRoasterDlg window(com_, ports_, editor_);
    return window.exec();
}
