// The profile a followed roast runs. Following a roast runs a program that
// lasts as long as that roast: while follow mode waits for the next run,
// the background's steps are made the current profile as "Roast again"
// makes them, unless the user chose another profile since the background
// was shown. The roaster's own program, which it sends whenever the link
// starts, is no choice of the user's: the steps are made the profile again
// after it. A profile the user selects, creates, edits or saves is.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <string>

#include "console_events.h"

class FollowSession;
class LiveRoastCurve;
class RoastAgain;
class RoasterController;

class FollowedProfile final : public ConsoleListener {
public:
    FollowedProfile(RoasterController& controller, FollowSession& follow, RoastAgain& again, LiveRoastCurve& curve);

    // The background was shown, replaced or cleared: the user has chosen
    // no profile since.
    void BackgroundChanged();
    // Follow mode was turned on: between runs, the background's steps
    // become the profile now.
    void FollowTurnedOn();

    // What the curve window says of the profile the next roast runs: the
    // whole name of the roast whose steps it holds, or that it is the one
    // the user chose; empty when there is nothing to say.
    QString Note() const;

    // Told when Note() may have changed.
    std::function<void()> on_change;

    // ConsoleListener
    void OnHandled(const Console& console) override;

private:
    // The background's steps made the profile, when follow mode waits and
    // the user chose none; false when nothing was to be done.
    bool Apply();
    bool Waits() const;

    RoasterController& controller_;
    FollowSession& follow_;
    RoastAgain& again_;
    LiveRoastCurve& curve_;
    std::string name_, path_;  // the profile last seen
    bool user_chose_ = false;  // a profile since the background was shown
    QString refused_;          // why the background's steps make no profile
    bool queued_ = false;      // Apply waits for the event under way to end
    QObject alive_;            // a queued Apply goes with this
};
