// The step editor as a whole: the library's state, its own step list, the
// PROGRAM window and the scrolling list, and the operations behind each
// export. The shared library keeps one instance for the life of the
// process; tests create their own.
#pragma once

#include <QString>
#include <cstdint>

#include "editor_entry_points.h"
#include "editor_prompts.h"
#include "editor_services.h"
#include "editor_state.h"
#include "program_dlg.h"
#include "step_data.h"
#include "step_scroll_dlg.h"

class QuarnelEditor final : public EditorServices, public EditorEntryPoints {
public:
    // `lock` and `partAll` are the exported data items this editor reads
    // and maintains.
    QuarnelEditor(unsigned char* lock, STEP_PART** partAll);
    ~QuarnelEditor() override;
    QuarnelEditor(const QuarnelEditor&) = delete;
    QuarnelEditor& operator=(const QuarnelEditor&) = delete;

    // EditorEntryPoints: the exports.
    void* send_dll_message(void* hostWindow) override;
    int ShowDlg(const StepNode* head) override;
    void Updata_ShowDlg(const StepNode* head) override;
    void update_data(const StepNode* head, int step, int elapsed) override;
    StepNode* return_link() override;
    void EnableShowDlg(int show) override;
    void CloseDlg() override;
    intptr_t Create_Dlg() override;

    // Replaces the way messages and the question reach the user (null
    // restores the message boxes).
    void SetPrompts(EditorPrompts* prompts);

    CStep_Data& List() { return list_; }
    LibraryState& State() { return state_; }
    CProgramDlg& Program() { return program_; }
    CStepScrollDlg& Scroll() { return scroll_; }

    // EditorServices
    void SendToHost(int code) override;
    void ShowMessage(const QString& text) override;
    bool AskYesNo(const QString& text) override;

private:
    bool WindowOpen() const { return program_.Exists() && state_.shown; }
    void ResetScroll() { program_.ResetScrollRange(); }
    void AutoScroll(int step);
    QWidget* PromptOwner() const;

    LibraryState state_;
    MessageBoxPrompts messageBoxes_;
    EditorPrompts* prompts_ = &messageBoxes_;
    ServicesDiagnosticSink sink_{*this};
    CStep_Data list_{&sink_};
    CStepScrollDlg scroll_{state_.scroll};
    CProgramDlg program_{state_, list_, scroll_, *this};
};
