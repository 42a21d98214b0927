#include "ui_driver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <vector>

DialogAnswerer::DialogAnswerer() {
    poll_.setInterval(10);
    connect(&poll_, &QTimer::timeout, this, &DialogAnswerer::Look);
    poll_.start();
}

void DialogAnswerer::Look() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (!widget->isVisible()) continue;
        if (auto* box = qobject_cast<QMessageBox*>(widget)) {
            const QString text = box->text();
            QMessageBox::StandardButton choice = QMessageBox::NoButton;
            if (auto it = answers_.find(text); it != answers_.end()) choice = it->second;
            QAbstractButton* button = choice != QMessageBox::NoButton ? box->button(choice) : nullptr;
            if (!button) button = box->button(QMessageBox::Ok);
            if (!button) button = box->button(QMessageBox::No);
            if (!button) continue;
            boxes << text;
            button->click();
            return;  // the next box is looked at from the loop that remains
        }
        if (auto* dialog = qobject_cast<QFileDialog*>(widget)) {
            file_filters << dialog->nameFilters().join(QStringLiteral(";;"));
            if (files_.empty()) {
                dialog->reject();
            } else {
                // Typed into the file name field, as a user would: selectFile()
                // leaves a focused field empty and picks the file only once the
                // dialog's folder listing, loaded in the background, has it.
                if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
                    name->setText(files_.front());
                else
                    dialog->selectFile(files_.front());
                files_.pop_front();
                static_cast<QDialog*>(dialog)->accept();  // as its Open button does
            }
            return;
        }
    }
}

void ClickMiddle(QWidget* widget) {
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, widget->rect().center());
}

QDialog* ShownProgramWindow() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* dialog = qobject_cast<QDialog*>(widget);
        if (dialog && dialog->isVisible() && dialog->windowTitle() == QStringLiteral("PROGRAM")) return dialog;
    }
    return nullptr;
}

QPushButton* ProgramButton(const QString& text) {
    QDialog* window = ShownProgramWindow();
    return window ? window->findChild<QPushButton*>(text) : nullptr;
}

namespace {
// The controls of one kind and name in the rows of the shown PROGRAM
// window, top row first: rows lie one under the other in the list.
template <typename Control>
std::vector<Control*> RowControls(const QString& name) {
    QDialog* window = ShownProgramWindow();
    if (!window) return {};
    std::vector<Control*> out;
    for (Control* control : window->findChildren<Control*>(name))
        if (control->parentWidget()) out.push_back(control);
    std::sort(out.begin(), out.end(),
              [](Control* a, Control* b) { return a->parentWidget()->y() < b->parentWidget()->y(); });
    return out;
}
}  // namespace

QLineEdit* ProgramRowField(int row, const QString& name) {
    const std::vector<QLineEdit*> fields = RowControls<QLineEdit>(name);
    return row >= 0 && row < static_cast<int>(fields.size()) ? fields[row] : nullptr;
}

void TypeInto(QLineEdit* field, const QString& text) {
    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, text);
    QTest::keyClick(field, Qt::Key_Return);
}

QStringList ProgramRowStatuses() {
    QStringList out;
    for (QLabel* label : RowControls<QLabel>(QStringLiteral("status"))) out << label->text().trimmed();
    return out;
}
