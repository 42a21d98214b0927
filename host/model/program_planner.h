// Plans a roaster program: at most a given number of roast steps (fan,
// time in tenths of a minute, heat) whose times add up to the heating's
// length, chosen so that a batch's model, run open loop on them, lies
// nearest a wanted curve of the bean temperature.
//
// It starts from a first guess (for a followed roast, the values it sent,
// merged into few enough steps) and improves it step by step: each step's
// fan by up to two levels and heat by one, and each boundary between two
// steps by up to three tenths of a minute, keeping every change that brings the
// foreseen curve nearer the wanted one, until none does. Each try runs the
// model from the step it changes on, and stops as soon as it is worse than
// the best so far, so a 12-minute roast plans in a few milliseconds.
#pragma once

#include <optional>
#include <vector>

#include "bean_prediction.h"

// A roast step of a planned program.
struct ProgramStep {
    int fan = 5;      // 1..9
    int tenths = 10;  // minutes, in tenths (1..99)
    int heat = 2;     // 1..3
    bool operator==(const ProgramStep& o) const { return fan == o.fan && tenths == o.tenths && heat == o.heat; }
};

// The longest a step runs, and the most roast steps a profile holds beside
// its cooling.
constexpr int kLongestStepTenths = 99;
constexpr int kMostProgramSteps = 20;

// What a program is planned for.
struct PlanGoal {
    BeanState start;  // the heater and the beans as the heating begins
    // The beans wanted at each second of the heating from 0; none where
    // nothing is wanted.
    std::vector<std::optional<double>> wanted;
    int heating_tenths = 0;  // the steps' times add up to this
    // Misses before this second do not count: the first seconds belong to
    // the beans put in, not to the program.
    int from_seconds = 30;
    // Values known to give the wanted curve (a followed roast's), if any:
    // a program that strays from them, over half a minute or so, pays for
    // it as for a miss of kStrayHeatF a heat level and kStrayFanF a fan
    // level. A model is surest near what it learnt from; far from it, a
    // program it likes may not do on the roaster what it foresees.
    std::vector<SentValues> near;
    // What a change between two steps costs, as misses summed (°F² over
    // seconds): this much a fan level and a heat level changed. A program
    // that changes its values less is easier to follow on the panel, and
    // does not chase what the model gets a little wrong.
    double fan_change_cost = 0;
    double heat_change_cost = 0;
    // Where the model is unsure of the rate (it learnt little there), a
    // second costs its rate's variance times this, (°F² a second) per
    // (°F a minute)²: a program that leads the beans where the roaster has
    // not been pays for it.
    double doubt_cost = 0;
};

constexpr double kStrayHeatF = 15.0;
constexpr double kStrayFanF = 3.0;

// The steps that `sent` (the values sent at each second of a heating)
// comes to: its values a tenth of a minute at a time, runs of equal ones
// made one step, the most alike neighbours merged until there are at most
// `most_steps`, each at most kLongestStepTenths long. Empty when the
// heating does not fit in that many steps.
std::vector<ProgramStep> StepsOfSent(const std::vector<SentValues>& sent, int heating_tenths,
                                     int most_steps = kMostProgramSteps);

// `sent` cut into as many steps of even length as tenths of a minute
// allow, at most `most_steps`, each with the mean of the values sent over
// its time.
std::vector<ProgramStep> EvenSteps(const std::vector<SentValues>& sent, int heating_tenths,
                                   int most_steps = kMostProgramSteps);

struct Plan {
    std::vector<ProgramStep> steps;
    // How far the model's curve for them lies from the wanted one, with
    // what straying and changes cost counted as misses.
    double rms_f = 0;
    // The same of the misses alone, °F RMS.
    double miss_rms_f = 0;
};

// How far the model's curve for `steps` lies from the wanted one over the
// seconds whose misses count, °F RMS (the misses alone).
double MissRms(const BatchModel& model, const PlanGoal& goal, const std::vector<ProgramStep>& steps);

// Improves `first` (whose times add up to goal.heating_tenths) as said above.
Plan PlanProgram(const BatchModel& model, const PlanGoal& goal, std::vector<ProgramStep> first);

// The values a program sends at each second of its heating.
std::vector<SentValues> SentOfSteps(const std::vector<ProgramStep>& steps);
