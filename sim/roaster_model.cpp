#include "roaster_model.h"

#include <algorithm>

namespace {
constexpr uint8_t kSync = 0xAA;
constexpr uint8_t kHelloSync = 0x55;
constexpr uint8_t kTrailer = 0xFA;
// Bytes a garbage reply holds: no frame, fewer bytes than one.
const std::vector<uint8_t> kGarbage{0x13, 0xFA, 0xAA, 0x00, 0x7F, 0x55, 0xAA};

// Milliseconds `bytes` take on a 9600-baud line with 10 bits a byte.
int64_t WireMs(std::size_t bytes) { return static_cast<int64_t>((bytes * 10 * 1000 + 9599) / 9600); }
}  // namespace

RoasterModel::RoasterModel() : RoasterModel(Options{}) {}

RoasterModel::RoasterModel(const Options& options) : options_(options), thermal_(options.beans) {}

Frame RoasterModel::RoasterFrame(uint8_t command, uint8_t fan, uint8_t time, uint8_t heat) const {
    const int t = static_cast<int>(thermal_.temperature_f() + 0.5);
    const int clamped = std::clamp(t, 0, 0xFFFF);
    return MakeFrame(command, console_.state_bits, console_.phase_bits, fan, time, heat,
                     static_cast<uint8_t>(clamped >> 8), static_cast<uint8_t>(clamped & 0xFF));
}

void RoasterModel::Receive(const uint8_t* data, std::size_t size, int64_t now_ms) {
    input_.insert(input_.end(), data, data + size);
    // Frames are found by their first and last bytes; anything between
    // frames is skipped one byte at a time until a frame lines up again.
    std::size_t at = 0;
    while (input_.size() - at >= kFrameSize) {
        if (input_[at] != kSync || input_[at + kFrameSize - 1] != kTrailer) {
            ++at;
            continue;
        }
        Frame frame;
        std::copy_n(input_.begin() + static_cast<std::ptrdiff_t>(at), kFrameSize, frame.begin());
        at += kFrameSize;
        TakeFrame(frame, now_ms);
    }
    input_.erase(input_.begin(), input_.begin() + static_cast<std::ptrdiff_t>(at));
}

void RoasterModel::TakeFrame(const Frame& f, int64_t now_ms) {
    AdvanceThermal(now_ms);
    received_.push_back(ReceivedFrame{now_ms, f});
    const std::size_t limit = options_.frame_log_limit;
    if (limit > 0 && received_.size() >= 2 * limit)
        received_.erase(received_.begin(), received_.end() - static_cast<std::ptrdiff_t>(limit));
    if (on_frame) on_frame(received_.back());
    const uint8_t command = f[4];
    if (f[1] == kHelloSync) {
        if (command != kCmdStatus) return;
        ++hellos_;
        if (!faults.silent) QueueUpload(now_ms);
        return;
    }
    if (f[1] != kSync) return;
    switch (command) {
    case kCmdStatus:
    case kCmdStart:
        console_ = ConsoleView{f[5], f[6], f[7], f[8], f[9]};
        // Between runs the roasted beans are taken out and green ones put
        // in: every run after the first starts with a new batch (the first
        // with the beans as they were set up, e.g. --start-temperature).
        if (console_.Running() && !was_running_) {
            if (has_run_) thermal_.NewBatch();
            has_run_ = true;
        }
        was_running_ = console_.Running();
        if (!faults.silent) QueueReply(now_ms);
        break;
    case kCmdProgramStep:
        download_.push_back({f[7], f[8], f[9]});
        break;
    case kCmdProgramEnd:
        options_.program.steps = download_;
        options_.program.cooling = {f[7], f[8]};
        download_.clear();
        ++downloads_;
        break;
    default:
        break;
    }
}

void RoasterModel::QueueUpload(int64_t now_ms) {
    const auto& m = options_.manual;
    const int64_t start = now_ms + options_.reply_delay_ms;
    Queue(ToBytes(RoasterFrame(kCmdUploadHeader, m[0], m[1], m[2])), start, options_.frame_gap_ms);
    for (const auto& s : options_.program.steps)
        Queue(ToBytes(RoasterFrame(kCmdProgramStep, s[0], s[1], s[2])), start, options_.frame_gap_ms);
    const auto& c = options_.program.cooling;
    Queue(ToBytes(RoasterFrame(kCmdProgramEnd, c[0], c[1], 0)), start, options_.frame_gap_ms);
}

void RoasterModel::QueueReply(int64_t now_ms) {
    ++replies_;
    const int64_t due = now_ms + options_.reply_delay_ms;
    if (faults.garbage_every > 0 && replies_ % faults.garbage_every == 0) {
        Queue(kGarbage, due, 0);
        return;
    }
    Queue(ToBytes(RoasterFrame(kCmdStatus, console_.fan, console_.time, console_.heat)), due, 0);
}

void RoasterModel::SendPowerOff(int64_t now_ms) {
    AdvanceThermal(now_ms);
    Queue(ToBytes(RoasterFrame(kCmdPowerOff, 0, 0, 0)), now_ms, 0);
}

void RoasterModel::SendGarbage(const std::vector<uint8_t>& bytes, int64_t now_ms) { Queue(bytes, now_ms, 0); }

void RoasterModel::Queue(const std::vector<uint8_t>& bytes, int64_t earliest_ms, int gap_ms) {
    int64_t due = earliest_ms;
    if (!outbox_.empty()) {
        const Outgoing& before = outbox_.back();
        due = std::max(due, before.due_ms + std::max<int64_t>(gap_ms, WireMs(before.bytes.size())));
    }
    if (faults.split_frames && bytes.size() == kFrameSize) {
        const auto half = bytes.begin() + 5;
        outbox_.push_back(Outgoing{due, std::vector<uint8_t>(bytes.begin(), half)});
        outbox_.push_back(Outgoing{due + options_.split_gap_ms, std::vector<uint8_t>(half, bytes.end())});
        return;
    }
    outbox_.push_back(Outgoing{due, bytes});
}

std::vector<uint8_t> RoasterModel::TakeDue(int64_t now_ms) {
    AdvanceThermal(now_ms);
    if (outbox_.empty() || outbox_.front().due_ms > now_ms) return {};
    Outgoing next = std::move(outbox_.front());
    outbox_.pop_front();
    // One piece at a time: what was queued after it keeps its distance
    // even when this piece leaves late, as bytes on a 9600-baud line do,
    // so the console reads each frame on its own.
    const int64_t late = now_ms - next.due_ms;
    if (late > 0)
        for (Outgoing& o : outbox_) o.due_ms += late;
    return std::move(next.bytes);
}

std::optional<int64_t> RoasterModel::NextDueMs() const {
    if (outbox_.empty()) return std::nullopt;
    return outbox_.front().due_ms;
}

std::vector<ReceivedFrame> RoasterModel::ReceivedWith(uint8_t sync2, uint8_t command) const {
    std::vector<ReceivedFrame> out;
    for (const ReceivedFrame& r : received_)
        if (r.bytes[1] == sync2 && r.bytes[4] == command) out.push_back(r);
    return out;
}

void RoasterModel::AdvanceThermal(int64_t now_ms) {
    if (!thermal_started_) {
        thermal_started_ = true;
        thermal_ms_ = now_ms;
        return;
    }
    if (now_ms <= thermal_ms_) return;
    ThermalInputs in;
    in.running = console_.Running();
    in.heat = console_.Heating() ? console_.heat : 0;
    in.fan = console_.fan;
    thermal_.Advance((now_ms - thermal_ms_) / 1000.0, in);
    thermal_ms_ = now_ms;
}
