// How fast one batch of beans heats, learnt from its own readings: the
// rate of rise (°F a minute) as a function of the heater's state, the fan
// and the bean temperature,
//
//   ror = c · [1, h, x, u, h·u, x·u, w]
//   h = heater - 2, x = (bean - 300 °F) / 100 °F, u = (fan - 5) / 4,
//   w = how far the heater is still below heat level 1 (warming up),
//
// which is the first-order roaster ror = k·(1 + d·fan)·(E(heat) - bean)
// multiplied out, with k, d and the equilibrium E unknown, and a heater
// that may give less or more below its lowest level than the levels above
// it suggest. The coefficients c follow a Kalman filter in which they
// drift a little as time passes, so the model keeps up with a batch whose
// answer changes as it roasts (moisture leaves, the equilibrium is nearer)
// and trusts old readings less than new ones. Nothing is assumed of the
// fan; more heat is kept from ever cooling: the rate never falls as the
// heater rises, at any fan.
#pragma once

#include <array>

class BeanRateModel {
public:
    static constexpr int kTerms = 7;
    using Terms = std::array<double, kTerms>;

    // Knows nothing of the batch yet: wide guesses around a roaster that
    // heats some ten °F a minute more on each heat level.
    BeanRateModel();

    // The terms at a heater state (heat levels, 0..3, as the heater has
    // come to), a fan level (1..9) and a bean temperature (°F).
    static Terms TermsAt(double heater, double fan, double bean_f);

    // The rate of rise the model gives for `terms`, °F a minute.
    double Rate(const Terms& terms) const;
    // How unsure that rate is: its variance, (°F a minute)².
    double RateVariance(const Terms& terms) const;

    // Over a stretch of roasting whose mean terms were `terms` the beans
    // rose at `ror` °F a minute; `seconds` have passed since the last
    // lesson, over which the coefficients may have drifted. Returns the
    // rate the model expected before it learnt.
    double Learn(const Terms& terms, double ror, double seconds);

    // Less sure of everything, as for a new batch: adds `share` of the
    // first guesses' uncertainty back.
    void Doubt(double share);

private:
    // Keeps the rate from falling as the heater rises, at every fan.
    void KeepHeatFromCooling();

    Terms c_;
    std::array<Terms, kTerms> p_;  // covariance of c_
};
