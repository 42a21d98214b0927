// Fuzz target: any text read as a roast log, as "Open roast…" and the
// recovery of a partial log read it.
//
// Whatever the bytes, reading neither crashes nor leaks nor takes long; a
// log that reads has samples in time order, and writing it out gives a
// text that reads back to the very same text.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "roast_log_text.h"

namespace {

[[noreturn]] void Broken(const std::string& problem, const std::string& text) {
    std::fprintf(stderr, "invariant broken: %s\n--- text ---\n%s\n", problem.c_str(), text.c_str());
    std::abort();
}

void Check(const std::string& input, bool allow_cut_end) {
    const RoastLogParse parsed = ParseRoastLog(input, allow_cut_end);
    if (!parsed.ok) {
        if (parsed.bad_line < 1 || parsed.problem.empty()) Broken("a refusal names no line or problem", input);
        return;
    }
    const auto& samples = parsed.log.samples;
    for (std::size_t i = 1; i < samples.size(); ++i)
        if (samples[i].seconds < samples[i - 1].seconds) Broken("samples out of time order", input);
    const std::string written = FormatRoastLog(parsed.log);
    const RoastLogParse again = ParseRoastLog(written);
    if (!again.ok) Broken("a written log does not read: line " + std::to_string(again.bad_line) + ": " + again.problem,
                          written);
    if (FormatRoastLog(again.log) != written) Broken("a written log reads back differently", written);
    if (again.log.samples.size() != samples.size()) Broken("samples lost on the way", written);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    Check(input, false);
    Check(input, true);
    return 0;
}
