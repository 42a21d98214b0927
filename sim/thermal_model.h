// The bean temperature of the simulated roaster, by one of two models.
//
// Simple (the default): a first-order model in which the beans approach an
// equilibrium temperature that the heater sets, faster the more air the
// fan moves, so the rate of rise falls as the beans heat. From about 70 °F
// at high heat and a middle fan the beans pass 350 °F after six minutes
// and reach about 400 °F after ten; lower heat or fan roasts slower; in
// cooling they fall back towards room temperature within a few minutes.
//
// Hot air: the element heats the air that the fan blows through the beans.
// Two temperatures: the air's as it reaches the beans, and the beans'.
// The element's power goes partly into the air and partly out through the
// roaster's body, in proportion to how far the air is above the room; so
// the air is room + power / (flow · heat capacity + loss): more flow, cooler
// air. The air gives its heat to the beans through a heat transfer that
// grows with the flow (as flow^0.7) and, where the air is slow, is limited
// by what the air carries (an exchanger's effectiveness, 1 - e^-NTU). Far
// below the air's temperature the beans heat faster with more fan; near it
// the cooler air wins and more fan slows them: the fan's effect changes
// sign during one roast (at about 280 °F on heat 1, 335 °F on heat 2 and
// 385 °F on heat 3 with the default batch and room). Near first crack the
// moisture left in the beans flashes off and takes heat with it (an
// endothermic term), so the rate of rise drops there. Heat 2 with a middle
// fan reaches 390 °F at about 8:30 and 430 °F at 12:00; heat 3 reaches it
// at about 6:30.
//
// BeanResponse changes how a batch answers, so the console can be tried on
// roasters unlike the one a saved roast came from. Its defaults are the
// simple model above, to the last bit.
#pragma once

struct ThermalInputs {
    bool running = false;  // the roaster runs a roast (fan on)
    int heat = 0;          // 0..3
    int fan = 5;           // 1..9
};

// Which of the two models the beans follow.
enum class Airflow {
    Simple,  // first order; the fan sets only the pace
    HotAir,  // the air's temperature and the beans'; the fan's effect changes sign
};

struct BeanResponse {
    Airflow airflow = Airflow::Simple;
    double room_f = 70.0;
    // Times every time constant of the beans: a bigger batch (above 1)
    // heats and cools slower.
    double batch_scale = 1.0;
    // Times each heat level's rise above the room (a weaker heater or a
    // low mains voltage below 1).
    double heat_scale = 1.0;
    // How the fan acts on heating in the simple model: 1, more fan heats
    // faster; -1, more fan heats slower by as much (the air carries heat
    // away). Cooling always goes faster with more fan. The hot-air model's
    // fan acts as its physics says.
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
    // has settled (the hot-air model: before first crack's moisture).
    double Equilibrium(const ThermalInputs& inputs) const;
    // How fast the beans heat now under `inputs` once the heater has
    // settled, °F a minute (the hot-air model: moisture left aside).
    double SettledRate(const ThermalInputs& inputs) const;

    double temperature_f() const { return temperature_f_; }
    void set_temperature_f(double t) { temperature_f_ = t; }
    // A new batch of green beans: at the room's temperature, with all their
    // moisture. The heater keeps what warmth it has.
    void NewBatch() {
        temperature_f_ = response_.room_f;
        moisture_ = 1.0;
    }
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
    void AdvanceSimple(double seconds, const ThermalInputs& inputs);
    void AdvanceHotAir(double seconds, const ThermalInputs& inputs);

    BeanResponse response_;
    double temperature_f_;
    double heater_rise_f_ = 0.0;  // the lagging heater's rise above the room
    double moisture_ = 1.0;       // the share of first crack's moisture still in the beans
};
