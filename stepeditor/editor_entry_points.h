// The operations behind the library's exports, as the exported functions
// call them. The library keeps one editor for the life of the process,
// made on first use by TheEditor(); with Qt it is the PROGRAM window's
// editor, without Qt an editor of the step list alone.
#pragma once

#include <cstdint>

#include "step_node.h"

class STEP_PART;

class EditorEntryPoints {
public:
    virtual ~EditorEntryPoints() = default;

    // A list passed in is only read during the call.
    virtual void* send_dll_message(void* hostWindow) = 0;
    virtual int ShowDlg(const StepNode* head) = 0;
    virtual void Updata_ShowDlg(const StepNode* head) = 0;
    virtual void update_data(const StepNode* head, int step, int elapsed) = 0;
    virtual StepNode* return_link() = 0;
    virtual void EnableShowDlg(int show) = 0;
    virtual void CloseDlg() = 0;
    virtual intptr_t Create_Dlg() = 0;
};

// The editor of the process, made on the first call with the exported data
// items it reads and maintains (`lock`: dll_lock, `partAll`: part_all).
EditorEntryPoints& TheEditor(unsigned char* lock, STEP_PART** partAll);
