#include "roast_comparison.h"

#include <cmath>

#include "roast_log_text.h"

namespace {

const RoastMark* MarkOf(const ComparedRoast& roast, MarkKind kind) {
    for (const RoastMark& mark : roast.marks)
        if (mark.kind == kind) return &mark;
    return nullptr;
}

std::optional<double> MarkTime(const ComparedRoast& roast, MarkKind kind) {
    if (const RoastMark* mark = MarkOf(roast, kind)) return mark->seconds;
    return std::nullopt;
}

std::optional<double> MarkTemperature(const ComparedRoast& roast, MarkKind kind, bool celsius) {
    if (const RoastMark* mark = MarkOf(roast, kind); mark && mark->bean_f)
        return TemperatureInUnit(*mark->bean_f, celsius);
    return std::nullopt;
}

std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char ch : text) quoted += ch == '"' ? std::string("\"\"") : std::string(1, ch);
    return quoted + "\"";
}

std::string CsvNumber(const std::optional<double>& value) { return value ? OneDecimal(*value) : std::string(); }

std::string CsvName(const CompareColumnInfo& info, bool celsius) {
    switch (info.kind) {
        case ColumnKind::Seconds: return std::string(info.csv_name) + "_s";
        case ColumnKind::Temperature: return std::string(info.csv_name) + (celsius ? "_c" : "_f");
        case ColumnKind::Percent: return std::string(info.csv_name) + "_pct";
        case ColumnKind::Text: break;
    }
    return info.csv_name;
}

}  // namespace

ComparedRoast CompareEntry(const RoastLog& log, const std::string& path) {
    ComparedRoast roast;
    roast.summary = SummaryOf(log, path);
    roast.marks = log.marks.list();
    roast.phases = ComputePhases(roast.marks, roast.summary.duration_s, false);
    return roast;
}

std::vector<RoastAlignment> AlignRoasts(const std::vector<ComparedRoast>& roasts, AlignPoint point) {
    std::vector<RoastAlignment> aligned(roasts.size());
    if (point == AlignPoint::Start) return aligned;
    const MarkKind kind = point == AlignPoint::DryEnd       ? MarkKind::DryEnd
                          : point == AlignPoint::FirstCrack ? MarkKind::FirstCrack
                                                            : MarkKind::Drop;
    double sum = 0;
    std::size_t marked = 0;
    for (std::size_t i = 0; i < roasts.size(); ++i) {
        if (const std::optional<double> at = MarkTime(roasts[i], kind)) {
            aligned[i].offset_s = *at;
            sum += *at;
            ++marked;
        } else {
            aligned[i].at_point = false;
        }
    }
    const double mean = marked > 0 ? sum / static_cast<double>(marked) : 0.0;
    for (RoastAlignment& a : aligned)
        if (!a.at_point) a.offset_s = mean;
    return aligned;
}

const std::vector<CompareColumnInfo>& CompareColumns() {
    using C = CompareColumn;
    using K = ColumnKind;
    static const std::vector<CompareColumnInfo> columns = {
        {C::Start, K::Text, "Start", "start"},
        {C::Profile, K::Text, "Profile", "profile"},
        {C::Bean, K::Text, "Bean", "bean"},
        {C::RoastTime, K::Seconds, "Roast time", "roast_time"},
        {C::DryEndTime, K::Seconds, "Dry end", "dry_end"},
        {C::DryEndTemperature, K::Temperature, "Dry end temperature", "dry_end"},
        {C::FirstCrackTime, K::Seconds, "First crack", "first_crack"},
        {C::FirstCrackTemperature, K::Temperature, "First crack temperature", "first_crack"},
        {C::DropTime, K::Seconds, "Drop", "drop"},
        {C::DropTemperature, K::Temperature, "Drop temperature", "drop"},
        {C::Drying, K::Seconds, "Drying", "drying"},
        {C::DryingShare, K::Percent, "Drying share", "drying"},
        {C::Maillard, K::Seconds, "Maillard", "maillard"},
        {C::MaillardShare, K::Percent, "Maillard share", "maillard"},
        {C::Development, K::Seconds, "Development", "development"},
        {C::DevelopmentRatio, K::Percent, "Development ratio", "development_ratio"},
        {C::EndTemperature, K::Temperature, "End temperature", "end"},
        {C::WeightLoss, K::Percent, "Weight loss", "weight_loss"},
    };
    return columns;
}

