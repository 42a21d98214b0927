#include "artisan_roast.h"

#include <algorithm>
#include <cmath>

#include "artisan_dates.h"
#include "controller_state.h"
#include "rate_of_rise.h"
#include "roast_notes.h"
#include "roast_phases.h"
#include "roast_steps.h"

namespace {

constexpr int kLowestFan = 1, kHighestFan = 9;
constexpr int kLowestHeat = 0, kHighestHeat = 3;
// A step's minutes are whole tenths: six seconds.
constexpr double kSecondsATenth = 6.0;

// A text kept on one header line: control characters become spaces.
std::string OneLine(const std::string& text) {
    std::string out;
    for (char ch : text) out += static_cast<unsigned char>(ch) < 0x20 || ch == 0x7F ? ' ' : ch;
    const std::size_t from = out.find_first_not_of(' ');
    return from == std::string::npos ? std::string() : out.substr(from, out.find_last_not_of(' ') - from + 1);
}

// A weight as the notes keep it (one decimal, more than nothing); none
// otherwise.
std::optional<double> Grams(const std::optional<double>& grams) {
    if (!grams || !std::isfinite(*grams)) return std::nullopt;
    const double rounded = std::round(*grams * 10.0) / 10.0;
    if (rounded <= 0 || rounded > 1e6) return std::nullopt;
    return rounded;
}

// The levels the events set, sample by sample, each held until the next
// event of its kind; kLevelUnknown before the first, and throughout for a
// control whose events are not this roaster's levels.
struct Levels {
    std::vector<int32_t> fan, heat;
    bool fan_events = false, heat_events = false;
    bool fan_fits = true, heat_fits = true;
};

Levels LevelsOf(const ArtisanRoast& roast) {
    const std::size_t n = roast.times.size();
    Levels levels;
    levels.fan.assign(n, kLevelUnknown);
    levels.heat.assign(n, kLevelUnknown);
    std::vector<ArtisanRoast::Event> events = roast.events;
    std::stable_sort(events.begin(), events.end(),
                     [](const ArtisanRoast::Event& a, const ArtisanRoast::Event& b) { return a.index < b.index; });
    for (const ArtisanRoast::Event& e : events) {
        if (e.control == ArtisanRoast::Control::Fan) {
            levels.fan_events = true;
            levels.fan_fits = levels.fan_fits && e.value >= kLowestFan && e.value <= kHighestFan;
        } else {
            levels.heat_events = true;
            levels.heat_fits = levels.heat_fits && e.value >= kLowestHeat && e.value <= kHighestHeat;
        }
    }
    int32_t fan = kLevelUnknown, heat = kLevelUnknown;
    std::size_t next = 0;
    for (std::size_t i = 0; i < n; ++i) {
        for (; next < events.size() && events[next].index == i; ++next) {
            if (events[next].control == ArtisanRoast::Control::Fan && levels.fan_fits) fan = events[next].value;
            if (events[next].control == ArtisanRoast::Control::Heat && levels.heat_fits) heat = events[next].value;
        }
        levels.fan[i] = fan;
        levels.heat[i] = heat;
    }
    return levels;
}

// The steps the roast ran, from its samples' levels: a step for every
// change of heat or fan while it heated, each as long as it lasted in
// whole tenths of a minute, then the cooling from the drop to `cool_end`
// (COOL, or the last sample). Empty, with `why`, when the levels do not
// make them.
std::vector<StepNode> StepsOf(const RoastLog& log, const Levels& levels, double cool_end, std::string& why) {
    const std::optional<RoastMark> drop = log.marks.Find(MarkKind::Drop);
    if (!levels.fan_events && !levels.heat_events) {
        why = "its file has no Burner and Air events to make a program of";
        return {};
    }
    if (!levels.heat_fits) {
        why = "its Burner events are not this roaster's heat levels 0 to 3";
        return {};
    }
    if (!levels.fan_fits) {
        why = "its Air events are not this roaster's fan levels 1 to 9";
        return {};
    }
    if (!drop) {
        why = "its file has no DROP, where the cooling begins";
        return {};
    }
    for (const RoastSample& s : log.samples) {
        if (s.fan == kLevelUnknown || (s.run_phase == kHeat && s.heat == kLevelUnknown)) {
            why = "its Burner and Air events do not say the heat and fan from CHARGE on";
            return {};
        }
    }
    std::vector<StepNode> steps;
    // Each heating step from its first sample (the first from CHARGE) to the next.
    long begun = 0;
    const RoastSample* step = nullptr;
    auto close = [&](double until) {
        const long end = std::lround(until / kSecondsATenth);
        if (step && end > begun) {
            if (!steps.empty() && steps.back().fan == step->fan && steps.back().heat == step->heat)
                steps.back().time += static_cast<int32_t>(end - begun);
            else
                steps.push_back({0, step->fan, static_cast<int32_t>(end - begun), step->heat, StepWaiting, nullptr});
            begun = end;
        }
    };
    for (const RoastSample& s : log.samples) {
        if (s.run_phase != kHeat) break;
        if (step && (s.fan != step->fan || s.heat != step->heat)) close(s.seconds);
        if (!step || s.fan != step->fan || s.heat != step->heat) step = &s;
    }
    close(drop->seconds);
    // The cooling, at the fan of its first sample.
    const auto cooling =
        std::find_if(log.samples.begin(), log.samples.end(), [](const RoastSample& s) { return s.run_phase != kHeat; });
    const int32_t cooling_fan = cooling != log.samples.end() ? cooling->fan : log.samples.back().fan;
    const long tenths = std::lround(cool_end / kSecondsATenth) - std::lround(drop->seconds / kSecondsATenth);
    steps.push_back({0, cooling_fan, static_cast<int32_t>(std::max(0L, tenths)), 0, CoolWaiting, nullptr});
    uint32_t index = 0;
    for (StepNode& n : steps) n.index = ++index;
    return steps;
}

}  // namespace

