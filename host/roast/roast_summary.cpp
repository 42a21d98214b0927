#include "roast_summary.h"

#include <algorithm>

#include "file_io.h"
#include "file_reader.h"
#include "roast_files.h"
#include "roast_log_files.h"
#include "roast_marks.h"
#include "roast_notes.h"

namespace {

// The header is read in pieces of this size until its column line; the
// rows from the end, first this much, then twice as much each time the
// rows read hold no temperature (a sensor error at the end).
constexpr std::size_t kHeadPiece = 4096;
constexpr std::uint64_t kFirstTail = 1024;

std::string LineWithoutEnd(const std::string& text, std::size_t from, std::size_t end) {
    std::string line = text.substr(from, end - from);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

// Where the rows start in `text` (just after the column line), or npos
// while the text read so far ends before it. `stop` is set at the first
// line that cannot be part of a header: reading on would not help.
std::size_t RowsStart(const std::string& text, std::size_t& scanned, bool& stop) {
    for (std::size_t end; (end = text.find('\n', scanned)) != std::string::npos; scanned = end + 1) {
        const std::string line = LineWithoutEnd(text, scanned, end);
        if (line == kRoastLogColumns) return end + 1;
        if (!line.empty() && line[0] != '#') {
            stop = true;
            return std::string::npos;
        }
    }
    return std::string::npos;
}

bool HasEndReading(const RoastLog& log) {
    if (const auto drop = log.marks.Find(MarkKind::Drop); drop && drop->bean_f) return true;
    return std::any_of(log.samples.begin(), log.samples.end(), [](const RoastSample& s) { return s.bean_f; });
}

RoastLogParse Unreadable(const std::string& reason) {
    RoastLogParse failed;
    failed.problem = reason;
    return failed;
}

}  // namespace

bool RoastSummary::operator==(const RoastSummary& o) const {
    return path == o.path && start == o.start && profile == o.profile && bean == o.bean && notes == o.notes &&
           duration_s == o.duration_s && end_bean_f == o.end_bean_f && weight_loss == o.weight_loss &&
           incomplete == o.incomplete && steered == o.steered && problem == o.problem && listed == o.listed;
}

std::optional<int32_t> EndBeanTemperature(const RoastLog& log) {
    // A roast ends where the beans were dropped; without a drop mark (or a
    // reading at it) the last reading stands in.
    if (const auto drop = log.marks.Find(MarkKind::Drop); drop && drop->bean_f) return drop->bean_f;
    for (auto s = log.samples.rbegin(); s != log.samples.rend(); ++s)
        if (s->bean_f) return s->bean_f;
    return std::nullopt;
}

RoastSummary SummaryOf(const RoastLog& log, const std::string& path) {
    RoastSummary summary;
    summary.path = path;
    summary.start = log.Get(roastkey::kStart);
    summary.profile = log.Get(roastkey::kProfile);
    summary.incomplete = log.Has(roastkey::kIncomplete);
    summary.steered = log.Has(roastkey::kSteeredSteps);
    const RoastNotes notes = NotesOf(log);
    summary.bean = notes.bean;
    summary.notes = notes.text;
    summary.weight_loss = notes.WeightLoss();
    if (!log.samples.empty()) summary.duration_s = log.samples.back().seconds;
    summary.end_bean_f = EndBeanTemperature(log);
    return summary;
}

RoastLogParse ReadRoastLogEnds(const std::string& path) {
    FileReader file(path);
    if (!file.ok()) return Unreadable(file.reason());

    // The header, through its column line.
    std::string head, piece;
    std::size_t scanned = 0, rows_start = std::string::npos;
    bool stop = false;
    while (rows_start == std::string::npos && !stop && head.size() < file.size()) {
        if (!file.ReadAt(head.size(), kHeadPiece, piece)) return Unreadable(file.reason());
        if (piece.empty()) break;  // the file got shorter
        head += piece;
        rows_start = RowsStart(head, scanned, stop);
    }
    // Without a column line the head is all there is to say what is wrong.
    if (rows_start == std::string::npos) return ParseRoastLog(head);
    head.resize(rows_start);
    const int head_lines = static_cast<int>(std::count(head.begin(), head.end(), '\n'));

    // The last rows, from a line's start; more of them while they hold no
    // temperature, up to all of them.
    const std::uint64_t rows_bytes = file.size() - rows_start;
    std::string tail;
    for (std::uint64_t span = kFirstTail;; span *= 2) {
        const bool all_rows = span >= rows_bytes;
        const std::uint64_t from = all_rows ? rows_start : file.size() - span;
        if (!file.ReadAt(from, static_cast<std::size_t>(file.size() - from), tail)) return Unreadable(file.reason());
        if (!all_rows) {
            // What comes before the first line end may be the end of a line.
            const std::size_t first = tail.find('\n');
            tail.erase(0, first == std::string::npos ? tail.size() : first + 1);
        }
        RoastLogParse read = ParseRoastLog(head + tail);
        // A problem in rows read from the middle of the file: the whole
        // reading names its line.
        if (!read.ok && read.bad_line > head_lines && !all_rows) return ReadRoastLogFile(path);
        if (!read.ok || all_rows || HasEndReading(read.log)) return read;
    }
}

RoastSummary ReadRoastSummary(const std::string& path) {
    if (std::optional<RoastSummary> roast = ReadRoastSummaryIfRoast(path)) return *roast;
    // No kind of roast file (a table saved beside the roasts): not listed.
    RoastSummary other;
    other.path = path;
    other.listed = false;
    return other;
}

RoastSummary ReadLogSummary(const std::string& path) {
    const RoastLogParse read = ReadRoastLogEnds(path);
    if (read.ok) return SummaryOf(read.log, path);
    return SummaryOfProblem(path, read.bad_line > 0 ? "line " + std::to_string(read.bad_line) + ": " + read.problem
                                                    : read.problem);
}

RoastSummary SummaryOfProblem(const std::string& path, const std::string& problem) {
    RoastSummary summary;
    summary.path = path;
    summary.problem = problem;
    summary.start = FsPath(path).filename().u8string();  // sorts by the name's date
    return summary;
}
