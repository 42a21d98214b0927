#include "bean_options.h"

#include <charconv>
#include <cmath>
#include <optional>
#include <sstream>

namespace {
// `text` as a number, whatever the locale; none unless all of it reads.
std::optional<double> Number(const std::string& text) {
    double v = 0;
    const char* end = text.data() + text.size();
    const auto [at, ec] = std::from_chars(text.data(), end, v);
    if (ec != std::errc() || at != end || !std::isfinite(v)) return std::nullopt;
    return v;
}

// Reads `value` into `out` when it lies in [low, high]; `range` says so.
std::string SetInRange(double& out, const std::string& name, const std::string& value, double low, double high,
                       const std::string& range) {
    const std::optional<double> v = Number(value);
    if (!v || *v < low || *v > high) return "--" + name + " takes a number " + range;
    out = *v;
    return {};
}
}  // namespace

const std::vector<BeanOption>& BeanOptions() {
    static const std::vector<BeanOption> options{
        {"airflow", "simple|hot-air", "simple, or hot air whose fan brakes late (simple)"},
        {"room", "F", "the room in °F, where the beans start (70)"},
        {"batch-scale", "F", "the beans' time constants times F (1)"},
        {"heat-scale", "F", "each heat level's rise times F (1)"},
        {"fan-effect", "normal|reversed", "simple model: more fan heats faster, or slower (normal)"},
        {"heater-lag", "S", "seconds the heater takes to answer (0)"},
    };
    return options;
}

std::string SetBeanOption(BeanResponse& beans, const std::string& name, const std::string& value) {
    if (name == "room") return SetInRange(beans.room_f, name, value, -40, 150, "from -40 to 150 (°F)");
    if (name == "batch-scale") return SetInRange(beans.batch_scale, name, value, 0.1, 10, "from 0.1 to 10");
    if (name == "heat-scale") return SetInRange(beans.heat_scale, name, value, 0.1, 10, "from 0.1 to 10");
    if (name == "heater-lag") return SetInRange(beans.heater_lag_seconds, name, value, 0, 600, "of seconds from 0 to 600");
    if (name == "airflow") {
        if (value == "simple") beans.airflow = Airflow::Simple;
        else if (value == "hot-air") beans.airflow = Airflow::HotAir;
        else return "--airflow takes simple or hot-air";
        return {};
    }
    if (name == "fan-effect") {
        if (value == "normal") beans.fan_effect = 1.0;
        else if (value == "reversed") beans.fan_effect = -1.0;
        else return "--fan-effect takes normal or reversed";
        return {};
    }
    return "--" + name + " is not an option of the simulated roaster";
}

std::string SimulatedRoasterName(const BeanResponse& beans) {
    std::ostringstream name;
    name.imbue(std::locale::classic());
    name << "Simulated (" << (beans.airflow == Airflow::HotAir ? "hot air" : "simple");
    if (beans.batch_scale != 1.0) name << ", batch x" << beans.batch_scale;
    if (beans.heat_scale != 1.0) name << ", heat x" << beans.heat_scale;
    if (beans.airflow == Airflow::Simple && beans.fan_effect < 0) name << ", fan reversed";
    if (beans.heater_lag_seconds != 0.0) name << ", heater lag " << beans.heater_lag_seconds << " s";
    name << ")";
    return name.str();
}
