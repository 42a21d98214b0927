// Follow mode in the console: armed with a background (a saved roast and
// its file name), it follows the next recording that starts (or the one
// running, if it heats and has not been followed yet). It makes a
// RoastFollower on the background, writes "# follow: <file name>" into the
// recording, feeds it every new sample of the recording, and gives the
// running step each choice through the control layer's RunningStepValues.
// It ends for good when the user presses a key or a button (told by the
// console before the input acts), and as the follower ends (the
// background's drop or end of heating, the cooling) or the run stops, and
// then writes "# follow_end: <seconds> <reason>". One run follows once:
// after that follow mode is off until armed again; armed again while that
// run still heats, it follows it again from there. When the next run
// starts, what the last one ended with is no longer said.
//
// When the followed run ends after its heating went into the cooling, it
// keeps the steering as a program: "# steered_steps: ..." (the roast steps
// ProgramOfRoast plans for the roast's heating, then the run's cooling),
// which "Roast again" runs instead of the steps as run.
//
// Add it to the console's events before the recorder: it then sees a run's
// end (a stop, the roaster switched off) before the recorder closes the
// log, and can still write its last line into it.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "console_events.h"
#include "roast_follower.h"
#include "roast_log.h"

class RoastRecorder;
class RunningStepValues;

enum class FollowState {
    Off,        // not armed
    Armed,      // waits for a run to heat
    Following,  // steers the running step
    Paused,     // following, but no readings (a link loss, a silent roaster) or a sensor error
    Ended,      // followed a run, and stopped: end() says why
};

// Header keys of follow mode's lines in a roast log.
inline const std::string kFollowKey = "follow";
inline const std::string kFollowEndKey = "follow_end";

class FollowSession final : public ConsoleListener {
public:
    FollowSession(RoastRecorder& recorder, RunningStepValues& step_values);
    ~FollowSession() override;
    FollowSession(const FollowSession&) = delete;
    FollowSession& operator=(const FollowSession&) = delete;

    // Arms follow mode with `background`, read from the file named
    // `file_name`: the run that heats now, if it is not being followed,
    // or else the next. While a run is followed, nothing changes.
    void Arm(RoastLog background, std::string file_name);
    // Follow mode off: an armed session waits no more, and a run being
    // followed is the user's again (as if the user took over).
    void Disarm();
    // The program ends: a run being followed ends with it, while the
    // recording can still take the line.
    void Close();

    FollowState state() const { return state_; }
    // Why the last run followed stopped following; none before.
    std::optional<FollowEnd> end() const;
    // What the curve window says of follow mode: "Following the
    // background", "Follow mode paused: no readings", "Follow mode off:
    // you took over", ...; empty while off.
    std::string StatusText() const;
    // The follower of the run followed now or last; null before.
    const RoastFollower* follower() const { return follower_.get(); }

    // Told after every change of state() or end().
    std::function<void()> on_change;

    // ConsoleListener
    void OnHandled(const Console& console) override;
    void OnUserInput(const Console& console) override;

private:
    void Begin();
    // Feeds the samples not fed yet; applies a choice made on the newest.
    void Feed(bool link_ok);
    // Writes the end line once the follower has ended.
    void Ended();
    void UpdatePause(const Console& console);
    void SetState(FollowState state);
    // Writes the program the followed run's heating comes to, with the
    // cooling of `console`'s profile.
    void KeepProgram(const Console& console);

    RoastRecorder& recorder_;
    RunningStepValues& step_values_;
    std::optional<RoastLog> background_;
    std::string file_name_;
    std::unique_ptr<RoastFollower> follower_;
    int followed_recording_ = 0;  // the recorder's count of the recording followed
    std::size_t fed_ = 0;         // samples of it given to the follower
    bool kept_ = true;            // the followed run's program was kept (or there was none to keep)
    FollowState state_ = FollowState::Off;
    bool sensor_error_ = false;   // the pause is the sensor's
};
