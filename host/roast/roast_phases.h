// The phases of a roast, from its marks: drying (start to dry end),
// Maillard (dry end to first crack) and development (first crack to the
// drop), each with its duration and its share of the roast, and the
// development time ratio. While the roast runs, the phase under way lasts
// until now; otherwise a phase whose ends are not both marked, or come in
// the wrong order, has no duration.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "roast_log.h"
#include "roast_marks.h"

struct RoastPhases {
    std::optional<double> drying, maillard, development;  // seconds
    double total = 0;  // start to the drop, or to now before it
    // Percent of the total; none without a duration.
    std::optional<double> Share(const std::optional<double>& phase) const;
    // The development's share: the development time ratio.
    std::optional<double> DevelopmentRatio() const { return Share(development); }
};

// `now` is the roast's elapsed seconds: the end of the roast until the
// drop is marked. `running`: the phase under way lasts until now.
RoastPhases ComputePhases(const std::vector<RoastMark>& marks, double now, bool running);

// Header lines "phase_drying: 245.0 43.1%" (seconds, share),
// "phase_maillard", "phase_development" and "development_ratio: 18.2%";
// lines without a value are removed.
void WritePhases(RoastLog& log, const RoastPhases& phases);

// "4:05" for 245 to 245.9 seconds: whole seconds, as a clock counts them.
std::string MinutesSeconds(double seconds);
