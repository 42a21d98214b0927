// What the roaster's model foresees, kept in the curve window: between runs
// the current profile's curve from the beans' temperature now (drawn dashed
// again whenever the profile changes: FILE SELECT, EDIT, the panel's edits,
// the step editor, "Roast again", a planned program), and during a run the
// rest of the roast from where the beans are ("First crack in about 1:20",
// "At the drop: about 418 °F"), while the curve foreseen before it stays
// drawn. It watches the console's events for changes of the profile, as
// the recorder does for the run; the model comes from the keeper.
#pragma once

#include <QString>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "console_events.h"
#include "forecast.h"
#include "learnt_roaster.h"

class LiveRoastCurve;
class RoastRecorder;
class RoasterModelKeeper;
struct ControllerState;

// The roaster's reading of the beans: none when it is not heard or the
// reading is no temperature.
std::optional<double> BeansReading(const ControllerState& s);

class ModelForecast final : public ConsoleListener {
public:
    // A forecast during a run is made again this often, seconds of the run.
    static constexpr double kLiveEverySeconds = 5.0;

    // `console` is the one whose events this is told of.
    ModelForecast(const Console& console, RoasterModelKeeper& keeper, RoastRecorder& recorder, LiveRoastCurve& curve,
                  std::function<bool()> celsius);

    void OnHandled(const Console& console) override;
    void OnUnitChanged(bool) override { Show(); }

    // The model changed: everything is foreseen again.
    void ModelChanged();
    // A program was planned and made the profile `name`: what the plan
    // expects is said while it is the current profile.
    void Planned(const std::string& name, int steps, double rms_f);

    // The forecast of the current profile (or, during a run, the one made
    // as it began), and the last one of the rest of a run.
    const std::optional<Forecast>& profile_forecast() const { return profile_; }
    const std::optional<Forecast>& live_forecast() const { return live_; }

private:
    // What the profile's forecast depends on; it is made again when this
    // changes.
    struct Inputs {
        std::vector<ProgramStep> steps;
        double start_f = 0;
        double first_crack_f = 0;
        int model = 0;
        bool operator==(const Inputs& o) const {
            return steps == o.steps && start_f == o.start_f && first_crack_f == o.first_crack_f && model == o.model;
        }
    };
    void ForeseeProfile(const Console& console, bool force);
    void ForeseeRest(const Console& console);
    // The beans being roasted: the notes of the roast under way, else the
    // background's (the roast roasted again or planned for).
    std::string Bean() const;
    FirstCrackTemperature FirstCrack() const;
    // The line and its tooltip, and what the windows allow.
    void Show();

    const Console& console_;
    RoasterModelKeeper& keeper_;
    RoastRecorder& recorder_;
    LiveRoastCurve& curve_;
    std::function<bool()> celsius_;
    int model_ = 0;  // counts the models seen
    std::optional<Inputs> inputs_;
    std::optional<Forecast> profile_;
    std::optional<Forecast> live_;
    bool running_ = false;
    int recording_ = 0;          // the recording the run's forecasts are of
    double last_live_ = -1e9;    // its seconds at the last forecast of the rest
    std::string profile_name_;   // the current profile's
    std::string planned_name_;   // the profile a plan made, and what it expects
    int planned_steps_ = 0;
    double planned_rms_f_ = 0;
};
