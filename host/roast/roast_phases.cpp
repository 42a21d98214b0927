#include "roast_phases.h"

#include <algorithm>
#include <cmath>

#include "roast_numbers.h"

namespace {

std::optional<double> Span(std::optional<double> from, std::optional<double> to) {
    if (!from || !to || *to < *from) return std::nullopt;
    return *to - *from;
}

std::optional<double> At(const std::vector<RoastMark>& marks, MarkKind kind) {
    for (const RoastMark& m : marks)
        if (m.kind == kind) return m.seconds;
    return std::nullopt;
}

}  // namespace

std::optional<double> RoastPhases::Share(const std::optional<double>& phase) const {
    if (!phase || total <= 0) return std::nullopt;
    return *phase / total * 100.0;
}

RoastPhases ComputePhases(const std::vector<RoastMark>& marks, double now, bool running) {
    const std::optional<double> dry_end = At(marks, MarkKind::DryEnd);
    const std::optional<double> first_crack = At(marks, MarkKind::FirstCrack);
    const std::optional<double> drop = At(marks, MarkKind::Drop);
    const double end = drop ? *drop : now;
    RoastPhases p;
    p.total = end;
    // A phase runs until the mark that ends it; the one under way, until
    // now. The drop ends the development.
    const std::optional<double> open = running && !drop ? std::optional<double>(now) : std::nullopt;
    p.drying = Span(0.0, dry_end ? dry_end : (first_crack ? std::nullopt : open));
    p.maillard = Span(dry_end, first_crack ? first_crack : open);
    p.development = Span(first_crack, drop ? drop : open);
    return p;
}

void WritePhases(RoastLog& log, const RoastPhases& phases) {
    const struct {
        const char* key;
        const std::optional<double>& value;
    } lines[] = {{"phase_drying", phases.drying},
                 {"phase_maillard", phases.maillard},
                 {"phase_development", phases.development}};
    for (const auto& line : lines) {
        if (line.value) {
            const std::optional<double> share = phases.Share(line.value);
            log.Set(line.key, OneDecimal(*line.value) + (share ? " " + OneDecimal(*share) + "%" : std::string()));
        } else
            log.Remove(line.key);
    }
    if (const std::optional<double> ratio = phases.DevelopmentRatio())
        log.Set("development_ratio", OneDecimal(*ratio) + "%");
    else
        log.Remove("development_ratio");
}

std::string MinutesSeconds(double seconds) {
    // The whole seconds gone, as a clock reads them: the curve's clock, the
    // history and the comparison say the same of one roast.
    const long long whole = static_cast<long long>(std::floor(std::max(0.0, seconds) + 1e-9));
    std::string s = std::to_string(whole % 60);
    return std::to_string(whole / 60) + ":" + (s.size() < 2 ? "0" + s : s);
}
