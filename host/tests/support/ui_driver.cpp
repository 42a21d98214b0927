#include "ui_driver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QLabel>
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

QStringList ProgramRowStatuses() {
    QDialog* window = ShownProgramWindow();
    if (!window) return {};
    std::vector<QLabel*> labels;
    for (QLabel* label : window->findChildren<QLabel*>(QStringLiteral("status")))
        if (label->parentWidget()) labels.push_back(label);
    // Rows lie one under the other in the scrolling list.
    std::sort(labels.begin(), labels.end(),
              [](QLabel* a, QLabel* b) { return a->parentWidget()->y() < b->parentWidget()->y(); });
    QStringList out;
    for (QLabel* label : labels) out << label->text().trimmed();
    return out;
}
