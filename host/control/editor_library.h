// The step-editor library as the roast logic calls it: the library's
// exports under their own names. The program's binding resolves them from
// the loaded library; a missing library or export makes the call do nothing
// (and return_link return nullptr). Tests replace it with a fake.
#pragma once

#include <cstdint>

#include "step_node.h"

class EditorLibrary {
public:
    virtual ~EditorLibrary() = default;

    // Loads the library (once), resolves its exports and hands it the main
    // window.
    virtual void LoadAndBind() = 0;
    // True when the library is loaded.
    virtual bool Loaded() const = 0;
    // True when the PROGRAM window can be opened: the library is loaded and
    // has its ShowDlg.
    virtual bool CanShowEditor() const { return Loaded(); }

    virtual int ShowDlg(StepNode* head) = 0;
    virtual void Updata_ShowDlg(StepNode* head) = 0;
    virtual void update_data(StepNode* head, int step, int elapsed) = 0;
    virtual StepNode* return_link() = 0;
    virtual void EnableShowDlg(int show) = 0;
    virtual void CloseDlg() = 0;

    // The library's one-byte export `dll_lock`.
    virtual void SetLock(uint8_t value) = 0;
    virtual uint8_t Lock() const = 0;
};
