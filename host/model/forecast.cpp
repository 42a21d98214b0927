#include "forecast.h"

#include <algorithm>

#include "roast_program.h"

namespace {

// The beans now are read off a straight line through the readings of the
// last this many seconds: one reading is off by up to half a degree.
constexpr double kNowSeconds = 10.0;

void FindFirstCrack(Forecast& f) {
    if (f.beans_f.empty()) return;
    if (f.beans_f.front() >= f.first_crack_f) {
        f.first_crack_passed = true;
        return;
    }
    for (std::size_t s = 1; s < f.beans_f.size(); ++s)
        if (f.beans_f[s] >= f.first_crack_f) {
            // Between the two seconds, as the beans rose.
            const double share = (f.first_crack_f - f.beans_f[s - 1]) / (f.beans_f[s] - f.beans_f[s - 1]);
            f.first_crack_seconds = f.from_seconds + static_cast<double>(s - 1) + share;
            return;
        }
}

// The beans at the last sample of `heating`, by a straight line through
// the readings of its last kNowSeconds.
std::optional<double> BeansNow(const std::vector<RoastSample>& heating) {
    if (heating.empty()) return std::nullopt;
    const double now = heating.back().seconds;
    double n = 0, st = 0, sb = 0, stt = 0, stb = 0;
    for (auto it = heating.rbegin(); it != heating.rend() && now - it->seconds <= kNowSeconds; ++it) {
        if (!it->bean_f) continue;
        const double t = it->seconds - now, b = *it->bean_f;
        n += 1;
        st += t;
        sb += b;
        stt += t * t;
        stb += t * b;
    }
    if (n == 0) return std::nullopt;
    const double det = n * stt - st * st;
    return det > 1e-9 ? (sb * stt - st * stb) / det : sb / n;
}

}  // namespace

std::optional<double> NextBatchStart(std::optional<double> reading_f) {
    if (!reading_f || *reading_f > kWarmestGreenBeansF) return std::nullopt;
    return reading_f;
}

std::vector<ProgramStep> HeatingStepsOf(const CStep_Data& profile) {
    std::vector<ProgramStep> steps;
    for (const StepNode* n = profile.head; n; n = n->next) {
        if (IsCoolingStatus(n->status)) break;
        if (n->time > 0) steps.push_back({n->fan, n->time, n->heat});
    }
    return steps;
}

Forecast ForecastProgram(const BatchModel& model, double start_f, const std::vector<ProgramStep>& steps,
                         double first_crack_f) {
    Forecast f;
    f.first_crack_f = first_crack_f;
    f.beans_f = PredictBeans(model, BeanState{0.0, start_f}, SentOfSteps(steps));
    double at = 0;
    for (std::size_t i = 0; i + 1 < steps.size(); ++i) {
        at += steps[i].tenths * 6.0;
        f.step_seconds.push_back(at);
    }
    FindFirstCrack(f);
    return f;
}

Forecast ForecastRest(const BatchModel& roaster, const RoastForFit& so_far, const std::vector<SentValues>& rest,
                      double first_crack_f) {
    Forecast f;
    f.first_crack_f = first_crack_f;
    const std::optional<double> now_f = BeansNow(so_far.heating);
    if (!now_f) return f;
    const BatchModel batch = FitBatch(roaster, so_far);
    // The heater as the values sent so far have brought it.
    const double now = so_far.heating.back().seconds;
    double heater = 0;
    for (const SentValues& v : SentDuring(so_far.heating, static_cast<int>(now)))
        heater = HeaterAfter(heater, v.heat, 1.0, batch.heater_lag, batch.power);
    f.from_seconds = now;
    const double water = WaterDuring(so_far, static_cast<int>(now), batch.crack_f).back();
    f.beans_f = PredictBeans(batch, BeanState{heater, *now_f, water}, rest);
    FindFirstCrack(f);
    return f;
}
