// One step of a roast profile and the status codes a step can carry.
//
// The record layout is shared by the console and the step-editor library:
// both build this directory themselves, and step lists cross between them
// only as a pointer to the first record of a chain, so the field order and
// widths below must never change.
#pragma once

#include <cstdint>

struct StepNode {
    uint32_t index;   // 1-based position in its list
    int32_t fan;      // 1..9
    int32_t time;     // tenths of a minute: 59 is 5.9 minutes
    int32_t heat;     // 0 none, 1 low, 2 mid, 3 high
    uint32_t status;  // one of the step status codes below
    StepNode* next;   // following step, or nullptr for the last one
};

// Step status codes. A value of 10 or more marks the cooling step.
constexpr uint32_t StepWaiting = 0;
constexpr uint32_t StepRunning = 1;
constexpr uint32_t StepCompleted = 2;
constexpr uint32_t CoolWaiting = 10;
constexpr uint32_t CoolRunning = 11;
constexpr uint32_t StepEnd = 12;

constexpr bool IsCoolingStatus(uint32_t status) { return status >= CoolWaiting; }

// Passed for a field of CStep_Data::UpdateStep to leave that field unchanged.
constexpr int32_t KEEP_VALUE = 255;

// A profile holds at most this many steps, the cooling step included.
constexpr uint32_t kMaxProfileSteps = 21;
