#include "thermal_model.h"

#include <algorithm>
#include <cmath>

namespace {
// Rise of the equilibrium above room temperature per heat level.
constexpr double kHeatRiseF[] = {0.0, 200.0, 290.0, 370.0};
// Time constants, in seconds: heating up with the fan at 5, cooling with
// the fan at 5, and standing still with the fan off.
constexpr double kHeatingSeconds = 240.0;
// Each fan step below 5 makes heating this share slower (the air carries
// less of the heater's heat to the beans), each step above it faster.
constexpr double kFanShareOfHeating = 0.06;
constexpr double kFanCoolingSeconds = 75.0;
constexpr double kStillCoolingSeconds = 900.0;
}  // namespace

double ThermalModel::Equilibrium(const ThermalInputs& in) const {
    if (!in.running) return room_f_;
    return room_f_ + kHeatRiseF[std::clamp(in.heat, 0, 3)];
}

void ThermalModel::Advance(double seconds, const ThermalInputs& in) {
    if (seconds <= 0) return;
    const double target = Equilibrium(in);
    double tau = kHeatingSeconds * (1.0 + kFanShareOfHeating * (5 - std::clamp(in.fan, 1, 9)));
    if (target < temperature_f_)
        tau = in.running ? kFanCoolingSeconds * 5.0 / std::clamp(in.fan, 1, 9) : kStillCoolingSeconds;
    temperature_f_ = target + (temperature_f_ - target) * std::exp(-seconds / tau);
}
