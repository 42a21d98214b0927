#include "thermal_model.h"

#include <algorithm>
#include <cmath>

namespace {
// Rise of the equilibrium above room temperature per heat level, at fan 5.
constexpr double kHeatRiseF[] = {0.0, 180.0, 290.0, 400.0};
// Each fan step above 5 takes this share off the rise (and adds it below).
constexpr double kFanShareOfRise = 0.04;
// Time constants, in seconds: heating up, cooling with the fan at 5, and
// standing still with the fan off.
constexpr double kHeatingSeconds = 240.0;
constexpr double kFanCoolingSeconds = 75.0;
constexpr double kStillCoolingSeconds = 900.0;
}  // namespace

double ThermalModel::Equilibrium(const ThermalInputs& in) const {
    if (!in.running) return room_f_;
    const int heat = std::clamp(in.heat, 0, 3);
    const int fan = std::clamp(in.fan, 1, 9);
    return room_f_ + kHeatRiseF[heat] * (1.0 - kFanShareOfRise * (fan - 5));
}

void ThermalModel::Advance(double seconds, const ThermalInputs& in) {
    if (seconds <= 0) return;
    const double target = Equilibrium(in);
    double tau = kHeatingSeconds;
    if (target < temperature_f_)
        tau = in.running ? kFanCoolingSeconds * 5.0 / std::clamp(in.fan, 1, 9) : kStillCoolingSeconds;
    temperature_f_ = target + (temperature_f_ - target) * std::exp(-seconds / tau);
}
