// follow_bench: how closely follow mode makes a roast follow a saved one on
// roasters whose beans answer unlike the saved roast's, in virtual time, on
// the whole console: the control logic on the simulated roaster's wire,
// the recorder, and follow mode steering the running step through the
// control layer (see virtual_roast.h).
//
// It records a reference roast on the default simulated roaster with a
// profile that leaves heat to spare (heat 2 throughout, the fan stepping
// down from 7 to 3), then for each changed roaster (a smaller and a bigger
// batch, a weaker and a stronger heater, a cold and a warm room, the fan's
// effect reversed, and a bigger batch with the fan reversed) runs the
// reference's steps as they are (open loop) and with follow mode steering
// them, and prints the RMS and the largest miss of the bean temperature
// from the reference, from 1:00 to the drop, and how many changes follow
// mode made. "reach" says whether heat 1 to 3 can keep the beans on the
// reference at all on that roaster. A second table does the same on
// roasters whose heater answers a change of heat with a lag of 30 s.
//
//   follow_bench                   both tables
//   follow_bench --heater-lag S    one table, with that heater lag
//   follow_bench --sweep           every combination of the changes (108
//                                  roasters): how many meet the aims
//   follow_bench --trace CASE      one case of the first table, every 10 s
//                                  and every change of fan or heat
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "controller_state.h"
#include "roast_follower.h"
#include "virtual_roast.h"

