// How fast a batch of beans heats on a roaster: the rate of rise (°F a
// minute) as a function of the heater's state, the fan and the bean
// temperature,
//
//   ror = c · [1, h, x, u, h·u, x·u, u², x·u², h², w, v]
//   h = heater - 2, x = (bean - 300 °F) / 100 °F, u = (fan - 5) / 4,
//   w = how far the heater is still below heat level 1 (warming up),
//   v = the share of first crack's water leaving the beans a minute,
//
// which is a first-order roaster, ror = k(fan)·(E(heat, fan) - bean),
// multiplied out to second order in the fan, with the pace k, the
// equilibrium E and how each depends on the fan unknown. On a drum the fan
// mostly sets the pace; on a hot-air roaster more air also means cooler
// air, so E falls with the fan while k rises, and the fan's effect on the
// rate, d ror / du = c3 + c4·h + c5·x + 2u·(c6 + c7·x), changes sign as the
// beans near the air's temperature (x·u), and may be best at a middle
// fan (u²). h² lets the heat levels' worth differ; w, a heater that gives
// less or more below its lowest level than the levels above it suggest;
// v, the heat first crack's water takes as it flashes to steam (its
// coefficient: how many °F all of it costs the beans), which slows the
// rise for a minute or two as first crack begins (bean_water in bean_prediction.h).
//
// The coefficients c are learnt as a Kalman filter: each lesson (a rate
// seen at some terms) moves them as far as they are unsure. Learnt with a
// drift, they may change a little as time passes, so the model keeps up
// with a batch whose answer changes as it roasts (moisture leaves near
// first crack) and trusts old readings less than new ones; learnt without
// one, the model is the least-squares fit of every lesson (a whole roast,
// or several). Nothing is assumed of the fan; more heat is kept from ever
// cooling: the rate never falls as the heater rises, at any fan.
#pragma once

#include <array>

class BeanRateModel {
public:
    static constexpr int kTerms = 11;
    using Terms = std::array<double, kTerms>;

    // Knows nothing of the batch yet: wide guesses around a roaster that
    // heats some ten °F a minute more on each heat level.
    BeanRateModel();

    // A model with these coefficients and their covariance (one read back
    // from a file).
    static BeanRateModel WithCoefficients(const Terms& c, const std::array<Terms, kTerms>& covariance);
    const std::array<Terms, kTerms>& covariance() const { return p_; }

    // The terms at a heater state (heat levels, 0..3, as the heater has
    // come to), a fan level (1..9), a bean temperature (°F) and the share
    // of first crack's water leaving the beans a minute.
    static Terms TermsAt(double heater, double fan, double bean_f, double water_leaving = 0.0);

    // `terms` (or their mean over a stretch) as they would be with the
    // beans heading for a temperature `shift_f` higher: every term that
    // depends on the beans is linear in x, so this is exact. The water
    // leaves by the beans' own temperature, not by where they head.
    static Terms Shifted(const Terms& terms, double shift_f);

    // The rate of rise the model gives for `terms`, °F a minute.
    double Rate(const Terms& terms) const;
    // How unsure that rate is: its variance, (°F a minute)².
    double RateVariance(const Terms& terms) const;

    // Over a stretch of roasting whose mean terms were `terms` the beans
    // rose at `ror` °F a minute; `seconds` have passed since the last
    // lesson, over which the coefficients may have drifted. Returns the
    // rate the model expected before it learnt. `seconds` 0: no drift.
    double Learn(const Terms& terms, double ror, double seconds);

    // The coefficients, in the order of the terms.
    const Terms& coefficients() const { return c_; }

    // Less sure of everything, as for a new batch: adds `share` of the
    // first guesses' uncertainty back.
    void Doubt(double share);

    // A fit to many lessons at once: what Learn without drift comes to,
    // lesson by lesson, but with heat kept from cooling only at the end,
    // where one by one it would bend every lesson after the first that
    // needed it. A lesson may count `weight` times one of Learn's.
    class LeastSquares {
    public:
        LeastSquares();
        void Add(const Terms& terms, double ror, double weight = 1.0);
        BeanRateModel Solve() const;

    private:
        // The fit with the coefficients of `fixed` held at their values in
        // `held`.
        BeanRateModel SolveHolding(const std::array<bool, kTerms>& fixed, const Terms& held) const;

        std::array<Terms, kTerms> normal_;  // the information matrix
        Terms right_;
    };

private:
    // Keeps the rate from falling as the heater rises, at every fan, and
    // first crack's water from warming the beans.
    void KeepHeatFromCooling();

    Terms c_;
    std::array<Terms, kTerms> p_;  // covariance of c_
};
