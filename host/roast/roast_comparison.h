// Saved roasts side by side: where each lies on a shared time axis, aligned
// at the start of its recording or at one of its marks, and a table of what
// each roast was (start, profile, bean, its marks, phases and results), one
// row a roast, with the mean and the spread of every number over the roasts
// that have it. Temperatures are °F unless asked in °C.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "roast_log.h"
#include "roast_marks.h"
#include "roast_phases.h"
#include "roast_summary.h"

// One roast of a comparison.
struct ComparedRoast {
    RoastSummary summary;          // start, profile, bean, end temperature, weight loss
    std::vector<RoastMark> marks;  // in time order
    RoastPhases phases;            // total: start to the drop, or to the last sample without one
};

// The roast of `log` (read whole, or only its ends with ReadRoastLogEnds),
// the file at `path`.
ComparedRoast CompareEntry(const RoastLog& log, const std::string& path);

enum class AlignPoint { Start, DryEnd, FirstCrack, Drop };

struct RoastAlignment {
    // Subtracted from the roast's times, it puts the alignment point at 0.
    double offset_s = 0;
    // False when the roast lacks the mark: it then lies at the mean offset
    // of the roasts that have it (0 when none has), so its start falls
    // among theirs rather than at their mark.
    bool at_point = true;
};

// The alignment of each roast, in the order given.
std::vector<RoastAlignment> AlignRoasts(const std::vector<ComparedRoast>& roasts, AlignPoint point);

enum class ColumnKind { Text, Seconds, Temperature, Percent };

// The development's share of the roast is its development time ratio:
// the table has it once, as the ratio. The roast time runs from the start
// to the drop (the last reading without a drop mark), the cooling left out.
enum class CompareColumn {
    Start, Profile, Bean, RoastTime,
    DryEndTime, DryEndTemperature, FirstCrackTime, FirstCrackTemperature, DropTime, DropTemperature,
    Drying, DryingShare, Maillard, MaillardShare, Development, DevelopmentRatio,
    EndTemperature, WeightLoss,
};

struct CompareColumnInfo {
    CompareColumn column;
    ColumnKind kind;
    const char* title;     // "First crack temperature"
    const char* csv_name;  // "first_crack", to which the CSV adds its unit: "_s", "_f" or "_c", "_pct"
};

// The table's columns, in their order.
const std::vector<CompareColumnInfo>& CompareColumns();

// A text column's text (the start as the log gives it, ISO 8601); empty for
// the others.
std::string ColumnText(const ComparedRoast& roast, CompareColumn column);
// A number column's value; none for the text columns and for what the
// roast lacks (a mark, a weight).
std::optional<double> ColumnValue(const ComparedRoast& roast, CompareColumn column, bool celsius);

struct ColumnSpread {
    std::size_t count = 0;            // roasts that have a value
    std::optional<double> mean;       // none without values
    std::optional<double> deviation;  // sample standard deviation (n - 1); none below two values
};

// The mean and spread of a number column over the roasts that have it.
ColumnSpread SpreadOf(const std::vector<ComparedRoast>& roasts, CompareColumn column, bool celsius);

// The table as CSV: a header line of the column names, one line a roast,
// then the lines "mean" and "standard deviation". Numbers have a point and
// one decimal in every locale (seconds, degrees, percent); an empty field
// for a missing value; text is quoted where it holds a comma, a quote or a
// line break.
std::string ComparisonCsv(const std::vector<ComparedRoast>& roasts, bool celsius);
