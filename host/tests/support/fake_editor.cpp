#include "fake_editor.h"

std::vector<StepNode> Snapshot(const StepNode* head) {
    std::vector<StepNode> out;
    for (const StepNode* p = head; p && out.size() < 1000; p = p->next) {
        StepNode copy = *p;
        copy.next = nullptr;
        out.push_back(copy);
    }
    return out;
}

void FakeEditor::Record(const char* name, int step, int elapsed, const StepNode* head) {
    if (!record_calls) return;
    calls.push_back(EditorCall{name, step, elapsed, Snapshot(head)});
}

int FakeEditor::ShowDlg(StepNode* head) {
    Record("ShowDlg", 0, 0, head);
    list.CopyFrom(head);
    return 1;
}

void FakeEditor::Updata_ShowDlg(StepNode* head) {
    Record("Updata_ShowDlg", 0, 0, head);
    list.CopyFrom(head);
}

void FakeEditor::update_data(StepNode* head, int step, int elapsed) {
    Record("update_data", step, elapsed, head);
    if (head) list.CopyFrom(head);
}

StepNode* FakeEditor::return_link() {
    Record("return_link", 0, 0, nullptr);
    return list.head;
}

std::vector<EditorCall> FakeEditor::CallsOf(const std::string& name) const {
    std::vector<EditorCall> out;
    for (const EditorCall& call : calls)
        if (call.name == name) out.push_back(call);
    return out;
}
