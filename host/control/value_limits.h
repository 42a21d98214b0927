// The ranges the panel keys keep the controller values in, and the steps a
// click and a held key move them by. Time values are tenths of a minute.
#pragma once

#include <algorithm>
#include <cstdint>

constexpr int32_t kMinFan = 1;
constexpr int32_t kMaxFan = 9;
constexpr int32_t kMinStepTime = 1;
constexpr int32_t kMaxStepTime = 99;  // also the cap of time left + time run
constexpr int32_t kMinHeat = 1;       // the keys never choose heat 0
constexpr int32_t kMaxHeat = 3;
constexpr int32_t kMinCoolTime = 2;
constexpr int32_t kMaxCoolTotal = 90;  // cooling left + cooling run

constexpr int32_t kClickStep = 1;
constexpr int32_t kHoldTimeStep = 10;  // a held key moves the time by 1.0 minute
constexpr int32_t kCoolStep = 10;      // the cooling time moves by 1.0 minute

// `value` raised by `step` but not above `high`. A key that raises never
// lowers: a value already at or above `high` stays as it is.
constexpr int32_t Raised(int32_t value, int32_t step, int32_t high) {
    return value >= high ? value : std::min(value + step, high);
}

// `value` lowered by `step` but not below `low`; a value at or below `low`
// stays as it is.
constexpr int32_t Lowered(int32_t value, int32_t step, int32_t low) {
    return value <= low ? value : std::max(value - step, low);
}

// Raised or Lowered by the key's direction.
constexpr int32_t Moved(bool up, int32_t value, int32_t step, int32_t low, int32_t high) {
    return up ? Raised(value, step, high) : Lowered(value, step, low);
}

// Panel updates an edit stays open for after an editing key (about 10 s
// when only the control tick updates the panel).
constexpr int8_t kEditCountdown = 20;

// A step the panel adds during a run: fan 5, 5.9 minutes, high heat.
constexpr int32_t kNewStepFan = 5;
constexpr int32_t kNewStepTime = 59;
constexpr int32_t kNewStepHeat = 3;
