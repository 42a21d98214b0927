// One model of a roaster learnt from several of its roasts.
//
// What stays from roast to roast is the roaster: how its heater and fan
// drive the beans (BeanRateModel) and how late its heater answers. What
// differs is the batch and where it is roasted: a bigger batch heats
// slower at every heat and fan, and a warmer room (or warmer beans put in)
// lifts the temperature the beans head for. So each roast gets two numbers
// of its own, its speed and its shift (BatchModel), and the roaster's
// rates are fitted to every roast at once with them: the rates with each
// roast's numbers held, then each roast's numbers with the rates held, a
// few times over. The numbers are kept centred on the roasts' mean, so the
// rates are those of the usual batch.
//
// Each guess of the heater's lag (BatchLearner::kHeaterLags) is fitted so,
// and the one whose model, run open loop on each roast's own program from
// its first reading, lies nearest the readings is kept: that is what the
// model is for.
//
// While a roast runs, FitBatch learns its speed and shift from its
// readings so far, with the roaster's rates held, so what is foreseen for
// the rest of it starts from how this batch has gone.
#pragma once

#include <optional>
#include <vector>

#include "bean_prediction.h"
#include "roast_log.h"

// A roast a roaster's model learns from: its heating, from the start to the
// drop (or its last reading), and the gap of its log.
struct RoastForFit {
    std::vector<RoastSample> heating;
    double gap_seconds = kRoastGapSeconds;
};

// How one batch differs from the roaster's usual one (BatchModel's speed
// and shift).
struct BatchDifference {
    double speed = 1.0;
    double shift_f = 0.0;
};

struct RoasterFit {
    BatchModel roaster;  // the usual batch: speed 1, shift 0
    std::vector<BatchDifference> batches;  // each roast's, in the order given
    // How far the model, each roast's own batch allowed, lies from the
    // roasts' readings from 1:00 to their end, °F RMS.
    double rms_f = 0;
};

// The model of the roaster that roasted `roasts` (their levels known, each
// with a first reading), whose first crack comes at `crack_f`; none when
// they teach nothing.
std::optional<RoasterFit> FitRoaster(const std::vector<RoastForFit>& roasts, double crack_f = kDefaultFirstCrackF);

// The heat each level gives by `rates`: what it adds to the rate, as a
// share of what level 3 adds.
HeaterPower PowerOfRates(const BeanRateModel& rates);

// `roaster` made to the batch of `roast`, a roast under way: its speed
// and shift learnt from the readings so far, the rates and lag held. Few
// readings leave it near the usual batch.
BatchModel FitBatch(const BatchModel& roaster, const RoastForFit& roast);

// The share of first crack's water left in the beans of `roast` at each
// second from 0 to `seconds`, as its readings say.
std::vector<double> WaterDuring(const RoastForFit& roast, int seconds, double crack_f);

// The beans at each second of `roast`'s heating, from 0 to its last whole
// second, as `model` foresees them from its first reading, the heater
// cold, with the values it sent.
std::vector<double> PredictRoast(const BatchModel& model, const RoastForFit& roast);

// Squared misses summed, and how many: they pool over roasts.
struct SquaredMisses {
    double sum_sq = 0;
    int count = 0;
    void Add(const SquaredMisses& o) {
        sum_sq += o.sum_sq;
        count += o.count;
    }
    double Rms() const;
};

// Where PredictRoast misses the readings of `roast`, every second from
// `from_seconds` to its end.
SquaredMisses PredictionMisses(const BatchModel& model, const RoastForFit& roast, int from_seconds = 60);
