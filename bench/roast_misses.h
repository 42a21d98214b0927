// What the benches of follow mode and of the roaster's model measure of
// roasts on the simulated roasters: how far one roast's beans lie from
// another's, when a roast drops and reaches first crack, whether a roaster
// can reach a reference at all, and a log's steps as a profile to run.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "roast_log.h"
#include "thermal_model.h"
#include "virtual_roast.h"

// First crack, where a roast has no mark: the beans at this.
constexpr double kBenchFirstCrackF = 390.0;
// Misses count from this many seconds into a roast.
constexpr double kBenchFromSeconds = 60.0;

// When `log` stopped heating (its drop), or its last sample.
double DropSeconds(const RoastLog& log);
// When `log`'s beans first reached kBenchFirstCrackF while heating.
std::optional<double> FirstCrackSeconds(const RoastLog& log);

struct Misses {
    double rms = 0;
    double largest = 0;
    double largest_at = 0;  // seconds
};

// How far `run`'s beans were from `reference`'s, from `from` seconds to the
// reference's drop.
Misses MissesOf(const RoastLog& run, const RoastLog& reference, double from = kBenchFromSeconds);

// Whether heat 1 to 3 and fan 1 to 9 can keep the beans at the reference
// all along: at every second from 1:00 the reference lies between the
// slowest and the fastest of the roasts that roaster makes at one heat
// with the fan held or switched once (the hot-air roaster brakes with the
// fan late and heats with it early), or at most `slack_f` beyond them.
// Says where it cannot, as "above the fastest by 12 F at 1:00"; empty
// where it can.
std::string Unreachable(const RoastLog& reference, const BeanResponse& beans, double slack_f);

// A log's steps under `key` ("run_steps", "steered_steps") as a profile.
std::optional<VirtualProfile> ProfileOf(const RoastLog& log, const std::string& key);

// A roaster unlike the simulated one as made: its name in a table, and the
// change to the beans' response that makes it.
struct RoasterCase {
    const char* name;
    void (*change)(BeanResponse&);
};

// The roasters both benches run every reference on: a smaller and a bigger
// batch, a weaker and a stronger heater, a cold and a warm room, a heater
// lagging 30 and 60 s, and the two pairs found worst together.
const std::vector<RoasterCase>& ChangedRoasters();
