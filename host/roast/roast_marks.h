// Event marks of a roast: the landmarks a roaster notes while the beans
// change (dry end, first crack and its end, second crack) and the drop into
// cooling. A roast log holds them as RoastMarks; its file keeps them as
// header lines
//   # event: first_crack 312.5 388
// (name, seconds since the start, bean temperature in °F; the temperature
// is left out when the sensor gave none). While a roast runs the partial
// log gets a line for every change; "# event: first_crack undone" takes a
// mark back, and a later line of a kind replaces an earlier one.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

enum class MarkKind { DryEnd, FirstCrack, FirstCrackEnd, SecondCrack, Drop };
constexpr MarkKind kMarkKinds[] = {MarkKind::DryEnd, MarkKind::FirstCrack, MarkKind::FirstCrackEnd,
                                   MarkKind::SecondCrack, MarkKind::Drop};

struct RoastMark {
    MarkKind kind = MarkKind::DryEnd;
    double seconds = 0;
    std::optional<int32_t> bean_f;
};

// The marks of one roast, at most one a kind, in time order; and the order
// they were made in, so the last one made can be taken back.
class RoastMarks {
public:
    // In time order.
    const std::vector<RoastMark>& list() const { return marks_; }
    bool empty() const { return marks_.empty(); }
    std::optional<RoastMark> Find(MarkKind kind) const;

    // Sets the mark of its kind, replacing one made before; it is now the
    // last one made.
    void Put(const RoastMark& mark);
    // Removes the mark of `kind`, if there is one.
    void Remove(MarkKind kind);
    // Takes back the last mark made; its kind, or none when none is left
    // to take back.
    std::optional<MarkKind> UndoLast();
    // The marks stay; which was made last is forgotten (the roast is over).
    void ForgetOrder() { made_.clear(); }

private:
    std::vector<RoastMark> marks_;
    std::vector<MarkKind> made_;  // the kinds put, oldest first
};

inline const std::string kEventKey = "event";
inline const std::string kUndoneWord = "undone";

// "dry_end", "first_crack", ...
std::string MarkName(MarkKind kind);
// "Dry end", "First crack", ...
std::string MarkLabel(MarkKind kind);
std::optional<MarkKind> MarkKindNamed(const std::string& name);

// The value of a mark's event line.
std::string EventValue(const RoastMark& mark);
// The value of the event line that takes the mark of `kind` back.
std::string UndoneEventValue(MarkKind kind);
// Reads an event line's value; false when it does not read. `undone` tells
// a line that takes its kind's mark back.
bool ParseEventValue(const std::string& value, RoastMark& mark, bool& undone);
// Applies an event line's value to `marks`; false (and nothing changed)
// when it does not read.
bool ApplyEventValue(const std::string& value, RoastMarks& marks);
