#include "roast_steps.h"

#include <cmath>

#include "roast_notes.h"
#include "roast_numbers.h"

namespace {

const std::string kCoolingWord = "cool ";
// Bounds only so the numbers read; a profile's own ranges are narrower.
constexpr int32_t kLargestValue = 1000;
constexpr double kLongestMinutes = 1000.0;

std::string Trimmed(const std::string& text) {
    const std::size_t from = text.find_first_not_of(' ');
    if (from == std::string::npos) return {};
    return text.substr(from, text.find_last_not_of(' ') - from + 1);
}

std::vector<std::string> Split(const std::string& text, char at) {
    std::vector<std::string> parts(1);
    for (char ch : text) {
        if (ch == at)
            parts.emplace_back();
        else
            parts.back() += ch;
    }
    return parts;
}

// "5.0" as tenths of a minute; false for anything but a whole number of tenths.
bool ParseTenths(const std::string& text, int32_t& tenths) {
    double minutes = 0;
    if (!ParseDecimal(text, 0.0, kLongestMinutes, minutes)) return false;
    const double scaled = minutes * 10.0;
    if (std::abs(scaled - std::round(scaled)) > 1e-6) return false;
    tenths = static_cast<int32_t>(std::lround(scaled));
    return true;
}

// One step as StepsText writes it, after a comma unless it is the first.
void AddStep(std::string& text, const StepNode& n) {
    if (!text.empty()) text += ", ";
    const std::string minutes = OneDecimal(n.time / 10.0);
    if (IsCoolingStatus(n.status))
        text += kCoolingWord + std::to_string(n.fan) + "/" + minutes;
    else
        text += std::to_string(n.fan) + "/" + minutes + "/" + std::to_string(n.heat);
}

}  // namespace

std::string StepsText(const CStep_Data& list) {
    std::string text;
    uint32_t walked = 0;
    for (const StepNode* n = list.head; n && walked < kMaxProfileSteps + 1; n = n->next, ++walked) AddStep(text, *n);
    return text;
}

std::string StepsText(const std::vector<StepNode>& steps) {
    std::string text;
    for (const StepNode& n : steps) AddStep(text, n);
    return text;
}

StepsParse ParseStepsText(const std::string& text) {
    StepsParse out;
    if (Trimmed(text).empty()) {
        out.problem = "no steps";
        return out;
    }
    uint32_t index = 0;
    for (const std::string& item : Split(text, ',')) {
        std::string step = Trimmed(item);
        const bool cooling = step.compare(0, kCoolingWord.size(), kCoolingWord) == 0;
        if (cooling) step = step.substr(kCoolingWord.size());
        const std::vector<std::string> values = Split(step, '/');
        StepNode node{++index, 0, 0, 0, cooling ? CoolWaiting : StepWaiting, nullptr};
        const bool read = values.size() == (cooling ? 2u : 3u) && ParseWhole(values[0], 0, kLargestValue, node.fan) &&
                          ParseTenths(values[1], node.time) &&
                          (cooling || ParseWhole(values[2], 0, kLargestValue, node.heat));
        if (!read) {
            out.problem = "step " + std::to_string(index) + " \"" + Trimmed(item) + "\" is not " +
                          (cooling ? "cool fan/minutes" : "fan/minutes/heat");
            return out;
        }
        out.steps.push_back(node);
    }
    out.ok = true;
    return out;
}

namespace {

// What a roast made again is named after: its bean, else its profile.
std::string WhatOf(const RoastLog& log) {
    std::string what = NotesOf(log).bean;
    return what.empty() ? log.Get(roastkey::kProfile) : what;
}

// "<what> <when>", either part left out when empty; "Roast" for none.
std::string Joined(const std::string& what, const std::string& when) {
    if (what.empty() && when.empty()) return "Roast";
    return what + (what.empty() || when.empty() ? "" : " ") + when;
}

// The start "2026-12-08T14:03:05+01:00" as "2026-12-08 14:03" (`month_first`:
// "12-08 14:03"); empty for a start that is not such a time.
std::string StartMinute(const RoastLog& log, bool month_first) {
    const std::string start = log.Get(roastkey::kStart);
    if (start.size() < 16 || start[10] != 'T') return {};
    return start.substr(month_first ? 5 : 0, month_first ? 5 : 10) + " " + start.substr(11, 5);
}

}  // namespace

std::string NameFromRoast(const RoastLog& log) { return Joined(WhatOf(log), StartMinute(log, false)); }

std::string ShortNameFromRoast(const RoastLog& log, const std::function<bool(const std::string&)>& fits) {
    const std::string what = WhatOf(log);
    const std::string whole = Joined(what, StartMinute(log, false));
    if (fits(whole)) return whole;
    const std::string when = StartMinute(log, true);
    if (fits(Joined(what, when))) return Joined(what, when);
    // The bean cut a character at a time (never inside a UTF-8 one).
    static const std::string kEllipsis = "\u2026";
    for (std::size_t keep = what.size(); keep > 0;) {
        do --keep;
        while (keep > 0 && (static_cast<unsigned char>(what[keep]) & 0xC0) == 0x80);
        std::string cut = what.substr(0, keep);
        while (!cut.empty() && cut.back() == ' ') cut.pop_back();
        const std::string name = Joined(cut.empty() ? std::string() : cut + kEllipsis, when);
        if (cut.empty() || fits(name)) return name;
    }
    return Joined(std::string(), when);
}
