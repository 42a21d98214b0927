// Where a batch's beans go under a roaster's fan and heat, by a learnt
// BeanRateModel and a heater that answers a change of heat with a lag:
// second by second, the heater coming to the heat sent and the beans
// rising at the rate the model gives for the heater, the fan and the beans
// of that second. Follow mode foresees its choices with it, and a program
// is planned with it.
#pragma once

#include <cmath>
#include <optional>
#include <vector>

#include "bean_rate_model.h"

// The heater's state (heat levels, as it has come to) after `seconds` more
// at `heat`, for a heater whose lag is `lag` seconds (0: at once).
inline double HeaterAfter(double heater, int heat, double seconds, double lag) {
    if (lag <= 0) return heat;
    return heat + (heater - heat) * std::exp(-seconds / lag);
}

// A batch on a roaster as a model sees it: how fast the beans heat, and how
// slowly the heater answers.
struct BatchModel {
    BeanRateModel rates;
    double heater_lag = 0;  // seconds
};

// What the model follows of a roast: the heater's state and the beans'.
struct BeanState {
    double heater = 0;  // heat levels
    double bean_f = 0;
};

// Runs a BatchModel second by second.
class BeanPredictor {
public:
    explicit BeanPredictor(const BatchModel& model)
        : rates_(model.rates), lag_(model.heater_lag), settle_(lag_ > 0 ? std::exp(-1.0 / lag_) : 0.0) {}

    // One second on with `fan` and `heat` sent.
    void Second(BeanState& s, int fan, int heat) const {
        s.heater = heat + (s.heater - heat) * settle_;
        s.bean_f += rates_.Rate(BeanRateModel::TermsAt(s.heater, fan, s.bean_f)) / 60.0;
    }

private:
    const BeanRateModel& rates_;
    double lag_;
    double settle_;  // the share of the heater's distance from the heat sent left after a second
};

// The fan and heat sent at each second of a roast's heating.
struct SentValues {
    int fan = 5;
    int heat = 2;
};

// The beans at each second, 0 to sent.size(), from `start` with the
// values sent at each second.
std::vector<double> PredictBeans(const BatchModel& model, BeanState start, const std::vector<SentValues>& sent);
