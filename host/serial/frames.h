// The 14-byte frames of the roaster's wire protocol.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

struct ControllerState;

constexpr std::size_t kFrameSize = 14;
using Frame = std::array<uint8_t, kFrameSize>;

// Outbound command bytes.
constexpr uint8_t kCmdStatus = 0x63;
constexpr uint8_t kCmdStart = 0x13;
constexpr uint8_t kCmdProgramStep = 0xAA;
constexpr uint8_t kCmdProgramEnd = 0xAF;
// Inbound command bytes.
constexpr uint8_t kCmdUploadHeader = 0xA0;
constexpr uint8_t kCmdPowerOff = 0x11;

// AA 55 61 74 63 00 00 00 00 00 00 00 AA FA
Frame HelloFrame();

// Status frame of the controller state with the given command byte (0x63 or
// 0x13): state bits, phase bits, fan, time (cooling time while cooling in a
// run), heat.
Frame StatusFrame(const ControllerState& state, uint8_t command);

// Program step (0xAA) or program end (0xAF) frame of one step.
Frame ProgramFrame(uint8_t command, int32_t fan, int32_t time, int32_t heat);

// A generic frame AA AA 61 74 cmd b5..b11 AA FA, used by the simulated
// roaster and tests for the roaster's side.
Frame MakeFrame(uint8_t command, uint8_t b5, uint8_t b6, uint8_t fan, uint8_t time, uint8_t heat, uint8_t temp_high,
                uint8_t temp_low);

std::vector<uint8_t> ToBytes(const Frame& frame);
