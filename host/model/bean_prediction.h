// Where a batch's beans go under a roaster's fan and heat, by a learnt
// BeanRateModel and a heater that answers a change of heat with a lag:
// second by second, the heater coming to the heat sent and the beans
// rising at the rate the model gives for the heater, the fan and the beans
// of that second. Follow mode foresees its choices with it, and a program
// is planned with it.
#pragma once

#include <array>
#include <cmath>
#include <limits>
#include <optional>
#include <vector>

#include "bean_rate_model.h"

// How much heat each heat level gives, in heat levels' worth: a heater
// lags in the heat it gives, not in its level, and where level 1 gives more
// than a third of level 3's, a heater warming from cold gives most of level
// 1's heat while its level would still be low. Unless learnt
// (roaster_fit.h), each level gives its own number.
struct HeaterPower {
    std::array<double, 4> of_level{0.0, 1.0, 2.0, 3.0};  // rising

    // What `heat` (0..3) gives.
    double Of(int heat) const { return of_level[static_cast<std::size_t>(heat < 0 ? 0 : heat > 3 ? 3 : heat)]; }
    // The level that gives `power`, between the levels as between their
    // powers, and beyond them as beyond the last two.
    double Level(double power) const {
        std::size_t k = 1;
        while (k < 3 && power > of_level[k]) ++k;
        const double low = of_level[k - 1], high = of_level[k];
        return static_cast<double>(k - 1) + (high > low ? (power - low) / (high - low) : 0.0);
    }
};

// The temperature first crack is taken to come at without the user's
// marks to say, °F.
constexpr double kDefaultFirstCrackF = 390.0;

// What a batch is believed to be before its readings say, on a roaster
// whose batches are not yet known: the usual one, give or take this much
// (one standard deviation): a fifth faster or slower, 20 °F warmer or
// cooler.
constexpr double kUsualBatchSpeedSpread = 0.2;
constexpr double kUsualBatchShiftSpreadF = 20.0;

// First crack's water: as the beans near first crack, the water left in
// them flashes to steam and takes its heat with it, so the rise slows for
// a minute or two and picks up again once it is gone. It leaves faster
// the hotter the beans, half as fast as it may at first crack's
// temperature, over a few degrees either side; how much heat it takes
// is learnt (BeanRateModel). `water` is the share still in the beans,
// from 1 (green) to 0.
namespace bean_water {
// At most this share of what is left leaves a second, and it leaves over
// this many °F either side of first crack.
constexpr double kMostPerSecond = 1.0 / 40.0;
constexpr double kSpreadF = 6.0;

// As the crack temperature, leaves the water out of a model: none ever
// leaves.
constexpr double kLeftOut = std::numeric_limits<double>::infinity();

// The share of what is left that leaves a second at `bean_f`.
inline double PaceAt(double bean_f, double crack_f) {
    return kMostPerSecond / (1.0 + std::exp(-(bean_f - crack_f) / kSpreadF));
}
// The share of the beans' water leaving a minute (BeanRateModel's term).
inline double Leaving(double water, double bean_f, double crack_f) {
    return 60.0 * water * PaceAt(bean_f, crack_f);
}
// What is left after `seconds` at `bean_f`.
inline double After(double water, double bean_f, double seconds, double crack_f) {
    return water * std::exp(-PaceAt(bean_f, crack_f) * seconds);
}
}  // namespace bean_water

// The heater's state (heat levels' worth of heat, as it has come to) after
// `seconds` more at `heat`, for a heater whose lag is `lag` seconds (0: at
// once).
inline double HeaterAfter(double heater, int heat, double seconds, double lag, const HeaterPower& power = {}) {
    const double target = power.Of(heat);
    if (lag <= 0) return target;
    return target + (heater - target) * std::exp(-seconds / lag);
}

// A batch on a roaster as a model sees it: how fast the beans heat, and how
// slowly the heater answers. A model of the roaster learnt from many
// roasts also says how this batch differs from the roaster's usual one:
// it heats `speed` times as fast (a smaller batch, above 1), and as if the
// room were `shift_f` warmer (the beans then head for an equilibrium that
// much higher). A model learnt from one batch leaves them at 1 and 0.
struct BatchModel {
    BatchModel() = default;
    BatchModel(const BeanRateModel& r, double lag) : rates(r), heater_lag(lag) {}

    BeanRateModel rates;
    double heater_lag = 0;  // seconds
    double speed = 1.0;
    double shift_f = 0.0;
    HeaterPower power;
    // Where first crack's water leaves (bean_water), °F: the user's first
    // crack.
    double crack_f = kDefaultFirstCrackF;
    // How far this roaster's batches are found to differ from its usual
    // one (one standard deviation): the speed's share, and the shift. A
    // batch under way is read against it (roaster_fit.h).
    double speed_spread = kUsualBatchSpeedSpread;
    double shift_spread_f = kUsualBatchShiftSpreadF;
};

// What the model follows of a roast: the heater's state and the beans'.
struct BeanState {
    double heater = 0;  // heat levels' worth (HeaterPower)
    double bean_f = 0;
    double water = 1.0;  // the share of first crack's water still in them
};

// Runs a BatchModel second by second.
class BeanPredictor {
public:
    explicit BeanPredictor(const BatchModel& model)
        : rates_(model.rates),
          lag_(model.heater_lag),
          settle_(lag_ > 0 ? std::exp(-1.0 / lag_) : 0.0),
          per_second_(model.speed / 60.0),
          shift_f_(model.shift_f),
          power_(model.power),
          crack_f_(model.crack_f) {}

    // One second on with `fan` and `heat` sent.
    void Second(BeanState& s, int fan, int heat) const {
        const double target = power_.Of(heat);
        s.heater = target + (s.heater - target) * settle_;
        const double pace = bean_water::PaceAt(s.bean_f, crack_f_);
        s.bean_f += per_second_ * rates_.Rate(BeanRateModel::TermsAt(power_.Level(s.heater), fan,
                                                                     s.bean_f - shift_f_, 60.0 * s.water * pace));
        s.water *= std::exp(-pace);
    }

private:
    const BeanRateModel& rates_;
    double lag_;
    double settle_;  // the share of the heater's distance from the heat sent left after a second
    double per_second_;  // the batch's speed, a minute's rate to a second's
    double shift_f_;
    HeaterPower power_;
    double crack_f_;
};

// The fan and heat sent at each second of a roast's heating.
struct SentValues {
    int fan = 5;
    int heat = 2;
};

// The beans at each second, 0 to sent.size(), from `start` with the
// values sent at each second.
std::vector<double> PredictBeans(const BatchModel& model, BeanState start, const std::vector<SentValues>& sent);