std::string ColumnText(const ComparedRoast& roast, CompareColumn column) {
    switch (column) {
        case CompareColumn::Start: return roast.summary.start;
        case CompareColumn::Profile: return roast.summary.profile;
        case CompareColumn::Bean: return roast.summary.bean;
        default: return {};
    }
}

std::optional<double> ColumnValue(const ComparedRoast& roast, CompareColumn column, bool celsius) {
    const RoastPhases& p = roast.phases;
    switch (column) {
        case CompareColumn::Start:
        case CompareColumn::Profile:
        case CompareColumn::Bean: return std::nullopt;
        case CompareColumn::RoastTime: return p.total;
        case CompareColumn::DryEndTime: return MarkTime(roast, MarkKind::DryEnd);
        case CompareColumn::DryEndTemperature: return MarkTemperature(roast, MarkKind::DryEnd, celsius);
        case CompareColumn::FirstCrackTime: return MarkTime(roast, MarkKind::FirstCrack);
        case CompareColumn::FirstCrackTemperature: return MarkTemperature(roast, MarkKind::FirstCrack, celsius);
        case CompareColumn::DropTime: return MarkTime(roast, MarkKind::Drop);
        case CompareColumn::DropTemperature: return MarkTemperature(roast, MarkKind::Drop, celsius);
        case CompareColumn::Drying: return p.drying;
        case CompareColumn::DryingShare: return p.Share(p.drying);
        case CompareColumn::Maillard: return p.maillard;
        case CompareColumn::MaillardShare: return p.Share(p.maillard);
        case CompareColumn::Development: return p.development;
        case CompareColumn::DevelopmentRatio: return p.DevelopmentRatio();
        case CompareColumn::EndTemperature:
            if (roast.summary.end_bean_f) return TemperatureInUnit(*roast.summary.end_bean_f, celsius);
            return std::nullopt;
        case CompareColumn::WeightLoss: return roast.summary.weight_loss;
    }
    return std::nullopt;
}

ColumnSpread SpreadOf(const std::vector<ComparedRoast>& roasts, CompareColumn column, bool celsius) {
    std::vector<double> values;
    for (const ComparedRoast& roast : roasts)
        if (const std::optional<double> v = ColumnValue(roast, column, celsius)) values.push_back(*v);
    ColumnSpread spread;
    spread.count = values.size();
    if (values.empty()) return spread;
    double sum = 0;
    for (double v : values) sum += v;
    const double mean = sum / static_cast<double>(values.size());
    spread.mean = mean;
    if (values.size() < 2) return spread;
    double squares = 0;
    for (double v : values) squares += (v - mean) * (v - mean);
    spread.deviation = std::sqrt(squares / static_cast<double>(values.size() - 1));
    return spread;
}

std::string ComparisonCsv(const std::vector<ComparedRoast>& roasts, bool celsius) {
    const std::vector<CompareColumnInfo>& columns = CompareColumns();
    std::string csv;
    auto line = [&](auto field) {
        for (std::size_t c = 0; c < columns.size(); ++c) csv += (c ? "," : "") + field(columns[c]);
        csv += "\n";
    };
    line([&](const CompareColumnInfo& info) { return CsvName(info, celsius); });
    for (const ComparedRoast& roast : roasts)
        line([&](const CompareColumnInfo& info) {
            return info.kind == ColumnKind::Text ? CsvField(ColumnText(roast, info.column))
                                                 : CsvNumber(ColumnValue(roast, info.column, celsius));
        });
    for (const bool mean : {true, false})
        line([&](const CompareColumnInfo& info) {
            if (info.column == CompareColumn::Start) return std::string(mean ? "mean" : "standard deviation");
            if (info.kind == ColumnKind::Text) return std::string();
            const ColumnSpread spread = SpreadOf(roasts, info.column, celsius);
            return CsvNumber(mean ? spread.mean : spread.deviation);
        });
    return csv;
}
