// An EditorLibrary for tests that behaves like the library at its exports:
// it keeps its own copy of every list it is given, returns that copy from
// return_link, and records every call.
#pragma once

#include <string>
#include <vector>

#include "editor_library.h"
#include "step_data.h"

struct EditorCall {
    std::string name;
    int step = 0;
    int elapsed = 0;
    std::vector<StepNode> list;  // the list passed in, copied (next cleared)
};

class FakeEditor : public EditorLibrary {
public:
    explicit FakeEditor(DiagnosticSink* sink = nullptr) : list(sink) {}

    void LoadAndBind() override { ++binds; }
    bool Loaded() const override { return loaded; }
    bool CanShowEditor() const override { return loaded && can_show; }
    int ShowDlg(StepNode* head) override;
    void Updata_ShowDlg(StepNode* head) override;
    void update_data(StepNode* head, int step, int elapsed) override;
    StepNode* return_link() override;
    void EnableShowDlg(int show) override { Record("EnableShowDlg", show, 0, nullptr); }
    void CloseDlg() override { Record("CloseDlg", 0, 0, nullptr); }
    void SetLock(uint8_t value) override { lock = value; }
    uint8_t Lock() const override { return lock; }

    // Calls of the named export.
    std::vector<EditorCall> CallsOf(const std::string& name) const;
    void ClearCalls() { calls.clear(); }

    bool loaded = true;
    bool can_show = true;  // false: a library without ShowDlg
    int binds = 0;
    uint8_t lock = 0;
    CStep_Data list;  // the editor's own list
    std::vector<EditorCall> calls;
    // False: `calls` is not kept (long runs).
    bool record_calls = true;

private:
    void Record(const char* name, int step, int elapsed, const StepNode* head);
};

// The steps of a chain as values, for comparisons.
std::vector<StepNode> Snapshot(const StepNode* head);
