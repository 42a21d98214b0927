#include "artisan_export.h"

#include <system_error>

#include "artisan_profile.h"
#include "file_io.h"
#include "roast_log_files.h"

namespace fs = std::filesystem;

std::string ExportRoastFile(const std::string& from, const std::string& to, bool celsius) {
    const RoastLogParse read = ReadRoastLogFile(from);
    if (!read.ok)
        return read.bad_line > 0 ? "line " + std::to_string(read.bad_line) + ": " + read.problem : read.problem;
    if (read.log.samples.empty()) return "the roast has no samples";
    const FileResult written = ReplaceContents(to, ArtisanProfileText(read.log, celsius));
    return written.ok ? std::string() : "cannot write " + to + ": " + written.reason;
}

std::string FreeArtisanPath(const std::string& folder, const std::string& from) {
    const std::string stem = FsPath(from).stem().u8string();
    for (int n = 1;; ++n) {
        const std::string name = (n == 1 ? stem : stem + " (" + std::to_string(n) + ")") + kArtisanExtension;
        const std::string path = (FsPath(folder) / FsPath(name)).u8string();
        std::error_code ec;
        if (!fs::exists(FsPath(path), ec)) return path;
    }
}

std::vector<std::string> ExportRoastFilesInto(const std::vector<std::string>& paths, const std::string& folder,
                                              bool celsius) {
    std::vector<std::string> problems;
    for (const std::string& from : paths) {
        const std::string problem = ExportRoastFile(from, FreeArtisanPath(folder, from), celsius);
        if (!problem.empty()) problems.push_back(from + ": " + problem);
    }
    return problems;
}
