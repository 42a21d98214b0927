#include "roaster_fit.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "batch_learner.h"
#include "roast_program.h"

namespace {

using Terms = BeanRateModel::Terms;
constexpr std::size_t kGuesses = BatchLearner::kGuesses;

// What a batch is believed to be before its readings say: the usual one,
// give or take kUsualBatchSpeedSpread and kUsualBatchShiftSpreadF. Once
// the roasts are fitted, a batch under way is believed to differ as the
// roasts' batches were found to, but never more than that and never less
// than a twentieth and 5 °F: a user who always roasts the same batch may
// roast another one today.
constexpr double kSpeedSpread = kUsualBatchSpeedSpread;
constexpr double kShiftSpreadF = kUsualBatchShiftSpreadF;
constexpr double kLeastSpeedSpread = 0.05;
constexpr double kLeastShiftSpreadF = 5.0;
// A lesson's rate of rise is read off by about this much (°F a minute):
// the learner's reading spread, with the lessons overlapping six to a
// stretch, so six of them tell what one would.
constexpr double kLessonSpread = 3.0 * 2.45;
// The speed and shift a batch may be found to have at most.
constexpr double kSlowest = 0.5;
constexpr double kFastest = 2.0;
constexpr double kLargestShiftF = 80.0;
// Rounds of fitting the heater's power per level again at most.
constexpr int kPowerRounds = 3;
// Rounds of fitting the rates and each roast's batch in turn.
constexpr int kRounds = 3;

// A stretch of readings: the mean of its terms (as BatchLearner takes
// them for one guess of the lag), and the rise seen, °F a minute.
struct Lesson {
    Terms mean;
    double ror;
};
using Lessons = std::array<std::vector<Lesson>, kGuesses>;

using Lags = std::array<double, kGuesses>;

Lessons LessonsOf(const RoastForFit& roast, const Lags& lags, const HeaterPower& power, double crack_f) {
    Lessons out;
    BatchLearner learner(false, lags, power, crack_f);
    learner.on_lesson = [&out](std::size_t guess, const Terms& mean, double ror) { out[guess].push_back({mean, ror}); };
    learner.LearnRoast(roast.heating, roast.gap_seconds);
    return out;
}

// The batch that `lessons` show, the rates held: the rate seen is
// speed·(a - shift·b), a the rate the rates give and b how much less it is
// a °F cooler, so speed and speed·shift come from a least-squares fit of
// two unknowns, drawn towards the usual batch.
BatchDifference FitDifference(const BeanRateModel& rates, const std::vector<Lesson>& lessons) {
    constexpr double w = 1.0 / (kLessonSpread * kLessonSpread);
    // Normal equations in (speed, q = speed·shift), with their priors.
    double aa = 1.0 / (kSpeedSpread * kSpeedSpread), ab = 0, bb = 1.0 / (kShiftSpreadF * kShiftSpreadF);
    double ar = 1.0 / (kSpeedSpread * kSpeedSpread), br = 0;
    for (const Lesson& l : lessons) {
        const double a = rates.Rate(l.mean);
        const double b = a - rates.Rate(BeanRateModel::Shifted(l.mean, 1.0));
        aa += w * a * a;
        ab -= w * a * b;
        bb += w * b * b;
        ar += w * a * l.ror;
        br -= w * b * l.ror;
    }
    const double det = aa * bb - ab * ab;
    if (!(det > 0)) return {};
    const double speed = std::clamp((ar * bb - ab * br) / det, kSlowest, kFastest);
    const double q = (aa * br - ab * ar) / det;
    return {speed, std::clamp(q / speed, -kLargestShiftF, kLargestShiftF)};
}

// The rates that every roast's lessons show, each with its batch.
BeanRateModel FitRates(const std::vector<const std::vector<Lesson>*>& lessons,
                       const std::vector<BatchDifference>& batches) {
    BeanRateModel::LeastSquares fit;
    for (std::size_t r = 0; r < lessons.size(); ++r) {
        const BatchDifference& b = batches[r];
        for (const Lesson& l : *lessons[r]) {
            Terms row = BeanRateModel::Shifted(l.mean, b.shift_f);
            for (double& t : row) t *= b.speed;
            fit.Add(row, l.ror);
        }
    }
    return fit.Solve();
}

// The batches centred on their mean: the usual batch is speed 1, shift 0.
void Centre(std::vector<BatchDifference>& batches) {
    double log_speed = 0, shift = 0;
    for (const BatchDifference& b : batches) {
        log_speed += std::log(b.speed);
        shift += b.shift_f;
    }
    const double n = static_cast<double>(batches.size());
    for (BatchDifference& b : batches) {
        b.speed /= std::exp(log_speed / n);
        b.shift_f -= shift / n;
    }
}

BatchModel WithBatch(BatchModel model, const BatchDifference& b) {
    model.speed = b.speed;
    model.shift_f = b.shift_f;
    return model;
}

}  // namespace

