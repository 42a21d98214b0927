// follow_bench: how closely follow mode makes a roast follow a saved one on
// roasters whose beans answer unlike the saved roast's, in virtual time, on
// the whole console: the control logic on the simulated roaster's wire,
// the recorder, and follow mode steering the running step through the
// control layer (see virtual_roast.h).
//
// It records reference roasts that roast coffee, on the hot-air roaster
// and on the simple one: a 9-minute roast of three steps dropping near
// 400 °F, and an 11.5-minute one dropping at 420-440 °F. For each changed
// roaster (a smaller and a bigger batch, a weaker and a stronger heater, a
// cold and a warm room, a heater lagging 30 and 60 s, and two pairs of
// these together: the faster batch on the slow heater, and the bigger batch
// in the cold room) it runs the reference's steps as they are
// (open loop) and with follow mode steering them, and prints the RMS and
// the largest miss of the bean temperature from the reference from 1:00 to
// the drop, the RMS from first crack (the reference at 390 °F) to the drop,
// the changes follow mode made, and the program the followed roast kept
// (its "steered_steps") and its steps as run ("run_steps") replayed open
// loop on the same roaster: their RMS from the followed roast's curve.
// "reach" says whether heat 1 to 3 and fan 1 to 9 can keep the beans on the
// reference at all on that roaster. Follow mode's changes are counted with
// those of the heat apart, and its rate of rise (as the curve shows it)
// is compared with the reference's: a roaster reads that curve, so a heat
// switched to and fro shows there as a wiggle. A second, compact table
// runs every reference on roasters a little unlike its own (a batch, a
// heater and a room somewhat off, a heater lagging 10 and 20 s), where the
// aims must hold as well. At the end: how many roasters met the aims, how
// near the worst came to them, and how long follow mode held the window's
// thread for an event (p99, largest).
//
//   follow_bench                   every reference and roaster
//   follow_bench --trace REF CASE  one followed roast, every 10 s and every
//                                  change of fan or heat (REF: 1-4)
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "controller_state.h"
#include "roast_follower.h"
#include "roast_misses.h"
#include "virtual_roast.h"

