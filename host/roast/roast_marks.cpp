#include "roast_marks.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <sstream>

#include "roast_log_text.h"

namespace {

struct KindNames {
    MarkKind kind;
    const char* name;
    const char* label;
};
constexpr KindNames kNames[] = {
    {MarkKind::DryEnd, "dry_end", "Dry end"},
    {MarkKind::FirstCrack, "first_crack", "First crack"},
    {MarkKind::FirstCrackEnd, "first_crack_end", "First crack end"},
    {MarkKind::SecondCrack, "second_crack", "Second crack"},
    {MarkKind::Drop, "drop", "Drop"},
};

const KindNames& NamesOf(MarkKind kind) {
    for (const KindNames& n : kNames)
        if (n.kind == kind) return n;
    return kNames[0];
}

std::vector<std::string> Words(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string w; in >> w;) words.push_back(w);
    return words;
}

template <typename T>
bool ReadNumber(const std::string& text, T& out) {
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, out);
    return ec == std::errc() && ptr == end;
}

}  // namespace

std::string MarkName(MarkKind kind) { return NamesOf(kind).name; }
std::string MarkLabel(MarkKind kind) { return NamesOf(kind).label; }

std::optional<MarkKind> MarkKindNamed(const std::string& name) {
    for (const KindNames& n : kNames)
        if (name == n.name) return n.kind;
    return std::nullopt;
}

std::string EventValue(const RoastMark& mark) {
    std::string value = MarkName(mark.kind) + " " + OneDecimal(mark.seconds);
    if (mark.bean_f) value += " " + std::to_string(*mark.bean_f);
    return value;
}

bool ParseEventValue(const std::string& value, RoastMark& mark, bool& undone) {
    const std::vector<std::string> w = Words(value);
    if (w.empty() || w.size() > 3) return false;
    const std::optional<MarkKind> kind = MarkKindNamed(w[0]);
    if (!kind) return false;
    mark = RoastMark{*kind, 0, std::nullopt};
    undone = w.size() == 2 && w[1] == kUndoneWord;
    if (undone) return true;
    if (w.size() < 2 || !ReadNumber(w[1], mark.seconds) || !std::isfinite(mark.seconds) || mark.seconds < 0 ||
        mark.seconds > 1e7)
        return false;
    if (w.size() == 3) {
        int32_t bean = 0;
        if (!ReadNumber(w[2], bean) || bean < 0 || bean > 65535) return false;
        mark.bean_f = bean;
    }
    return true;
}

std::vector<RoastMark> MarksOf(const RoastLog& log) {
    std::vector<RoastMark> marks;
    for (const RoastHeaderLine& line : log.header) {
        if (line.key != kEventKey) continue;
        RoastMark mark;
        bool undone = false;
        if (!ParseEventValue(line.value, mark, undone)) continue;
        marks.erase(std::remove_if(marks.begin(), marks.end(), [&](const RoastMark& m) { return m.kind == mark.kind; }),
                    marks.end());
        if (!undone) marks.push_back(mark);
    }
    std::stable_sort(marks.begin(), marks.end(),
                     [](const RoastMark& a, const RoastMark& b) { return a.seconds < b.seconds; });
    return marks;
}

void WriteMarks(RoastLog& log, const std::vector<RoastMark>& marks) {
    log.Remove(kEventKey);
    for (const RoastMark& mark : marks) log.header.push_back({kEventKey, EventValue(mark)});
}

std::optional<RoastMark> FindMark(const std::vector<RoastMark>& marks, MarkKind kind) {
    for (const RoastMark& m : marks)
        if (m.kind == kind) return m;
    return std::nullopt;
}
