#include "learnt_roaster.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <sstream>

#include "roast_marks.h"
#include "roast_notes.h"
#include "roast_program.h"

namespace {

// The first line of a model file, and the version of its form and of the
// fit: a file of another version is fitted again.
const std::string kFileTitle = "# kavolo-roaster roaster model";
constexpr int kFileVersion = 2;

std::string Number(double v) {
    char text[32];
    const auto [end, ec] = std::to_chars(text, text + sizeof text, v);
    return ec == std::errc() ? std::string(text, end) : std::string("nan");
}

bool ReadNumber(const std::string& text, double& out) {
    const char* end = text.data() + text.size();
    const auto [at, ec] = std::from_chars(text.data(), end, out);
    return ec == std::errc() && at == end && std::isfinite(out);
}

// The numbers of `text`, separated by spaces.
std::optional<std::vector<double>> Numbers(const std::string& text) {
    std::vector<double> out;
    std::istringstream words(text);
    std::string word;
    while (words >> word) {
        double v = 0;
        if (!ReadNumber(word, v)) return std::nullopt;
        out.push_back(v);
    }
    return out;
}

}  // namespace

std::optional<RoastForFit> ModelRoastOf(const RoastLog& log) {
    RoastHeating heating = HeatingOf(log);
    if (heating.samples.empty() || !heating.samples.front().bean_f ||
        heating.samples.back().seconds < kShortestModelRoastSeconds ||
        !std::all_of(heating.samples.begin(), heating.samples.end(), LevelsKnown))
        return std::nullopt;
    return RoastForFit{std::move(heating.samples), log.gap_seconds};
}

LearntRoaster LearnRoaster(const std::vector<RoastLog>& logs, std::string roaster) {
    LearntRoaster out;
    out.roaster = std::move(roaster);
    std::vector<RoastForFit> roasts;
    for (const RoastLog& log : logs) {
        if (const std::optional<RoastMark> crack = log.marks.Find(MarkKind::FirstCrack); crack && crack->bean_f)
            out.first_cracks.push_back({log.Get(kBeanKey), static_cast<double>(*crack->bean_f)});
        if (static_cast<int>(roasts.size()) >= kMostModelRoasts) continue;
        if (std::optional<RoastForFit> r = ModelRoastOf(log)) roasts.push_back(std::move(*r));
    }
    out.roasts = static_cast<int>(roasts.size());
    if (out.roasts < kLeastModelRoasts) return out;
    // First crack's water leaves about where the user hears first crack.
    const double crack_f = FirstCrackFor(out.first_cracks, "").bean_f;
    const std::optional<RoasterFit> fit = FitRoaster(roasts, crack_f);
    if (!fit) return out;
    out.model = fit->roaster;
    // Each of the newest held out of a fit of the others, and foreseen as
    // a roast not yet made is: the usual batch, from its first reading.
    SquaredMisses held_out;
    const std::size_t held = std::min<std::size_t>(kHeldOutRoasts, roasts.size());
    for (std::size_t i = 0; i < held; ++i) {
        std::vector<RoastForFit> others;
        for (std::size_t j = 0; j < roasts.size(); ++j)
            if (j != i) others.push_back(roasts[j]);
        if (const std::optional<RoasterFit> without = FitRoaster(others, crack_f))
            held_out.Add(PredictionMisses(without->roaster, roasts[i]));
    }
    if (held_out.count > 0) out.held_out_rms_f = held_out.Rms();
    return out;
}

FirstCrackTemperature FirstCrackFor(const std::vector<FirstCrackMark>& marks, const std::string& bean) {
    FirstCrackTemperature out;
    auto mean_of = [&](bool of_bean) {
        double sum = 0;
        int n = 0;
        for (const FirstCrackMark& m : marks)
            if (!of_bean || m.bean == bean) {
                sum += m.bean_f;
                ++n;
            }
        if (n > 0) out = {sum / n, n, of_bean};
        return n > 0;
    };
    if (!bean.empty() && mean_of(true)) return out;
    mean_of(false);
    return out;
}

