#include "coff_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kMarkerSize = 13;
constexpr std::size_t kFanAt = 14;
constexpr std::size_t kTimeTensAt = 16;
constexpr std::size_t kTimeUnitsAt = 17;
constexpr std::size_t kHeatAt = 19;

constexpr int32_t kDefaultFan = 5;
constexpr int32_t kDefaultRoastTime = 59;
constexpr int32_t kDefaultCoolTime = 30;
constexpr int32_t kDefaultHeat = 3;

// The values a record holds; any other loads its default.
constexpr int32_t kLeastFan = 1, kMostFan = 9;
constexpr int32_t kLeastTime = 1, kMostTime = 99;
constexpr int32_t kLeastHeat = 0, kMostHeat = 3;
constexpr bool Within(int32_t value, int32_t low, int32_t high) { return value >= low && value <= high; }

FileResult Failure(std::string reason) { return FileResult{false, std::move(reason)}; }

// A value written as one digit byte: the value plus the code of "0". Values
// that do not fit a byte saturate instead of wrapping round, so a very long
// recorded time can never wrap into digits that read back as a short time.
char DigitByte(int32_t value) {
    const int64_t code = std::clamp<int64_t>(int64_t{value} + '0', 0, 255);
    return static_cast<char>(static_cast<unsigned char>(code));
}

void AppendRecord(std::string& text, const std::string& marker, const StepNode& step) {
    text += marker;
    text += '/';
    text += DigitByte(step.fan);
    text += '/';
    text += DigitByte(step.time / 10);
    text += DigitByte(step.time - 10 * (step.time / 10));
    text += '/';
    text += DigitByte(step.heat);
}

// A byte of the file as the signed 8-bit value the time is computed from.
int32_t SignedByte(unsigned char byte) { return byte < 128 ? byte : byte - 256; }

struct ParsedStep {
    int32_t fan;
    int32_t time;
    int32_t heat;
    uint32_t status;
};

// One record, with the bytes beyond the end of the file read as zero: a
// truncated record then fails its marker or loads its defaults.
struct Record {
    unsigned char bytes[kCoffRecordSize] = {};

    bool HasMarker(const std::string& marker) const {
        return std::memcmp(bytes, marker.data(), kMarkerSize) == 0;
    }
    int32_t Fan() const {
        const int32_t fan = bytes[kFanAt] - '0';
        return Within(fan, kLeastFan, kMostFan) ? fan : kDefaultFan;
    }
    int32_t Time(int32_t fallback) const {
        const int32_t time = 10 * (SignedByte(bytes[kTimeTensAt]) - '0') + (SignedByte(bytes[kTimeUnitsAt]) - '0');
        return Within(time, kLeastTime, kMostTime) ? time : fallback;
    }
    int32_t Heat() const {
        const int32_t heat = bytes[kHeatAt] - '0';
        return Within(heat, kLeastHeat, kMostHeat) ? heat : kDefaultHeat;
    }
};

// Parses the file's bytes; the steps are valid for Loaded and NoCooling.
CoffLoad ParseCoff(const std::vector<unsigned char>& data, std::vector<ParsedStep>& steps) {
    if (data.size() > kCoffMaxBytes) return CoffLoad::Refused;
    for (std::size_t r = 0; r < kCoffMaxRecords; ++r) {
        const std::size_t at = r * kCoffRecordSize;
        if (at >= data.size()) return CoffLoad::Refused;  // ended before a cooling record
        Record record;
        std::copy(data.begin() + static_cast<std::ptrdiff_t>(at),
                  data.begin() + static_cast<std::ptrdiff_t>(std::min(at + kCoffRecordSize, data.size())),
                  record.bytes);
        if (record.HasMarker(kCoffRoastMarker)) {
            steps.push_back({record.Fan(), record.Time(kDefaultRoastTime), record.Heat(), StepWaiting});
        } else if (record.HasMarker(kCoffCoolMarker)) {
            if (r == 0) return CoffLoad::Refused;
            steps.push_back({record.Fan(), record.Time(kDefaultCoolTime), 0, CoolWaiting});
            return CoffLoad::Loaded;
        } else {
            return CoffLoad::Refused;
        }
    }
    return CoffLoad::NoCooling;
}

}  // namespace

std::optional<std::string> BuildCoffText(CStep_Data& list) {
    const uint32_t n = list.Renumber();
    if (n < 2 || n > kMaxProfileSteps) return std::nullopt;
    std::string text;
    text.reserve(kCoffRecordSize * n);
    for (uint32_t i = 1; i <= n; ++i) {
        StepNode step{};
        if (!list.GetStep(i, step)) return std::nullopt;
        if (i < n) {
            AppendRecord(text, kCoffRoastMarker, step);
        } else {
            if (!IsCoolingStatus(step.status)) return std::nullopt;
            AppendRecord(text, kCoffCoolMarker, step);
        }
    }
    return text;
}

