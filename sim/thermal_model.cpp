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

double RiseAt(const ThermalInputs& in, const BeanResponse& r) {
    if (!in.running) return 0.0;
    return kHeatRiseF[std::clamp(in.heat, 0, 3)] * r.heat_scale;
}
}  // namespace

double ThermalModel::Equilibrium(const ThermalInputs& in) const { return response_.room_f + RiseAt(in, response_); }

double ThermalModel::HeaterRise(double seconds, double target) {
    const double lag = response_.heater_lag_seconds;
    if (lag <= 0) {
        heater_rise_f_ = target;
        return target;
    }
    const double settle = std::exp(-seconds / lag);
    const double mean = target + (heater_rise_f_ - target) * lag / seconds * (1.0 - settle);
    heater_rise_f_ = target + (heater_rise_f_ - target) * settle;
    return mean;
}

void ThermalModel::Advance(double seconds, const ThermalInputs& in) {
    if (seconds <= 0) return;
    const BeanResponse& r = response_;
    const double target = r.room_f + HeaterRise(seconds, RiseAt(in, r));
    const int fan = std::clamp(in.fan, 1, 9);
    double tau = kHeatingSeconds * (1.0 + r.fan_effect * kFanShareOfHeating * (5 - fan));
    if (target < temperature_f_)
        tau = in.running ? kFanCoolingSeconds * 5.0 / fan : kStillCoolingSeconds;
    tau *= r.batch_scale;
    temperature_f_ = target + (temperature_f_ - target) * std::exp(-seconds / tau);
}
