// Follow mode's decisions: while a run heats, chooses the running step's
// fan (1..9) and heat (1..3) so that the bean temperature follows a saved
// roast's (the background) at the same seconds since the recording began.
//
// It needs no numbers from the user. It learns how this batch answers
// heat and fan from this roast's readings (BatchLearner), starting from
// what the background's own readings taught it of the roaster; it assumes
// nothing of the fan, whose effect may depend on the heat and on how hot
// the beans are (on a hot-air roaster more fan heats faster early and
// brakes late), only that more heat never cools. At most once a second it
// looks ahead (LookAhead) over the next half minute or more (the longer,
// the slower the heater is found to answer), for every pair of values
// within one heat level and two fan levels of those sent, followed after a
// short or a long while by any heat; it sends the pair whose plan lands
// nearest the background, unless keeping the values sent does about as
// well.
//
// When what it believes stops working (the beans run away above the
// background at the lowest heat, or stay below it at the highest, and the
// gap has not closed for a while), it tries the fan the other way from
// the way it believes helps, a few levels at once, and holds that for a
// while so the batch shows what the fan does there; what it learns from
// that trial decides what follows. A trial tells of the beans near the
// temperature it was made at, so the next comes only once they have
// moved on.
//
// It is fed every reading of the running roast and answers with a new
// choice at most once every kSecondsBetweenChanges, or nothing. It makes
// no choice on a sensor error or while the link is down, nor until fresh
// readings have come again, nor in the last half minute before the
// background's end. It ends for good when the user takes over, at the
// background's drop or the end of its heating, when the run cools or when
// it ends; after that it never chooses again.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>

#include "batch_learner.h"
#include "follow_choice.h"
#include "follow_target.h"
#include "roast_log.h"

enum class FollowEnd {
    TookOver,       // the user pressed a key or a button
    Drop,           // the background's drop mark was reached
    BackgroundEnd,  // the background's heating ended (it has no drop mark there)
    Cooling,        // the run went into its cooling
    RunEnded,       // the run stopped
};

// The word a log gives the reason: "took_over", "drop", "background_end",
// "cooling", "run_ended".
std::string FollowEndWord(FollowEnd end);

class RoastFollower {
public:
    // At most one new choice in this many seconds.
    static constexpr double kSecondsBetweenChanges = 5.0;
    // After a pause, readings for this many seconds before a choice.
    static constexpr double kFreshSeconds = 6.0;

    // Follows `background`, a saved roast log.
    explicit RoastFollower(const RoastLog& background);

    // A reading of the running roast: `reading` as the recorder keeps it
    // (its seconds since the recording began, the bean temperature or none
    // for a sensor error, the machine state and run phase, and the fan and
    // heat sent), `link_up` whether the roaster is heard. Returns the fan
    // and heat to give the running step, or nothing.
    std::optional<FollowChoice> OnReading(const RoastSample& reading, bool link_up);

    // The user took over at `seconds`: following ends for good.
    void TakeOver(double seconds);
    // The run stopped at `seconds` with no reading to say so (a stop, the
    // roaster switched off, the program closed): following ends.
    void RunEnded(double seconds);

    bool following() const { return !end_; }
    // Following waits for fresh readings after a sensor error or a lost link.
    bool paused() const { return following() && paused_; }
    // Why following ended, and when (seconds since the recording began).
    std::optional<FollowEnd> end() const { return end_; }
    double end_seconds() const { return end_seconds_; }
    // The choices made that changed a value.
    int changes() const { return changes_; }
    // The fan trials made because what it believed stopped working.
    int trials() const { return trials_; }

private:
    void End(FollowEnd why, double seconds);
    // The pair to send now, if a change is worth it.
    std::optional<FollowChoice> Choose(double now, FollowChoice sent) const;
    // A trial of the fan the other way, when what it believes stops working.
    std::optional<FollowChoice> TryFan(double now, FollowChoice sent);
    // The fan level the models believe helps most at the heat sent, by
    // how fast the beans would rise: +1 above `sent.fan`, -1 below, 0 either.
    int BelievedFanWay(FollowChoice sent, bool want_faster) const;

    FollowTarget target_;
    // First crack's water is left out of the follower's picture: it learns
    // from every few seconds of the roast as it goes, and what slows the
    // beans at first crack it learns then.
    BatchLearner learner_{true, BatchLearner::kHeaterLags, HeaterPower{}, bean_water::kLeftOut};
    std::optional<FollowEnd> end_;
    double end_seconds_ = 0;
    bool paused_ = false;
    bool started_ = false;
    double last_seconds_ = -1.0;
    double last_change_ = -1e9;
    double last_look_ = -1e9;
    int changes_ = 0;
    int trials_ = 0;
    double trial_until_ = -1e9;  // seconds: a fan trial holds until then
    std::optional<double> trial_bean_f_;  // the beans at the last fan trial
    // How far the beans were from the background lately: seconds and °F.
    std::deque<std::pair<double, double>> misses_;
};
