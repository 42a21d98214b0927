// The roaster's model learnt from saved roasts: it recovers a simulated
// roaster from a few of its roasts, tells the batch from the roaster, plans
// a valid profile, keeps what it learnt in its file, and learns only from
// the roaster's own roasts.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>

#include "forecast.h"
#include "learnt_roaster.h"
#include "roast_log_files.h"
#include "roast_plan.h"
#include "roast_program.h"
#include "roaster_fit.h"
#include "roaster_roasts.h"
#include "simulated_roasts.h"
#include "temp_folder.h"

namespace {

const SimulatedSteps kProfiles[] = {
    {{7, 30, 2}, {5, 30, 2}, {4, 30, 2}},
    {{9, 20, 3}, {6, 40, 2}, {4, 40, 2}},
    {{3, 30, 1}, {5, 40, 2}, {3, 35, 3}},
    {{8, 40, 2}, {6, 30, 3}, {5, 30, 1}, {3, 15, 2}},
};
const SimulatedSteps kHeldOut = {{6, 35, 3}, {5, 35, 2}, {3, 30, 2}};

std::string Start(int i) { return "2026-12-0" + std::to_string(1 + i) + "T09:00:00+01:00"; }

// The four roasts of a session on `beans`, then the held-out one: each a
// new batch of green beans, the heater as the last roast left it.
std::vector<RoastLog> Session(const BeanResponse& beans) {
    ThermalModel model(beans);
    std::vector<RoastLog> logs;
    for (int i = 0; i < 5; ++i) {
        model.NewBatch();
        logs.push_back(SimulatedRoastLog(model, i < 4 ? kProfiles[i] : kHeldOut, Start(i)));
    }
    return logs;
}

RoastForFit ForFit(const RoastLog& log) { return *ModelRoastOf(log); }

// How much faster the beans heat at fan 8 than at fan 2, °F a minute.
double FanGain(const BatchModel& m, double bean_f) {
    return m.rates.Rate(BeanRateModel::TermsAt(2, 8, bean_f)) - m.rates.Rate(BeanRateModel::TermsAt(2, 2, bean_f));
}

// Learnt from four roasts of a roaster, the model foresees a fifth of
// another profile, finds how late its heater answers, and finds what its
// fan does: on the hot-air roaster, more fan heats the cold beans faster
// and brakes the hot ones.
TEST(RoasterModel, LearntFromItsRoastsForeseesAnotherRoastOfTheRoaster) {
    struct Case {
        const char* name;
        BeanResponse beans;
    };
    BeanResponse hot_lagging;
    hot_lagging.airflow = Airflow::HotAir;
    hot_lagging.heater_lag_seconds = 30;
    BeanResponse simple_big;
    simple_big.batch_scale = 1.25;
    for (const Case& c : {Case{"hot air, heater lag 30 s", hot_lagging}, Case{"simple, batch x1.25", simple_big}}) {
        SCOPED_TRACE(c.name);
        const std::vector<RoastLog> logs = Session(c.beans);
        std::vector<RoastForFit> learnt;
        for (int i = 0; i < 4; ++i) learnt.push_back(ForFit(logs[i]));
        const std::optional<RoasterFit> fit = FitRoaster(learnt);
        ASSERT_TRUE(fit);
        EXPECT_LT(PredictionMisses(fit->roaster, ForFit(logs[4])).Rms(), 4.0);
        // Its batches alike, a batch under way is believed to be like them.
        EXPECT_LT(fit->roaster.speed_spread, 0.1);
        EXPECT_NEAR(fit->roaster.heater_lag, c.beans.heater_lag_seconds, 15.0);
        if (c.beans.airflow != Airflow::HotAir) continue;
        ThermalModel truth(c.beans);
        for (const double bean : {150.0, 380.0}) {
            truth.set_temperature_f(bean);
            const double gain = truth.SettledRate({true, 2, 8}) - truth.SettledRate({true, 2, 2});
            EXPECT_NEAR(FanGain(fit->roaster, bean), gain, std::max(2.0, 0.35 * std::abs(gain))) << bean << " °F";
        }
    }
}

// Near first crack the water leaving the beans slows them for a minute or
// two: learnt from roasts that passed it, the model foresees a roast that
// nears first crack slowly on the lowest heat.
TEST(RoasterModel, ForeseesFirstCracksSlowing) {
    BeanResponse beans;
    beans.airflow = Airflow::HotAir;
    beans.heat_scale = 1.15;
    const std::vector<RoastLog> logs = Session(beans);
    const LearntRoaster learnt = LearnRoaster({logs[3], logs[2], logs[1], logs[0]}, "sim");
    ASSERT_TRUE(learnt.Predicts());
    ThermalModel model(beans);
    const RoastLog slow = SimulatedRoastLog(model, {{5, 40, 3}, {4, 70, 1}}, Start(6));
    const Forecast f = ForecastProgram(*learnt.model, *slow.samples.front().bean_f, {{5, 40, 3}, {4, 70, 1}}, 390);
    double largest = 0;
    for (std::size_t s = 300; s < f.beans_f.size(); ++s)
        largest = std::max(largest, std::abs(f.beans_f[s] - *BeanAt(slow, static_cast<double>(s))));
    EXPECT_LT(largest, 3.0);
    // Foreseen from 8:00, past first crack, its water already gone.
    RoastForFit so_far = *ModelRoastOf(slow);
    so_far.heating.resize(960);
    const Forecast rest = ForecastRest(*learnt.model, so_far, std::vector<SentValues>(180, SentValues{4, 1}), 390);
    EXPECT_NEAR(rest.drop_f(), *slow.marks.Find(MarkKind::Drop)->bean_f, 2.0);
}

// Batches of different sizes on one roaster: the model tells each roast's
// speed (a smaller batch heats faster), and reads the batch under way from
// its first minutes; the batches having differed, it is ready for another
// that does.
TEST(RoasterModel, TellsTheBatchFromTheRoaster) {
    BeanResponse beans;
    beans.airflow = Airflow::HotAir;
    // Two profiles, each roasted with a small, a usual and a big batch.
    const double scales[] = {0.8, 1.0, 1.25};
    std::vector<RoastForFit> roasts;
    for (std::size_t i = 0; i < 6; ++i) {
        BeanResponse batch = beans;
        batch.batch_scale = scales[i % 3];
        ThermalModel model(batch);
        roasts.push_back(ForFit(SimulatedRoastLog(model, kProfiles[i / 3], Start(static_cast<int>(i)))));
    }
    const std::optional<RoasterFit> fit = FitRoaster(roasts);
    ASSERT_TRUE(fit);
    EXPECT_GT(fit->roaster.speed_spread, 0.15) << "batches that differ, as these did, may come again";
    for (std::size_t first : {0u, 3u}) {
        const auto speed = [&](std::size_t i) { return fit->batches[first + i].speed; };
        EXPECT_GT(speed(0), speed(1) + 0.05) << first;
        EXPECT_GT(speed(1), speed(2) + 0.05) << first;
    }

    BeanResponse small = beans;
    small.batch_scale = 0.8;
    ThermalModel model(small);
    RoastForFit four_minutes = ForFit(SimulatedRoastLog(model, kHeldOut, Start(7)));
    four_minutes.heating.resize(480);
    EXPECT_GT(FitBatch(fit->roaster, four_minutes).speed, 1.05);
}

// A program planned for a roast is a profile of its length: at most 20
// steps and the roast's cooling, every value in a profile's range, the
// steps' times adding up to the roast's heating, and near its curve by the
// model. A roast whose file does not say its fan and heat (an Artisan
// roast without events) plans as well; one too short does not.
TEST(RoastPlan, IsAProfileOfTheRoastsLengthNearItsCurve) {
    BeanResponse beans;
    beans.airflow = Airflow::HotAir;
    std::vector<RoastLog> logs = Session(beans);
    const LearntRoaster learnt = LearnRoaster({logs[3], logs[2], logs[1], logs[0]}, "sim");
    ASSERT_TRUE(learnt.Predicts());

    BeanResponse smaller = beans;
    smaller.batch_scale = 0.9;
    ThermalModel other(smaller);
    // Eleven and a half minutes: steps alike may not be joined beyond 9.9.
    RoastLog wanted = SimulatedRoastLog(other, kProfiles[3], Start(9));
    RoastLog unknown = wanted;
    for (RoastSample& s : unknown.samples) s.fan = s.heat = kLevelUnknown;
    unknown.Remove(roastkey::kRunSteps);
    for (const RoastLog* roast : {&wanted, &unknown}) {
        std::string why;
        const std::optional<RoastPlan> plan = PlanForRoast(*learnt.model, *roast, std::nullopt, why);
        ASSERT_TRUE(plan) << why;
        EXPECT_LE(plan->steps.size(), 20u);
        int tenths = 0;
        for (const ProgramStep& p : plan->steps) {
            EXPECT_TRUE(p.fan >= 1 && p.fan <= 9 && p.heat >= 1 && p.heat <= 3 && p.tenths >= 1 && p.tenths <= 99);
            tenths += p.tenths;
        }
        EXPECT_EQ(tenths, static_cast<int>(std::lround(*HeatingOf(*roast).drop_seconds / 6.0)));
        EXPECT_TRUE(plan->cooling.fan >= 1 && plan->cooling.fan <= 9 && plan->cooling.tenths >= 1 &&
                    plan->cooling.tenths <= 99);
        EXPECT_LT(plan->rms_f, 4.0);
        // The steps given are those whose curve the plan measured.
        const Forecast f = ForecastProgram(*learnt.model, plan->start_f, plan->steps, 390);
        double sum = 0;
        int n = 0;
        for (std::size_t s = 30; s < f.beans_f.size(); ++s)
            if (const std::optional<double> want = BeanAt(*roast, static_cast<double>(s))) {
                sum += (f.beans_f[s] - *want) * (f.beans_f[s] - *want);
                ++n;
            }
        EXPECT_NEAR(std::sqrt(sum / n), plan->rms_f, 0.3);
    }
    RoastLog short_roast = wanted;
    short_roast.samples.resize(100);
    std::string why;
    EXPECT_FALSE(PlanForRoast(*learnt.model, short_roast, std::nullopt, why));
    EXPECT_EQ(why, "it heated for less than a minute");
}

// What was learnt, written to its file and read back, foresees and plans as
// it did; a file of another version, or cut short, or changed by hand, is
// no model file and is learnt again.
TEST(LearntRoaster, ItsFileKeepsWhatForeseesAndPlans) {
    BeanResponse beans;
    beans.airflow = Airflow::HotAir;
    beans.heater_lag_seconds = 40;
    std::vector<RoastLog> logs = Session(beans);
    logs[0].marks.Put({MarkKind::FirstCrack, 400.0, 391});
    logs[0].Set("bean", "Kenya AA");
    LearntRoaster learnt = LearnRoaster({logs[3], logs[2], logs[1], logs[0]}, "Simulated (hot air, heater lag 40 s)");
    learnt.roasts_key = "0123456789abcdef";
    ASSERT_TRUE(learnt.Predicts());
    const std::string text = LearntRoasterText(learnt);
    const std::optional<LearntRoaster> read = ParseLearntRoaster(text);
    ASSERT_TRUE(read && read->Predicts());
    EXPECT_EQ(read->roaster, learnt.roaster);
    EXPECT_EQ(read->roasts, 4);
    EXPECT_EQ(read->roasts_key, learnt.roasts_key);
    EXPECT_EQ(read->first_cracks, learnt.first_cracks);
    const std::vector<ProgramStep> steps{{6, 35, 3}, {5, 35, 2}, {3, 30, 2}};
    const Forecast before = ForecastProgram(*learnt.model, 70, steps, 390);
    const Forecast after = ForecastProgram(*read->model, 70, steps, 390);
    ASSERT_EQ(before.beans_f.size(), after.beans_f.size());
    for (std::size_t s = 0; s < before.beans_f.size(); ++s) ASSERT_NEAR(before.beans_f[s], after.beans_f[s], 1e-9);
    // A roast under way, read against how the batches were found to differ.
    RoastForFit under_way = *ModelRoastOf(logs[4]);
    under_way.heating.resize(480);
    const std::vector<SentValues> rest(300, SentValues{3, 2});
    EXPECT_NEAR(ForecastRest(*learnt.model, under_way, rest, 390).drop_f(),
                ForecastRest(*read->model, under_way, rest, 390).drop_f(), 1e-9);
    std::string why;
    EXPECT_EQ(PlanForRoast(*learnt.model, logs[4], 70.0, why)->steps, PlanForRoast(*read->model, logs[4], 70.0, why)->steps);

    auto changed = [&](const std::string& from, const std::string& to) {
        std::string t = text;
        t.replace(t.find(from), from.size(), to);
        return t;
    };
    const std::string damaged[] = {
        changed("version: 2", "version: 3"),
        text.substr(0, text.find("rates_covariance")),
        changed("heater_lag: ", "heater_lag: x"),
        changed("roasts: 4", "roasts: 4\ncolour: red"),
        "",
    };
    for (const std::string& bad : damaged) EXPECT_FALSE(ParseLearntRoaster(bad)) << bad;
}

// From the roasts folder the model takes the newest of the roaster's own
// logs that heated five minutes or more (the console's older logs, which
// name no roaster, were made on the roaster on the port); not another
// roaster's, nor another program's roast, nor a short one. With fewer than
// three there is no model.
TEST(RoasterRoasts, AreTheRoastersOwnAndFewAreNoModel) {
    TempFolder folder;
    BeanResponse beans;
    ThermalModel model(beans);
    auto save = [&](RoastLog log, const std::string& name) {
        ASSERT_TRUE(SaveRoastLog(log, folder.Path(name)).ok);
    };
    save(SimulatedRoastLog(model, kProfiles[0], Start(0), "Sim"), "2026-12-01_090000 a.csv");
    save(SimulatedRoastLog(model, kProfiles[1], Start(1), "Sim"), "2026-12-02_090000 b.csv");
    save(SimulatedRoastLog(model, {{5, 40, 3}}, Start(2), "Sim"), "2026-12-03_090000 short.csv");
    save(SimulatedRoastLog(model, kProfiles[2], Start(3), "Other"), "2026-12-04_090000 other.csv");
    RoastLog older = SimulatedRoastLog(model, kProfiles[3], Start(5));
    older.Remove(roastkey::kRoaster);
    save(older, "2026-12-06_090000 older.csv");
    RoastLog artisan = SimulatedRoastLog(model, kProfiles[3], Start(6), "Sim");
    artisan.Set(roastkey::kProgram, "Artisan 3.0");
    save(artisan, "2026-12-07_090000 artisan.csv");

    RoasterRoasts sim = ReadRoasterRoasts(folder.Path(""), "Sim");
    ASSERT_EQ(sim.logs.size(), 2u);
    EXPECT_EQ(sim.logs[0].Get(roastkey::kStart), Start(1));
    EXPECT_EQ(sim.logs[1].Get(roastkey::kStart), Start(0));
    EXPECT_EQ(ReadRoasterRoasts(folder.Path(""), kPortRoaster).logs.size(), 1u);
    const LearntRoaster two = LearnRoaster(sim.logs, "Sim");
    EXPECT_FALSE(two.Predicts());
    EXPECT_EQ(two.roasts, 2);

    save(SimulatedRoastLog(model, kProfiles[3], Start(8), "Sim"), "2026-12-09_090000 c.csv");
    const RoasterRoasts three = ReadRoasterRoasts(folder.Path(""), "Sim");
    EXPECT_NE(three.key, sim.key);
    EXPECT_TRUE(LearnRoaster(three.logs, "Sim").Predicts());
}

// First crack is where the user marks it: on these beans when they have
// marks, else on any, else 390 °F.
TEST(FirstCrack, IsWhereTheUserMarksIt) {
    const std::vector<FirstCrackMark> marks{{"Kenya AA", 392}, {"Brazil", 384}, {"Kenya AA", 396}, {"", 380}};
    struct Case {
        std::string bean;
        double bean_f;
        int marks;
        bool of_bean;
    };
    for (const Case& c : {Case{"Kenya AA", 394, 2, true}, Case{"Sumatra", 388, 4, false}, Case{"", 388, 4, false}}) {
        const FirstCrackTemperature t = FirstCrackFor(marks, c.bean);
        EXPECT_DOUBLE_EQ(t.bean_f, c.bean_f) << c.bean;
        EXPECT_EQ(t.marks, c.marks) << c.bean;
        EXPECT_EQ(t.of_bean, c.of_bean) << c.bean;
    }
    EXPECT_DOUBLE_EQ(FirstCrackFor({}, "Kenya AA").bean_f, kDefaultFirstCrackF);
}

}  // namespace
