// Saved roasts as the console writes them, for tests and benchmarks: a
// recording of a sample every half second whose bean temperature climbs
// toward the roast's end and falls in the cooling after the drop, with the
// marks, phases and notes a roaster adds.
#pragma once

#include <cmath>
#include <optional>
#include <string>

#include "controller_state.h"
#include "rate_of_rise.h"
#include "roast_log.h"
#include "roast_log_text.h"
#include "roast_marks.h"
#include "roast_notes.h"
#include "roast_phases.h"

struct MadeRoast {
    std::string start = "2026-12-08T14:03:05+01:00";
    std::string profile = "Light roast";
    double seconds = 720;  // the whole recording, the cooling included
    std::optional<double> dry_end = 240, first_crack = 420, drop = 600;
    double charge_f = 70, end_f = 430;  // the beans at the start and (about) at the drop
    RoastNotes notes;
    // Seconds at the end with a sensor error: no temperature.
    double sensor_error_s = 0;
};

// The bean temperature of a made roast at `t`: rising ever more slowly to
// `end_f` at the drop, then falling toward the start's in the cooling.
inline double MadeBeanF(const MadeRoast& r, double t) {
    const double drop = r.drop.value_or(r.seconds);
    constexpr double kBend = 1.6;
    if (t <= drop)
        return r.charge_f + (r.end_f - r.charge_f) * (1 - std::exp(-kBend * t / drop)) / (1 - std::exp(-kBend));
    return r.charge_f + (r.end_f - r.charge_f) * std::exp(-(t - drop) / 90.0);
}

inline RoastLog MakeRoastLog(const MadeRoast& r) {
    RoastLog log;
    log.Set(roastkey::kProgram, "kavolo-roaster 1.0");
    log.Set(roastkey::kProfile, r.profile);
    log.Set(roastkey::kStart, r.start);
    log.Set(roastkey::kPlannedSteps, "9/5.0/3, 8/4.5/2, cool 5/3.0");
    log.Set(roastkey::kRunSteps, "9/5.0/3, 8/4.5/2, cool 5/3.0");
    std::vector<RoastMark> marks;
    auto mark = [&](MarkKind kind, const std::optional<double>& at) {
        if (at) marks.push_back({kind, *at, static_cast<int32_t>(std::lround(MadeBeanF(r, *at)))});
    };
    mark(MarkKind::DryEnd, r.dry_end);
    mark(MarkKind::FirstCrack, r.first_crack);
    mark(MarkKind::Drop, r.drop);
    for (const RoastMark& m : marks) log.marks.Put(m);
    log.marks.ForgetOrder();
    WritePhases(log, ComputePhases(marks, r.seconds, false));
    WriteNotes(log, r.notes);
    RateOfRise rate;
    for (double t = 0.5; t <= r.seconds + 1e-9; t += 0.5) {
        RoastSample s;
        s.seconds = t;
        const bool cooling = r.drop && t >= *r.drop;
        if (t <= r.seconds - r.sensor_error_s) {
            s.bean_f = static_cast<int32_t>(std::lround(MadeBeanF(r, t)));
            s.shown_f = *s.bean_f - 1;
            rate.Add(t, *s.bean_f);
            s.ror_f_per_min = rate.PerMinute();
        }
        s.machine_state = kRun;
        s.run_phase = cooling ? kCool : kHeat;
        s.step = cooling ? 3 : (t < 300 ? 1 : 2);
        s.fan = cooling ? 5 : 9;
        s.heat = cooling ? 0 : (t < 300 ? 3 : 2);
        s.time_left_units = static_cast<int32_t>(std::lround(std::fmod(1e4 - t, 300.0) / 6.0));
        log.samples.push_back(s);
    }
    return log;
}
