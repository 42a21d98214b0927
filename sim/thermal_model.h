// The bean temperature of the simulated roaster: a first-order model in
// which the beans approach an equilibrium temperature that the heater
// sets, faster the more air the fan moves, so the rate of rise falls as
// the beans heat. From about 70 °F at high heat and a middle fan the beans
// pass 350 °F after six minutes and reach about 400 °F after ten; lower
// heat or fan roasts slower; in cooling they fall back towards room
// temperature within a few minutes.
//
// BeanResponse changes how a batch answers, so the console can be tried on
// roasters unlike the one a saved roast came from. Its defaults are the
// model above, to the last bit.
#pragma once

struct ThermalInputs {
    bool running = false;  // the roaster runs a roast (fan on)
    int heat = 0;          // 0..3
    int fan = 5;           // 1..9
};

struct BeanResponse {
    double room_f = 70.0;
    // Times every time constant of the beans: a bigger batch (above 1)
    // heats and cools slower.
    double batch_scale = 1.0;
    // Times each heat level's rise above the room (a weaker heater or a
    // low mains voltage below 1).
    double heat_scale = 1.0;
    // How the fan acts on heating: 1, more fan heats faster; -1, more fan
    // heats slower by as much (the air carries heat away). Cooling always
    // goes faster with more fan.
    double fan_effect = 1.0;
    // Time constant in seconds of the heater and drum between a change of
    // heat and the beans: 0 answers at once; a drum roaster is some tens of
    // seconds.
    double heater_lag_seconds = 0.0;
};

class ThermalModel {
public:
    explicit ThermalModel(double room_f = 70.0) : ThermalModel(ResponseAt(room_f)) {}
    explicit ThermalModel(const BeanResponse& response)
        : response_(response), temperature_f_(response.room_f) {}

    // Lets `seconds` pass under `inputs`.
    void Advance(double seconds, const ThermalInputs& inputs);

    // The temperature the beans approach under `inputs` once the heater
    // has settled.
    double Equilibrium(const ThermalInputs& inputs) const;

    double temperature_f() const { return temperature_f_; }
    void set_temperature_f(double t) { temperature_f_ = t; }
    double room_f() const { return response_.room_f; }
    const BeanResponse& response() const { return response_; }

private:
    static BeanResponse ResponseAt(double room_f) {
        BeanResponse r;
        r.room_f = room_f;
        return r;
    }
    // The rise above the room the heater gives now, following `target`
    // (rise at the level asked for) with the heater's lag over `seconds`:
    // the mean over that time; the heater's state moves on.
    double HeaterRise(double seconds, double target);

    BeanResponse response_;
    double temperature_f_;
    double heater_rise_f_ = 0.0;  // the lagging heater's rise above the room
};
