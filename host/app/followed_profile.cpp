#include "followed_profile.h"

#include <QTimer>

#include "follow_session.h"
#include "live_roast_curve.h"
#include "roast_again.h"
#include "roaster_controller.h"

FollowedProfile::FollowedProfile(RoasterController& controller, FollowSession& follow, RoastAgain& again,
                                 LiveRoastCurve& curve)
    : controller_(controller), follow_(follow), again_(again), curve_(curve) {}

void FollowedProfile::BackgroundChanged() {
    user_chose_ = false;
    refused_.clear();
    if (on_change) on_change();
}

void FollowedProfile::FollowTurnedOn() {
    Apply();
    if (on_change) on_change();
}

bool FollowedProfile::Waits() const {
    const int32_t state = controller_.state().machine_state;
    return follow_.state() == FollowState::Armed && (state == kOff || state == kReady || state == kFinished);
}

bool FollowedProfile::Apply() {
    const RoastCurveWindow* window = curve_.window();
    const RoastLog* background = window ? window->background() : nullptr;
    if (!background || user_chose_ || !refused_.isEmpty() || !Waits() || again_.ProfileIsMade(background))
        return false;
    return again_.UseSteps(*background, refused_);
}

void FollowedProfile::OnHandled(const Console& console) {
    const ControllerState& s = console.state;
    if (s.profile_name == name_ && s.profile_path == path_) return;
    name_ = s.profile_name;
    path_ = s.profile_path;
    // What the roaster sends and what follow mode made are not the user's
    // choice; any other profile is.
    const bool theirs = s.profile_name != kNoProfile && !s.IsReservedMachineOrUsb() && !again_.ProfileIsMade();
    if (theirs && !user_chose_) user_chose_ = true;
    // After the event under way: making a profile is an event of its own.
    if (!queued_ && !user_chose_) {
        queued_ = true;
        QTimer::singleShot(0, &alive_, [this] {
            queued_ = false;
            Apply();
            if (on_change) on_change();
        });
    }
    if (on_change) on_change();
}

QString FollowedProfile::Note() const {
    const RoastCurveWindow* window = curve_.window();
    const RoastLog* background = window ? window->background() : nullptr;
    const bool armed = follow_.state() == FollowState::Armed;
    const QString whole = QString::fromStdString(again_.whole_name());
    if (armed && background && again_.ProfileIsMade(background))
        return QStringLiteral("The profile holds the background's steps: %1").arg(whole);
    if (armed && background && user_chose_)
        return QStringLiteral("The next roast runs the profile you chose, not the background's steps");
    if (armed && background && !refused_.isEmpty())
        return QStringLiteral("The background's steps cannot be the profile: %1").arg(refused_);
    if (again_.ProfileIsMade()) return QStringLiteral("The profile holds the steps of %1").arg(whole);
    return {};
}
