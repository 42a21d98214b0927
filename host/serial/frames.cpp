#include "frames.h"

#include "controller_state.h"

namespace {
uint8_t Low8(int32_t value) { return static_cast<uint8_t>(value & 0xFF); }

uint8_t ShiftedBit(int32_t value) {
    // 1 shifted left by the value, as the low 8 bits; 0 for values that
    // select no bit (run_phase None).
    if (value < 0 || value > 7) return 0;
    return static_cast<uint8_t>(1u << value);
}
}  // namespace

Frame MakeFrame(uint8_t command, uint8_t b5, uint8_t b6, uint8_t fan, uint8_t time, uint8_t heat, uint8_t temp_high,
                uint8_t temp_low) {
    return Frame{0xAA, 0xAA, 0x61, 0x74, command, b5, b6, fan, time, heat, temp_high, temp_low, 0xAA, 0xFA};
}

Frame HelloFrame() { return Frame{0xAA, 0x55, 0x61, 0x74, 0x63, 0, 0, 0, 0, 0, 0, 0, 0xAA, 0xFA}; }

Frame StatusFrame(const ControllerState& s, uint8_t command) {
    const bool cooling = s.machine_state == kRun && (s.run_phase == kCool || s.run_phase == kManualCool);
    return MakeFrame(command, ShiftedBit(s.machine_state), ShiftedBit(s.run_phase), Low8(s.fan_level),
                     Low8(cooling ? s.cool_time : s.roast_time), Low8(s.heat_level), 0, 0);
}

Frame ProgramFrame(uint8_t command, int32_t fan, int32_t time, int32_t heat) {
    return MakeFrame(command, 0, 0, Low8(fan), Low8(time), Low8(heat), 0, 0);
}

std::vector<uint8_t> ToBytes(const Frame& frame) { return std::vector<uint8_t>(frame.begin(), frame.end()); }
