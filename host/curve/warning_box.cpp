#include "warning_box.h"

#include <QMessageBox>

#include "program_names.h"

void ShowWarning(QWidget* parent, const QString& text) {
    auto* box = new QMessageBox(QMessageBox::Warning, kProgramName, text, QMessageBox::Ok, parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}
