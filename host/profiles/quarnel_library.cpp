#include "quarnel_library.h"

#include <QCoreApplication>
#include <QDir>

namespace {
template <typename Fn>
Fn Resolve(QLibrary& library, const char* name) {
    return reinterpret_cast<Fn>(library.resolve(name));
}
}  // namespace

QuarnelLibrary::QuarnelLibrary(QWidget* host, QString folder) : host_(host), folder_(std::move(folder)) {}

void QuarnelLibrary::LoadAndBind() {
    if (loaded_) return;
    const QString folder = folder_.isEmpty() ? QCoreApplication::applicationDirPath() : folder_;
    library_.setFileName(FileNameIn(folder));
    if (!library_.load()) {
        loadError_ = library_.errorString();
        return;
    }
    loaded_ = true;
    loadError_.clear();
    using namespace quarnel_names;
    showDlg_ = Resolve<ShowDlgFn>(library_, kShowDlg);
    sendDllMessage_ = Resolve<SendDllMessageFn>(library_, kSendDllMessage);
    returnLink_ = Resolve<ReturnLinkFn>(library_, kReturnLink);
    updateData_ = Resolve<UpdateDataFn>(library_, kUpdateData);
    updataShowDlg_ = Resolve<UpdataShowDlgFn>(library_, kUpdataShowDlg);
    enableShowDlg_ = Resolve<EnableShowDlgFn>(library_, kEnableShowDlg);
    lock_ = reinterpret_cast<unsigned char*>(library_.resolve(kDllLock));
    closeDlg_ = Resolve<CloseDlgFn>(library_, kCloseDlg);
    if (sendDllMessage_) sendDllMessage_(host_);
}

QString QuarnelLibrary::FileNameIn(const QString& folder) {
    return QDir(folder).filePath(QString::fromLatin1(kQuarnelFileName));
}

int QuarnelLibrary::ShowDlg(StepNode* head) { return showDlg_ ? showDlg_(head) : 0; }

void QuarnelLibrary::Updata_ShowDlg(StepNode* head) {
    if (updataShowDlg_) updataShowDlg_(head);
}

void QuarnelLibrary::update_data(StepNode* head, int step, int elapsed) {
    if (updateData_) updateData_(head, step, elapsed);
}

StepNode* QuarnelLibrary::return_link() { return returnLink_ ? returnLink_() : nullptr; }

void QuarnelLibrary::EnableShowDlg(int show) {
    if (enableShowDlg_) enableShowDlg_(show);
}

void QuarnelLibrary::CloseDlg() {
    if (closeDlg_) closeDlg_();
}

void QuarnelLibrary::SetLock(uint8_t value) {
    if (lock_) *lock_ = value;
}

uint8_t QuarnelLibrary::Lock() const { return lock_ ? *lock_ : 0; }
