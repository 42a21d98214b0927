#include "roast_log_files.h"

#include <system_error>

#include "roast_files.h"

namespace fs = std::filesystem;

namespace {

bool Exists(const std::string& path) {
    std::error_code ec;
    return fs::exists(FsPath(path), ec);
}

}  // namespace

void RoastLogFiles::Begin(const RoastLog& log, const LocalDateTime& start, const std::string& profile) {
    final_path_.clear();
    partial_path_.clear();
    pending_.clear();
    last_flush_seconds_ = 0;
    writing_ = false;
    reported_ = false;
    saved_ = false;

    std::error_code ec;
    fs::create_directories(FsPath(folder_), ec);
    if (ec) {
        Fail(folder_, ec.message());
        return;
    }
    final_path_ = FreeLogPath(folder_, LogFileStem(start, profile));
    partial_path_ = final_path_ + kPartialSuffix;
    const FileResult written = ReplaceContents(partial_path_, FormatRoastHeader(log));
    if (!written.ok) {
        Fail(partial_path_, written.reason);
        return;
    }
    writing_ = true;
}

void RoastLogFiles::Append(const RoastSample& sample) {
    if (!writing_) return;
    pending_ += FormatRoastSample(sample);
    if (sample.seconds - last_flush_seconds_ >= kRoastFlushSeconds) {
        last_flush_seconds_ = sample.seconds;
        Flush();
    }
}

void RoastLogFiles::Journal(const RoastHeaderLine& line) {
    if (!writing_) return;
    RoastLog one;
    one.header.push_back(line);
    const std::string text = FormatRoastHeader(one);
    // The header text without its column line; on the disk at once.
    pending_ += text.substr(0, text.find('\n') + 1);
    Flush();
}

void RoastLogFiles::Flush() {
    if (!writing_ || pending_.empty()) return;
    const FileResult written = AppendAndSync(partial_path_, pending_);
    pending_.clear();
    if (!written.ok) Fail(partial_path_, written.reason);
}

void RoastLogFiles::End(const RoastLog& log) {
    pending_.clear();
    if (final_path_.empty()) return;  // no folder to write in
    // Tried even after a failure during the roast: the disk may have room
    // again. A second failure is not said again.
    const FileResult written = SaveRoastLog(log, final_path_);
    if (!written.ok) {
        Fail(final_path_, written.reason);
        return;
    }
    saved_ = true;
    writing_ = false;
    std::error_code ec;
    fs::remove(FsPath(partial_path_), ec);
}

void RoastLogFiles::Fail(const std::string& path, const std::string& reason) {
    writing_ = false;
    if (reported_) return;
    reported_ = true;
    if (on_failure) on_failure(path, reason);
}

FileResult SaveRoastLog(const RoastLog& log, const std::string& path) {
    return ReplaceContents(path, FormatRoastLog(log));
}

RoastLogParse ReadRoastLogFile(const std::string& path) { return ReadRoastFile(path); }

std::string ReadFailureText(const std::string& path, const RoastLogParse& parsed) {
    std::string text = "Cannot read the roast log " + path + ": ";
    if (parsed.bad_line > 0) text += "line " + std::to_string(parsed.bad_line) + ": ";
    return text + parsed.problem;
}

FileResult RewriteRoastHeader(const std::string& path, const RoastLog& log) {
    std::string text, reason;
    if (!ReadWholeFile(path, text, reason)) return {false, reason};
    const RoastLogParse parsed = ParseRoastLog(text);
    if (!parsed.ok)
        return {false, "it no longer reads as a roast log (line " + std::to_string(parsed.bad_line) + ": " +
                           parsed.problem + ")"};
    // The rows start after the first line that is the column line.
    for (std::size_t at = 0; at < text.size();) {
        std::size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(at, end - at);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        at = end + 1;
        if (line == kRoastLogColumns)
            return ReplaceContents(path, FormatRoastHeader(log) + (at < text.size() ? text.substr(at) : std::string()));
    }
    return {false, "it has no column line"};
}

std::vector<std::string> RecoverInterruptedLogs(const std::string& folder) {
    std::vector<std::string> recovered;
    std::error_code ec;
    std::vector<fs::path> partials;
    for (fs::directory_iterator it(FsPath(folder), ec), end; !ec && it != end; it.increment(ec))
        if (IsPartialLogFileName(it->path().filename().u8string())) partials.push_back(it->path());
    for (const fs::path& partial : partials) {
        std::string text, reason;
        if (!ReadWholeFile(partial.u8string(), text, reason)) continue;
        RoastLogParse parsed = ParseRoastLog(text, true);
        if (!parsed.ok) continue;
        if (!parsed.log.Has(roastkey::kIncomplete)) parsed.log.Set(roastkey::kIncomplete, "interrupted");
        const std::string whole = WholeLogFileName(partial.filename().u8string());
        std::string target = (FsPath(folder) / FsPath(whole)).u8string();
        if (Exists(target)) target = FreeLogPath(folder, whole.substr(0, whole.size() - kLogExtension.size()));
        if (!SaveRoastLog(parsed.log, target).ok) continue;
        fs::remove(partial, ec);
        recovered.push_back(target);
    }
    return recovered;
}
