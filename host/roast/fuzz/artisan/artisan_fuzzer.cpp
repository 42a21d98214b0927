// Fuzz target: any text read as Artisan's profile (.alog) and as Artisan's
// CSV, as "Open roast…", the history and --background read them.
//
// Whatever the bytes, reading neither evaluates anything nor crashes nor
// leaks nor takes long; a refusal says why; a roast that reads has its
// samples in time order, saves as the console's own log and reads back the
// same, and exported for Artisan in either unit reads back as the very same
// log.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "artisan_csv.h"
#include "artisan_profile.h"
#include "roast_files.h"

namespace {

[[noreturn]] void Broken(const std::string& problem, const std::string& text) {
    std::fprintf(stderr, "invariant broken: %s\n--- text ---\n%s\n", problem.c_str(), text.c_str());
    std::abort();
}

void Check(const RoastLogParse& parsed, const std::string& input) {
    if (!parsed.ok) {
        if (parsed.problem.empty()) Broken("a refusal names no problem", input);
        return;
    }
    const RoastLog& log = parsed.log;
    for (std::size_t i = 1; i < log.samples.size(); ++i)
        if (log.samples[i].seconds < log.samples[i - 1].seconds) Broken("samples out of time order", input);
    const std::string written = FormatRoastLog(log);
    const RoastLogParse again = ParseRoastLog(written);
    if (!again.ok)
        Broken("its log does not read: line " + std::to_string(again.bad_line) + ": " + again.problem, written);
    if (FormatRoastLog(again.log) != written) Broken("its log reads back differently", written);
    // A mark needs a sample after CHARGE to be written at.
    if (log.samples.size() < 2) return;
    for (bool celsius : {false, true}) {
        const std::string alog = ArtisanProfileText(log, celsius);
        const RoastLogParse exported = ParseArtisanProfile(alog);
        if (!exported.ok) Broken("its export does not read: " + exported.problem, alog);
        if (FormatRoastLog(exported.log) != written) Broken("its export reads back differently", alog);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    Check(ParseArtisanProfile(input), input);
    Check(ParseArtisanCsv(input), input);
    Check(ParseRoastFileText(input), input);
    return 0;
}