namespace {

// The aims: follow mode's RMS and largest miss from 1:00 at most these, its
// RMS from first crack at most kAimRms, its RMS at most this share of the
// open loop's, and the kept program within kAimKept of the followed roast.
constexpr double kAimRms = 3.0;
constexpr double kAimLargest = 8.0;
constexpr double kAimShare = 1.0 / 3.0;
constexpr double kAimKept = 5.0;

// The longest event follow mode took in each followed roast, milliseconds.
std::vector<double> g_longest_ms;

struct Reference {
    const char* name;
    Airflow airflow;
    VirtualProfile profile;
};

const Reference kReferences[] = {
    {"hot air, heat 2, fan 7/5/4 for 3/3/3 min", Airflow::HotAir, {{{7, 30, 2}, {5, 30, 2}, {4, 30, 2}}, {9, 40, 0}}},
    {"hot air, heat 2, fan 8/5/3 for 4/4/3.5 min", Airflow::HotAir,
     {{{8, 40, 2}, {5, 40, 2}, {3, 35, 2}}, {9, 40, 0}}},
    {"simple, heat 3, fan 7/5/4 for 3/3/3 min", Airflow::Simple, {{{7, 30, 3}, {5, 30, 3}, {4, 30, 3}}, {9, 40, 0}}},
    {"simple, heat 3, fan 6/6/5 for 4/4/3.5 min", Airflow::Simple,
     {{{6, 40, 3}, {6, 40, 3}, {5, 35, 3}}, {9, 40, 0}}},
};

using Case = RoasterCase;

// Roasters a little unlike the reference's: the compact table.
const Case kNearCases[] = {
    {"batch x0.9", [](BeanResponse& b) { b.batch_scale = 0.9; }},
    {"batch x1.1", [](BeanResponse& b) { b.batch_scale = 1.1; }},
    {"heat x0.95", [](BeanResponse& b) { b.heat_scale = 0.95; }},
    {"heat x1.05", [](BeanResponse& b) { b.heat_scale = 1.05; }},
    {"room 60 F", [](BeanResponse& b) { b.room_f = 60; }},
    {"room 80 F", [](BeanResponse& b) { b.room_f = 80; }},
    {"heater lag 10 s", [](BeanResponse& b) { b.heater_lag_seconds = 10; }},
    {"heater lag 20 s", [](BeanResponse& b) { b.heater_lag_seconds = 20; }},
};

// The rate of rise a log shows at `seconds` (its last sample's figure).
std::optional<double> RorAt(const RoastLog& log, double seconds) {
    const std::vector<RoastSample>& v = log.samples;
    const auto after = std::upper_bound(v.begin(), v.end(), seconds,
                                        [](double t, const RoastSample& s) { return t < s.seconds; });
    if (after == v.begin()) return std::nullopt;
    return (after - 1)->ror_f_per_min;
}

// The RMS of `run`'s rate of rise from `reference`'s, from 1:00 to the
// reference's drop, °F a minute.
double RorRms(const RoastLog& run, const RoastLog& reference) {
    const double drop = DropSeconds(reference);
    double sum = 0;
    int n = 0;
    for (const RoastSample& s : run.samples) {
        if (s.seconds < kBenchFromSeconds || s.seconds > drop || !s.ror_f_per_min) continue;
        const std::optional<double> want = RorAt(reference, s.seconds);
        if (!want) continue;
        sum += (*s.ror_f_per_min - *want) * (*s.ror_f_per_min - *want);
        ++n;
    }
    return n ? std::sqrt(sum / n) : 0.0;
}

// How often the heat changed while `log` heated.
int HeatChanges(const RoastLog& log) {
    int changes = 0;
    const RoastSample* before = nullptr;
    for (const RoastSample& s : log.samples) {
        if (s.run_phase != kHeat) break;
        if (before && s.heat != before->heat) ++changes;
        before = &s;
    }
    return changes;
}

struct Result {
    Misses open;
    Misses follow;
    std::optional<Misses> follow_crack;  // from the reference's first crack
    int changes = 0;
    int heat_changes = 0;
    double ror_rms = 0;  // the followed roast's rate of rise from the reference's
    double open_ror_rms = 0;
    int kept_steps = 0;
    std::optional<double> kept_rms;       // the kept program, open loop, from the followed roast
    std::optional<double> run_steps_rms;  // run_steps, the same
    std::string ended;
    std::string unreachable;  // empty where the roaster can reach the reference
    std::vector<double> event_ms;
    bool MeetsAims() const {
        return follow.rms <= kAimRms && follow.largest <= kAimLargest &&
               (!follow_crack || follow_crack->rms <= kAimRms) &&
               (follow.rms <= kAimShare * open.rms || open.rms < kAimRms) && kept_rms && *kept_rms <= kAimKept;
    }
};

// The reference's steps on `beans`, open loop and followed; `trace` prints
// the followed roast as it goes.
Result Run(const Reference& ref, const RoastLog& reference, const BeanResponse& beans, bool trace = false) {
    Result r;
    const RoastLog open = RunVirtualRoast(ref.profile, beans);
    r.open = MissesOf(open, reference);
    r.open_ror_rms = RorRms(open, reference);
    FollowOutcome outcome;
    std::optional<RoastSample> before;
    const RoastLog followed = RunVirtualRoast(ref.profile, beans, &reference, &outcome, [&](const RoastSample& s) {
        const bool changed = before && (s.fan != before->fan || s.heat != before->heat);
        if (trace && (!before || changed || std::floor(s.seconds / 10) != std::floor(before->seconds / 10)))
            std::printf("%6.1f s  background %5.1f F  beans %3d F  fan %d heat %d%s\n", s.seconds,
                        BeanAt(reference, s.seconds).value_or(0), s.bean_f.value_or(0), s.fan, s.heat,
                        changed ? "  (changed)" : "");
        before = s;
    });
    r.follow = MissesOf(followed, reference);
    if (const std::optional<double> crack = FirstCrackSeconds(reference))
        r.follow_crack = MissesOf(followed, reference, *crack);
    r.changes = outcome.changes;
    r.heat_changes = HeatChanges(followed);
    r.ror_rms = RorRms(followed, reference);
    r.event_ms = outcome.event_ms;
    r.ended = outcome.end ? FollowEndWord(*outcome.end) + " at " + std::to_string(static_cast<int>(outcome.end_seconds)) + " s" : "-";
    r.unreachable = Unreachable(reference, beans, kAimRms);
    if (const std::optional<VirtualProfile> kept = ProfileOf(followed, "steered_steps")) {
        r.kept_steps = static_cast<int>(kept->steps.size());
        r.kept_rms = MissesOf(RunVirtualRoast(*kept, beans), followed).rms;
        if (trace) std::printf("kept: %s\n", followed.Get("steered_steps").c_str());
    }
    if (const std::optional<VirtualProfile> run = ProfileOf(followed, "run_steps"))
        r.run_steps_rms = MissesOf(RunVirtualRoast(*run, beans), followed).rms;
    return r;
}

RoastLog Record(const Reference& ref) {
    BeanResponse plain;
    plain.airflow = ref.airflow;
    return RunVirtualRoast(ref.profile, plain);
}

std::string Optional(const std::optional<double>& v) {
    char text[32];
    if (!v) return "-";
    std::snprintf(text, sizeof text, "%.1f", *v);
    return text;
}

double Percentile(std::vector<double> v, double p) {
    if (v.empty()) return 0.0;
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, static_cast<std::size_t>(p / 100.0 * static_cast<double>(v.size())))];
}

