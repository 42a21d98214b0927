// How the step editor shows its messages and asks its one question. The
// default shows modal message boxes; tests install their own to read the
// texts and answer.
#pragma once

#include <QString>

class QWidget;

class EditorPrompts {
public:
    virtual ~EditorPrompts() = default;
    // A message with an OK button, owned by `owner` (may be null).
    virtual void ShowMessage(QWidget* owner, const QString& text) = 0;
    // A question with Yes and No buttons; true for Yes.
    virtual bool AskYesNo(QWidget* owner, const QString& text) = 0;
};

// Modal QMessageBox dialogs titled with the program's name.
class MessageBoxPrompts final : public EditorPrompts {
public:
    void ShowMessage(QWidget* owner, const QString& text) override;
    bool AskYesNo(QWidget* owner, const QString& text) override;
};
