#include "bean_rate_model.h"

#include <algorithm>
#include <cmath>

namespace {
using Terms = BeanRateModel::Terms;
constexpr int kN = BeanRateModel::kTerms;

// First guesses and how far off they may be (one standard deviation), in
// °F a minute: the rate at 300 °F on heat 2 and fan 5, a heat level's
// worth, 100 °F more bean, a fan swing from 5 to 9, the products of the
// fan with the heat and the beans, the fan's curve and how it changes with
// the beans, the heat levels' curve, and a heater's warming up to its
// lowest level.
constexpr Terms kGuess{0.0, 10.0, -20.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0};
constexpr Terms kGuessSpread{30.0, 10.0, 20.0, 10.0, 5.0, 10.0, 5.0, 5.0, 3.0, 30.0};
// How far each coefficient may drift in a minute (one standard deviation).
constexpr Terms kDriftPerMinute{3.0, 1.5, 3.0, 1.5, 1.0, 1.5, 1.0, 1.0, 0.5, 1.5};
// The rate of rise read from a few seconds of whole-degree readings is
// off by about this much, °F a minute (one standard deviation), with the
// model's own shortcomings.
constexpr double kReadingSpread = 3.0;
// The heater's smallest worth a model may settle on, °F a minute a level.
constexpr double kLeastHeatGain = 0.5;

double Dot(const Terms& a, const Terms& b) {
    double s = 0;
    for (int i = 0; i < kN; ++i) s += a[i] * b[i];
    return s;
}
}  // namespace

BeanRateModel::BeanRateModel() : c_(kGuess), p_{} {
    for (int i = 0; i < kN; ++i) p_[i][i] = kGuessSpread[i] * kGuessSpread[i];
}

Terms BeanRateModel::TermsAt(double heater, double fan, double bean_f) {
    const double h = heater - 2.0;
    const double x = (bean_f - 300.0) / 100.0;
    const double u = (fan - 5.0) / 4.0;
    return {1.0, h, x, u, h * u, x * u, u * u, x * u * u, h * h, std::max(0.0, 1.0 - heater)};
}

double BeanRateModel::Rate(const Terms& terms) const { return Dot(c_, terms); }

double BeanRateModel::RateVariance(const Terms& terms) const {
    double v = 0;
    for (int i = 0; i < kN; ++i) v += terms[i] * Dot(p_[i], terms);
    return v;
}

double BeanRateModel::Learn(const Terms& terms, double ror, double seconds) {
    const double minutes = std::max(0.0, seconds) / 60.0;
    for (int i = 0; i < kN; ++i) p_[i][i] += kDriftPerMinute[i] * kDriftPerMinute[i] * minutes;
    const double expected = Rate(terms);
    Terms pt{};
    for (int i = 0; i < kN; ++i) pt[i] = Dot(p_[i], terms);
    const double s = Dot(terms, pt) + kReadingSpread * kReadingSpread;
    const double error = ror - expected;
    for (int i = 0; i < kN; ++i) c_[i] += pt[i] / s * error;
    for (int i = 0; i < kN; ++i)
        for (int j = 0; j < kN; ++j) p_[i][j] -= pt[i] * pt[j] / s;
    KeepHeatFromCooling();
    return expected;
}

void BeanRateModel::Doubt(double share) {
    for (int i = 0; i < kN; ++i) p_[i][i] += share * kGuessSpread[i] * kGuessSpread[i];
}

void BeanRateModel::KeepHeatFromCooling() {
    // d ror / d heater = c[1] + 2·c[8]·h + c[4]·u, with u from -1 to 1 and h
    // from -1 to 1 between the levels, and h down to -2 and less c[9] below
    // the lowest level.
    c_[1] = std::max(c_[1], kLeastHeatGain);
    const double room = c_[1] - kLeastHeatGain;
    c_[8] = std::clamp(c_[8], -room / 4.0, room / 4.0);
    c_[4] = std::clamp(c_[4], -(room - 2.0 * std::abs(c_[8])), room - 2.0 * std::abs(c_[8]));
    c_[9] = std::min(c_[9], room - 4.0 * std::abs(c_[8]) - std::abs(c_[4]));
}
