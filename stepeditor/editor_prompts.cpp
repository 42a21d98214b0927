#include "editor_prompts.h"

#include <QGuiApplication>
#include <QMessageBox>

namespace {
QString Title() { return QGuiApplication::applicationDisplayName(); }
}  // namespace

void MessageBoxPrompts::ShowMessage(QWidget* owner, const QString& text) {
    QMessageBox::information(owner, Title(), text, QMessageBox::Ok);
}

bool MessageBoxPrompts::AskYesNo(QWidget* owner, const QString& text) {
    return QMessageBox::question(owner, Title(), text, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) ==
           QMessageBox::Yes;
}
