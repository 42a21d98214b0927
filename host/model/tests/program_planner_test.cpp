#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "batch_learner.h"
#include "controller_state.h"
#include "program_planner.h"
#include "roast_plan.h"

namespace {

// A roaster of the test's own: the beans head for an equilibrium that the
// heat raises and the fan lowers (cooler air), at a pace the fan quickens,
// so the fan heats the cold beans faster and brakes the hot ones.
double Rate(double bean_f, int fan, int heat) {
    const double target = 70.0 + 150.0 * heat * (1.0 - 0.06 * (fan - 5));
    return (1.0 + 0.12 * (fan - 5)) / 200.0 * (target - bean_f) * 60.0;
}

// Ten minutes of heating on that roaster, a reading every half second,
// the fan and heat changing every 20 s as a follower might change them.
std::vector<RoastSample> Heating() {
    std::vector<RoastSample> out;
    double bean = 70.0;
    int fan = 5, heat = 2;
    for (int tick = 1; tick <= 1200; ++tick) {
        if (tick % 40 == 0) {
            fan = 1 + (tick / 40 * 7) % 9;
            heat = 1 + (tick / 40 * 5) % 3;
        }
        bean += Rate(bean, fan, heat) / 120.0;
        RoastSample s;
        s.seconds = tick * 0.5;
        s.bean_f = static_cast<int32_t>(std::lround(bean));
        s.machine_state = kRun;
        s.run_phase = kHeat;
        s.fan = fan;
        s.heat = heat;
        out.push_back(s);
    }
    return out;
}

BatchModel Fitted() {
    BatchLearner learner(false);
    learner.LearnRoast(Heating());
    return BatchModel{learner.Best().model, learner.Best().lag};
}

// Fitted to a roast, the model finds the fan's effect changing sign: more
// fan heats the cold beans faster and the hot ones slower.
TEST(BatchModel, LearnsAFanThatHeatsEarlyAndBrakesLate) {
    const BatchModel model = Fitted();
    for (const double bean : {150.0, 380.0}) {
        const double faster = model.rates.Rate(BeanRateModel::TermsAt(2, 8, bean)) -
                              model.rates.Rate(BeanRateModel::TermsAt(2, 2, bean));
        const double truth = Rate(bean, 8, 2) - Rate(bean, 2, 2);
        EXPECT_NEAR(faster, truth, 0.25 * std::abs(truth)) << bean << " °F";
    }
}

// From a poor first guess (the heating in even steps of one fan and heat),
// the planner finds at most 20 steps, their times adding up, on which the
// model gives a curve made by another program. From values sent that flit
// every few seconds, StepsOfSent and EvenSteps make few enough steps to
// start from, their times adding up too.
TEST(ProgramPlanner, FindsTheStepsThatGiveAWantedCurve) {
    const BatchModel model = Fitted();
    const std::vector<ProgramStep> made{{8, 30, 3}, {6, 30, 2}, {3, 40, 2}};
    PlanGoal goal;
    goal.start = BeanState{0.0, 70.0};
    goal.heating_tenths = 100;
    for (double bean : PredictBeans(model, goal.start, SentOfSteps(made))) goal.wanted.emplace_back(bean);

    std::vector<SentValues> flitting;
    for (int s = 0; s < 600; ++s) flitting.push_back({1 + (s / 7) % 9, 1 + (s / 11) % 3});
    for (const std::vector<ProgramStep>& first : {StepsOfSent(flitting, 100), EvenSteps(flitting, 100)}) {
        ASSERT_FALSE(first.empty());
        EXPECT_LE(first.size(), 20u);
        int tenths = 0;
        for (const ProgramStep& p : first) tenths += p.tenths;
        EXPECT_EQ(tenths, 100);
    }
    EXPECT_TRUE(StepsOfSent(flitting, 20 * 99 + 1).empty()) << "a heating too long for 20 steps";

    const Plan plan = PlanProgram(model, goal, std::vector<ProgramStep>(20, ProgramStep{5, 5, 2}));
    EXPECT_LT(plan.rms_f, 1.5);
    EXPECT_LE(plan.steps.size(), 20u);
    int tenths = 0;
    for (const ProgramStep& p : plan.steps) {
        EXPECT_TRUE(p.fan >= 1 && p.fan <= 9 && p.heat >= 1 && p.heat <= 3 && p.tenths >= 1 && p.tenths <= 99);
        tenths += p.tenths;
    }
    EXPECT_EQ(tenths, 100);
}

}  // namespace

// A step of a few seconds that the curve hardly needs is given to a
// neighbour; one the curve needs stays.
TEST(ProgramPlanner, LeavesNoShortStepTheCurveHardlyNeeds) {
    const BatchModel model = Fitted();
    struct Case {
        std::vector<ProgramStep> planned, tidied;
    };
    const Case cases[] = {
        {{{5, 40, 2}, {6, 1, 2}, {5, 39, 2}}, {{5, 80, 2}}},
        {{{5, 40, 1}, {9, 2, 3}, {5, 58, 1}}, {{5, 40, 1}, {9, 2, 3}, {5, 58, 1}}},
    };
    for (const Case& c : cases) {
        PlanGoal goal;
        goal.start = BeanState{0.0, 70.0};
        for (const ProgramStep& p : c.planned) goal.heating_tenths += p.tenths;
        for (double bean : PredictBeans(model, goal.start, SentOfSteps(c.planned))) goal.wanted.emplace_back(bean);
        EXPECT_EQ(WithoutShortSteps(model, goal, c.planned), c.tidied);
    }
}
