// The exports of libquarnel: thin entry points onto the one editor of the
// process. Nothing is thrown across this boundary.
#include "editor_entry_points.h"
#include "quarnel_api.h"

unsigned char dll_lock = 0;
STEP_PART* part_all = nullptr;

namespace {
EditorEntryPoints& Editor() { return TheEditor(&dll_lock, &part_all); }

template <typename Result, typename Call>
Result Guard(Result fallback, Call call) {
    try {
        return call();
    } catch (...) {
        return fallback;
    }
}

template <typename Call>
void Guard(Call call) {
    try {
        call();
    } catch (...) {
    }
}
}  // namespace

extern "C" {

void* send_dll_message(void* host_window) {
    return Guard<void*>(host_window, [&] { return Editor().send_dll_message(host_window); });
}

int ShowDlg(StepNode* head) {
    return Guard(0, [&] { return Editor().ShowDlg(head); });
}

void Updata_ShowDlg(StepNode* head) {
    Guard([&] { Editor().Updata_ShowDlg(head); });
}

void update_data(StepNode* head, int step, int elapsed) {
    Guard([&] { Editor().update_data(head, step, elapsed); });
}

StepNode* return_link() {
    return Guard<StepNode*>(nullptr, [] { return Editor().return_link(); });
}

void EnableShowDlg(int show) {
    Guard([&] { Editor().EnableShowDlg(show); });
}

void CloseDlg() {
    Guard([] { Editor().CloseDlg(); });
}

intptr_t Create_Dlg() {
    return Guard<intptr_t>(0, [] { return Editor().Create_Dlg(); });
}

}  // extern "C"
