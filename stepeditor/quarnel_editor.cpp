#include "quarnel_editor.h"

#include <QCoreApplication>
#include <QDialog>

#include "editor_message.h"

namespace {
constexpr int kAllSteps = 255;
}  // namespace

QuarnelEditor::QuarnelEditor(unsigned char* lock, STEP_PART** partAll) {
    state_.lock = lock;
    state_.partAll = partAll;
    // Obtain the registered message now, so both sides agree on it early.
    EditorMessageType();
}

QuarnelEditor::~QuarnelEditor() = default;

void QuarnelEditor::SetPrompts(EditorPrompts* prompts) { prompts_ = prompts ? prompts : &messageBoxes_; }

void QuarnelEditor::SendToHost(int code) {
    QWidget* host = state_.hostWnd;
    if (!host) return;
    EditorMessageEvent event(code);
    QCoreApplication::sendEvent(host, &event);
}

QWidget* QuarnelEditor::PromptOwner() const {
    if (program_.Exists()) return program_.Window();
    return state_.hostWnd;
}

void QuarnelEditor::ShowMessage(const QString& text) { prompts_->ShowMessage(PromptOwner(), text); }

bool QuarnelEditor::AskYesNo(const QString& text) { return prompts_->AskYesNo(PromptOwner(), text); }

void* QuarnelEditor::send_dll_message(void* hostWindow) {
    state_.hostWnd = static_cast<QWidget*>(hostWindow);
    return hostWindow;
}

int QuarnelEditor::ShowDlg(const StepNode* head) {
    program_.Destroy();
    program_.Create(state_.hostWnd);
    QDialog* window = program_.Window();
    state_.shown = 1;
    window->hide();
    list_.CopyFrom(head);
    window->move(HostOrigin(state_) + state_.placement);
    window->show();

    if (!scroll_.ExistsIn(window)) scroll_.Create(window, state_.scale);
    scroll_.Window()->show();
    scroll_.Window()->move(35, static_cast<int>(55 * state_.scale));
    program_.RebuildRows();
    scroll_.Window()->show();
    ResetScroll();
    return 1;
}

void QuarnelEditor::Updata_ShowDlg(const StepNode* head) {
    list_.CopyFrom(head);
    if (!WindowOpen()) return;
    if (!program_.Window()->isVisible()) {
        program_.RebuildRows();
        ResetScroll();
        return;
    }
    if (!scroll_.ExistsIn(program_.Window())) scroll_.Create(program_.Window(), state_.scale);
    scroll_.Window()->show();
    scroll_.Window()->move(35, 55);
    program_.RebuildRows();
    scroll_.Window()->show();
    ResetScroll();
}

void QuarnelEditor::update_data(const StepNode* head, int step, int elapsed) {
    if (head) list_.CopyFrom(head);
    if (!WindowOpen()) return;
    const uint32_t count = list_.Renumber();
    if (count == 0) {
        ShowMessage(QString::fromUtf8(editortext::kListEmpty));
        return;
    }
    // Rows and records are paired in order; neither is read beyond its end.
    const uint32_t rows = static_cast<uint32_t>(program_.RowCount());
    if (step == kAllSteps) {
        for (uint32_t i = 1; i <= count && i <= rows; ++i) {
            StepNode record{};
            if (list_.GetStep(i, record)) {
                program_.Row(static_cast<int>(i) - 1).SetStep(record.index, record.fan, record.time, record.heat,
                                                              record.status);
            }
        }
        return;
    }
    if (step < 1 || static_cast<uint32_t>(step) > count) return;
    StepNode record{};
    if (static_cast<uint32_t>(step) <= rows && list_.GetStep(static_cast<uint32_t>(step), record)) {
        STEP_PART& row = program_.Row(step - 1);
        // The text shows the elapsed time of the previous report.
        row.SetStep(record.index, record.fan, record.time, record.heat, record.status);
        row.m_elapsed = static_cast<float>(elapsed * 0.1);
    }
    if (step != state_.lastStep) {
        state_.lastStep = step;
        AutoScroll(step);
    }
}

void QuarnelEditor::AutoScroll(int step) {
    // Keeps the running step the third visible row.
    ScrollState& s = state_.scroll;
    if (step > 3) {
        const int position = step * 4 - 12;
        if (s.page + position - 2 < s.maximum) {
            const int old = s.position;
            s.position = position;
            scroll_.ScrollContent((old - position) * CStepScrollDlg::kUnitPixels);
        }
    } else if (step < 3) {
        if (s.position != 0) {
            scroll_.ScrollContent(s.position * CStepScrollDlg::kUnitPixels);
            s.position = 0;
        }
    }
    scroll_.ApplyState();
}

StepNode* QuarnelEditor::return_link() {
    // Closing the window wrote its rows back already; after that the hidden
    // rows only show the list as it was then, and writing them back would
    // put that old profile over the list the host has handed in since.
    if (WindowOpen()) program_.CollectRows();
    return list_.head;
}

void QuarnelEditor::EnableShowDlg(int show) {
    if (!WindowOpen()) return;
    QDialog* window = program_.Window();
    if (show) {
        window->showNormal();
        return;
    }
    window->hide();
    if (QWidget* host = state_.hostWnd) {
        host->activateWindow();
        host->setFocus();
    }
}

void QuarnelEditor::CloseDlg() {
    if (WindowOpen()) program_.OnCancel();
}

intptr_t QuarnelEditor::Create_Dlg() {
    if (!program_.Exists()) program_.Create(state_.hostWnd);
    return reinterpret_cast<intptr_t>(program_.Window());
}
