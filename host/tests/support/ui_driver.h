// Drives the real windows as a user would: clicks on the panel's buttons,
// answers to the message boxes and file dialogs the console opens, and a
// reading of the PROGRAM window's rows.
#pragma once

#include <QMessageBox>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <deque>
#include <map>

class QDialog;
class QLineEdit;
class QPushButton;
class QWidget;

// Answers every message box and file dialog that opens while it exists,
// from inside the modal loop that shows it: a box whose text has an answer
// gets that button, any other box its Ok or No; a file dialog gets the next
// queued file, or is cancelled when none is queued.
class DialogAnswerer : public QObject {
public:
    DialogAnswerer();

    void Answer(const QString& text, QMessageBox::StandardButton button) { answers_[text] = button; }
    // The next file dialog chooses `path`.
    void ChooseFile(const QString& path) { files_.push_back(path); }

    // Texts of the boxes answered so far, in order.
    QStringList boxes;
    // Name filters of the file dialogs answered so far, in order.
    QStringList file_filters;
    int Count(const QString& text) const { return static_cast<int>(boxes.count(text)); }

private:
    void Look();

    QTimer poll_;
    std::map<QString, QMessageBox::StandardButton> answers_;
    std::deque<QString> files_;
};

// A left click in the middle of `widget`, pressed and released.
void ClickMiddle(QWidget* widget);

// The PROGRAM window of the step editor while it is shown; nullptr else.
QDialog* ShownProgramWindow();
// A button of the shown PROGRAM window by its text ("Append", "Download").
QPushButton* ProgramButton(const QString& text);
// A field of a row of the shown PROGRAM window ("fan" or "time"; row 0 is
// the top row); nullptr when there is none.
QLineEdit* ProgramRowField(int row, const QString& name);
// Types `text` over the field's text and commits it with Enter.
void TypeInto(QLineEdit* field, const QString& text);
// The status texts of the shown PROGRAM window's rows, top row first,
// without their padding.
QStringList ProgramRowStatuses();
