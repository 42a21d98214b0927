// The program's binding of the step-editor library: loads `quarnel` from the
// program's own folder, resolves its exports by name and hands it the main
// window. Every call through a library or export that could not be found
// does nothing (return_link then returns nullptr). The library is never
// unloaded.
#pragma once

#include <QLibrary>
#include <QString>

#include "editor_library.h"
#include "quarnel_api.h"

class QWidget;

class QuarnelLibrary : public EditorLibrary {
public:
    // `host` is the main window the editor reports to; `folder` is where
    // the library lies (the program's own folder when empty).
    explicit QuarnelLibrary(QWidget* host, QString folder = QString());

    void LoadAndBind() override;
    bool Loaded() const override { return loaded_; }
    bool CanShowEditor() const override { return loaded_ && showDlg_ != nullptr; }

    int ShowDlg(StepNode* head) override;
    void Updata_ShowDlg(StepNode* head) override;
    void update_data(StepNode* head, int step, int elapsed) override;
    StepNode* return_link() override;
    void EnableShowDlg(int show) override;
    void CloseDlg() override;

    void SetLock(uint8_t value) override;
    uint8_t Lock() const override;

    // Why the library did not load (empty when it did).
    QString LoadError() const { return loadError_; }

    // The library's file in `folder`: libquarnel.so, quarnel.dll on
    // Windows.
    static QString FileNameIn(const QString& folder);

private:
    QWidget* host_;
    QString folder_;
    QLibrary library_;
    bool loaded_ = false;
    QString loadError_;

    ShowDlgFn showDlg_ = nullptr;
    SendDllMessageFn sendDllMessage_ = nullptr;
    ReturnLinkFn returnLink_ = nullptr;
    UpdateDataFn updateData_ = nullptr;
    UpdataShowDlgFn updataShowDlg_ = nullptr;
    EnableShowDlgFn enableShowDlg_ = nullptr;
    unsigned char* lock_ = nullptr;
    CloseDlgFn closeDlg_ = nullptr;
};
