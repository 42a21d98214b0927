// Writing Artisan's .alog files (see artisan_profile.h).
#include <algorithm>
#include <cmath>

#include "artisan_dates.h"
#include "artisan_profile.h"
#include "python_literal.h"
#include "roast_log_names.h"
#include "roast_notes.h"

namespace {

// Artisan's event types, as it names them by default; the console's fan is
// its Air and the heat its Burner.
constexpr int kAirType = 0;
constexpr int kBurnerType = 3;
const char* const kEventTypes = "['Air', 'Drum', 'Damper', 'Burner', '--']";
// Lines the console's header keeps that stay on this computer: where the
// profile's file lies.
const std::string kLocalOnlyKeys[] = {roastkey::kProfileFile};

// Artisan keeps a slider's value v as v / 10 + 1 (0 as 0).
double InternalValue(int level) { return level == 0 ? 0.0 : level / 10.0 + 1.0; }

std::string Join(const std::vector<std::string>& items) {
    std::string out = "[";
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0) out += ", ";
        out += items[i];
    }
    return out + "]";
}

template <typename Each>
std::string ListOf(const std::vector<RoastSample>& samples, Each each) {
    std::vector<std::string> items;
    items.reserve(samples.size());
    for (const RoastSample& s : samples) items.push_back(each(s));
    return Join(items);
}

std::string Whole(long long value) { return std::to_string(value); }

// The file's dictionary, a key a line.
class DictText {
public:
    void Add(const std::string& key, const std::string& value) {
        text_ += (text_.empty() ? "{" : ",\n ") + PyQuote(key) + ": " + value;
    }
    std::string Done() const { return (text_.empty() ? "{" : text_) + "}\n"; }

private:
    std::string text_;
};

double MedianSpacing(const std::vector<RoastSample>& samples) {
    if (samples.size() < 2) return 0.5;
    std::vector<double> spacing;
    for (std::size_t i = 1; i < samples.size(); ++i) spacing.push_back(samples[i].seconds - samples[i - 1].seconds);
    const auto middle = spacing.begin() + static_cast<std::ptrdiff_t>(spacing.size() / 2);
    std::nth_element(spacing.begin(), middle, spacing.end());
    return std::max(0.1, std::round(*middle * 10.0) / 10.0);
}

}  // namespace

std::string ArtisanFileName(const RoastLog& log) {
    std::string name = SuggestedLogName(log);
    if (name.size() > kLogExtension.size()) name.resize(name.size() - kLogExtension.size());
    return name + kArtisanExtension;
}

