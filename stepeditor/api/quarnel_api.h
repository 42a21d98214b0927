// The exports of the step-editor library `quarnel`, as the library defines
// them and the program resolves them by name at run time. Step lists cross
// only as a pointer to the first StepNode of a chain; the receiver copies the
// chain at once and neither side frees the other's records. Nothing is
// thrown across this boundary.
#pragma once

#include <cstdint>

#include "step_node.h"

#if defined(_WIN32)
#if defined(QUARNEL_BUILD)
#define QUARNEL_EXPORT __declspec(dllexport)
#else
#define QUARNEL_EXPORT __declspec(dllimport)
#endif
#else
#define QUARNEL_EXPORT __attribute__((visibility("default")))
#endif

class STEP_PART;

extern "C" {
// Remembers the host window (a QWidget* passed as an opaque handle) that
// receives the editor's messages; returns it.
QUARNEL_EXPORT void* send_dll_message(void* host_window);
// Opens the PROGRAM window showing a copy of the list.
QUARNEL_EXPORT int ShowDlg(StepNode* head);
// Replaces the editor's list with a copy; rebuilds the rows of an open window.
QUARNEL_EXPORT void Updata_ShowDlg(StepNode* head);
// Copies the list (when not null) and refreshes one row (1-based step) with
// its elapsed tenths of a minute, or every row for step 255.
QUARNEL_EXPORT void update_data(StepNode* head, int step, int elapsed);
// Writes the rows of the open window back into the editor's list and
// returns its first step.
QUARNEL_EXPORT StepNode* return_link();
// Shows (nonzero) or hides (0) the open window.
QUARNEL_EXPORT void EnableShowDlg(int show);
// Closes the open window as its Cancel button does.
QUARNEL_EXPORT void CloseDlg();
// Creates the PROGRAM window hidden; returns it as an integer.
QUARNEL_EXPORT intptr_t Create_Dlg();

// The first row of the current row table (null until the window is filled).
QUARNEL_EXPORT extern STEP_PART* part_all;
// Written by the host only: nonzero locks Delete and Append.
QUARNEL_EXPORT extern unsigned char dll_lock;
}

// The library's file name, which the program looks for in its own folder.
#if defined(_WIN32)
constexpr char kQuarnelFileName[] = "quarnel.dll";
#elif defined(__APPLE__)
constexpr char kQuarnelFileName[] = "libquarnel.dylib";
#else
constexpr char kQuarnelFileName[] = "libquarnel.so";
#endif

// The exports' names, as the program resolves them and as the library's
// export table holds them (a test reads quarnel.dll's table for these).
namespace quarnel_names {
constexpr char kSendDllMessage[] = "send_dll_message";
constexpr char kShowDlg[] = "ShowDlg";
constexpr char kUpdataShowDlg[] = "Updata_ShowDlg";
constexpr char kUpdateData[] = "update_data";
constexpr char kReturnLink[] = "return_link";
constexpr char kEnableShowDlg[] = "EnableShowDlg";
constexpr char kCloseDlg[] = "CloseDlg";
constexpr char kCreateDlg[] = "Create_Dlg";
constexpr char kPartAll[] = "part_all";
constexpr char kDllLock[] = "dll_lock";
constexpr const char* kAll[] = {kSendDllMessage, kShowDlg,  kUpdataShowDlg, kUpdateData, kReturnLink,
                                kEnableShowDlg,  kCloseDlg, kCreateDlg,     kPartAll,    kDllLock};
}  // namespace quarnel_names

// Entry point types, for resolving the exports by name.
using SendDllMessageFn = void* (*)(void*);
using ShowDlgFn = int (*)(StepNode*);
using UpdataShowDlgFn = void (*)(StepNode*);
using UpdateDataFn = void (*)(StepNode*, int, int);
using ReturnLinkFn = StepNode* (*)();
using EnableShowDlgFn = void (*)(int);
using CloseDlgFn = void (*)();
using CreateDlgFn = intptr_t (*)();