double SquaredMisses::Rms() const { return count > 0 ? std::sqrt(sum_sq / count) : 0.0; }

std::vector<double> WaterDuring(const RoastForFit& roast, int seconds, double crack_f) {
    std::vector<double> water{1.0};
    // Over each second, at the beans as last read; none read yet, none
    // leaves.
    double bean_f = -std::numeric_limits<double>::infinity();
    if (!roast.heating.empty() && roast.heating.front().bean_f) bean_f = *roast.heating.front().bean_f;
    for (int s = 1; s <= seconds; ++s) {
        water.push_back(bean_water::After(water.back(), bean_f, 1.0, crack_f));
        if (const std::optional<double> read = BeanAt(roast.heating, s, roast.gap_seconds)) bean_f = *read;
    }
    return water;
}

std::vector<double> PredictRoast(const BatchModel& model, const RoastForFit& roast) {
    if (roast.heating.empty() || !roast.heating.front().bean_f) return {};
    const int seconds = static_cast<int>(roast.heating.back().seconds);
    return PredictBeans(model, BeanState{0.0, static_cast<double>(*roast.heating.front().bean_f)},
                        SentDuring(roast.heating, seconds));
}

SquaredMisses PredictionMisses(const BatchModel& model, const RoastForFit& roast, int from_seconds) {
    SquaredMisses m;
    const std::vector<double> beans = PredictRoast(model, roast);
    for (std::size_t s = static_cast<std::size_t>(std::max(from_seconds, 0)); s < beans.size(); ++s) {
        const std::optional<double> read = BeanAt(roast.heating, static_cast<double>(s), roast.gap_seconds);
        if (!read) continue;
        const double miss = beans[s] - *read;
        m.sum_sq += miss * miss;
        ++m.count;
    }
    return m;
}

namespace {

// The best fit of the roaster at each of `lags`, its heater's levels giving
// `power`, and its squared misses.
std::optional<std::pair<RoasterFit, double>> FitAtLags(const std::vector<RoastForFit>& roasts, const Lags& lags,
                                                       const HeaterPower& power, double crack_f) {
    std::vector<Lessons> all;
    for (const RoastForFit& r : roasts) all.push_back(LessonsOf(r, lags, power, crack_f));
    std::optional<std::pair<RoasterFit, double>> best;
    for (std::size_t g = 0; g < kGuesses; ++g) {
        std::vector<const std::vector<Lesson>*> lessons;
        std::size_t taught = 0;
        for (const Lessons& l : all) {
            lessons.push_back(&l[g]);
            taught += l[g].size();
        }
        if (taught == 0) return std::nullopt;
        std::vector<BatchDifference> batches(roasts.size());
        BeanRateModel rates = FitRates(lessons, batches);
        for (int round = 1; round < kRounds && roasts.size() > 1; ++round) {
            for (std::size_t r = 0; r < roasts.size(); ++r) batches[r] = FitDifference(rates, *lessons[r]);
            Centre(batches);
            rates = FitRates(lessons, batches);
        }
        BatchModel roaster{rates, lags[g]};
        roaster.power = power;
        roaster.crack_f = crack_f;
        SquaredMisses misses;
        for (std::size_t r = 0; r < roasts.size(); ++r)
            misses.Add(PredictionMisses(WithBatch(roaster, batches[r]), roasts[r]));
        if (!best || misses.sum_sq < best->second) best.emplace(RoasterFit{roaster, batches, misses.Rms()}, misses.sum_sq);
    }
    return best;
}

// The best fit with the heater's levels giving `power`: its lag guessed
// coarsely first, then finer between the neighbours of the best guess.
std::optional<std::pair<RoasterFit, double>> FitWithPower(const std::vector<RoastForFit>& roasts,
                                                          const HeaterPower& power, double crack_f) {
    std::optional<std::pair<RoasterFit, double>> best = FitAtLags(roasts, BatchLearner::kHeaterLags, power, crack_f);
    if (!best) return std::nullopt;
    const Lags& coarse = BatchLearner::kHeaterLags;
    const double lag = best->first.roaster.heater_lag;
    const std::size_t at = static_cast<std::size_t>(std::find(coarse.begin(), coarse.end(), lag) - coarse.begin());
    const double low = at > 0 ? coarse[at - 1] : 0.0;
    const double high = at + 1 < kGuesses ? coarse[at + 1] : 2.0 * lag;
    Lags fine{};
    for (std::size_t i = 0; i < kGuesses; ++i) fine[i] = low + (high - low) * static_cast<double>(i + 1) / (kGuesses + 1);
    if (std::optional<std::pair<RoasterFit, double>> finer = FitAtLags(roasts, fine, power, crack_f);
        finer && finer->second < best->second)
        best = std::move(finer);
    return best;
}

}  // namespace

