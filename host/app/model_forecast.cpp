#include "model_forecast.h"

#include <QFileInfo>
#include <cmath>

#include "console.h"
#include "forecast_text.h"
#include "live_roast_curve.h"
#include "roast_notes.h"
#include "roast_program.h"
#include "roast_recorder.h"
#include "roaster_model_keeper.h"

namespace {

// The beans' temperature now is looked at to this step, °F: the forecast
// is not made again for every degree the idle roaster drifts.
constexpr double kStartStepF = 5.0;
// Without a reading of green beans, they are taken to start at this, °F.
constexpr double kUsualStartF = 70.0;

QString FromStd(const std::string& text) { return QString::fromStdString(text); }

// The values the running program will send each second from now to the
// end of its heating: the running step's for the time it has left, then
// the steps after it.
std::vector<SentValues> RestOfRun(const Console& c) {
    const ControllerState& s = c.state;
    std::vector<SentValues> rest;
    const int left = std::max(0, s.roast_time * 6 - s.tick_count / 2);
    rest.insert(rest.end(), static_cast<std::size_t>(left), SentValues{s.fan_level, s.heat_level});
    for (const StepNode* n = c.working.head; n; n = n->next) {
        if (IsCoolingStatus(n->status)) break;
        if (static_cast<int32_t>(n->index) <= s.step_index) continue;
        rest.insert(rest.end(), static_cast<std::size_t>(std::max(0, n->time) * 6), SentValues{n->fan, n->heat});
    }
    return rest;
}

}  // namespace

std::optional<double> BeansReading(const ControllerState& s) {
    if (!s.link_ok || s.temperature <= 0 || s.temperature > kMaxSmoothedTemperature) return std::nullopt;
    return static_cast<double>(s.temperature);
}

ModelForecast::ModelForecast(const Console& console, RoasterModelKeeper& keeper, RoastRecorder& recorder,
                             LiveRoastCurve& curve, std::function<bool()> celsius)
    : console_(console), keeper_(keeper), recorder_(recorder), curve_(curve), celsius_(std::move(celsius)) {}

std::string ModelForecast::Bean() const {
    std::string bean = recorder_.recording() ? recorder_.log().Get(kBeanKey) : std::string();
    if (bean.empty() && curve_.window() && curve_.window()->background())
        bean = curve_.window()->background()->Get(kBeanKey);
    return bean;
}

FirstCrackTemperature ModelForecast::FirstCrack() const {
    const LearntRoaster* learnt = keeper_.learnt();
    return learnt ? FirstCrackFor(learnt->first_cracks, Bean()) : FirstCrackTemperature{};
}

void ModelForecast::ModelChanged() {
    ++model_;
    if (!running_) ForeseeProfile(console_, false);
    Show();
}

void ModelForecast::Planned(const std::string& name, int steps, double rms_f) {
    planned_name_ = name;
    planned_steps_ = steps;
    planned_rms_f_ = rms_f;
    Show();
}

void ModelForecast::OnHandled(const Console& console) {
    const ControllerState& s = console.state;
    profile_name_ = s.profile_name;
    const bool running = s.machine_state == kRun;
    if (running != running_) {
        running_ = running;
        live_.reset();
        last_live_ = -1e9;
        if (running) {
            // The curve foreseen before the run stays, from where it began.
            recording_ = recorder_.recordings_begun();
            ForeseeProfile(console, true);
        }
        Show();
    }
    if (!running) {
        ForeseeProfile(console, false);
        return;
    }
    if (s.run_phase == kHeat) ForeseeRest(console);
}

void ModelForecast::ForeseeProfile(const Console& console, bool force) {
    const LearntRoaster* learnt = keeper_.learnt();
    const ControllerState& s = console.state;
    Inputs in;
    in.model = model_;
    in.steps = HeatingStepsOf(console.working);
    const std::optional<double> reading_f = BeansReading(s);
    // As a run begins, from its first reading; between runs, from green
    // beans, not from the last batch still cooling.
    const double now_f = (force ? reading_f : NextBatchStart(reading_f)).value_or(kUsualStartF);
    in.start_f = kStartStepF * std::round(now_f / kStartStepF);
    in.first_crack_f = FirstCrack().bean_f;
    if (!force && inputs_ && *inputs_ == in) return;
    inputs_ = in;
    if (!learnt || !learnt->Predicts() || in.steps.empty())
        profile_.reset();
    else
        profile_ = ForecastProgram(*learnt->model, force ? now_f : in.start_f, in.steps, in.first_crack_f);
    curve_.ShowForecast(profile_);
    Show();
}

void ModelForecast::ForeseeRest(const Console& console) {
    const LearntRoaster* learnt = keeper_.learnt();
    if (!learnt || !learnt->Predicts() || !recorder_.recording() || recorder_.recordings_begun() != recording_) return;
    const RoastLog& log = recorder_.log();
    if (log.samples.empty() || log.samples.back().seconds - last_live_ < kLiveEverySeconds) return;
    last_live_ = log.samples.back().seconds;
    RoastHeating heating = HeatingOf(log);
    if (heating.samples.empty() || !std::all_of(heating.samples.begin(), heating.samples.end(), LevelsKnown)) return;
    live_ = ForecastRest(*learnt->model, RoastForFit{std::move(heating.samples), log.gap_seconds}, RestOfRun(console),
                         FirstCrack().bean_f);
    Show();
}

void ModelForecast::Show() {
    const bool celsius = celsius_();
    const LearntRoaster* learnt = keeper_.learnt();
    std::string line = ModelStatusText(learnt, keeper_.learning(), celsius);
    const bool predicts = learnt && learnt->Predicts();
    if (predicts && running_ && live_ && !live_->beans_f.empty())
        line += "   " + LiveForecastText(*live_, celsius);
    else if (predicts && !running_ && profile_)
        line += "   " + ProfileForecastText(*profile_, celsius);
    if (!running_ && !planned_name_.empty() && planned_name_ == profile_name_)
        line += "\n" + PlanText(planned_steps_, planned_rms_f_, celsius);
    std::string tip;
    if (learnt) {
        tip = "The roaster's model, learnt from your roasts on " + learnt->roaster +
              " (the newest " + std::to_string(kMostModelRoasts) +
              " of at least 5 minutes), again after every roast; how near it comes is measured on roasts "
              "held out of its fit, from 1:00 to the drop.\n" +
              FirstCrackSourceText(FirstCrack(), Bean(), celsius) + ".\nIts file: " +
              keeper_.file_path().toStdString() + " (derived; deleted, it is learnt again).";
    }
    curve_.ShowModelText(FromStd(line), FromStd(tip));
    QString why;
    if (!predicts)
        why = QStringLiteral("The roaster model plans once it has learnt from %1 roasts of at least 5 minutes on "
                             "this roaster")
                  .arg(kLeastModelRoasts);
    else if (running_)
        why = QStringLiteral("Not while a roast runs");
    curve_.SetPlanAvailable(why.isEmpty(), why);
}
