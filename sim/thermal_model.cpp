#include "thermal_model.h"

#include <algorithm>
#include <cmath>

namespace {
// The simple model.
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

// The hot-air model, per unit of the beans' heat capacity (so in 1/s).
// The air's heat capacity flow at fan 5, and the heat transfer from the air
// to the beans at fan 5 (hA / C): the beans' time constant at fan 5 is
// then 1 / (G·(1 - e^(-K/G))), about 340 s.
constexpr double kAirFlowAtFan5 = 1.0 / 215.0;   // G5
constexpr double kTransferAtFan5 = 1.0 / 215.0;  // K5
// The heat transfer grows with the flow as flow^this.
constexpr double kTransferExponent = 0.7;
// The element's heat lost through the roaster's body, per °F the air is
// above the room, as a share of what the air takes away at fan 5.
constexpr double kBodyLossShare = 2.2;
// The air's rise above the room at fan 5 on each heat level, °F.
constexpr double kHotAirRiseF[] = {0.0, 330.0, 420.0, 480.0};
// First crack's moisture: it leaves as the beans pass about kCrackF (over
// a few kCrackSpreadF either side), at most at kMoistureRate a second of
// what is left, and all of it together takes kMoistureHeatF °F of heat.
constexpr double kCrackF = 388.0;
constexpr double kCrackSpreadF = 7.0;
constexpr double kMoistureRate = 1.0 / 45.0;
constexpr double kMoistureHeatF = 14.0;
// The hot-air model is worked out in steps of at most this many seconds.
constexpr double kHotAirStepSeconds = 0.25;

double RiseAt(const ThermalInputs& in, const BeanResponse& r) {
    if (!in.running) return 0.0;
    const int heat = std::clamp(in.heat, 0, 3);
    return (r.airflow == Airflow::HotAir ? kHotAirRiseF[heat] : kHeatRiseF[heat]) * r.heat_scale;
}

// The hot-air model's air flow at `fan` (1..9), as a share of fan 5's.
double Flow(int fan) { return (std::clamp(fan, 1, 9) + 3) / 8.0; }

// What the air does at `fan`: the air's rise above the room for a heater
// whose rise at fan 5 is `rise5`, and the pace (1/s) at which the beans
// approach the air.
struct HotAir {
    double rise_f;
    double pace;
};

HotAir HotAirAt(int fan, double rise5) {
    const double flow = Flow(fan);
    const double g = kAirFlowAtFan5 * flow;
    const double k = kTransferAtFan5 * std::pow(flow, kTransferExponent);
    const double loss = kBodyLossShare * kAirFlowAtFan5;
    return {rise5 * (kAirFlowAtFan5 + loss) / (g + loss), g * (1.0 - std::exp(-k / g))};
}
}  // namespace

double ThermalModel::Equilibrium(const ThermalInputs& in) const {
    if (response_.airflow == Airflow::HotAir && in.running)
        return response_.room_f + HotAirAt(in.fan, RiseAt(in, response_)).rise_f;
    return response_.room_f + RiseAt(in, response_);
}

double ThermalModel::SettledRate(const ThermalInputs& in) const {
    const BeanResponse& r = response_;
    const double toward = Equilibrium(in) - temperature_f_;
    if (r.airflow == Airflow::HotAir && in.running)
        return 60.0 * HotAirAt(in.fan, RiseAt(in, r)).pace / r.batch_scale * toward;
    const int fan = std::clamp(in.fan, 1, 9);
    double tau = kHeatingSeconds * (1.0 + r.fan_effect * kFanShareOfHeating * (5 - fan));
    if (toward < 0) tau = in.running ? kFanCoolingSeconds * 5.0 / fan : kStillCoolingSeconds;
    return 60.0 * toward / (tau * r.batch_scale);
}

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
    if (response_.airflow == Airflow::HotAir)
        AdvanceHotAir(seconds, in);
    else
        AdvanceSimple(seconds, in);
}

void ThermalModel::AdvanceSimple(double seconds, const ThermalInputs& in) {
    const BeanResponse& r = response_;
    const double target = r.room_f + HeaterRise(seconds, RiseAt(in, r));
    const int fan = std::clamp(in.fan, 1, 9);
    double tau = kHeatingSeconds * (1.0 + r.fan_effect * kFanShareOfHeating * (5 - fan));
    if (target < temperature_f_)
        tau = in.running ? kFanCoolingSeconds * 5.0 / fan : kStillCoolingSeconds;
    tau *= r.batch_scale;
    temperature_f_ = target + (temperature_f_ - target) * std::exp(-seconds / tau);
}

void ThermalModel::AdvanceHotAir(double seconds, const ThermalInputs& in) {
    const BeanResponse& r = response_;
    const int steps = static_cast<int>(std::ceil(seconds / kHotAirStepSeconds));
    const double dt = seconds / steps;
    for (int i = 0; i < steps; ++i) {
        const double rise5 = HeaterRise(dt, RiseAt(in, r));
        // With the fan off the beans stand in still air.
        const HotAir air = in.running ? HotAirAt(in.fan, rise5) : HotAir{0.0, 1.0 / kStillCoolingSeconds};
        const double air_f = r.room_f + air.rise_f;
        temperature_f_ = air_f + (temperature_f_ - air_f) * std::exp(-dt * air.pace / r.batch_scale);
        // First crack's moisture leaves and cools the beans as it goes.
        const double release = kMoistureRate / (1.0 + std::exp(-(temperature_f_ - kCrackF) / kCrackSpreadF));
        const double gone = moisture_ * (1.0 - std::exp(-release * dt));
        moisture_ -= gone;
        temperature_f_ -= kMoistureHeatF * gone;
    }
}
