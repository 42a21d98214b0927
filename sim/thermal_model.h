// The bean temperature of the simulated roaster: a first-order model in
// which the beans approach an equilibrium temperature that the heater
// sets, faster the more air the fan moves, so the rate of rise falls as
// the beans heat. From about 70 °F at high heat and a middle fan the beans
// pass 350 °F after six minutes and reach about 400 °F after ten; lower
// heat or fan roasts slower; in cooling they fall back towards room
// temperature within a few minutes.
#pragma once

struct ThermalInputs {
    bool running = false;  // the roaster runs a roast (fan on)
    int heat = 0;          // 0..3
    int fan = 5;           // 1..9
};

class ThermalModel {
public:
    explicit ThermalModel(double room_f = 70.0) : room_f_(room_f), temperature_f_(room_f) {}

    // Lets `seconds` pass under `inputs`.
    void Advance(double seconds, const ThermalInputs& inputs);

    // The temperature the beans approach under `inputs`.
    double Equilibrium(const ThermalInputs& inputs) const;

    double temperature_f() const { return temperature_f_; }
    void set_temperature_f(double t) { temperature_f_ = t; }
    double room_f() const { return room_f_; }

private:
    double room_f_;
    double temperature_f_;
};
