#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>
#include <vector>

#include "controller_state.h"
#include "roast_follower.h"

namespace {

// A roaster of the test's own, unlike the simulated one: the beans head
// for an equilibrium that rises evenly with the heater's level, at a pace
// the fan speeds up (or, `fan_sign` -1, slows down), behind a heater that
// takes some seconds to answer. With `air_cooling`, more fan also lowers the
// equilibrium (the air is cooler) while it quickens the pace more: as on a
// hot-air roaster, the fan heats the cold beans faster and brakes the hot
// ones, its effect turning about 130 °F below the equilibrium.
struct Roaster {
    double tau_seconds = 200.0;
    double fan_sign = 1.0;
    double air_cooling = 0.0;  // the equilibrium's rise falls by this share a fan level
    double room_f = 70.0;
    double bean_f = 70.0;
    double heater = 0.0;  // heat levels, as the heater has come to
    double heater_seconds = 15.0;  // the heater's time constant

    void Advance(double seconds, int heat, int fan, bool heating) {
        heater += ((heating ? heat : 0) - heater) * (1.0 - std::exp(-seconds / heater_seconds));
        const double target = room_f + 130.0 * heater * (1.0 - air_cooling * (fan - 5));
        const double per_fan = air_cooling > 0 ? 0.12 : 0.05;
        const double pace = (1.0 + fan_sign * per_fan * (fan - 5)) / tau_seconds;
        bean_f = target + (bean_f - target) * std::exp(-seconds * pace);
    }
};

constexpr double kDropSeconds = 540.0;

// What happens to a reading on its way to the follower.
struct Reading {
    RoastSample sample;
    bool link_up = true;
};
using Disturb = std::function<std::optional<Reading>(Reading)>;  // none: no reading at all

struct Choice {
    double seconds;
    FollowChoice values;
};

struct RoastRun {
    RoastLog log;
    std::vector<Choice> choices;
};

// A roast on `roaster` in virtual time, a reading every 500 ms: fan 6 then
// fan 4 from 6:00, heat 2, and the cooling from the drop. With a follower,
// its choices are given to the running step (the step's own values come
// back at the step change, as the console does). `disturb` may change or
// drop a reading before the follower sees it.
RoastRun Roast(Roaster roaster, RoastFollower* follower = nullptr, const Disturb& disturb = {},
               double cooling_at = kDropSeconds, int32_t cooling_phase = kCool) {
    RoastRun run;
    int fan = 6, heat = 2, step = 1;
    for (int tick = 1; tick <= static_cast<int>((kDropSeconds + 60) * 2); ++tick) {
        const double now = tick * 0.5;
        if (step == 1 && now > 360) {
            step = 2;
            fan = 4;
            heat = 2;
        }
        const bool heating = now <= cooling_at;
        roaster.Advance(0.5, heat, fan, heating);
        RoastSample s;
        s.seconds = now;
        s.bean_f = static_cast<int32_t>(std::lround(roaster.bean_f));
        s.machine_state = kRun;
        s.run_phase = heating ? kHeat : cooling_phase;
        s.step = step;
        s.fan = fan;
        s.heat = heat;
        run.log.samples.push_back(s);
        if (!follower) continue;
        std::optional<Reading> r = Reading{s, true};
        if (disturb) r = disturb(*r);
        if (!r) continue;
        if (const std::optional<FollowChoice> c = follower->OnReading(r->sample, r->link_up)) {
            run.choices.push_back({now, *c});
            fan = c->fan;
            heat = c->heat;
        }
    }
    return run;
}

// The background: the reference batch's roast, with its drop marked.
RoastLog Background(const Roaster& roaster = {}) {
    RoastLog log = Roast(roaster).log;
    log.marks.Put(RoastMark{MarkKind::Drop, kDropSeconds + 0.5, std::nullopt});
    return log;
}

// The RMS of the bean temperature's miss from the background, 1:00 to the drop.
double RmsMiss(const RoastLog& run, const RoastLog& background) {
    double sum = 0;
    int n = 0;
    for (const RoastSample& s : run.samples) {
        if (s.seconds < 60 || s.seconds > kDropSeconds) continue;
        const double miss = *s.bean_f - *BeanAt(background, s.seconds);
        sum += miss * miss;
        ++n;
    }
    return std::sqrt(sum / n);
}

TEST(RoastFollower, TracksASlowerAndAFasterBatch) {
    const RoastLog background = Background();
    struct Case {
        const char* what;
        Roaster roaster;
    };
    Roaster slower, faster, reversed;
    slower.tau_seconds = 260;
    faster.tau_seconds = 150;
    reversed.tau_seconds = 260;
    reversed.fan_sign = -1;
    for (const Case& c : {Case{"a slower batch", slower}, Case{"a faster batch", faster},
                          Case{"a slower batch whose fan works the other way", reversed}}) {
        const double open = RmsMiss(Roast(c.roaster).log, background);
        RoastFollower follower(background);
        const RoastRun run = Roast(c.roaster, &follower);
        const double followed = RmsMiss(run.log, background);
        EXPECT_GT(open, 10.0) << c.what;
        EXPECT_LT(followed, 3.0) << c.what << " (open loop " << open << " °F)";
        for (std::size_t i = 0; i < run.choices.size(); ++i) {
            const FollowChoice& v = run.choices[i].values;
            EXPECT_TRUE(v.fan >= 1 && v.fan <= 9 && v.heat >= 1 && v.heat <= 3) << c.what;
            if (i == 0) continue;
            EXPECT_GE(run.choices[i].seconds - run.choices[i - 1].seconds, RoastFollower::kSecondsBetweenChanges)
                << c.what;
        }
        EXPECT_EQ(follower.end(), FollowEnd::Drop) << c.what;
        EXPECT_EQ(follower.changes(), static_cast<int>(run.choices.size()));
    }
}

// On a roaster whose fan brakes the hot beans, a faster batch is held on
// the background late in the roast by more fan than the background ran
// (heat 1 alone is too cold there), though early on more fan heated.
TEST(RoastFollower, FindsTheBrakeWhenTheFansEffectChangesSign) {
    Roaster hot_air;
    hot_air.air_cooling = 0.06;
    const RoastLog background = Background(hot_air);
    Roaster faster = hot_air;
    faster.tau_seconds = 150;
    EXPECT_GT(RmsMiss(Roast(faster).log, background), 10.0);
    RoastFollower follower(background);
    const RoastRun run = Roast(faster, &follower);
    EXPECT_LT(RmsMiss(run.log, background), 3.0);
    // The mean fan over the last four minutes of heating.
    double fan = 0;
    int n = 0;
    for (const RoastSample& s : run.log.samples)
        if (s.seconds > kDropSeconds - 240 && s.seconds <= kDropSeconds) {
            fan += s.fan;
            ++n;
        }
    EXPECT_GT(fan / n, 5.0) << "the background ran fan 4 then";
}

// A slower batch on a slow heater falls behind from the start: the heat
// goes up, and the gap stays open until the heater has answered. That is
// no sign that what it believes of the fan is wrong: no fan trial before
// then (a trial turned the fan the wrong way early in the roast).
TEST(RoastFollower, TriesTheFanOnlyOnceTheHeaterHasAnswered) {
    const RoastLog background = Background();
    Roaster slow;
    slow.tau_seconds = 260;
    slow.heater_seconds = 30;
    RoastFollower follower(background);
    int trials_in_first_minute = -1;
    const RoastRun run = Roast(slow, &follower, [&](Reading r) {
        if (r.sample.seconds == 60.0) trials_in_first_minute = follower.trials();
        return std::optional<Reading>(r);
    });
    EXPECT_EQ(trials_in_first_minute, 0);
    EXPECT_LT(RmsMiss(run.log, background), 3.0);
}

TEST(RoastFollower, NeverActsAgainOnceTakenOver) {
    const RoastLog background = Background();
    Roaster slower;
    slower.tau_seconds = 260;
    RoastFollower follower(background);
    const RoastRun run = Roast(slower, &follower, [&](Reading r) {
        if (r.sample.seconds == 120.0) follower.TakeOver(120.0);
        return std::optional<Reading>(r);
    });
    ASSERT_FALSE(run.choices.empty()) << "it acted before";
    EXPECT_LT(run.choices.back().seconds, 120.0);
    EXPECT_GT(RmsMiss(run.log, background), 5.0) << "left to itself, the slow batch falls behind";
    EXPECT_FALSE(follower.following());
    EXPECT_EQ(follower.end(), FollowEnd::TookOver);
    EXPECT_EQ(follower.end_seconds(), 120.0);
}

TEST(RoastFollower, PausesWithoutReadingsAndResumesWhenTheyReturn) {
    const RoastLog background = Background();
    struct Case {
        const char* what;
        std::function<std::optional<Reading>(Reading)> lose;  // what the pause does to a reading
    };
    const Case cases[] = {
        {"a sensor error",
         [](Reading r) {
             r.sample.bean_f.reset();
             return std::optional<Reading>(r);
         }},
        {"the link lost, its last reading repeated", [](Reading r) {
             r.link_up = false;
             return std::optional<Reading>(r);
         }},
        {"no readings at all", [](Reading) { return std::optional<Reading>(); }},
    };
    constexpr double kFrom = 150, kUntil = 200;
    for (const Case& c : cases) {
        Roaster slower;
        slower.tau_seconds = 260;
        RoastFollower follower(background);
        std::optional<int32_t> last_bean;
        bool paused_seen = false;
        const RoastRun run = Roast(slower, &follower, [&](Reading r) -> std::optional<Reading> {
            if (r.sample.seconds <= kFrom) last_bean = r.sample.bean_f;
            if (r.sample.seconds > kFrom && r.sample.seconds <= kUntil) {
                r.sample.bean_f = last_bean;
                return c.lose(r);
            }
            // The first reading after the pause has been taken.
            if (r.sample.seconds == kUntil + 1.0) paused_seen = follower.paused();
            return r;
        });
        for (const Choice& choice : run.choices)
            EXPECT_FALSE(choice.seconds > kFrom && choice.seconds < kUntil + RoastFollower::kFreshSeconds)
                << c.what << ": a choice at " << choice.seconds << " s";
        EXPECT_TRUE(paused_seen) << c.what;
        EXPECT_TRUE(std::any_of(run.choices.begin(), run.choices.end(),
                                [](const Choice& ch) { return ch.seconds > kUntil; }))
            << c.what << ": it resumes";
        EXPECT_FALSE(follower.paused()) << c.what;
        EXPECT_LT(RmsMiss(run.log, background), 3.5) << c.what;
    }
}

TEST(RoastFollower, EndsForGoodAndNeverHeatsInCooling) {
    RoastLog background = Background();
    RoastLog unmarked = background;
    unmarked.marks.Remove(MarkKind::Drop);
    // A drop marked before the heating ended (the mark moved, or a log
    // from elsewhere): following ends at the mark.
    RoastLog early_drop = background;
    early_drop.marks.Put(RoastMark{MarkKind::Drop, 400.0, std::nullopt});
    struct Case {
        const char* what;
        const RoastLog* background;
        double cooling_at;  // when this run's own cooling begins
        int32_t phase;
        FollowEnd end;
        double end_seconds;
    };
    const Case cases[] = {
        {"the run's own cooling", &background, 300, kCool, FollowEnd::Cooling, 300.5},
        {"the run's manual cooling", &background, 300, kManualCool, FollowEnd::Cooling, 300.5},
        {"the background's drop", &background, kDropSeconds + 60, kCool, FollowEnd::Drop, kDropSeconds + 0.5},
        {"the end of the background's heating", &unmarked, kDropSeconds + 60, kCool, FollowEnd::BackgroundEnd,
         kDropSeconds + 0.5},
        {"the background's drop before its heating ended", &early_drop, kDropSeconds + 60, kCool, FollowEnd::Drop,
         400.0},
    };
    for (const Case& c : cases) {
        Roaster slower;
        slower.tau_seconds = 260;
        RoastFollower follower(*c.background);
        // After its end the run heats again, far behind: nothing may come.
        const RoastRun run = Roast(slower, &follower, [&](Reading r) {
            if (r.sample.seconds > c.cooling_at + 20) {
                r.sample.run_phase = kHeat;
                r.sample.bean_f = 100;
            }
            return std::optional<Reading>(r);
        }, c.cooling_at, c.phase);
        ASSERT_FALSE(run.choices.empty()) << c.what;
        EXPECT_LT(run.choices.back().seconds, c.end_seconds) << c.what;
        EXPECT_EQ(follower.end(), c.end) << c.what;
        EXPECT_EQ(follower.end_seconds(), c.end_seconds) << c.what;
    }
    // A run that stops ends following too.
    RoastFollower follower(background);
    RoastSample stopped;
    stopped.seconds = 30;
    stopped.bean_f = 150;
    stopped.machine_state = kFinished;
    EXPECT_FALSE(follower.OnReading(stopped, true));
    EXPECT_EQ(follower.end(), FollowEnd::RunEnded);
    EXPECT_EQ(FollowEndWord(FollowEnd::TookOver), "took_over");
}

}  // namespace

namespace {

// A background as another program's file gives it: a sample every three
// seconds, and no heat or fan.
TEST(RoastFollower, FollowsASparseBackgroundThatDoesNotSayItsLevels) {
    const RoastLog full = Background();
    RoastLog sparse;
    sparse.marks = full.marks;
    for (std::size_t i = 5; i < full.samples.size(); i += 6) {
        RoastSample s = full.samples[i];
        s.fan = s.heat = kLevelUnknown;
        sparse.samples.push_back(s);
    }
    sparse.gap_seconds = GapSecondsFor(sparse.samples);
    Roaster slower;
    slower.tau_seconds = 260;
    RoastFollower follower(sparse);
    const RoastRun run = Roast(slower, &follower);
    EXPECT_LT(RmsMiss(run.log, full), 3.0);
    EXPECT_EQ(follower.end(), FollowEnd::Drop);
    for (const Choice& c : run.choices) EXPECT_TRUE(c.values.fan >= 1 && c.values.fan <= 9 && c.values.heat >= 1);
}

}  // namespace
