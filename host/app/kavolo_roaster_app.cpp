#include "kavolo_roaster_app.h"

#include "control_ids.h"
#include "instance_lock.h"
#include "roast_session.h"
#include "user_notice.h"

CKavoloRoasterApp::CKavoloRoasterApp(InstanceLock& lock, SerialControl& com, PortLister& ports,
                                     CKavoloRoasterDlg::EditorFactory editor)
    : lock_(lock), com_(com), ports_(ports), editor_(std::move(editor)) {
    show_message = ShowUserNotice;
}

CKavoloRoasterApp::~CKavoloRoasterApp() = default;

bool CKavoloRoasterApp::MakeWindow() {
    if (window_) return true;
    if (!lock_.TryAcquire()) {
        show_message(QStringLiteral("Only one instance can run!"));
        return false;
    }
    window_ = std::make_unique<CKavoloRoasterDlg>(com_, ports_, editor_, roasts_folder);
    window_->roast_session().SetRoaster(roaster);
    if (background) window_->roast_session().StartWithBackground(*background, background_path, follow);
    return true;
}

bool CKavoloRoasterApp::InitInstance() {
    if (!MakeWindow()) return false;
    return window_->exec() != kResultAbort;
}

bool CKavoloRoasterApp::Open() {
    if (!MakeWindow()) return false;
    window_->OnInitDialog();
    if (window_->Ended()) return false;
    // As exec() shows it, without its event loop.
    window_->setWindowModality(Qt::ApplicationModal);
    window_->show();
    return true;
}