std::string LearntRoasterText(const LearntRoaster& learnt) {
    std::string text = kFileTitle + "\n";
    auto line = [&text](const std::string& key, const std::string& value) { text += key + ": " + value + "\n"; };
    line("version", std::to_string(kFileVersion));
    line("roaster", learnt.roaster);
    line("roasts", std::to_string(learnt.roasts));
    line("roasts_key", learnt.roasts_key);
    if (learnt.model) {
        line("heater_lag", Number(learnt.model->heater_lag));
        std::string power;
        for (double p : learnt.model->power.of_level) power += (power.empty() ? "" : " ") + Number(p);
        line("heater_power", power);
        line("batch_spread", Number(learnt.model->speed_spread) + " " + Number(learnt.model->shift_spread_f));
        std::string rates;
        for (double c : learnt.model->rates.coefficients()) rates += (rates.empty() ? "" : " ") + Number(c);
        line("rates", rates);
        // How sure of them it is: a plan keeps where it is sure.
        std::string covariance;
        for (const BeanRateModel::Terms& row : learnt.model->rates.covariance())
            for (double c : row) covariance += (covariance.empty() ? "" : " ") + Number(c);
        line("rates_covariance", covariance);
    }
    if (learnt.held_out_rms_f) line("held_out_rms_f", Number(*learnt.held_out_rms_f));
    for (const FirstCrackMark& m : learnt.first_cracks) line("first_crack", Number(m.bean_f) + " " + m.bean);
    return text;
}

std::optional<LearntRoaster> ParseLearntRoaster(const std::string& text) {
    std::istringstream lines(text);
    std::string line;
    if (!std::getline(lines, line) || line != kFileTitle) return std::nullopt;
    LearntRoaster out;
    bool versioned = false;
    std::optional<double> lag;
    std::optional<std::vector<double>> rates;
    std::optional<std::vector<double>> power;
    std::optional<std::vector<double>> covariance;
    std::optional<std::vector<double>> spread;
    while (std::getline(lines, line)) {
        const std::size_t colon = line.find(": ");
        if (colon == std::string::npos) return std::nullopt;
        const std::string key = line.substr(0, colon);
        const std::string value = line.substr(colon + 2);
        double number = 0;
        if (key == "version") {
            if (value != std::to_string(kFileVersion)) return std::nullopt;
            versioned = true;
        } else if (key == "roaster") {
            out.roaster = value;
        } else if (key == "roasts") {
            if (!ReadNumber(value, number) || number < 0 || number > kMostModelRoasts) return std::nullopt;
            out.roasts = static_cast<int>(number);
        } else if (key == "roasts_key") {
            out.roasts_key = value;
        } else if (key == "heater_lag") {
            if (!ReadNumber(value, number) || number < 0 || number > 1000) return std::nullopt;
            lag = number;
        } else if (key == "rates") {
            rates = Numbers(value);
            if (!rates || rates->size() != static_cast<std::size_t>(BeanRateModel::kTerms)) return std::nullopt;
        } else if (key == "rates_covariance") {
            covariance = Numbers(value);
            constexpr std::size_t kN = BeanRateModel::kTerms;
            if (!covariance || covariance->size() != kN * kN) return std::nullopt;
        } else if (key == "heater_power") {
            power = Numbers(value);
            if (!power || power->size() != 4 || !std::is_sorted(power->begin(), power->end())) return std::nullopt;
        } else if (key == "batch_spread") {
            spread = Numbers(value);
            if (!spread || spread->size() != 2 || !((*spread)[0] > 0) || !((*spread)[1] > 0)) return std::nullopt;
        } else if (key == "held_out_rms_f") {
            if (!ReadNumber(value, number) || number < 0) return std::nullopt;
            out.held_out_rms_f = number;
        } else if (key == "first_crack") {
            const std::size_t space = value.find(' ');
            if (!ReadNumber(value.substr(0, space), number)) return std::nullopt;
            out.first_cracks.push_back({space == std::string::npos ? std::string() : value.substr(space + 1), number});
        } else {
            return std::nullopt;
        }
    }
    if (!versioned || lag.has_value() != rates.has_value() || lag.has_value() != power.has_value() ||
        lag.has_value() != covariance.has_value() || lag.has_value() != spread.has_value())
        return std::nullopt;
    if (rates) {
        BeanRateModel::Terms c{};
        std::copy(rates->begin(), rates->end(), c.begin());
        std::array<BeanRateModel::Terms, BeanRateModel::kTerms> p{};
        for (std::size_t i = 0; i < p.size(); ++i)
            std::copy_n(covariance->begin() + static_cast<std::ptrdiff_t>(i * p.size()), p.size(), p[i].begin());
        out.model = BatchModel{BeanRateModel::WithCoefficients(c, p), *lag};
        std::copy(power->begin(), power->end(), out.model->power.of_level.begin());
        out.model->crack_f = FirstCrackFor(out.first_cracks, "").bean_f;
        out.model->speed_spread = (*spread)[0];
        out.model->shift_spread_f = (*spread)[1];
    }
    return out;
}
