// Loads the built library from the test's own folder by the file name the
// program looks for, as the program does, and resolves every export by
// name with the system's own loader: a name missing from the export
// table, decorated by a calling convention, or a library built under
// another file name fails here. Links nothing of the library. Runs in the
// build without Qt (under Wine for the Windows cross build).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "quarnel_api.h"
#include "step_data.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#include <unistd.h>

#include <climits>
#endif

namespace {

#ifdef _WIN32
using Handle = HMODULE;

// The folder of this test's program, with its separator.
std::wstring ProgramFolder() {
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L"\\/") + 1);
}

Handle Load(std::string& error) {
    const std::string name = kQuarnelFileName;
    const Handle library = LoadLibraryW((ProgramFolder() + std::wstring(name.begin(), name.end())).c_str());
    if (!library) error = "LoadLibraryW failed with error " + std::to_string(GetLastError());
    return library;
}

void* Resolve(Handle library, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(library, name));
}
#else
using Handle = void*;

std::string ProgramFolder() {
    char path[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path);
    const std::string file(path, length > 0 ? static_cast<std::size_t>(length) : 0);
    return file.substr(0, file.find_last_of('/') + 1);
}

Handle Load(std::string& error) {
    const Handle library = dlopen((ProgramFolder() + kQuarnelFileName).c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library) error = dlerror();
    return library;
}

void* Resolve(Handle library, const char* name) { return dlsym(library, name); }
#endif

template <typename Fn>
Fn Entry(Handle library, const char* name) {
    return reinterpret_cast<Fn>(Resolve(library, name));
}

std::vector<std::vector<int>> Values(const StepNode* head) {
    std::vector<std::vector<int>> out;
    for (const StepNode* p = head; p; p = p->next) out.push_back({p->fan, p->time, p->heat});
    return out;
}

class LibraryExports : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        library_ = Load(error);
        ASSERT_NE(library_, nullptr) << kQuarnelFileName << " beside the program: " << error;
    }
    Handle library_ = nullptr;
};

TEST_F(LibraryExports, EveryNameTheProgramLooksUpResolves) {
    for (const char* name : quarnel_names::kAll) EXPECT_NE(Resolve(library_, name), nullptr) << name;
}

TEST_F(LibraryExports, ListsCrossAsCopiesThroughTheResolvedEntries) {
    using namespace quarnel_names;
    const auto send = Entry<SendDllMessageFn>(library_, kSendDllMessage);
    const auto refresh = Entry<UpdataShowDlgFn>(library_, kUpdataShowDlg);
    const auto progress = Entry<UpdateDataFn>(library_, kUpdateData);
    const auto take = Entry<ReturnLinkFn>(library_, kReturnLink);
    auto* const lock = static_cast<unsigned char*>(Resolve(library_, kDllLock));
    ASSERT_TRUE(send && refresh && progress && take && lock);

    int host = 0;
    EXPECT_EQ(send(&host), &host);
    CStep_Data list;
    list.Clear();
    list.InsertStep(1, 7, 42, 2, StepWaiting);
    list.InsertStep(2, 9, 18, 1, StepWaiting);
    list.InsertStep(3, 4, 25, 0, CoolWaiting);
    refresh(list.head);
    const StepNode* copy = take();
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy, list.head);  // copied at once, never the caller's records
    EXPECT_EQ(Values(copy), Values(list.head));

    // update_data hands a new copy in with the running step.
    list.UpdateStep(2, 3, KEEP_VALUE, KEEP_VALUE, StepRunning);
    progress(list.head, 2, 17);
    EXPECT_EQ(Values(take()), (std::vector<std::vector<int>>{{7, 42, 2}, {3, 18, 1}, {4, 25, 0}}));

    // The exported byte is the library's own, written through the address.
    *lock = 1;
    EXPECT_EQ(*static_cast<unsigned char*>(Resolve(library_, kDllLock)), 1);
    *lock = 0;
}

}  // namespace
