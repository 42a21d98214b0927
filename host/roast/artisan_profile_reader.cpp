// Reading Artisan's .alog files (see artisan_profile.h).
#include <algorithm>
#include <cmath>

#include "artisan_dates.h"
#include "artisan_profile.h"
#include "artisan_roast.h"
#include "controller_state.h"
#include "python_literal.h"
#include "roast_marks.h"
#include "roast_notes.h"

namespace {

// The names Artisan's users give the event types that are the fan and the
// heat, as lower case; Artisan's own are "Air" and "Burner".
const char* const kFanNames[] = {"air", "fan", "airflow", "blower"};
const char* const kHeatNames[] = {"burner", "heat", "heater", "power", "gas"};
const std::vector<std::string> kDefaultEventTypes = {"Air", "Drum", "Damper", "Burner", "--"};
// Artisan's custom event types are the first four; the fifth has no value.
constexpr std::size_t kValuedEventTypes = 4;

struct Failure {
    std::string problem;
};

std::string Quoted(const std::string& key) { return "'" + key + "'"; }

const PyValue* ListAt(const PyValue& dict, const std::string& key, bool required) {
    const PyValue* v = dict.Find(key);
    if (!v) {
        if (required) throw Failure{Quoted(key) + " is missing"};
        return nullptr;
    }
    if (!v->IsSequence()) throw Failure{Quoted(key) + " is not a list"};
    return v;
}

// A list of numbers; None (where allowed) and -1 stand for no value.
std::vector<std::optional<double>> Numbers(const PyValue& list, const std::string& key, bool none_allowed) {
    std::vector<std::optional<double>> out;
    out.reserve(list.items.size());
    for (const PyValue& item : list.items) {
        if (item.IsNumber())
            out.push_back(item.Number());
        else if (item.kind == PyValue::Kind::None && none_allowed)
            out.push_back(std::nullopt);
        else
            throw Failure{Quoted(key) + " holds something other than numbers"};
    }
    return out;
}

void SameLength(const PyValue& list, const std::string& key, std::size_t n) {
    if (list.items.size() != n)
        throw Failure{Quoted(key) + " has " + std::to_string(list.items.size()) + " values, 'timex' " +
                      std::to_string(n)};
}

int WholeAt(const PyValue& item, const std::string& key) {
    if (item.kind != PyValue::Kind::Int || item.whole < -1'000'000'000 || item.whole > 1'000'000'000)
        throw Failure{Quoted(key) + " holds something other than whole numbers"};
    return static_cast<int>(item.whole);
}

std::string TextAt(const PyValue& dict, const std::string& key) {
    const PyValue* v = dict.Find(key);
    return v && v->kind == PyValue::Kind::Str ? v->text : std::string();
}

std::string Lower(std::string text) {
    for (char& ch : text)
        if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
    const std::size_t from = text.find_first_not_of(' ');
    return from == std::string::npos ? std::string() : text.substr(from, text.find_last_not_of(' ') - from + 1);
}

bool Named(const std::string& name, const char* const* names, std::size_t count) {
    return std::find(names, names + count, Lower(name)) != names + count;
}

// Artisan keeps a slider's value v (0 to 100) as v / 10 + 1, and 0 as 0.
int ExternalValue(double internal) {
    if (internal >= -1.0 && internal <= 1.0) return 0;
    const double tens = std::round(std::abs(internal) * 10.0) - 10.0;
    return static_cast<int>(std::clamp(internal < 0 ? -tens : tens, -1e6, 1e6));
}

void ReadMarks(const PyValue& d, ArtisanRoast& a) {
    const PyValue* list = ListAt(d, "timeindex", false);
    if (!list) return;
    const std::size_t n = a.times.size();
    for (std::size_t i = 0; i < list->items.size() && i < 8; ++i) {
        const int index = WholeAt(list->items[i], "timeindex");
        const bool charge = i == 0;
        if (index < (charge ? -1 : 0) || (index > 0 && static_cast<std::size_t>(index) >= n) ||
            (charge && index == 0 && n == 0))
            throw Failure{"'timeindex' points at sample " + std::to_string(index) + ", outside its " +
                          std::to_string(n) + " samples"};
        if (charge)
            a.charge = index;
        else
            a.marks[i - 1] = index;
    }
}

void ReadEvents(const PyValue& d, ArtisanRoast& a) {
    const PyValue* indices = ListAt(d, "specialevents", false);
    const PyValue* types = ListAt(d, "specialeventstype", false);
    const PyValue* values = ListAt(d, "specialeventsvalue", false);
    if (!indices && !types && !values) return;
    if (!indices || !types || !values) throw Failure{"its events lack one of their lists"};
    const std::size_t count = indices->items.size();
    if (types->items.size() != count || values->items.size() != count)
        throw Failure{"its events' lists differ in length"};
    if (const PyValue* strings = ListAt(d, "specialeventsStrings", false); strings && strings->items.size() != count)
        throw Failure{"its events' lists differ in length"};
    std::vector<std::string> names = kDefaultEventTypes;
    if (const PyValue* etypes = ListAt(d, "etypes", false)) {
        names.clear();
        for (const PyValue& name : etypes->items) names.push_back(name.kind == PyValue::Kind::Str ? name.text : "");
    }
    for (std::size_t i = 0; i < count; ++i) {
        const int index = WholeAt(indices->items[i], "specialevents");
        if (index < 0 || static_cast<std::size_t>(index) >= a.times.size())
            throw Failure{"an event at sample " + std::to_string(index) + ", outside its " +
                          std::to_string(a.times.size()) + " samples"};
        const int type = WholeAt(types->items[i], "specialeventstype");
        if (!values->items[i].IsNumber()) throw Failure{"'specialeventsvalue' holds something other than numbers"};
        if (type < 0 || static_cast<std::size_t>(type) >= kValuedEventTypes ||
            static_cast<std::size_t>(type) >= names.size())
            continue;
        const std::string& name = names[static_cast<std::size_t>(type)];
        ArtisanRoast::Event e;
        e.index = static_cast<std::size_t>(index);
        e.value = ExternalValue(values->items[i].Number());
        if (Named(name, kFanNames, std::size(kFanNames)))
            e.control = ArtisanRoast::Control::Fan;
        else if (Named(name, kHeatNames, std::size(kHeatNames)))
            e.control = ArtisanRoast::Control::Heat;
        else
            continue;
        a.events.push_back(e);
    }
}

void ReadNotes(const PyValue& d, ArtisanRoast& a) {
    a.title = TextAt(d, "title");
    a.beans = TextAt(d, "beans");
    a.notes = TextAt(d, "roastingnotes");
    const std::string cupping = TextAt(d, "cuppingnotes");
    if (!cupping.empty()) a.notes += (a.notes.empty() ? "" : "\n\n") + std::string("Cupping: ") + cupping;
    if (const std::string version = TextAt(d, "version"); !version.empty()) a.program = "Artisan " + version;
    const PyValue* weight = d.Find("weight");
    if (weight && weight->IsSequence() && weight->items.size() >= 3 && weight->items[2].kind == PyValue::Kind::Str) {
        const std::string unit = Lower(weight->items[2].text);
        const double grams = unit == "g"    ? 1.0
                             : unit == "kg" ? 1000.0
                             : unit == "lb" ? 453.59237
                             : unit == "oz" ? 28.349523125
                                            : 0.0;
        if (grams > 0 && weight->items[0].IsNumber() && weight->items[0].Number() > 0)
            a.green_g = weight->items[0].Number() * grams;
        if (grams > 0 && weight->items[1].IsNumber() && weight->items[1].Number() > 0)
            a.roasted_g = weight->items[1].Number() * grams;
    }
    // The date: as written for people, or else as seconds since 1970.
    const std::string time = TextAt(d, "roasttime");
    const PyValue* epoch = d.Find("roastepoch");
    const bool epoch_read = epoch && epoch->kind == PyValue::Kind::Int && std::abs(epoch->whole) < 1'000'000'000'000;
    a.recording_start = ParseDateAndTime(TextAt(d, "roastisodate"), time);
    if (a.recording_start && epoch_read) {
        // The local time and the same moment in UTC give the offset, summer
        // time included.
        const std::int64_t offset = EpochSeconds(*a.recording_start) - epoch->whole;
        if (std::abs(offset) <= 14 * 3600 && offset % 900 == 0) {
            a.recording_start->utc_offset_minutes = static_cast<int>(offset / 60);
            a.start_has_offset = true;
        }
    }
    if (!a.recording_start) {
        const PyValue* west = d.Find("roasttzoffset");
        if (epoch_read) {
            // Artisan's offset is the seconds west of UTC, as Python's time.timezone.
            const int offset = west && west->kind == PyValue::Kind::Int && std::abs(west->whole) < 86400
                                   ? static_cast<int>(-west->whole / 60)
                                   : 0;
            a.recording_start = FromEpochSeconds(epoch->whole, offset);
            a.start_has_offset = west != nullptr;
        }
    }
    if (!a.recording_start) a.recording_start = ParseTextDateAndTime(TextAt(d, "roastdate"), time);
}

ArtisanRoast ReadRoast(const PyValue& d) {
    ArtisanRoast a;
    const PyValue* mode = d.Find("mode");
    if (!mode) throw Failure{"it does not say its unit ('mode')"};
    if (mode->kind != PyValue::Kind::Str || (mode->text != "C" && mode->text != "F"))
        throw Failure{"its unit ('mode') is not 'C' or 'F'"};
    a.celsius = mode->text == "C";
    const PyValue& timex = *ListAt(d, "timex", true);
    for (const std::optional<double>& t : Numbers(timex, "timex", false)) a.times.push_back(*t);
    const PyValue& temp2 = *ListAt(d, "temp2", true);
    SameLength(temp2, "temp2", a.times.size());
    for (const std::optional<double>& t : Numbers(temp2, "temp2", true))
        a.bean.push_back(t && *t != -1.0 ? t : std::nullopt);
    if (const PyValue* temp1 = ListAt(d, "temp1", false)) {
        SameLength(*temp1, "temp1", a.times.size());
        Numbers(*temp1, "temp1", true);
    }
    ReadMarks(d, a);
    ReadEvents(d, a);
    ReadNotes(d, a);
    return a;
}

// --- what the console wrote beside Artisan's keys ---------------------------------

bool WholeIn(const PyValue& v, std::int64_t low, std::int64_t high) {
    return v.kind == PyValue::Kind::Int && v.whole >= low && v.whole <= high;
}

// The console's own list `key` of the extras: one item a sample of the file,
// each passing `fits`.
template <typename Fits>
const PyValue* SampleList(const PyValue& extras, const char* key, std::size_t n, Fits fits) {
    const PyValue* list = extras.Find(key);
    if (!list || !list->IsSequence() || list->items.size() != n) return nullptr;
    for (const PyValue& item : list->items)
        if (!fits(item)) return nullptr;
    return list;
}

bool IsKeyText(const std::string& key) {
    if (key.empty()) return false;
    for (char ch : key)
        if (!((ch >= 'a' && ch <= 'z') || (ch >= '0' && ch <= '9') || ch == '_')) return false;
    return true;
}

bool HasControlCharacter(const std::string& text) {
    return std::any_of(text.begin(), text.end(),
                       [](char ch) { return static_cast<unsigned char>(ch) < 0x20 || ch == 0x7F; });
}

// Gives `log` (read from Artisan's keys of a file with `n` samples, the
// first kept `first`) what the console wrote under its own key, when all
// of it reads; else leaves it as it is.
void ApplyExtras(const PyValue& d, std::size_t n, std::size_t first, RoastLog& log) {
    const PyValue* extras = d.Find(kConsoleExtrasKey);
    if (!extras || extras->kind != PyValue::Kind::Dict) return;
    auto level = [](std::int64_t high) {
        return [high](const PyValue& v) { return v.kind == PyValue::Kind::None || WholeIn(v, 0, high); };
    };
    auto word = [](std::string (*name)(int32_t)) {
        return [name](const PyValue& v) {
            return WholeIn(v, -1000, 1000) && name(static_cast<int32_t>(v.whole)) != std::to_string(v.whole);
        };
    };
    const PyValue* step = SampleList(*extras, "step", n, [](const PyValue& v) { return WholeIn(v, 0, 255); });
    const PyValue* state = SampleList(*extras, "state", n, word(StateWord));
    const PyValue* phase = SampleList(*extras, "phase", n, word(PhaseWord));
    const PyValue* fan = SampleList(*extras, "fan", n, level(9));
    const PyValue* heat = SampleList(*extras, "heat", n, level(3));
    const PyValue* time_left =
        SampleList(*extras, "time_left", n, [](const PyValue& v) { return WholeIn(v, 0, 1'000'000); });
    const PyValue* shown = SampleList(
        *extras, "shown", n, [](const PyValue& v) { return v.kind == PyValue::Kind::None || WholeIn(v, 0, 65535); });
    const PyValue* ror = SampleList(*extras, "ror", n, [](const PyValue& v) {
        return v.kind == PyValue::Kind::None || (v.IsNumber() && std::abs(v.Number()) <= 1e5);
    });
    const PyValue* header = extras->Find("header");
    const PyValue* marks = extras->Find("marks");
    if (!step || !state || !phase || !fan || !heat || !time_left || !shown || !ror || !header ||
        !header->IsSequence() || !marks || !marks->IsSequence())
        return;
    std::vector<RoastHeaderLine> lines;
    for (const PyValue& line : header->items) {
        if (!line.IsSequence() || line.items.size() != 2 || line.items[0].kind != PyValue::Kind::Str ||
            line.items[1].kind != PyValue::Kind::Str)
            return;
        RoastHeaderLine kept{line.items[0].text, line.items[1].text};
        if (!IsKeyText(kept.key) || kept.key == kEventKey || HasControlCharacter(kept.value) ||
            !HeaderValueProblem(kept).empty())
            return;
        lines.push_back(std::move(kept));
    }
    std::vector<RoastMark> exact;
    for (const PyValue& mark : marks->items) {
        if (!mark.IsSequence() || mark.items.size() != 3 || mark.items[0].kind != PyValue::Kind::Str ||
            !mark.items[1].IsNumber() ||
            !(mark.items[2].kind == PyValue::Kind::None || WholeIn(mark.items[2], 0, 65535)))
            return;
        const std::optional<MarkKind> kind = MarkKindNamed(mark.items[0].text);
        const double seconds = mark.items[1].Number();
        if (!kind || !std::isfinite(seconds) || seconds < 0 || seconds > 1e7) return;
        RoastMark m{*kind, seconds, std::nullopt};
        if (mark.items[2].kind == PyValue::Kind::Int) m.bean_f = static_cast<int32_t>(mark.items[2].whole);
        exact.push_back(m);
    }
    for (std::size_t j = 0; j < log.samples.size(); ++j) {
        RoastSample& s = log.samples[j];
        const std::size_t i = first + j;
        s.step = static_cast<int32_t>(step->items[i].whole);
        s.machine_state = static_cast<int32_t>(state->items[i].whole);
        s.run_phase = static_cast<int32_t>(phase->items[i].whole);
        s.fan = fan->items[i].kind == PyValue::Kind::None ? kLevelUnknown : static_cast<int32_t>(fan->items[i].whole);
        s.heat =
            heat->items[i].kind == PyValue::Kind::None ? kLevelUnknown : static_cast<int32_t>(heat->items[i].whole);
        s.time_left_units = static_cast<int32_t>(time_left->items[i].whole);
        s.shown_f = shown->items[i].kind == PyValue::Kind::None
                        ? std::nullopt
                        : std::optional<int32_t>(static_cast<int32_t>(shown->items[i].whole));
        s.ror_f_per_min =
            ror->items[i].kind == PyValue::Kind::None ? std::nullopt : std::optional<double>(ror->items[i].Number());
    }
    log.header = std::move(lines);
    // A mark to the tenth of a second, where Artisan's index still puts it.
    for (const RoastMark& m : exact) {
        const std::optional<RoastMark> indexed = log.marks.Find(m.kind);
        if (indexed && ArtisanMarkIndex(log.samples, m.seconds) == ArtisanMarkIndex(log.samples, indexed->seconds))
            log.marks.Put(m);
    }
    log.marks.ForgetOrder();
}

}  // namespace

