// The roaster's side of the wire protocol, without any port: frames the
// console writes go in through Receive(); the bytes the roaster writes
// come out of TakeDue() when they are due, paced as the machine paces
// them. It answers the hello frame with an upload of its stored program,
// every status frame with a reply frame carrying the bean temperature,
// stores downloaded programs and can send the power-off notice. Faults
// can be switched on for tests.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "frames.h"
#include "thermal_model.h"

struct RoasterProgram {
    // Roast steps as fan, time, heat; sent as they are, out of range or not.
    std::vector<std::array<uint8_t, 3>> steps{{5, 59, 3}};
    std::array<uint8_t, 2> cooling{5, 30};  // fan, time
    bool operator==(const RoasterProgram& o) const { return steps == o.steps && cooling == o.cooling; }
};

struct ReceivedFrame {
    int64_t at_ms = 0;
    Frame bytes{};
};

// What the console last told the roaster in a status frame.
struct ConsoleView {
    uint8_t state_bits = 0;
    uint8_t phase_bits = 0;
    uint8_t fan = 5;
    uint8_t time = 0;
    uint8_t heat = 0;
    bool Running() const { return state_bits == 0x04; }
    bool Heating() const { return Running() && phase_bits == 0x02; }
    bool Cooling() const { return Running() && (phase_bits == 0x04 || phase_bits == 0x08); }
};

struct RoasterFaults {
    bool silent = false;       // answers nothing (frames are still logged)
    int garbage_every = 0;     // every n-th reply is replaced by garbage bytes
    bool split_frames = false; // every frame leaves in two parts, apart in time
};

class RoasterModel {
public:
    struct Options {
        std::array<uint8_t, 3> manual{5, 59, 3};  // the machine's manual setting
        RoasterProgram program;
        BeanResponse beans;  // the room and how the beans answer heat and fan
        int reply_delay_ms = 15;  // from a status frame to its reply
        int frame_gap_ms = 40;    // between the frames of an upload
        int split_gap_ms = 20;    // between the two parts of a split frame
        // Frames kept in received(): the oldest go once there are more, so
        // a roaster that runs for days keeps its memory flat (0: keep all).
        std::size_t frame_log_limit = 4096;
    };

    RoasterModel();
    explicit RoasterModel(const Options& options);

    // Bytes the console wrote, as they arrive.
    void Receive(const uint8_t* data, std::size_t size, int64_t now_ms);
    // The next piece the roaster writes, when it is due (else empty);
    // call again while NextDueMs() has passed.
    std::vector<uint8_t> TakeDue(int64_t now_ms);
    // When the next bytes are due, if any are queued.
    std::optional<int64_t> NextDueMs() const;

    // The roaster is switched off at the machine: the notice goes out.
    void SendPowerOff(int64_t now_ms);
    // Raw bytes on the line, as a noisy connection would produce.
    void SendGarbage(const std::vector<uint8_t>& bytes, int64_t now_ms);

    RoasterFaults faults;
    // Called for every frame received, as it is taken.
    std::function<void(const ReceivedFrame&)> on_frame;

    // The frames received, oldest first: the last frame_log_limit of them.
    const std::vector<ReceivedFrame>& received() const { return received_; }
    // Frames received whose byte 1 and command byte are as given.
    std::vector<ReceivedFrame> ReceivedWith(uint8_t sync2, uint8_t command) const;
    const RoasterProgram& program() const { return options_.program; }
    int downloads() const { return downloads_; }
    int hellos() const { return hellos_; }
    const ConsoleView& console() const { return console_; }
    // Bean temperature at the last frame or poll.
    double temperature_f() const { return thermal_.temperature_f(); }
    ThermalModel& thermal() { return thermal_; }

private:
    void TakeFrame(const Frame& frame, int64_t now_ms);
    void QueueUpload(int64_t now_ms);
    void QueueReply(int64_t now_ms);
    // Queues a frame no earlier than `earliest_ms` and one gap after the
    // frame queued before it.
    void Queue(const std::vector<uint8_t>& bytes, int64_t earliest_ms, int gap_ms);
    void AdvanceThermal(int64_t now_ms);
    Frame RoasterFrame(uint8_t command, uint8_t fan, uint8_t time, uint8_t heat) const;

    struct Outgoing {
        int64_t due_ms;
        std::vector<uint8_t> bytes;
    };

    Options options_;
    ThermalModel thermal_;
    ConsoleView console_;
    std::vector<uint8_t> input_;
    std::deque<Outgoing> outbox_;
    std::vector<ReceivedFrame> received_;
    std::vector<std::array<uint8_t, 3>> download_;  // steps of a download under way
    int64_t thermal_ms_ = 0;
    bool thermal_started_ = false;
    // Whether the console's last status frame asked for a run, and whether
    // one has run yet: a run after the first is a new batch.
    bool was_running_ = false;
    bool has_run_ = false;
    int replies_ = 0;
    int downloads_ = 0;
    int hellos_ = 0;
};