HeaterPower PowerOfRates(const BeanRateModel& rates) {
    // What each level adds to the rate at fan 5 and 300 °F, as a share of
    // what level 3 adds, in levels.
    std::array<double, 4> rate{};
    for (int k = 0; k <= 3; ++k) rate[static_cast<std::size_t>(k)] = rates.Rate(BeanRateModel::TermsAt(k, 5.0, 300.0));
    HeaterPower power;
    for (std::size_t k = 1; k <= 3; ++k)
        if (!(rate[k] > rate[k - 1])) return power;
    for (std::size_t k = 1; k < 3; ++k) power.of_level[k] = 3.0 * (rate[k] - rate[0]) / (rate[3] - rate[0]);
    return power;
}

std::optional<RoasterFit> FitRoaster(const std::vector<RoastForFit>& roasts, double crack_f) {
    // The heater's power per level as the rates say, the rates fitted again
    // with it, until that does no better.
    std::optional<std::pair<RoasterFit, double>> best = FitWithPower(roasts, HeaterPower{}, crack_f);
    for (int round = 0; round < kPowerRounds && best; ++round) {
        std::optional<std::pair<RoasterFit, double>> next =
            FitWithPower(roasts, PowerOfRates(best->first.roaster.rates), crack_f);
        if (!next || !(next->second < best->second)) break;
        best = std::move(next);
    }
    if (!best) return std::nullopt;
    RoasterFit& fit = best->first;
    // How the batches spread about the usual one (they are centred on it).
    if (fit.batches.size() > 1) {
        double speed = 0, shift = 0;
        for (const BatchDifference& b : fit.batches) {
            speed += std::log(b.speed) * std::log(b.speed);
            shift += b.shift_f * b.shift_f;
        }
        const double n = static_cast<double>(fit.batches.size() - 1);
        fit.roaster.speed_spread = std::clamp(std::sqrt(speed / n), kLeastSpeedSpread, kSpeedSpread);
        fit.roaster.shift_spread_f = std::clamp(std::sqrt(shift / n), kLeastShiftSpreadF, kShiftSpreadF);
    }
    return std::move(fit);
}