std::size_t ArtisanMarkIndex(const std::vector<RoastSample>& samples, double seconds) {
    if (samples.size() < 2) return 0;
    const auto after = std::upper_bound(samples.begin(), samples.end(), seconds,
                                        [](double t, const RoastSample& s) { return t < s.seconds; });
    const std::size_t taken = after == samples.begin() ? 0 : static_cast<std::size_t>(after - samples.begin()) - 1;
    return std::max<std::size_t>(1, taken);
}

RoastLogParse ParseArtisanProfile(const std::string& text) {
    const PyParse parsed = ParsePythonLiteral(text);
    if (!parsed.ok) return RoastLogRefused(parsed.line, "not an Artisan profile: " + parsed.problem);
    if (parsed.value.kind != PyValue::Kind::Dict)
        return RoastLogRefused(0, "not an Artisan profile: it is not one dictionary");
    ArtisanRoast roast;
    try {
        roast = ReadRoast(parsed.value);
    } catch (const Failure& failure) {
        return RoastLogRefused(0, "not a readable Artisan profile: " + failure.problem);
    }
    RoastLogParse read = RoastLogFromArtisan(roast);
    if (!read.ok) {
        read.problem = "not a readable Artisan profile: " + read.problem;
        return read;
    }
    ApplyExtras(parsed.value, roast.times.size(), ArtisanFirstSample(roast), read.log);
    return read;
}
