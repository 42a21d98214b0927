#include "roast_session.h"

#include <QMessageBox>
#include <QStandardPaths>

#include "program_names.h"
#include "roaster_controller.h"

namespace {

const std::string kProgramAndVersion = std::string("kavolo-roaster ") + KAVOLO_VERSION;

}  // namespace

QString RoastSession::DefaultFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/kavolo-roaster/roasts");
}

RoastSession::RoastSession(RoasterController& controller, QWidget* main_window, const QString& roasts_folder)
    : controller_(controller),
      main_window_(main_window),
      folder_(roasts_folder.isEmpty() ? DefaultFolder() : roasts_folder),
      files_(folder_.toStdString()),
      recorder_(clock_, &files_, kProgramAndVersion),
      curve_(recorder_, &files_, folder_, main_window, [&controller] { return controller.state().show_celsius != 0; }) {
    files_.on_failure = [this](const std::string& path, const std::string& reason) {
        ReportWriteFailure(path, reason);
    };
    RecoverInterruptedLogs(folder_.toStdString());
    controller_.events().Add(recorder_);
    controller_.events().Add(curve_);
}

RoastSession::~RoastSession() { Close(); }

void RoastSession::Close() {
    if (closed_) return;
    closed_ = true;
    recorder_.OnClose(controller_.console.working);
    // Whatever the controller handles after this (the rest of the event
    // that ended the program) starts no new recording.
    controller_.events().Remove(recorder_);
    controller_.events().Remove(curve_);
}

void RoastSession::ReportWriteFailure(const std::string& path, const std::string& reason) {
    const QString text = QStringLiteral("Cannot write the roast log %1: %2\n\n"
                                        "The roast is still being recorded. Save it with \"Save log as\u2026\" "
                                        "in the Roast curve window.")
                             .arg(QString::fromStdString(path), QString::fromStdString(reason));
    // Shown without a loop of its own: this is called while the recorder
    // takes a reading, and a nested event loop would feed it the next one
    // before it is done. A box still open is reused.
    if (!failure_box_) {
        failure_box_ = new QMessageBox(QMessageBox::Warning, kProgramName, text, QMessageBox::Ok, main_window_);
        failure_box_->setAttribute(Qt::WA_DeleteOnClose);
        failure_box_->setWindowModality(Qt::NonModal);
    } else {
        failure_box_->setText(text);
    }
    failure_box_->show();
}
