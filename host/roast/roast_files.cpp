#include "roast_files.h"

#include <system_error>

#include "artisan_csv.h"
#include "artisan_profile.h"
#include "file_io.h"
#include "file_reader.h"
#include "roast_log_names.h"

namespace {

// Enough of a file's start to tell its kind.
constexpr std::size_t kHeadBytes = 4096;

bool EndsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

std::string HeadOf(const std::string& path, bool& readable, std::string& reason) {
    FileReader file(path);
    std::string head;
    readable = file.ok() && file.ReadAt(0, kHeadBytes, head);
    if (!readable) reason = file.reason();
    return head;
}

}  // namespace

bool IsRoastFileName(const std::string& name) {
    return IsLogFileName(name) || (EndsWith(name, kArtisanExtension) && name.size() > kArtisanExtension.size());
}

RoastFileKind RoastFileKindOf(const std::string& head) {
    std::size_t at = head.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    at = head.find_first_not_of(" \t\r\n", at);
    if (at == std::string::npos) return RoastFileKind::None;
    if (head[at] == '{') return RoastFileKind::ArtisanProfile;
    const std::size_t end = head.find('\n', at);
    std::string line = head.substr(at, end == std::string::npos ? std::string::npos : end - at);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (IsArtisanCsvStart(line)) return RoastFileKind::ArtisanCsv;
    if (line[0] == '#' || line == kRoastLogColumns) return RoastFileKind::ConsoleLog;
    return RoastFileKind::None;
}

RoastLogParse ParseRoastFileText(const std::string& text) {
    switch (RoastFileKindOf(text.substr(0, kHeadBytes))) {
        case RoastFileKind::ArtisanProfile:
            return ParseArtisanProfile(text);
        case RoastFileKind::ArtisanCsv:
            return ParseArtisanCsv(text);
        case RoastFileKind::ConsoleLog:
        case RoastFileKind::None:
            break;
    }
    return ParseRoastLog(text);
}

RoastLogParse ReadRoastFile(const std::string& path) {
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(FsPath(path), ec);
    if (!ec && size > kLargestRoastFile)
        return RoastLogRefused(0, "the file is larger than " + std::to_string(kLargestRoastFile >> 20) + " MiB");
    std::string text, reason;
    if (!ReadWholeFile(path, text, reason)) return RoastLogRefused(0, reason);
    return ParseRoastFileText(text);
}

std::optional<RoastSummary> ReadRoastSummaryIfRoast(const std::string& path) {
    bool readable = false;
    std::string reason;
    const std::string head = HeadOf(path, readable, reason);
    if (!readable) return SummaryOfProblem(path, reason);
    switch (RoastFileKindOf(head)) {
        case RoastFileKind::None:
            return std::nullopt;
        case RoastFileKind::ConsoleLog:
            return ReadLogSummary(path);
        case RoastFileKind::ArtisanProfile:
        case RoastFileKind::ArtisanCsv:
            break;
    }
    // Another program's file has no header to read on its own: all of it.
    const RoastLogParse read = ReadRoastFile(path);
    if (!read.ok)
        return SummaryOfProblem(
            path, read.bad_line > 0 ? "line " + std::to_string(read.bad_line) + ": " + read.problem : read.problem);
    return SummaryOf(read.log, path);
}

bool RoastFileKeepsNotes(const std::string& path) {
    bool readable = false;
    std::string reason;
    const std::string head = HeadOf(path, readable, reason);
    return readable && RoastFileKindOf(head) == RoastFileKind::ConsoleLog;
}
