// The library's one editor in a build without Qt: the editor's step list
// alone, without the PROGRAM window. The lists handed in are copied and
// handed back as the windowed editor does; ShowDlg and Create_Dlg report
// that no window exists. The Windows cross build links the exports to it,
// so the library's export table and calling convention are tested under
// Windows without the windows.
#include "editor_entry_points.h"
#include "list_diagnostics.h"
#include "step_data.h"

namespace {

class WindowlessEditor final : public EditorEntryPoints {
public:
    // There is no window to send messages from.
    void* send_dll_message(void* hostWindow) override { return hostWindow; }
    int ShowDlg(const StepNode* head) override {
        list_.CopyFrom(head);
        return 0;
    }
    void Updata_ShowDlg(const StepNode* head) override { list_.CopyFrom(head); }
    void update_data(const StepNode* head, int, int) override {
        if (head) list_.CopyFrom(head);
    }
    StepNode* return_link() override { return list_.head; }
    void EnableShowDlg(int) override {}
    void CloseDlg() override {}
    intptr_t Create_Dlg() override { return 0; }

private:
    CStep_Data list_{&StandardErrorSink()};
};

}  // namespace

EditorEntryPoints& TheEditor(unsigned char*, STEP_PART**) {
    static WindowlessEditor* const editor = new WindowlessEditor;
    return *editor;
}