namespace {

constexpr double kFromSeconds = 60.0;
// The aims: follow mode's RMS and largest miss at most these, and its RMS
// at most this share of the open loop's.
constexpr double kAimRms = 3.0;
constexpr double kAimLargest = 8.0;
constexpr double kAimShare = 1.0 / 3.0;

const VirtualProfile kReference{{{7, 40, 2}, {5, 30, 2}, {3, 30, 2}}, {9, 30, 0}};

struct Case {
    const char* name;
    void (*change)(BeanResponse&);
};

const Case kCases[] = {
    {"batch x0.8", [](BeanResponse& b) { b.batch_scale = 0.8; }},
    {"batch x1.25", [](BeanResponse& b) { b.batch_scale = 1.25; }},
    {"heat x0.85", [](BeanResponse& b) { b.heat_scale = 0.85; }},
    {"heat x1.15", [](BeanResponse& b) { b.heat_scale = 1.15; }},
    {"room 55 F", [](BeanResponse& b) { b.room_f = 55; }},
    {"room 90 F", [](BeanResponse& b) { b.room_f = 90; }},
    {"fan reversed", [](BeanResponse& b) { b.fan_effect = -1; }},
    {"batch x1.25, fan reversed", [](BeanResponse& b) {
         b.batch_scale = 1.25;
         b.fan_effect = -1;
     }},
};

double DropSeconds(const RoastLog& log) {
    for (const RoastSample& s : log.samples)
        if (s.run_phase != kHeat) return s.seconds;
    return log.samples.empty() ? 0.0 : log.samples.back().seconds;
}

struct Misses {
    double rms = 0;
    double largest = 0;
    double largest_at = 0;  // seconds
};

// How far `run`'s beans were from `reference`'s, from 1:00 to its drop.
Misses MissesOf(const RoastLog& run, const RoastLog& reference) {
    const double drop = DropSeconds(reference);
    Misses m;
    double sum = 0;
    int n = 0;
    for (const RoastSample& s : run.samples) {
        if (s.seconds < kFromSeconds || s.seconds > drop || !s.bean_f) continue;
        const std::optional<double> want = BeanAt(reference, s.seconds);
        if (!want) continue;
        const double miss = *s.bean_f - *want;
        sum += miss * miss;
        ++n;
        if (std::abs(miss) > m.largest) {
            m.largest = std::abs(miss);
            m.largest_at = s.seconds;
        }
    }
    m.rms = n ? std::sqrt(sum / n) : 0.0;
    return m;
}

// One fan and heat for `tenths` of a minute, in steps a profile holds.
VirtualProfile Constant(int fan, int heat, int tenths) {
    constexpr int kLongestStep = 99;
    VirtualProfile p{{}, {9, 10, 0}};
    for (; tenths > 0; tenths -= kLongestStep) p.steps.push_back({fan, std::min(tenths, kLongestStep), heat});
    return p;
}

// Whether some heat from 1 to 3 with some fan keeps the beans at the
// reference all along: the reference lies between the slowest and the
// fastest roast that roaster makes.
bool Reachable(const RoastLog& reference, const BeanResponse& beans) {
    std::vector<RoastLog> bounds;
    const int tenths = static_cast<int>(DropSeconds(reference) / 6.0 + 0.5);
    for (int heat : {1, 3})
        for (int fan : {1, 9}) bounds.push_back(RunVirtualRoast(Constant(fan, heat, tenths), beans));
    for (const RoastSample& s : reference.samples) {
        if (s.seconds < kFromSeconds || s.run_phase != kHeat || !s.bean_f) continue;
        double low = 1e9, high = -1e9;
        for (const RoastLog& b : bounds)
            if (const std::optional<double> t = BeanAt(b, s.seconds)) {
                low = std::min(low, *t);
                high = std::max(high, *t);
            }
        if (*s.bean_f < low || *s.bean_f > high) return false;
    }
    return true;
}

struct Result {
    Misses open;
    Misses follow;
    int changes = 0;
    std::string ended;
    bool reachable = false;
    bool MeetsAims() const {
        return follow.rms <= kAimRms && follow.largest <= kAimLargest &&
               (follow.rms <= kAimShare * open.rms || open.rms < kAimRms);
    }
};

// The reference's steps on `beans`, open loop and followed; `trace` prints
// the followed roast as it goes.
Result Run(const RoastLog& reference, const BeanResponse& beans, bool trace = false) {
    Result r;
    r.open = MissesOf(RunVirtualRoast(kReference, beans), reference);
    FollowOutcome outcome;
    std::optional<RoastSample> before;
    const RoastLog followed = RunVirtualRoast(kReference, beans, &reference, &outcome, [&](const RoastSample& s) {
        const bool changed = before && (s.fan != before->fan || s.heat != before->heat);
        if (trace && (!before || changed || std::floor(s.seconds / 10) != std::floor(before->seconds / 10)))
            std::printf("%6.1f s  background %5.1f F  beans %3d F  fan %d heat %d%s\n", s.seconds,
                        BeanAt(reference, s.seconds).value_or(0), s.bean_f.value_or(0), s.fan, s.heat,
                        changed ? "  (changed)" : "");
        before = s;
    });
    r.follow = MissesOf(followed, reference);
    r.changes = outcome.changes;
    r.ended = outcome.end ? FollowEndWord(*outcome.end) + " at " + std::to_string(static_cast<int>(outcome.end_seconds)) + " s" : "-";
    r.reachable = Reachable(reference, beans);
    return r;
}

RoastLog Reference(double heater_lag) {
    BeanResponse plain;
    plain.heater_lag_seconds = heater_lag;
    return RunVirtualRoast(kReference, plain);
}

void Table(double heater_lag) {
    const RoastLog reference = Reference(heater_lag);
    const double drop = DropSeconds(reference);
    std::printf("Reference: heat 2, fan 7/5/3 for 4/3/3 min on the default roaster%s; %.0f F at the drop (%.0f s)\n",
                heater_lag > 0 ? (", heater lag " + std::to_string(static_cast<int>(heater_lag)) + " s").c_str() : "",
                BeanAt(reference, drop).value_or(0.0), drop);
    std::printf("%-26s %5s | %8s %8s | %8s %8s %8s %7s | %-6s %s\n", "roaster", "reach", "open RMS", "largest",
                "follow", "largest", "at", "changes", "share", "ended");
    for (const Case& c : kCases) {
        BeanResponse beans;
        beans.heater_lag_seconds = heater_lag;
        c.change(beans);
        const Result r = Run(reference, beans);
        std::printf("%-26s %5s | %6.1f F %6.1f F | %6.1f F %6.1f F %6.0f s %7d | %-6.2f %s\n", c.name,
                    r.reachable ? "yes" : "no", r.open.rms, r.open.largest, r.follow.rms, r.follow.largest,
                    r.follow.largest_at, r.changes, r.open.rms > 0 ? r.follow.rms / r.open.rms : 0.0, r.ended.c_str());
    }
}

// Every combination of the changes, two ways each beside none, with and
// without a heater lag: how many meet the aims, and the worst.
void Sweep() {
    int cases = 0, reachable = 0, met = 0;
    double worst_rms = 0, worst_largest = 0, sum_rms = 0;
    std::string worst_rms_case, worst_largest_case;
    for (double lag : {0.0, 30.0}) {
        const RoastLog reference = Reference(lag);
        for (double batch : {0.8, 1.0, 1.25})
            for (double heat : {0.85, 1.0, 1.15})
                for (double room : {55.0, 70.0, 90.0})
                    for (double fan : {1.0, -1.0}) {
                        BeanResponse beans;
                        beans.heater_lag_seconds = lag;
                        beans.batch_scale = batch;
                        beans.heat_scale = heat;
                        beans.room_f = room;
                        beans.fan_effect = fan;
                        ++cases;
                        const Result r = Run(reference, beans);
                        if (!r.reachable) continue;
                        char name[128];
                        std::snprintf(name, sizeof name, "heater lag %.0f s, batch x%.2f, heat x%.2f, room %.0f F, fan %s",
                                      lag, batch, heat, room, fan > 0 ? "normal" : "reversed");
                        ++reachable;
                        met += r.MeetsAims();
                        sum_rms += r.follow.rms;
                        if (r.follow.rms > worst_rms) {
                            worst_rms = r.follow.rms;
                            worst_rms_case = name;
                        }
                        if (r.follow.largest > worst_largest) {
                            worst_largest = r.follow.largest;
                            worst_largest_case = name;
                        }
                    }
    }
    std::printf("%d roasters, %d where heat 1-3 can reach the reference; the aims met on %d of those\n", cases,
                reachable, met);
    std::printf("follow mode's RMS: mean %.1f F, worst %.1f F (%s)\n", sum_rms / std::max(reachable, 1), worst_rms,
                worst_rms_case.c_str());
    std::printf("largest miss: worst %.1f F (%s)\n", worst_largest, worst_largest_case.c_str());
}

int Usage() {
    std::fprintf(stderr, "usage: follow_bench [--heater-lag S | --sweep | --trace CASE]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 1) {
        Table(0.0);
        std::printf("\n");
        Table(30.0);
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--sweep") == 0) {
        Sweep();
        return 0;
    }
    if (argc != 3) return Usage();
    if (std::strcmp(argv[1], "--heater-lag") == 0) {
        Table(std::atof(argv[2]));
        return 0;
    }
    if (std::strcmp(argv[1], "--trace") != 0) return Usage();
    for (const Case& c : kCases) {
        if (c.name != std::string(argv[2])) continue;
        BeanResponse beans;
        c.change(beans);
        const Result r = Run(Reference(0.0), beans, true);
        std::printf("follow RMS %.1f F, largest %.1f F, %d changes, ended: %s\n", r.follow.rms, r.follow.largest,
                    r.changes, r.ended.c_str());
        return 0;
    }
    return Usage();
}