// What the followed roasts of one table came to.
struct Tally {
    int met = 0;
    int reachable = 0;
    // The worst of the roasters that can reach their reference: follow
    // mode's RMS, largest miss, RMS from first crack, and rate-of-rise RMS.
    double rms = 0, largest = 0, crack = 0, ror = 0;
    int heat_changes = 0;
    std::vector<double> event_ms;

    void Add(const Result& r) {
        event_ms.insert(event_ms.end(), r.event_ms.begin(), r.event_ms.end());
        if (!r.event_ms.empty()) g_longest_ms.push_back(*std::max_element(r.event_ms.begin(), r.event_ms.end()));
        if (!r.unreachable.empty()) return;
        ++reachable;
        met += r.MeetsAims();
        rms = std::max(rms, r.follow.rms);
        largest = std::max(largest, r.follow.largest);
        if (r.follow_crack) crack = std::max(crack, r.follow_crack->rms);
        ror = std::max(ror, r.ror_rms);
        heat_changes = std::max(heat_changes, r.heat_changes);
    }
    void Print(const char* what) const {
        std::printf("%s: the aims met on %d of the %d roasters that can reach their reference; at worst there "
                    "RMS %.1f F (aim %.0f), largest %.0f F (aim %.0f), from first crack %.1f F (aim %.0f), "
                    "rate of rise %.1f F/min off, %d heat changes\n",
                    what, met, reachable, rms, kAimRms, largest, kAimLargest, crack, kAimRms, ror, heat_changes);
    }
};

std::string Aims(const Result& r) {
    return r.unreachable.empty() ? (r.MeetsAims() ? "met" : "missed") : "cannot reach: " + r.unreachable;
}

std::string Minutes(double seconds) {
    char text[16];
    std::snprintf(text, sizeof text, "%d:%02d", static_cast<int>(seconds) / 60, static_cast<int>(seconds) % 60);
    return text;
}

void Table(const Reference& ref, Tally& tally) {
    const RoastLog reference = Record(ref);
    const double drop = DropSeconds(reference);
    const std::optional<double> crack = FirstCrackSeconds(reference);
    std::printf("Reference: %s; %.0f F at the drop (%s), first crack (390 F) at %s\n", ref.name,
                BeanAt(reference, drop).value_or(0.0), Minutes(drop).c_str(), crack ? Minutes(*crack).c_str() : "-");
    std::printf("%-28s | %5s %4s %4s | %6s %4s %4s %4s | %3s %4s %5s | %4s %5s %5s | %s\n", "roaster", "open",
                "max", "RoR", "follow", "max", "FC", "RoR", "chg", "heat", "share", "kept", "RMS", "run", "aims");
    for (const Case& c : ChangedRoasters()) {
        BeanResponse beans;
        beans.airflow = ref.airflow;
        c.change(beans);
        const Result r = Run(ref, reference, beans);
        tally.Add(r);
        std::printf("%-28s | %5.1f %4.0f %4.1f | %6.1f %4.0f %4s %4.1f | %3d %4d %5.2f | %4d %5s %5s | %s\n", c.name,
                    r.open.rms, r.open.largest, r.open_ror_rms, r.follow.rms, r.follow.largest,
                    Optional(r.follow_crack ? std::optional<double>(r.follow_crack->rms) : std::nullopt).c_str(),
                    r.ror_rms, r.changes, r.heat_changes, r.open.rms > 0 ? r.follow.rms / r.open.rms : 0.0,
                    r.kept_steps, Optional(r.kept_rms).c_str(), Optional(r.run_steps_rms).c_str(), Aims(r).c_str());
    }
}

