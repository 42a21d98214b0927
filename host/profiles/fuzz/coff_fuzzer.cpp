// Fuzz target: any file, shorter or longer than the 420 bytes a profile
// can take, read as a ".coff" profile.
//
// Whatever the bytes, reading neither crashes nor leaks; a loaded profile
// is one the control cycle can run and saves to a text that loads back to
// the same steps; a refused file leaves the default profile; and SELECT of
// the file leaves the controller in a sound state.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "coff_file.h"
#include "control_ids.h"
#include "controller_harness.h"
#include "invariants.h"
#include "step_values.h"

namespace {

[[noreturn]] void Broken(const std::string& problem) {
    std::fprintf(stderr, "invariant broken: %s\n", problem.c_str());
    std::abort();
}

// One file for the whole run, in a folder of this process.
const std::string& ScratchFile() {
    static const std::string path = [] {
        const auto folder = std::filesystem::temp_directory_path() / ("coff_fuzzer." + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
        std::atexit([] {
            std::error_code ec;
            std::filesystem::remove_all(std::filesystem::temp_directory_path() /
                                            ("coff_fuzzer." + std::to_string(::getpid())),
                                        ec);
        });
        return (folder / "Profile.coff").string();
    }();
    return path;
}

void WriteFile(const std::string& path, const void* data, std::size_t size) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) Broken("cannot write the scratch file");
    if (size > 0 && std::fwrite(data, 1, size, f) != size) Broken("short write of the scratch file");
    std::fclose(f);
}

std::vector<StepValues> DefaultProfile() {
    return {{5, 59, 3, StepWaiting}, {5, 30, 0, CoolWaiting}};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string& path = ScratchFile();
    WriteFile(path, data, size);

    CStep_Data list;
    const CoffLoadResult loaded = LoadCoffFile(path, list);
    if (auto p = ListProblem(list, kCoffMaxRecords); !p.empty()) Broken(p);
    switch (loaded.outcome) {
    case CoffLoad::CannotOpen:
        Broken("a readable file reported as unreadable: " + loaded.reason);
    case CoffLoad::Refused:
        if (Values(list.head) != DefaultProfile()) Broken("a refused file did not leave the default profile");
        break;
    case CoffLoad::NoCooling:
        if (list.count != kCoffMaxRecords) Broken("a profile without cooling is not 21 roast steps");
        for (const StepNode* p = list.head; p; p = p->next)
            if (IsCoolingStatus(p->status)) Broken("a cooling step in a profile without cooling");
        break;
    case CoffLoad::Loaded: {
        if (auto p = ProfileProblem(list); !p.empty()) Broken("loaded profile: " + p);
        for (const StepNode* p = list.head; p; p = p->next)
            if (p->time > 99) Broken("a loaded time beyond 99");
        // What loads saves, and what it saves loads back the same.
        const std::optional<std::string> text = BuildCoffText(list);
        if (!text) Broken("a loaded profile cannot be saved");
        if (text->size() != kCoffRecordSize * list.count) Broken("the saved text has the wrong length");
        WriteFile(path, text->data(), text->size());
        CStep_Data again;
        if (LoadCoffFile(path, again).outcome != CoffLoad::Loaded || Values(again.head) != Values(list.head))
            Broken("a saved profile does not load back the same");
        WriteFile(path, data, size);
        break;
    }
    }

    // The same file through SELECT on a console that has a profile of its own.
    ControllerHarness h;
    h.SetProfile({{7, 50, 2}, {9, 80, 3}}, {4, 30}, "Mine.coff");
    h.s().machine_state = kReady;
    h.window.open_choices.push_back(FileChoice{"Profile.coff", path});
    h.controller.OnButtonClicked(ctl::kSelect);
    const ControllerState& s = h.s();
    if (auto p = StateProblem(s); !p.empty()) Broken("after SELECT: " + p);
    if (auto p = ListProblem(h.controller.console.working, kCoffMaxRecords); !p.empty()) Broken("after SELECT: " + p);
    if (Values(h.controller.console.working.head) != Values(list.head))
        Broken("SELECT loaded other steps than the reader");
    const bool identity_taken = s.profile_name == "Profile.coff" && s.profile_path == path;
    if ((loaded.outcome == CoffLoad::Loaded) != identity_taken) Broken("SELECT took the file's name wrongly");
    if (loaded.outcome == CoffLoad::Refused && (s.machine_state != kOff || s.profile_name != kNoProfile))
        Broken("SELECT of a refused file left a profile behind");
    return 0;
}