namespace {

// A batch under way is read by foreseeing kAheadSeconds from every
// kEverySeconds of its readings after the first kSettleSeconds, from the
// reading there: how the model then misses is how this batch differs
// from the usual one, over the stretch a prediction of the rest of the
// roast spans. A miss of kAheadMissF (°F RMS) over such a stretch counts
// as much as a batch a prior's spread from the usual one.
constexpr int kAheadSeconds = 90;
constexpr int kEverySeconds = 15;
constexpr int kSettleSeconds = 30;
constexpr double kAheadMissF = 2.0;

// The misses, weighed as said, of `model` on `roast`, with `heater` the
// heater at each second by the model's lag, `water` the water left in the
// beans and `sent` the values sent.
std::vector<double> AheadMisses(const BatchModel& model, const RoastForFit& roast, const std::vector<double>& heater,
                                const std::vector<double>& water, const std::vector<SentValues>& sent) {
    const BeanPredictor predict(model);
    std::vector<double> misses;
    int stretches = 0;
    const int end = static_cast<int>(sent.size());
    for (int from = kSettleSeconds; from + kEverySeconds <= end; from += kEverySeconds) {
        const std::optional<double> read = BeanAt(roast.heating, from, roast.gap_seconds);
        if (!read) continue;
        ++stretches;
        BeanState state{heater[static_cast<std::size_t>(from)], *read, water[static_cast<std::size_t>(from)]};
        for (int s = from; s < std::min(end, from + kAheadSeconds); ++s) {
            predict.Second(state, sent[static_cast<std::size_t>(s)].fan, sent[static_cast<std::size_t>(s)].heat);
            if (const std::optional<double> now = BeanAt(roast.heating, s + 1, roast.gap_seconds))
                misses.push_back(state.bean_f - *now);
        }
    }
    // Each stretch counts once, whatever its length.
    const double scale =
        misses.empty() ? 0.0 : std::sqrt(stretches / static_cast<double>(misses.size())) / kAheadMissF;
    for (double& m : misses) m *= scale;
    return misses;
}

}  // namespace

BatchModel FitBatch(const BatchModel& roaster, const RoastForFit& roast) {
    if (roast.heating.empty()) return roaster;
    const int seconds = static_cast<int>(roast.heating.back().seconds);
    const std::vector<SentValues> sent = SentDuring(roast.heating, seconds);
    if (seconds < kSettleSeconds + kEverySeconds) return roaster;
    std::vector<double> heater{0.0};
    for (const SentValues& v : sent)
        heater.push_back(HeaterAfter(heater.back(), v.heat, 1.0, roaster.heater_lag, roaster.power));
    const std::vector<double> water = WaterDuring(roast, seconds, roaster.crack_f);
    // Gauss-Newton over the speed and the shift, the prior among the
    // residuals.
    BatchDifference b;
    auto residuals = [&](const BatchDifference& at) {
        std::vector<double> r = AheadMisses(WithBatch(roaster, at), roast, heater, water, sent);
        r.push_back((at.speed - 1.0) / roaster.speed_spread);
        r.push_back(at.shift_f / roaster.shift_spread_f);
        return r;
    };
    auto cost = [](const std::vector<double>& r) {
        double c = 0;
        for (double x : r) c += x * x;
        return c;
    };
    std::vector<double> r = residuals(b);
    double now = cost(r);
    for (int round = 0; round < 8; ++round) {
        const std::vector<double> rs = residuals({b.speed + 1e-3, b.shift_f});
        const std::vector<double> rd = residuals({b.speed, b.shift_f + 0.1});
        double ss = 0, sd = 0, dd = 0, gs = 0, gd = 0;
        for (std::size_t i = 0; i < r.size(); ++i) {
            const double js = (rs[i] - r[i]) / 1e-3, jd = (rd[i] - r[i]) / 0.1;
            ss += js * js;
            sd += js * jd;
            dd += jd * jd;
            gs += js * r[i];
            gd += jd * r[i];
        }
        const double det = ss * dd - sd * sd;
        if (!(det > 0)) break;
        double step = 1.0;
        bool better = false;
        for (int halving = 0; halving < 6 && !better; ++halving, step /= 2) {
            const BatchDifference next{std::clamp(b.speed - step * (dd * gs - sd * gd) / det, kSlowest, kFastest),
                                       std::clamp(b.shift_f - step * (ss * gd - sd * gs) / det, -kLargestShiftF,
                                                  kLargestShiftF)};
            const std::vector<double> rn = residuals(next);
            if (cost(rn) < now) {
                b = next;
                r = rn;
                now = cost(rn);
                better = true;
            }
        }
        if (!better) break;
    }
    return WithBatch(roaster, b);
}
