#include "roast_log_text.h"

#include <cmath>
#include <vector>

#include "controller_state.h"
#include "roast_marks.h"
#include "roast_notes.h"

const char* const kRoastLogColumns = "seconds,bean_f,shown_f,ror_f_per_min,state,phase,step,fan,heat,time_left_min";

namespace {

constexpr std::size_t kColumnCount = 10;

struct Word {
    int32_t value;
    const char* text;
};
constexpr Word kStateWords[] = {{kOff, "off"}, {kReady, "ready"}, {kRun, "run"}, {kFinished, "finished"}};
constexpr Word kPhaseWords[] = {
    {kWaitStart, "wait"}, {kHeat, "heat"}, {kCool, "cool"}, {kManualCool, "manual_cool"}, {kPhaseNone, "none"}};

template <std::size_t N>
std::string WordOf(const Word (&words)[N], int32_t value) {
    for (const Word& w : words)
        if (w.value == value) return w.text;
    return std::to_string(value);
}

template <std::size_t N>
bool ValueOf(const Word (&words)[N], const std::string& text, int32_t& value) {
    for (const Word& w : words) {
        if (text == w.text) {
            value = w.value;
            return true;
        }
    }
    return false;
}

std::vector<std::string> SplitFields(const std::string& line) {
    std::vector<std::string> fields(1);
    for (char ch : line) {
        if (ch == ',')
            fields.emplace_back();
        else
            fields.back() += ch;
    }
    return fields;
}

// Reads one row into `s`; empty when it is good, else what is wrong.
std::string ParseRow(const std::string& line, RoastSample& s) {
    const std::vector<std::string> f = SplitFields(line);
    if (f.size() != kColumnCount)
        return "expected " + std::to_string(kColumnCount) + " fields, found " + std::to_string(f.size());
    int32_t value = 0;
    double number = 0;
    if (!ParseDecimal(f[0], 0, 1e7, s.seconds)) return "bad seconds \"" + f[0] + "\"";
    if (!f[1].empty()) {
        if (!ParseWhole(f[1], 0, 65535, value)) return "bad bean temperature \"" + f[1] + "\"";
        s.bean_f = value;
    }
    if (!f[2].empty()) {
        if (!ParseWhole(f[2], 0, 65535, value)) return "bad shown temperature \"" + f[2] + "\"";
        s.shown_f = value;
    }
    if (!f[3].empty()) {
        if (!ParseDecimal(f[3], -1e5, 1e5, number)) return "bad rate of rise \"" + f[3] + "\"";
        s.ror_f_per_min = number;
    }
    if (!ValueOf(kStateWords, f[4], s.machine_state)) return "unknown state \"" + f[4] + "\"";
    if (!ValueOf(kPhaseWords, f[5], s.run_phase)) return "unknown phase \"" + f[5] + "\"";
    if (!ParseWhole(f[6], 0, 255, s.step)) return "bad step \"" + f[6] + "\"";
    // An empty level: the roast's file did not say it.
    if (f[7].empty()) s.fan = kLevelUnknown;
    else if (!ParseWhole(f[7], 0, 9, s.fan)) return "bad fan \"" + f[7] + "\"";
    if (f[8].empty()) s.heat = kLevelUnknown;
    else if (!ParseWhole(f[8], 0, 3, s.heat)) return "bad heat \"" + f[8] + "\"";
    if (!ParseDecimal(f[9], 0, 1e5, number)) return "bad time left \"" + f[9] + "\"";
    s.time_left_units = static_cast<int32_t>(std::lround(number * 10));
    return {};
}

bool IsKeyChar(char ch) { return (ch >= 'a' && ch <= 'z') || (ch >= '0' && ch <= '9') || ch == '_'; }

// Reads "# key: value"; false when the line is not of that form.
bool ParseHeaderLine(const std::string& line, RoastHeaderLine& out) {
    if (line.size() < 2 || line[0] != '#' || line[1] != ' ') return false;
    const std::size_t colon = line.find(':', 2);
    if (colon == std::string::npos || colon == 2) return false;
    out.key = line.substr(2, colon - 2);
    for (char ch : out.key)
        if (!IsKeyChar(ch)) return false;
    std::size_t from = colon + 1;
    if (from < line.size() && line[from] == ' ') ++from;
    out.value = line.substr(from);
    return true;
}

// A header value kept on its one line: control characters become spaces.
std::string OneLine(std::string text) {
    for (char& ch : text)
        if (static_cast<unsigned char>(ch) < 0x20 || ch == 0x7F) ch = ' ';
    return text;
}

}  // namespace

