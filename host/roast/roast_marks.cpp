#include "roast_marks.h"

#include <algorithm>
#include <sstream>

#include "roast_numbers.h"

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
    if (w.size() < 2 || !ParseDecimal(w[1], 0, 1e7, mark.seconds)) return false;
    if (w.size() == 3) {
        int32_t bean = 0;
        if (!ParseWhole(w[2], 0, 65535, bean)) return false;
        mark.bean_f = bean;
    }
    return true;
}

std::string UndoneEventValue(MarkKind kind) { return MarkName(kind) + " " + kUndoneWord; }

bool ApplyEventValue(const std::string& value, RoastMarks& marks) {
    RoastMark mark;
    bool undone = false;
    if (!ParseEventValue(value, mark, undone)) return false;
    if (undone)
        marks.Remove(mark.kind);
    else
        marks.Put(mark);
    return true;
}

std::optional<RoastMark> RoastMarks::Find(MarkKind kind) const {
    for (const RoastMark& m : marks_)
        if (m.kind == kind) return m;
    return std::nullopt;
}

void RoastMarks::Put(const RoastMark& mark) {
    Remove(mark.kind);
    // After any mark at the same time: marks read back in the order made.
    const auto at = std::upper_bound(marks_.begin(), marks_.end(), mark.seconds,
                                     [](double t, const RoastMark& m) { return t < m.seconds; });
    marks_.insert(at, mark);
    made_.push_back(mark.kind);
}

void RoastMarks::Remove(MarkKind kind) {
    marks_.erase(std::remove_if(marks_.begin(), marks_.end(), [&](const RoastMark& m) { return m.kind == kind; }),
                 marks_.end());
    made_.erase(std::remove(made_.begin(), made_.end(), kind), made_.end());
}

std::optional<MarkKind> RoastMarks::UndoLast() {
    if (made_.empty()) return std::nullopt;
    const MarkKind kind = made_.back();
    Remove(kind);
    return kind;
}
