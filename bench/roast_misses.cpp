#include "roast_misses.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "controller_state.h"
#include "roast_steps.h"

namespace {

// The beans' temperature, second by second, under a fan and heat that
// change at most once (at `switch_s`), straight on the thermal model.
std::vector<double> Beans(const BeanResponse& beans, int seconds, int fan, int heat, int switch_s, int fan_after) {
    ThermalModel t(beans);
    std::vector<double> out{t.temperature_f()};
    for (int s = 1; s <= seconds; ++s) {
        t.Advance(1.0, ThermalInputs{true, heat, s <= switch_s ? fan : fan_after});
        out.push_back(t.temperature_f());
    }
    return out;
}

}  // namespace

double DropSeconds(const RoastLog& log) {
    for (const RoastSample& s : log.samples)
        if (s.run_phase != kHeat) return s.seconds;
    return log.samples.empty() ? 0.0 : log.samples.back().seconds;
}

std::optional<double> FirstCrackSeconds(const RoastLog& log) {
    for (const RoastSample& s : log.samples)
        if (s.run_phase == kHeat && s.bean_f && *s.bean_f >= kBenchFirstCrackF) return s.seconds;
    return std::nullopt;
}


// How far `run`'s beans were from `reference`'s, from `from` seconds to the
// reference's drop.
Misses MissesOf(const RoastLog& run, const RoastLog& reference, double from) {
    const double drop = DropSeconds(reference);
    Misses m;
    double sum = 0;
    int n = 0;
    for (const RoastSample& s : run.samples) {
        if (s.seconds < from || s.seconds > drop || !s.bean_f) continue;
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

// Whether heat 1 to 3 and fan 1 to 9 can keep the beans at the reference
// all along: at every second from 1:00 the reference lies between the
// slowest and the fastest of the roasts that roaster makes at one heat
// with the fan held or switched once (the hot-air roaster brakes with the
// fan late and heats with it early), or at most slack_f beyond them. Says
// where it cannot, as "above the fastest by 12 F at 1:00".
std::string Unreachable(const RoastLog& reference, const BeanResponse& beans, double slack_f) {
    const int seconds = static_cast<int>(DropSeconds(reference));
    std::vector<std::vector<double>> bounds;
    for (int heat : {1, 3})
        for (int fan : {1, 5, 9}) {
            bounds.push_back(Beans(beans, seconds, fan, heat, seconds, fan));
            for (int switch_s = 120; switch_s < seconds; switch_s += 60)
                bounds.push_back(Beans(beans, seconds, fan, heat, switch_s, 10 - fan));
        }
    for (const RoastSample& s : reference.samples) {
        if (s.seconds < kBenchFromSeconds || s.run_phase != kHeat || !s.bean_f) continue;
        const int at = std::min(seconds, static_cast<int>(s.seconds));
        double low = 1e9, high = -1e9;
        for (const std::vector<double>& b : bounds) {
            low = std::min(low, b[static_cast<std::size_t>(at)]);
            high = std::max(high, b[static_cast<std::size_t>(at)]);
        }
        char where[80];
        if (*s.bean_f < low - slack_f || *s.bean_f > high + slack_f) {
            const bool below = *s.bean_f < low;
            std::snprintf(where, sizeof where, "%s by %.0f F at %d:%02d", below ? "below the slowest" : "above the fastest",
                          below ? low - *s.bean_f : *s.bean_f - high, at / 60, at % 60);
            return where;
        }
    }
    return {};
}

// A log's steps under `key` ("run_steps", "steered_steps") as a profile.
std::optional<VirtualProfile> ProfileOf(const RoastLog& log, const std::string& key) {
    if (!log.Has(key)) return std::nullopt;
    const StepsParse parsed = ParseStepsText(log.Get(key));
    if (!parsed.ok) return std::nullopt;
    VirtualProfile p;
    for (const StepNode& n : parsed.steps) {
        const VirtualStep step{static_cast<int>(n.fan), static_cast<int>(n.time), static_cast<int>(n.heat)};
        if (IsCoolingStatus(n.status))
            p.cooling = step;
        else
            p.steps.push_back(step);
    }
    return p;
}

const std::vector<RoasterCase>& ChangedRoasters() {
    static const std::vector<RoasterCase> roasters = {
        {"batch x0.8", [](BeanResponse& b) { b.batch_scale = 0.8; }},
        {"batch x1.25", [](BeanResponse& b) { b.batch_scale = 1.25; }},
        {"heat x0.85", [](BeanResponse& b) { b.heat_scale = 0.85; }},
        {"heat x1.15", [](BeanResponse& b) { b.heat_scale = 1.15; }},
        {"room 55 F", [](BeanResponse& b) { b.room_f = 55; }},
        {"room 90 F", [](BeanResponse& b) { b.room_f = 90; }},
        {"heater lag 30 s", [](BeanResponse& b) { b.heater_lag_seconds = 30; }},
        {"heater lag 60 s", [](BeanResponse& b) { b.heater_lag_seconds = 60; }},
        {"batch x0.8, heater lag 60 s", [](BeanResponse& b) {
             b.batch_scale = 0.8;
             b.heater_lag_seconds = 60;
         }},
        {"batch x1.25, room 55 F", [](BeanResponse& b) {
             b.batch_scale = 1.25;
             b.room_f = 55;
         }},
    };
    return roasters;
}