std::string ArtisanProfileText(const RoastLog& log, bool celsius) {
    const std::vector<RoastSample>& samples = log.samples;
    const RoastNotes notes = NotesOf(log);
    auto degrees = [celsius](std::optional<int32_t> fahrenheit) {
        if (!fahrenheit) return std::string("-1.0");
        return PyFloatRounded(celsius ? (*fahrenheit - 32.0) * 5.0 / 9.0 : *fahrenheit, 1);
    };
    DictText d;
    d.Add("mode", PyQuote(celsius ? "C" : "F"));
    const std::string profile = log.Get(roastkey::kProfile);
    d.Add("title", PyQuote(notes.bean.empty() ? profile : notes.bean));
    d.Add("beans", PyQuote(notes.bean));
    d.Add("weight", "[" + PyFloat(notes.green_g.value_or(0)) + ", " + PyFloat(notes.roasted_g.value_or(0)) + ", 'g']");
    d.Add("roastertype", PyQuote("Kavolo QL-900"));
    d.Add("roastingnotes", PyQuote(notes.text));
    d.Add("cuppingnotes", PyQuote(""));
    bool has_offset = false;
    if (const std::optional<LocalDateTime> start = ParseIsoDateTime(log.Get(roastkey::kStart), has_offset)) {
        d.Add("roastdate", PyQuote(TextDate(*start)));
        d.Add("roastisodate", PyQuote(IsoDate(*start)));
        d.Add("roasttime", PyQuote(ClockTime(*start)));
        d.Add("roastepoch", Whole(EpochSeconds(*start)));
        // As Python's time.timezone: seconds west of UTC.
        if (has_offset) d.Add("roasttzoffset", Whole(-60LL * start->utc_offset_minutes));
    }
    d.Add("samplinginterval", PyFloat(MedianSpacing(samples)));

    // The marks at their samples; CHARGE is the first sample, where the
    // console's roast began.
    int timeindex[8] = {samples.empty() ? -1 : 0, 0, 0, 0, 0, 0, 0, 0};
    const std::pair<MarkKind, int> positions[] = {{MarkKind::DryEnd, 1},
                                                  {MarkKind::FirstCrack, 2},
                                                  {MarkKind::FirstCrackEnd, 3},
                                                  {MarkKind::SecondCrack, 4},
                                                  {MarkKind::Drop, 6}};
    for (const auto& [kind, position] : positions)
        if (const std::optional<RoastMark> mark = log.marks.Find(kind))
            timeindex[position] = static_cast<int>(ArtisanMarkIndex(samples, mark->seconds));
    std::vector<std::string> indices;
    for (int index : timeindex) indices.push_back(Whole(index));
    d.Add("timeindex", Join(indices));

    d.Add("timex", ListOf(samples, [](const RoastSample& s) { return PyFloat(s.seconds); }));
    d.Add("temp1", ListOf(samples, [](const RoastSample&) { return std::string("-1.0"); }));
    d.Add("temp2", ListOf(samples, [&](const RoastSample& s) { return degrees(s.bean_f); }));

    // Each change of fan and heat.
    std::vector<std::string> at, types, values, strings;
    int32_t fan = kLevelUnknown, heat = kLevelUnknown;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        auto event = [&](int type, int32_t level) {
            at.push_back(Whole(static_cast<long long>(i)));
            types.push_back(Whole(type));
            values.push_back(PyFloat(InternalValue(level)));
            strings.push_back(PyQuote(std::to_string(level)));
        };
        if (samples[i].fan != kLevelUnknown && samples[i].fan != fan) event(kAirType, fan = samples[i].fan);
        if (samples[i].heat != kLevelUnknown && samples[i].heat != heat) event(kBurnerType, heat = samples[i].heat);
    }
    d.Add("specialevents", Join(at));
    d.Add("specialeventstype", Join(types));
    d.Add("specialeventsvalue", Join(values));
    d.Add("specialeventsStrings", Join(strings));
    d.Add("etypes", kEventTypes);
    // No extra devices; Artisan's own export looks for these.
    for (const char* key : {"extradevices", "extraname1", "extraname2", "extratimex", "extratemp1", "extratemp2",
                            "extramathexpression1", "extramathexpression2"})
        d.Add(key, "[]");

    // The computed times (from CHARGE) and temperatures at the marks.
    std::vector<std::string> computed;
    auto put = [&](const std::string& key, const std::string& value) {
        computed.push_back(PyQuote(key) + ": " + value);
    };
    if (!samples.empty()) {
        const double charge = samples.front().seconds;
        if (samples.front().bean_f) put("CHARGE_BT", degrees(samples.front().bean_f));
        const std::pair<int, const char*> named[] = {{1, "DRY"}, {2, "FCs"}, {3, "FCe"}, {4, "SCs"}, {6, "DROP"}};
        std::optional<double> times[8];
        for (const auto& [position, name] : named) {
            if (timeindex[position] <= 0) continue;
            const RoastSample& s = samples[static_cast<std::size_t>(timeindex[position])];
            times[position] = s.seconds - charge;
            put(std::string(name) + "_time", PyFloatRounded(*times[position], 1));
            if (s.bean_f) put(std::string(name) + "_BT", degrees(s.bean_f));
        }
        const double total = times[6].value_or(samples.back().seconds - charge);
        put("totaltime", PyFloatRounded(total, 1));
        if (times[1]) put("dryphasetime", PyFloatRounded(*times[1], 1));
        if (times[1] && times[2]) put("midphasetime", PyFloatRounded(*times[2] - *times[1], 1));
        if (times[2] && times[6]) put("finishphasetime", PyFloatRounded(*times[6] - *times[2], 1));
    }
    if (const std::optional<double> loss = notes.WeightLoss()) put("weight_loss", PyFloatRounded(*loss, 1));
    std::string computed_text = "{";
    for (std::size_t i = 0; i < computed.size(); ++i) computed_text += (i > 0 ? ", " : "") + computed[i];
    d.Add("computed", computed_text + "}");

    // What only the console reads back.
    std::vector<std::string> header, marks;
    for (const RoastHeaderLine& line : log.header)
        if (std::find(std::begin(kLocalOnlyKeys), std::end(kLocalOnlyKeys), line.key) == std::end(kLocalOnlyKeys))
            header.push_back("[" + PyQuote(line.key) + ", " + PyQuote(line.value) + "]");
    for (const RoastMark& mark : log.marks.list())
        marks.push_back("[" + PyQuote(MarkName(mark.kind)) + ", " + PyFloat(mark.seconds) + ", " +
                        (mark.bean_f ? Whole(*mark.bean_f) : "None") + "]");
    auto optional_whole = [](std::optional<int32_t> v) { return v ? Whole(*v) : std::string("None"); };
    auto level = [](int32_t v) { return v == kLevelUnknown ? std::string("None") : Whole(v); };
    std::string extras = "{'header': " + Join(header) + ",\n  'marks': " + Join(marks);
    extras += ",\n  'step': " + ListOf(samples, [](const RoastSample& s) { return Whole(s.step); });
    extras += ",\n  'state': " + ListOf(samples, [](const RoastSample& s) { return Whole(s.machine_state); });
    extras += ",\n  'phase': " + ListOf(samples, [](const RoastSample& s) { return Whole(s.run_phase); });
    extras += ",\n  'fan': " + ListOf(samples, [&](const RoastSample& s) { return level(s.fan); });
    extras += ",\n  'heat': " + ListOf(samples, [&](const RoastSample& s) { return level(s.heat); });
    extras += ",\n  'time_left': " + ListOf(samples, [](const RoastSample& s) { return Whole(s.time_left_units); });
    extras += ",\n  'shown': " + ListOf(samples, [&](const RoastSample& s) { return optional_whole(s.shown_f); });
    extras += ",\n  'ror': " + ListOf(samples, [](const RoastSample& s) {
                  return s.ror_f_per_min ? PyFloat(*s.ror_f_per_min) : std::string("None");
              });
    d.Add(kConsoleExtrasKey, extras + "}");
    return d.Done();
}
