// Records every roast: a recording starts when a run begins heating (a
// delayed start from the moment it starts, not from its countdown) and ends
// when the run is over. The control logic feeds it: every reply frame's raw
// reading, and the controller's state after everything it handles. The
// recording keeps one sample per reply frame in memory, for the curve, and
// hands each to the log store as it comes.
//
// A run that ends in Finished is a complete roast. One that ends because
// the roaster was switched off, because the link started afresh after the
// bridge was lost, or because the program closed is kept marked incomplete.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "console_events.h"
#include "controller_state.h"
#include "rate_of_rise.h"
#include "roast_clock.h"
#include "roast_log.h"
#include "roast_marks.h"
#include "roast_notes.h"
#include "step_data.h"

class RoastLogStore;

enum class RoastEvent { Started, Sample, Marked, Ended };

// The words of the "incomplete" header line.
inline const std::string kEndedByPowerOff = "power_off";
inline const std::string kEndedByLinkRestart = "link_restart";
inline const std::string kEndedByClose = "closed";

class RoastRecorder final : public ConsoleListener {
public:
    // `program` names the program and its version for the log header;
    // `store` may be null (nothing is written).
    RoastRecorder(RoastClock& clock, RoastLogStore* store, std::string program);

    // Fed by the roast logic's events: OnHandled observes the state,
    // OnReading takes the reading.
    void OnReading(int32_t raw, const Console& console) override;
    void OnHandled(const Console& console) override;

    // After every event the controller handled.
    void Observe(const ControllerState& s, const CStep_Data& working);
    // A reply frame's reading, as the receive handling took it.
    void OnReading(int32_t raw, const ControllerState& s, const CStep_Data& working);
    // The program ends: a running recording is kept as incomplete.
    void OnClose(const CStep_Data& working);

    // Marks `kind` now, with the latest bean temperature; a mark of a kind
    // marked before replaces it. Only while recording: false otherwise.
    // The drop is marked by itself when the run enters its cooling.
    bool Mark(MarkKind kind);
    // Takes back the last mark made; false when there is none to take.
    bool UndoMark();
    const RoastMarks& marks() const { return log_.marks; }
    // The notes of the running or the last recording. Notes changed while
    // recording reach the partial log at once; after the recording the
    // caller rewrites the saved file.
    void SetNotes(const RoastNotes& notes);
    // Sets a header line of the running recording (one that is neither a
    // mark nor a note: follow mode's, say), in the partial log at once.
    // Only while recording: false otherwise.
    bool SetHeaderLine(const std::string& key, const std::string& value);

    // The roaster the next recordings are made on, written into their
    // logs ("roaster"); the roaster on the port unless said.
    void set_roaster(std::string roaster) { roaster_ = std::move(roaster); }
    const std::string& roaster() const { return roaster_; }

    // Seconds since the recording began, by the clock (0 when not recording).
    double ElapsedSeconds();

    bool recording() const { return recording_; }
    // How many recordings have begun: tells one recording from the next.
    int recordings_begun() const { return recordings_begun_; }
    // The running recording, or the last one (empty before the first).
    const RoastLog& log() const { return log_; }

    // Told of every start, sample and end.
    void AddListener(std::function<void(RoastEvent)> listener) { listeners_.push_back(std::move(listener)); }

private:
    void Start(const ControllerState& s, const CStep_Data& working);
    void End(const CStep_Data& working, const std::string& incomplete);
    void Tell(RoastEvent event);

    RoastClock& clock_;
    RoastLogStore* store_;
    std::string program_;
    std::string roaster_ = kPortRoaster;
    RoastLog log_;
    RateOfRise rate_;
    bool recording_ = false;
    int recordings_begun_ = 0;
    int64_t start_ms_ = 0;
    std::vector<std::function<void(RoastEvent)>> listeners_;
};
