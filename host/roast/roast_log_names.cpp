#include "roast_log_names.h"

#include <cstdio>
#include <system_error>

#include "file_io.h"

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kMaxNameBytes = 80;

bool EndsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// Windows opens a device, not a file, for these names (in any case, with
// any extension or trailing spaces): CON, PRN, AUX, NUL, COM0-9, LPT0-9.
bool IsDeviceName(std::string base) {
    while (!base.empty() && base.back() == ' ') base.pop_back();
    for (char& ch : base)
        if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 'a' + 'A');
    if (base == "CON" || base == "PRN" || base == "AUX" || base == "NUL") return true;
    return base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0) &&
           base[3] >= '0' && base[3] <= '9';
}

bool Exists(const std::string& path) {
    std::error_code ec;
    return fs::exists(FsPath(path), ec);
}

}  // namespace

std::string SafeFileName(const std::string& name) {
    std::string safe;
    for (unsigned char ch : name) {
        const bool reserved = ch < 0x20 || ch == 0x7F || std::string("/\\:*?\"<>|").find(static_cast<char>(ch)) !=
                                                              std::string::npos;
        safe += reserved ? '_' : static_cast<char>(ch);
    }
    if (safe.size() > kMaxNameBytes) {
        std::size_t cut = kMaxNameBytes;
        // Never cut inside a UTF-8 character.
        while (cut > 0 && (static_cast<unsigned char>(safe[cut]) & 0xC0) == 0x80) --cut;
        safe.resize(cut);
    }
    // Names may not start with a dot (hidden) or end in dots or spaces
    // (refused on Windows).
    while (!safe.empty() && (safe.back() == '.' || safe.back() == ' ')) safe.pop_back();
    while (!safe.empty() && (safe.front() == '.' || safe.front() == ' ')) safe.erase(safe.begin());
    if (safe.empty()) return "roast";
    const std::size_t dot = safe.find('.');
    if (IsDeviceName(safe.substr(0, dot))) {
        std::size_t end = dot == std::string::npos ? safe.size() : dot;
        while (end > 0 && safe[end - 1] == ' ') --end;
        safe.insert(end, "_");
    }
    return safe;
}

std::string FileStamp(const LocalDateTime& t) {
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d_%02d%02d%02d", t.year, t.month, t.day, t.hour, t.minute,
                  t.second);
    return text;
}

std::string LogFileStem(const LocalDateTime& start, const std::string& profile) {
    return FileStamp(start) + " " + SafeFileName(profile);
}

std::string SuggestedLogName(const RoastLog& log) {
    // "2026-12-08T14:03:05+01:00" gives "2026-12-08_140305".
    const std::string start = log.Get(roastkey::kStart);
    std::string stamp = "roast";
    if (start.size() >= 19 && start[10] == 'T')
        stamp = start.substr(0, 10) + "_" + start.substr(11, 2) + start.substr(14, 2) + start.substr(17, 2);
    const std::string profile = log.Get(roastkey::kProfile);
    return SafeFileName(profile.empty() ? stamp : stamp + " " + profile) + kLogExtension;
}

bool IsLogFileName(const std::string& name) { return EndsWith(name, kLogExtension); }

bool IsPartialLogFileName(const std::string& name) { return EndsWith(name, kLogExtension + kPartialSuffix); }

std::string WholeLogFileName(const std::string& partial_name) {
    return EndsWith(partial_name, kPartialSuffix) ? partial_name.substr(0, partial_name.size() - kPartialSuffix.size())
                                                  : partial_name;
}

std::string FreeLogPath(const std::string& folder, const std::string& stem) {
    for (int n = 1;; ++n) {
        const std::string name = n == 1 ? stem : stem + " (" + std::to_string(n) + ")";
        const std::string path = (FsPath(folder) / FsPath(name + kLogExtension)).u8string();
        if (!Exists(path) && !Exists(path + kPartialSuffix)) return path;
    }
}