// Every reference on the roasters a little unlike its own: follow mode's
// RMS / largest / RMS from first crack, its heat changes and its rate of
// rise's RMS from the reference's.
void NearTable(Tally& tally) {
    std::vector<RoastLog> references;
    for (const Reference& ref : kReferences) references.push_back(Record(ref));
    std::printf("Roasters a little unlike the reference's: follow RMS / largest / from first crack (F), heat "
                "changes, rate of rise RMS (F/min); '!' aims missed, '-' cannot reach\n");
    std::printf("%-16s", "roaster");
    for (std::size_t i = 0; i < std::size(kReferences); ++i) std::printf(" | %-24s", ("reference " + std::to_string(i + 1)).c_str());
    std::printf("\n");
    for (const Case& c : kNearCases) {
        std::printf("%-16s", c.name);
        for (std::size_t i = 0; i < std::size(kReferences); ++i) {
            BeanResponse beans;
            beans.airflow = kReferences[i].airflow;
            c.change(beans);
            const Result r = Run(kReferences[i], references[i], beans);
            tally.Add(r);
            char cell[64];
            std::snprintf(cell, sizeof cell, "%.1f/%.0f/%s h%d %.1f%s", r.follow.rms, r.follow.largest,
                          Optional(r.follow_crack ? std::optional<double>(r.follow_crack->rms) : std::nullopt).c_str(),
                          r.heat_changes, r.ror_rms, r.unreachable.empty() ? (r.MeetsAims() ? "" : " !") : " -");
            std::printf(" | %-24s", cell);
        }
        std::printf("\n");
    }
}

int Usage() {
    std::fprintf(stderr, "usage: follow_bench [--trace REF CASE]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 1) {
        Tally listed, near;
        for (const Reference& ref : kReferences) {
            Table(ref, listed);
            std::printf("\n");
        }
        for (std::size_t i = 0; i < std::size(kReferences); ++i) std::printf("reference %zu: %s\n", i + 1, kReferences[i].name);
        NearTable(near);
        std::printf("\n");
        listed.Print("Listed roasters");
        near.Print("Roasters a little off");
        std::vector<double> event_ms = listed.event_ms;
        event_ms.insert(event_ms.end(), near.event_ms.begin(), near.event_ms.end());
        std::printf("Follow mode on the window's thread, per event: p99 %.3f ms, largest %.2f ms (%zu events)\n",
                    Percentile(event_ms, 99), Percentile(event_ms, 100), event_ms.size());
        std::printf("The longest event of each roast (keeping its program): median %.1f ms, largest %.1f ms\n",
                    Percentile(g_longest_ms, 50), Percentile(g_longest_ms, 100));
        return 0;
    }
    if (argc != 4 || std::strcmp(argv[1], "--trace") != 0) return Usage();
    const int ref = std::atoi(argv[2]);
    if (ref < 1 || ref > static_cast<int>(std::size(kReferences))) return Usage();
    const Reference& reference = kReferences[ref - 1];
    std::vector<Case> cases = ChangedRoasters();
    cases.insert(cases.end(), std::begin(kNearCases), std::end(kNearCases));
    for (const Case& c : cases) {
        if (c.name != std::string(argv[3])) continue;
        BeanResponse beans;
        beans.airflow = reference.airflow;
        c.change(beans);
        const Result r = Run(reference, Record(reference), beans, true);
        std::printf("follow RMS %.1f F, largest %.1f F at %.0f s, from first crack %s F, %d changes (%d of the heat), "
                    "rate of rise %.1f F/min off, ended: %s\n",
                    r.follow.rms, r.follow.largest, r.follow.largest_at,
                    Optional(r.follow_crack ? std::optional<double>(r.follow_crack->rms) : std::nullopt).c_str(),
                    r.changes, r.heat_changes, r.ror_rms, r.ended.c_str());
        return 0;
    }
    return Usage();
}
