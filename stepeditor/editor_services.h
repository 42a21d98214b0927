// What the editor's windows need from the library around them: the way to
// the host window and the way to the user.
#pragma once

#include <QString>
#include <string>

#include "list_diagnostics.h"

class EditorServices {
public:
    virtual ~EditorServices() = default;
    // Delivers the registered message with `code` to the host window,
    // synchronously; nothing when there is no host window.
    virtual void SendToHost(int code) = 0;
    // A message with an OK button, owned by the PROGRAM window.
    virtual void ShowMessage(const QString& text) = 0;
    // A Yes/No question owned by the PROGRAM window; true for Yes.
    virtual bool AskYesNo(const QString& text) = 0;
};

// Shows the diagnostics of the editor's own step list as messages.
class ServicesDiagnosticSink final : public DiagnosticSink {
public:
    explicit ServicesDiagnosticSink(EditorServices& services) : services_(services) {}
    void ShowDiagnostic(const std::string& text) override {
        services_.ShowMessage(QString::fromStdString(text));
    }

private:
    EditorServices& services_;
};
