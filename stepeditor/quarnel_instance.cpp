// The library's one editor: the PROGRAM window's.
#include "editor_entry_points.h"
#include "quarnel_editor.h"

EditorEntryPoints& TheEditor(unsigned char* lock, STEP_PART** partAll) {
    // Created on first use and kept until the process ends: its windows
    // belong to the host window and go with it.
    static QuarnelEditor* const editor = new QuarnelEditor(lock, partAll);
    return *editor;
}
