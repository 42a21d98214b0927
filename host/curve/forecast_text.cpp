#include "forecast_text.h"

#include <cmath>
#include <cstdio>

#include "curve_scales.h"
#include "rate_of_rise.h"

namespace {

std::string Unit(bool celsius) { return celsius ? "\u00b0C" : "\u00b0F"; }

// A temperature, whole degrees in the panel's unit.
std::string Degrees(double fahrenheit, bool celsius) {
    return std::to_string(static_cast<int>(std::lround(TemperatureInUnit(fahrenheit, celsius)))) + " " + Unit(celsius);
}

// "1:20": minutes and seconds, no leading zero.
std::string Clock(double seconds) {
    const int s = static_cast<int>(std::lround(std::max(0.0, seconds)));
    char text[16];
    std::snprintf(text, sizeof text, "%d:%02d", s / 60, s % 60);
    return text;
}

}  // namespace

std::string ModelStatusText(const LearntRoaster* learnt, bool learning, bool celsius) {
    const std::string head = "Roaster model: ";
    if (!learnt) return head + (learning ? "learning from your roasts\u2026" : "none yet");
    if (!learnt->Predicts()) {
        const std::string have = learnt->roasts == 1 ? "1 roast" : std::to_string(learnt->roasts) + " roasts";
        return head + have + " of at least 5 minutes on this roaster; it needs " + std::to_string(kLeastModelRoasts) +
               (learning ? " (reading your roasts\u2026)" : "");
    }
    std::string text = head + std::to_string(learnt->roasts) + " roasts";
    if (learnt->held_out_rms_f) {
        const double gap = std::max(1.0, std::round(DegreesInUnit(*learnt->held_out_rms_f, celsius)));
        text += ", predicts them within " + std::to_string(static_cast<int>(gap)) + " " + Unit(celsius);
    }
    if (learning) text += " (learning again\u2026)";
    return text;
}

std::string ProfileForecastText(const Forecast& f, bool celsius) {
    if (f.beans_f.empty()) return {};
    const std::string drop_at = Clock(f.drop_seconds());
    // The temperature first crack is taken at is said with it: the user's
    // own marks, or the default.
    const std::string crack = "first crack (" + Degrees(f.first_crack_f, celsius) + ")";
    if (f.first_crack_seconds)
        return "This profile: " + crack + " at about " + Clock(*f.first_crack_seconds) + ", about " +
               Degrees(f.drop_f(), celsius) + " at the drop (" + drop_at + ")";
    if (f.first_crack_passed) return "This profile: about " + Degrees(f.drop_f(), celsius) + " at the drop (" + drop_at + ")";
    return "This profile: no " + crack + " by the drop, about " + Degrees(f.drop_f(), celsius) + " at " + drop_at;
}

std::string LiveForecastText(const Forecast& f, bool celsius) {
    if (f.beans_f.empty()) return {};
    std::string text;
    if (f.first_crack_seconds)
        text = "First crack in about " + Clock(*f.first_crack_seconds - f.from_seconds) + "   ";
    else if (!f.first_crack_passed)
        text = "No first crack by the drop   ";
    return text + "At the drop: about " + Degrees(f.drop_f(), celsius);
}

std::string FirstCrackSourceText(const FirstCrackTemperature& crack, const std::string& bean, bool celsius) {
    const std::string at = "First crack taken at " + Degrees(crack.bean_f, celsius);
    if (crack.marks == 0) return at + ", as no first crack has been marked yet";
    const std::string marks = crack.marks == 1 ? "your first crack mark" : "your " + std::to_string(crack.marks) + " first crack marks";
    return at + ": the " + (crack.marks == 1 ? "" : std::string("mean of ")) + marks +
           (crack.of_bean ? " for " + bean : std::string());
}

std::string PlanText(int steps, double rms_f, bool celsius) {
    char gap[16];
    std::snprintf(gap, sizeof gap, "%.1f", DegreesInUnit(rms_f, celsius));
    return "Planned program: " + std::to_string(steps) + (steps == 1 ? " step" : " steps") +
           ", expected within " + gap + " " + Unit(celsius) + " of the roast planned for";
}
