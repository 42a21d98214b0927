// Event marks of a roast: the landmarks a roaster notes while the beans
// change (dry end, first crack and its end, second crack) and the drop into
// cooling. A log keeps them as header lines
//   # event: first_crack 312.5 388
// (name, seconds since the start, bean temperature in °F; the temperature
// is left out when the sensor gave none). While a roast runs the partial
// log gets a line for every change; "# event: first_crack undone" takes a
// mark back, and a later line of a kind replaces an earlier one.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "roast_log.h"

enum class MarkKind { DryEnd, FirstCrack, FirstCrackEnd, SecondCrack, Drop };
constexpr MarkKind kMarkKinds[] = {MarkKind::DryEnd, MarkKind::FirstCrack, MarkKind::FirstCrackEnd,
                                   MarkKind::SecondCrack, MarkKind::Drop};

struct RoastMark {
    MarkKind kind = MarkKind::DryEnd;
    double seconds = 0;
    std::optional<int32_t> bean_f;
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
// Reads an event line's value; false when it does not read. `undone` tells
// a line that takes its kind's mark back.
bool ParseEventValue(const std::string& value, RoastMark& mark, bool& undone);

// The marks of a log in time order, one a kind: the last line of a kind
// wins, and an "undone" line removes its kind.
std::vector<RoastMark> MarksOf(const RoastLog& log);
// Replaces the log's event lines by one line a mark.
void WriteMarks(RoastLog& log, const std::vector<RoastMark>& marks);
// The mark of a kind, if the list has one.
std::optional<RoastMark> FindMark(const std::vector<RoastMark>& marks, MarkKind kind);
