// Roasts of the simulated roaster's beans (its thermal model, without the
// wire), logged as the console logs them: a sample every half second while
// the program's steps heat, then a minute of cooling at fan 9, its fan and
// heat in every row. One ThermalModel roasts a session: each roast starts
// where the last left the beans. For tests of what learns from roasts.
#pragma once

#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "controller_state.h"
#include "roast_log.h"
#include "roast_marks.h"
#include "thermal_model.h"

// Fan, time (tenths of a minute) and heat of each roast step.
using SimulatedSteps = std::vector<std::array<int, 3>>;

inline RoastLog SimulatedRoastLog(ThermalModel& beans, const SimulatedSteps& steps, const std::string& start,
                                  const std::string& roaster = kPortRoaster) {
    RoastLog log;
    log.Set(roastkey::kProgram, kConsoleProgram + " 1.0");
    log.Set(roastkey::kRoaster, roaster);
    log.Set(roastkey::kProfile, "Simulated");
    log.Set(roastkey::kStart, start);
    std::string run;
    for (const auto& s : steps)
        run += std::to_string(s[0]) + "/" + std::to_string(s[1] / 10) + "." + std::to_string(s[1] % 10) + "/" +
               std::to_string(s[2]) + ", ";
    log.Set(roastkey::kRunSteps, run + "cool 9/1.0");
    double t = 0;
    auto sample = [&](int32_t phase, int fan, int heat, int step) {
        RoastSample s;
        s.seconds = t;
        s.bean_f = static_cast<int32_t>(std::lround(beans.temperature_f()));
        s.machine_state = kRun;
        s.run_phase = phase;
        s.step = step;
        s.fan = fan;
        s.heat = heat;
        log.samples.push_back(s);
    };
    int step = 1;
    for (const auto& s : steps) {
        for (int i = 0; i < s[1] * 12; ++i) {
            beans.Advance(0.5, ThermalInputs{true, s[2], s[0]});
            t += 0.5;
            sample(kHeat, s[0], s[2], step);
        }
        ++step;
    }
    log.marks.Put({MarkKind::Drop, t + 0.5, log.samples.back().bean_f});
    log.marks.ForgetOrder();
    for (int i = 0; i < 120; ++i) {
        beans.Advance(0.5, ThermalInputs{true, 0, 9});
        t += 0.5;
        sample(kCool, 9, 0, step);
    }
    // The wait before the next roast, the roaster standing by.
    beans.Advance(180.0, ThermalInputs{false, 0, 5});
    return log;
}
