#include "batch_learner.h"

#include <algorithm>
#include <cmath>

#include "bean_prediction.h"

namespace {
// How long a guess's misses are remembered, seconds (a time constant).
constexpr double kMissMemorySeconds = 90.0;
// How much a guess's recent misses count against it: over the memory lie
// some seven stretches that tell something new, each read about 4 °F a
// minute off (one standard deviation), so the guess is as likely as
// exp(-7.5 · miss / (2 · 4²)).
constexpr double kEvidencePerMiss = 7.5 / (2.0 * 16.0);
// A new batch: the share of the first guesses' uncertainty added back.
constexpr double kNewBatchDoubt = 2.0;
// A fit without drift learns from a stretch this often, seconds.
constexpr double kFitLessonSeconds = 2.0;
// Readings this many at the end are averaged for the bean temperature now.
constexpr std::size_t kSmoothedReadings = 5;
}  // namespace

BatchLearner::BatchLearner(bool drifts) : BatchLearner(drifts, kHeaterLags) {}

BatchLearner::BatchLearner(bool drifts, const std::array<double, kGuesses>& lags, const HeaterPower& power,
                           double crack_f)
    : drifts_(drifts), power_(power), crack_f_(crack_f) {
    for (std::size_t i = 0; i < kGuesses; ++i) guesses_[i].lag = lags[i];
}

void BatchLearner::Heat(double seconds, int heat) {
    const double dt = seconds - now_;
    if (dt > 0) {
        // The heat sent until now acted over the time that passed; a new
        // value sent with this reading acts from here on.
        for (Guess& g : guesses_) g.heater = HeaterAfter(g.heater, heat_, dt, g.lag, power_);
        now_ = seconds;
    }
    heat_ = heat;
}

void BatchLearner::Reading(double seconds, double bean_f, int fan) {
    if (!points_.empty() && seconds <= points_.back().seconds) return;
    // The water left the beans as they were at the last reading.
    if (water_seconds_ >= 0 && seconds > water_seconds_)
        water_ = bean_water::After(water_, water_bean_f_, seconds - water_seconds_, crack_f_);
    water_seconds_ = seconds;
    water_bean_f_ = bean_f;
    Point p{seconds, bean_f, fan, bean_water::Leaving(water_, bean_f, crack_f_), {}};
    for (std::size_t i = 0; i < kGuesses; ++i) p.heater[i] = guesses_[i].heater;
    points_.push_back(p);
    while (points_.size() > 2 && points_.back().seconds - points_[1].seconds >= kStretchSeconds) points_.pop_front();
    const Point& first = points_.front();
    // A fit without drift learns a lesson every few seconds: the stretches
    // overlap, and one every reading would tell it little more.
    const double gap = drifts_ ? 0.0 : kFitLessonSeconds;
    if (p.seconds - first.seconds >= 0.75 * kStretchSeconds && (last_lesson_ < 0 || p.seconds - last_lesson_ >= gap))
        Teach(first, p);
}

void BatchLearner::Teach(const Point& from, const Point& to) {
    const double span = to.seconds - from.seconds;
    const double ror = (to.bean_f - from.bean_f) / span * 60.0;
    const double since = last_lesson_ < 0 ? 0.0 : to.seconds - last_lesson_;
    const double keep = std::exp(-std::max(since, 0.5) / kMissMemorySeconds);
    last_lesson_ = to.seconds;
    for (std::size_t m = 0; m < kGuesses; ++m) {
        Guess& g = guesses_[m];
        // The mean of the terms over the stretch, point to point.
        BeanRateModel::Terms mean{};
        for (std::size_t i = 1; i < points_.size(); ++i) {
            const Point& a = points_[i - 1];
            const Point& b = points_[i];
            const double w = (b.seconds - a.seconds) / span / 2.0;
            const auto ta = BeanRateModel::TermsAt(power_.Level(a.heater[m]), a.fan, a.bean_f, a.water_leaving);
            const auto tb = BeanRateModel::TermsAt(power_.Level(b.heater[m]), b.fan, b.bean_f, b.water_leaving);
            for (int k = 0; k < BeanRateModel::kTerms; ++k) mean[k] += w * (ta[k] + tb[k]);
        }
        if (on_lesson) on_lesson(m, mean, ror);
        const double drift = g.last_lesson < 0 || !drifts_ ? 0.0 : to.seconds - g.last_lesson;
        const double miss = ror - g.model.Learn(mean, ror, drift);
        g.miss = keep * g.miss + (1.0 - keep) * miss * miss;
        g.last_lesson = to.seconds;
    }
}

std::array<double, BatchLearner::kGuesses> BatchLearner::Belief() const {
    double least = guesses_[0].miss;
    for (const Guess& g : guesses_) least = std::min(least, g.miss);
    std::array<double, kGuesses> w{};
    double sum = 0;
    for (std::size_t i = 0; i < kGuesses; ++i) sum += w[i] = std::exp(-kEvidencePerMiss * (guesses_[i].miss - least));
    for (double& x : w) x /= sum;
    return w;
}

const BatchLearner::Guess& BatchLearner::Best() const {
    const auto belief = Belief();
    return guesses_[static_cast<std::size_t>(std::max_element(belief.begin(), belief.end()) - belief.begin())];
}

void BatchLearner::Break() { points_.clear(); }

void BatchLearner::LearnRoast(const std::vector<RoastSample>& heating, double gap_seconds) {
    if (!std::all_of(heating.begin(), heating.end(), LevelsKnown)) return;
    double last = -1.0;
    for (const RoastSample& s : heating) {
        Heat(s.seconds, s.heat);
        if (s.bean_f && (last < 0 || s.seconds - last <= gap_seconds))
            Reading(s.seconds, *s.bean_f, s.fan);
        else
            Break();
        last = s.seconds;
    }
}

void BatchLearner::NewBatch(double seconds) {
    Break();
    for (Guess& g : guesses_) {
        g.model.Doubt(kNewBatchDoubt);
        g.heater = 0;
        g.last_lesson = -1.0;
    }
    last_lesson_ = -1.0;
    now_ = seconds;
    heat_ = 0;
    water_ = 1.0;
    water_seconds_ = -1.0;
}

double BatchLearner::UnbrokenSeconds() const {
    return points_.size() < 2 ? 0.0 : points_.back().seconds - points_.front().seconds;
}

double BatchLearner::BeanNow() const {
    // The mean of the last readings, carried to the last one's time by the
    // rise over the stretch.
    const Point& last = points_.back();
    const std::size_t n = std::min(kSmoothedReadings, points_.size());
    if (n < 2) return last.bean_f;
    const Point& first = points_.front();
    const double slope = last.seconds > first.seconds ? (last.bean_f - first.bean_f) / (last.seconds - first.seconds) : 0.0;
    double sum = 0;
    for (std::size_t i = points_.size() - n; i < points_.size(); ++i)
        sum += points_[i].bean_f + slope * (last.seconds - points_[i].seconds);
    return sum / static_cast<double>(n);
}