std::string StateWord(int32_t machine_state) { return WordOf(kStateWords, machine_state); }
std::string PhaseWord(int32_t run_phase) { return WordOf(kPhaseWords, run_phase); }

std::string FormatRoastHeader(const RoastLog& log) {
    auto put = [](std::string& text, const std::string& key, const std::string& value) {
        text += "# " + OneLine(key) + ": " + OneLine(value) + "\n";
    };
    std::string text;
    const bool closing = !log.header.empty() && log.header.back().key == roastkey::kIncomplete;
    const std::size_t before_marks = log.header.size() - (closing ? 1 : 0);
    for (std::size_t i = 0; i < before_marks; ++i) put(text, log.header[i].key, log.header[i].value);
    for (const RoastMark& mark : log.marks.list()) put(text, kEventKey, EventValue(mark));
    if (closing) put(text, log.header.back().key, log.header.back().value);
    text += kRoastLogColumns;
    text += "\n";
    return text;
}

std::string FormatRoastSample(const RoastSample& s) {
    std::string row = OneDecimal(s.seconds) + ",";
    if (s.bean_f) row += std::to_string(*s.bean_f);
    row += ",";
    if (s.shown_f) row += std::to_string(*s.shown_f);
    row += ",";
    if (s.ror_f_per_min) row += OneDecimal(*s.ror_f_per_min);
    auto level = [](int32_t value) { return value == kLevelUnknown ? std::string() : std::to_string(value); };
    row += "," + StateWord(s.machine_state) + "," + PhaseWord(s.run_phase) + "," + std::to_string(s.step) + "," +
           level(s.fan) + "," + level(s.heat) + "," + OneDecimal(TimeLeftMinutes(s)) + "\n";
    return row;
}

std::string FormatRoastLog(const RoastLog& log) {
    std::string text = FormatRoastHeader(log);
    for (const RoastSample& s : log.samples) text += FormatRoastSample(s);
    return text;
}

RoastLogParse ParseRoastLog(const std::string& text, bool allow_cut_end) {
    RoastLogParse result;
    auto fail = [&](int line, std::string problem) {
        result.ok = false;
        result.bad_line = line;
        result.problem = std::move(problem);
        return result;
    };
    bool columns_seen = false;
    int number = 0;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t end = text.find('\n', at);
        const bool cut = end == std::string::npos;
        std::string line = text.substr(at, cut ? std::string::npos : end - at);
        at = cut ? text.size() : end + 1;
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.find('\0') != std::string::npos) return fail(number, "not a text line");
        if (!columns_seen) {
            if (line.empty()) continue;
            if (line == kRoastLogColumns) {
                columns_seen = true;
                continue;
            }
            RoastHeaderLine header;
            if (cut && allow_cut_end) break;
            if (!ParseHeaderLine(line, header)) {
                if (line[0] == '#') return fail(number, "a header line is not \"# key: value\"");
                return fail(number, "expected a header line or the column line");
            }
            const std::string problem = HeaderValueProblem(header);
            if (!problem.empty()) return fail(number, problem);
            if (header.key == kEventKey)
                ApplyEventValue(header.value, result.log.marks);
            else
                result.log.header.push_back(std::move(header));
            continue;
        }
        if (line.empty()) continue;
        if (cut && allow_cut_end) break;
        RoastHeaderLine late;
        if (line[0] == '#') {
            // A change made while the roast ran (a mark, a note): it
            // replaces what the header said.
            if (!ParseHeaderLine(line, late)) return fail(number, "a header line is not \"# key: value\"");
            const std::string problem = HeaderValueProblem(late);
            if (!problem.empty()) return fail(number, problem);
            if (late.key == kEventKey)
                ApplyEventValue(late.value, result.log.marks);
            else
                result.log.Set(late.key, late.value);
            continue;
        }
        RoastSample sample;
        const std::string problem = ParseRow(line, sample);
        if (!problem.empty()) return fail(number, problem);
        if (!result.log.samples.empty() && sample.seconds < result.log.samples.back().seconds)
            return fail(number, "seconds go backwards");
        result.log.samples.push_back(sample);
    }
    if (!columns_seen && !allow_cut_end) return fail(number + 1, "no column line");
    // A log read back has its marks, not the order they were made in.
    result.log.marks.ForgetOrder();
    result.log.gap_seconds = GapSecondsFor(result.log.samples);
    result.ok = true;
    return result;
}

RoastLogParse RoastLogRefused(int line, const std::string& problem) {
    RoastLogParse refused;
    refused.bad_line = line;
    refused.problem = problem;
    return refused;
}