std::optional<int32_t> ArtisanFahrenheit(double value, bool celsius) {
    if (!std::isfinite(value)) return std::nullopt;
    const double fahrenheit = std::round(celsius ? value * 9.0 / 5.0 + 32.0 : value);
    if (fahrenheit < 0 || fahrenheit > 999) return std::nullopt;
    return static_cast<int32_t>(fahrenheit);
}

std::size_t ArtisanFirstSample(const ArtisanRoast& roast) {
    return roast.charge > 0 ? static_cast<std::size_t>(roast.charge) : 0;
}

double ArtisanTimeOffset(const ArtisanRoast& roast) {
    if (roast.charge > 0) return roast.times[static_cast<std::size_t>(roast.charge)];
    // No time before the recording began.
    return roast.times.empty() ? 0.0 : std::min(0.0, roast.times.front());
}

RoastLogParse RoastLogFromArtisan(const ArtisanRoast& roast) {
    const std::size_t n = roast.times.size();
    if (roast.bean.size() != n) return RoastLogRefused(0, "its temperatures and times differ in number");
    for (std::size_t i = 0; i < n; ++i) {
        if (!std::isfinite(roast.times[i]) || std::abs(roast.times[i]) > 1e7)
            return RoastLogRefused(0, "the time of sample " + std::to_string(i) + " does not read");
        if (i > 0 && roast.times[i] < roast.times[i - 1])
            return RoastLogRefused(0, "the times go backwards at sample " + std::to_string(i));
    }
    if (roast.charge < -1 || (roast.charge >= 0 && static_cast<std::size_t>(roast.charge) >= n))
        return RoastLogRefused(0, "CHARGE lies outside its samples");
    for (int index : roast.marks)
        if (index < 0 || (index > 0 && static_cast<std::size_t>(index) >= n))
            return RoastLogRefused(0, "a mark lies outside its samples");
    for (const ArtisanRoast::Event& e : roast.events)
        if (e.index >= n) return RoastLogRefused(0, "an event lies outside its samples");

    const std::size_t first = ArtisanFirstSample(roast);
    const double offset = ArtisanTimeOffset(roast);
    const int drop = roast.marks[kArtisanDrop];
    const bool dropped = drop > 0 && static_cast<std::size_t>(drop) >= first;
    const Levels levels = LevelsOf(roast);

    RoastLogParse out;
    RoastLog& log = out.log;
    RateOfRise rate;
    int32_t step = 1;
    for (std::size_t i = first; i < n; ++i) {
        RoastSample s;
        s.seconds = roast.times[i] - offset;
        if (roast.bean[i]) s.bean_f = ArtisanFahrenheit(*roast.bean[i], roast.celsius);
        if (s.bean_f) {
            rate.Add(s.seconds, *s.bean_f);
            if (const std::optional<double> r = rate.PerMinute()) s.ror_f_per_min = std::round(*r * 10.0) / 10.0;
        }
        s.machine_state = kRun;
        s.run_phase = dropped && i > static_cast<std::size_t>(drop) ? kCool : kHeat;
        s.fan = levels.fan[i];
        s.heat = levels.heat[i];
        // A new step at every change of the levels while heating; the cooling is one more.
        if (!log.samples.empty()) {
            const RoastSample& last = log.samples.back();
            if (s.run_phase != last.run_phase || (s.run_phase == kHeat && (s.fan != last.fan || s.heat != last.heat)))
                ++step;
        }
        s.step = step;
        log.samples.push_back(s);
    }

    const MarkKind kinds[] = {MarkKind::DryEnd, MarkKind::FirstCrack, MarkKind::FirstCrackEnd, MarkKind::SecondCrack};
    const int indices[] = {roast.marks[kArtisanDry], roast.marks[kArtisanFcs], roast.marks[kArtisanFce],
                           roast.marks[kArtisanScs]};
    auto mark = [&](MarkKind kind, int index) {
        if (index <= 0 || static_cast<std::size_t>(index) < first) return;
        const RoastSample& s = log.samples[static_cast<std::size_t>(index) - first];
        log.marks.Put({kind, s.seconds, s.bean_f});
    };
    for (std::size_t k = 0; k < 4; ++k) mark(kinds[k], indices[k]);
    if (dropped) mark(MarkKind::Drop, drop);
    log.marks.ForgetOrder();

    log.Set(roastkey::kProgram, roast.program.empty() ? "Artisan" : OneLine(roast.program));
    if (const std::string title = OneLine(roast.title); !title.empty()) log.Set(roastkey::kProfile, title);
    if (roast.recording_start) {
        LocalDateTime start = ShiftedBy(*roast.recording_start, std::llround(offset));
        log.Set(roastkey::kStart, roast.start_has_offset ? IsoDateTime(start) : IsoLocalDateTime(start));
    }
    if (!log.samples.empty()) {
        std::string why;
        const int cool = roast.marks[kArtisanCool];
        const double cool_end =
            cool > drop && dropped ? roast.times[static_cast<std::size_t>(cool)] - offset : log.samples.back().seconds;
        const std::vector<StepNode> steps = StepsOf(log, levels, cool_end, why);
        if (steps.empty())
            log.Set(roastkey::kRunStepsUnknown, why);
        else
            log.Set(roastkey::kRunSteps, StepsText(steps));
        WritePhases(log, ComputePhases(log.marks.list(), log.samples.back().seconds, false));
    }
    RoastNotes notes;
    // The beans on one line, theirs joined by commas; the title stands in for them.
    std::string beans, line;
    for (std::size_t at = 0; at <= roast.beans.size(); ++at) {
        if (at < roast.beans.size() && roast.beans[at] != '\n') {
            line += roast.beans[at];
            continue;
        }
        if (!OneLine(line).empty()) beans += (beans.empty() ? "" : ", ") + OneLine(line);
        line.clear();
    }
    notes.bean = beans.empty() ? OneLine(roast.title) : beans;
    notes.green_g = Grams(roast.green_g);
    notes.roasted_g = Grams(roast.roasted_g);
    // Line breaks are kept; other control characters would not stay as they are.
    for (char ch : roast.notes)
        if (ch != '\r') notes.text += ch != '\n' && (static_cast<unsigned char>(ch) < 0x20 || ch == 0x7F) ? ' ' : ch;
    WriteNotes(log, notes);
    log.gap_seconds = GapSecondsFor(log.samples);
    out.ok = true;
    return out;
}