std::string CoffProfileProblem(CStep_Data& list) {
    const uint32_t n = list.Renumber();
    if (n < 2) return "it has no roast step";
    if (n > kMaxProfileSteps)
        return std::to_string(n) + " steps, and a profile holds at most " + std::to_string(kMaxProfileSteps) +
               " with its cooling";
    for (uint32_t i = 1; i <= n; ++i) {
        StepNode step{};
        if (!list.GetStep(i, step)) return "step " + std::to_string(i) + " is missing";
        const std::string which = i < n ? "step " + std::to_string(i) : std::string("the cooling");
        if (IsCoolingStatus(step.status) != (i == n))
            return i < n ? which + " is a cooling step before the last" : "the last step is no cooling";
        if (!Within(step.fan, kLeastFan, kMostFan))
            return which + " has fan " + std::to_string(step.fan) + " (1 to 9)";
        if (!Within(step.time, kLeastTime, kMostTime))
            return which + " has " + std::to_string(step.time / 10) + "." + std::to_string(step.time % 10) +
                   " minutes (0.1 to 9.9)";
        if (i < n && !Within(step.heat, kLeastHeat, kMostHeat))
            return which + " has heat " + std::to_string(step.heat) + " (0 to 3)";
    }
    return {};
}

std::string CoffProfileOf(const std::vector<StepNode>& steps, CStep_Data& list) {
    list.Clear();
    uint32_t position = 1;
    for (const StepNode& step : steps) list.InsertStep(position++, step.fan, step.time, step.heat, step.status);
    std::string problem = CoffProfileProblem(list);
    if (problem.empty())
        for (StepNode* p = list.head; p; p = p->next) p->status = p->next ? StepWaiting : CoolWaiting;
    return problem;
}

FileResult WriteDefaultCoffFile(const std::string& path) {
    std::string text;
    AppendRecord(text, kCoffRoastMarker, StepNode{1, kDefaultFan, kDefaultRoastTime, kDefaultHeat, StepWaiting, nullptr});
    AppendRecord(text, kCoffCoolMarker, StepNode{2, kDefaultFan, kDefaultCoolTime, 0, CoolWaiting, nullptr});
    return ReplaceContents(path, text);
}

FileResult OverwriteCoffFile(const std::string& path, const std::string& text) {
    std::error_code ec;
    if (fs::exists(FsPath(path), ec) && !fs::is_regular_file(FsPath(path), ec)) {
        // Not a plain file (a device): write over its start in place.
        errno = 0;
        std::FILE* file = OpenFile(path, "r+b");
        if (!file) return Failure(LastError("cannot open"));
        return WriteAndClose(file, text);
    }
    errno = 0;
    std::FILE* file = OpenFile(path, "rb");
    if (!file) return ReplaceContents(path, text);  // gone or unreadable: created anew
    // The new text over the start of the old bytes, so a longer file keeps
    // its tail, written as a whole new file.
    std::string contents = text;
    char buffer[4096];
    std::size_t offset = 0;
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, file)) > 0; offset += got) {
        if (offset + got > text.size()) {
            const std::size_t from = offset >= text.size() ? 0 : text.size() - offset;
            contents.append(buffer + from, got - from);
        }
    }
    const bool read_failed = std::ferror(file) != 0;
    const std::string reason = read_failed ? LastError("cannot read") : std::string();
    std::fclose(file);
    if (read_failed) return Failure(reason);
    return ReplaceContents(path, contents);
}

FileResult CreateCoffFile(const std::string& path, const std::string& text) { return ReplaceContents(path, text); }

CoffLoadResult LoadCoffFile(const std::string& path, CStep_Data& list) {
    errno = 0;
    std::FILE* file = OpenFile(path, "rb");
    if (!file) return {CoffLoad::CannotOpen, LastError("cannot open"), std::nullopt};

    // One byte more than the longest file tells a file that is too long.
    std::vector<unsigned char> data(kCoffMaxBytes + 1);
    errno = 0;
    data.resize(std::fread(data.data(), 1, data.size(), file));
    const bool read_failed = std::ferror(file) != 0;
    const std::string reason = read_failed ? LastError("cannot read") : std::string();
    std::fclose(file);
    if (read_failed) return {CoffLoad::CannotOpen, reason, std::nullopt};

    std::vector<ParsedStep> steps;
    const CoffLoad outcome = ParseCoff(data, steps);
    CoffLoadResult result{outcome, {}, std::nullopt};
    if (!steps.empty() && steps.front().status == StepWaiting)
        result.first_step = CoffLoadResult::FirstStep{steps.front().fan, steps.front().time, steps.front().heat};
    if (outcome == CoffLoad::Refused) {
        list.SetDefaultProfile();
    } else {
        list.Clear();
        uint32_t position = 1;
        for (const ParsedStep& s : steps) list.InsertStep(position++, s.fan, s.time, s.heat, s.status);
    }
    return result;
}

bool CoffFileReadable(const std::string& path) {
    std::error_code ec;
    if (std::filesystem::is_directory(FsPath(path), ec)) return false;
    std::FILE* file = OpenFile(path, "rb");
    if (!file) return false;
    std::fclose(file);
    return true;
}

bool PathExists(const std::string& path) {
    std::error_code ec;
    return std::filesystem::exists(FsPath(path), ec);
}

FileResult DeleteCoffFile(const std::string& path) {
    std::error_code ec;
    const bool removed = std::filesystem::remove(FsPath(path), ec);
    if (ec) return Failure(ec.message());
    if (!removed) return Failure("no such file");
    return {};
}
