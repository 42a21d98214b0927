// Learns how the running batch answers heat and fan from its readings.
// A heater answers a change of heat some seconds later, and by how much is
// not known, so the learner keeps one BeanRateModel for each of a few
// guesses of the heater's lag, each with the heater state that guess
// gives. Every reading teaches each model the rise of the beans over the
// last few seconds against the mean of what it expected over them; how
// near each model's expectations came lately says how far it is believed.
//
// Learning as a roast goes (follow mode), the models drift: what was
// learnt long ago counts less. Learning without drift, each model is the
// fit of every reading it was given: a whole roast, or several.
#pragma once

#include <array>
#include <cstddef>
#include <deque>
#include <functional>

#include "bean_prediction.h"
#include "bean_rate_model.h"
#include "roast_log.h"

class BatchLearner {
public:
    // The heater's lags guessed, seconds (time constants; 0: at once).
    static constexpr std::array<double, 5> kHeaterLags{0.0, 10.0, 20.0, 40.0, 80.0};
    static constexpr std::size_t kGuesses = kHeaterLags.size();
    // The stretch of readings whose rise is learnt, seconds.
    static constexpr double kStretchSeconds = 12.0;

    // One guess of the heater's lag, with what it has learnt.
    struct Guess {
        BeanRateModel model;
        double lag = 0;             // seconds
        double heater = 0;          // heat levels' worth, as the heater has come to by that guess
        double miss = 0;            // recent mean square of what it expected wrong, (°F/min)²
        double last_lesson = -1.0;  // seconds of its last lesson; -1: none yet
    };

    // `drifts`: the models may change as time passes (a roast as it goes);
    // else they fit every reading alike.
    explicit BatchLearner(bool drifts = true);
    // The same with other guesses of the lag (a fit narrowing them down),
    // a heater whose levels give `power`, and first crack at `crack_f`.
    BatchLearner(bool drifts, const std::array<double, kGuesses>& lags, const HeaterPower& power = {},
                 double crack_f = kDefaultFirstCrackF);

    // Time passes to `seconds` with `heat` sent (0..3): each guess's heater
    // moves on. Call for every reading, good or not, before Reading().
    void Heat(double seconds, int heat);
    // A good reading of the beans at `seconds`, with the fan sent then.
    void Reading(double seconds, double bean_f, int fan);
    // The readings stopped (a sensor error, the link lost): the next ones
    // start a new stretch.
    void Break();
    // A new batch begins at `seconds`, with the heater cold: what was
    // learnt is kept as a first guess, held less sure.
    void NewBatch(double seconds);
    // Learns the heating of a saved roast: `heating`, its samples from the
    // start of its heating to the end (a sensor error, or readings further
    // apart than `gap_seconds`, breaks the stretches). A roast whose file
    // does not say the heat and fan it ran teaches nothing.
    void LearnRoast(const std::vector<RoastSample>& heating, double gap_seconds = kRoastGapSeconds);

    // Seconds of unbroken readings up to the last one.
    double UnbrokenSeconds() const;
    // The bean temperature at the last reading, smoothed over the last
    // few readings; call only after a Reading().
    double BeanNow() const;
    // The share of first crack's water still in the beans at the last
    // reading (bean_water), as the readings since the batch began say.
    double Water() const { return water_; }

    // Told of every lesson as it is learnt: the guess of the heater's lag
    // (its index), the mean of the terms over the stretch by that guess,
    // and the rise seen, °F a minute. A fit of several roasts collects them
    // (roaster_fit.h).
    std::function<void(std::size_t guess, const BeanRateModel::Terms& mean, double ror)> on_lesson;

    const std::array<Guess, kGuesses>& guesses() const { return guesses_; }
    // How far each guess is believed now; the weights add up to 1.
    std::array<double, kGuesses> Belief() const;
    // The guess believed most.
    const Guess& Best() const;

private:
    struct Point {
        double seconds;
        double bean_f;
        int fan;
        double water_leaving;  // the share of first crack's water leaving a minute
        std::array<double, kGuesses> heater;
    };
    void Teach(const Point& from, const Point& to);

    std::array<Guess, kGuesses> guesses_;
    std::deque<Point> points_;
    bool drifts_ = true;
    HeaterPower power_;
    double crack_f_ = kDefaultFirstCrackF;
    // First crack's water by the readings: what is left at the last good
    // one, its time (-1: none yet this batch) and bean temperature.
    double water_ = 1.0;
    double water_seconds_ = -1.0;
    double water_bean_f_ = 0;
    double last_lesson_ = -1.0;
    double now_ = 0;
    int heat_ = 0;  // the heat sent since now_
};
