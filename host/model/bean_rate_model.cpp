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
// the beans, the heat levels' curve, a heater's warming up to its lowest
// level, and what first crack's water costs the beans all told (°F; the
// term is the share of it leaving a minute).
constexpr Terms kGuess{0.0, 10.0, -20.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, -10.0};
constexpr Terms kGuessSpread{30.0, 10.0, 20.0, 10.0, 5.0, 10.0, 5.0, 5.0, 3.0, 30.0, 10.0};
// How far each coefficient may drift in a minute (one standard deviation).
constexpr Terms kDriftPerMinute{3.0, 1.5, 3.0, 1.5, 1.0, 1.5, 1.0, 1.0, 0.5, 1.5, 1.5};
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

BeanRateModel BeanRateModel::WithCoefficients(const Terms& c, const std::array<Terms, kN>& covariance) {
    BeanRateModel model;
    model.c_ = c;
    model.p_ = covariance;
    return model;
}

Terms BeanRateModel::TermsAt(double heater, double fan, double bean_f, double water_leaving) {
    const double h = heater - 2.0;
    const double x = (bean_f - 300.0) / 100.0;
    const double u = (fan - 5.0) / 4.0;
    return {1.0, h, x, u, h * u, x * u, u * u, x * u * u, h * h, std::max(0.0, 1.0 - heater), water_leaving};
}

Terms BeanRateModel::Shifted(const Terms& t, double shift_f) {
    // d terms / dx = [0, 0, 1, 0, 0, u, 0, u², 0, 0, 0], and the means of u and
    // u² are terms 3 and 6.
    const double dx = shift_f / 100.0;
    Terms out = t;
    out[2] -= dx;
    out[5] -= dx * t[3];
    out[7] -= dx * t[6];
    return out;
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
    // Water leaving takes heat; it never gives any.
    c_[10] = std::min(c_[10], 0.0);
}

BeanRateModel::LeastSquares::LeastSquares() : normal_{}, right_{} {
    // The first guesses, as the lessons' prior.
    for (int i = 0; i < kN; ++i) {
        const double w = 1.0 / (kGuessSpread[i] * kGuessSpread[i]);
        normal_[i][i] = w;
        right_[i] = w * kGuess[i];
    }
}

void BeanRateModel::LeastSquares::Add(const Terms& terms, double ror, double weight) {
    const double w = weight / (kReadingSpread * kReadingSpread);
    for (int i = 0; i < kN; ++i) {
        right_[i] += w * terms[i] * ror;
        for (int j = 0; j < kN; ++j) normal_[i][j] += w * terms[i] * terms[j];
    }
}

BeanRateModel BeanRateModel::LeastSquares::Solve() const {
    // Where keeping heat from cooling moves a coefficient, it is held
    // where it was moved and the others are fitted again around it.
    std::array<bool, kN> fixed{};
    Terms held{};
    BeanRateModel model = SolveHolding(fixed, held);
    for (int pass = 0; pass < 3; ++pass) {
        const Terms free = model.c_;
        model.KeepHeatFromCooling();
        bool moved = false;
        for (int i = 0; i < kN; ++i)
            if (!fixed[i] && std::abs(model.c_[i] - free[i]) > 1e-9) {
                fixed[i] = moved = true;
                held[i] = model.c_[i];
            }
        if (!moved) break;
        model = SolveHolding(fixed, held);
    }
    model.KeepHeatFromCooling();
    return model;
}

BeanRateModel BeanRateModel::LeastSquares::SolveHolding(const std::array<bool, kN>& fixed, const Terms& held) const {
    // A held coefficient: its row says c_i = held_i, and the others' right
    // sides lose what it contributes.
    std::array<Terms, kN> a = normal_;
    Terms b = right_;
    for (int i = 0; i < kN; ++i) {
        if (!fixed[i]) continue;
        for (int r = 0; r < kN; ++r) {
            if (fixed[r]) continue;
            b[r] -= a[r][i] * held[i];
        }
        for (int j = 0; j < kN; ++j) a[i][j] = a[j][i] = 0.0;
        a[i][i] = 1.0;
        b[i] = held[i];
    }
    // Gauss-Jordan: the covariance is the information matrix's inverse,
    // and the coefficients are it times the right-hand side.
    std::array<Terms, kN> inverse{};
    for (int i = 0; i < kN; ++i) inverse[i][i] = 1.0;
    for (int col = 0; col < kN; ++col) {
        int pivot = col;
        for (int r = col + 1; r < kN; ++r)
            if (std::abs(a[r][col]) > std::abs(a[pivot][col])) pivot = r;
        std::swap(a[col], a[pivot]);
        std::swap(inverse[col], inverse[pivot]);
        const double d = a[col][col];
        for (int j = 0; j < kN; ++j) {
            a[col][j] /= d;
            inverse[col][j] /= d;
        }
        for (int r = 0; r < kN; ++r) {
            if (r == col) continue;
            const double f = a[r][col];
            if (f == 0.0) continue;
            for (int j = 0; j < kN; ++j) {
                a[r][j] -= f * a[col][j];
                inverse[r][j] -= f * inverse[col][j];
            }
        }
    }
    BeanRateModel model;
    model.p_ = inverse;
    for (int i = 0; i < kN; ++i) model.c_[i] = Dot(inverse[i], b);
    return model;
}
