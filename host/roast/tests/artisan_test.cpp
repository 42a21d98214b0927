// Roasts exchanged with Artisan: the Python literals its .alog files are,
// files built by hand as Artisan writes them (both units, preheat before
// CHARGE, no events, no temp1) and its CSV, the files refused, a roast
// written and read back, with and without what only this console reads,
// and the written file read by Python itself.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

#include "artisan_csv.h"
#include "artisan_profile.h"
#include "python_literal.h"
#include "roast_files.h"
#include "roast_history.h"
#include "roast_log_maker.h"
#include "roast_steps.h"
#include "temp_folder.h"

namespace {

TEST(PythonLiteral, ReadsWhatLiteralEvalReadsAndNothingElse) {
    const PyParse read = ParsePythonLiteral(
        "{'a': (1,), 'b': [], u'c': r'\\d', 'd': 'x' \"y\", 'e': -0x1F, 'f': 1e3, 'g': -.5, # comment\n"
        " 'h': '\\x41\\u00e9\\101\\n\\'', 'i': (2), 'j': True, 'k': None, 'l': '''two\nlines''',}");
    ASSERT_TRUE(read.ok) << read.line << ": " << read.problem;
    const PyValue& d = read.value;
    EXPECT_EQ(d.Find("a")->kind, PyValue::Kind::Tuple);
    EXPECT_EQ(d.Find("a")->items.size(), 1u);
    EXPECT_EQ(d.Find("b")->kind, PyValue::Kind::List);
    EXPECT_EQ(d.Find("c")->text, "\\d");
    EXPECT_EQ(d.Find("d")->text, "xy");
    EXPECT_EQ(d.Find("e")->whole, -31);
    EXPECT_EQ(d.Find("f")->Number(), 1000.0);
    EXPECT_EQ(d.Find("g")->Number(), -0.5);
    EXPECT_EQ(d.Find("h")->text,
              "A\xC3\xA9"
              "A\n'");
    EXPECT_EQ(d.Find("i")->kind, PyValue::Kind::Int);
    EXPECT_TRUE(d.Find("j")->flag);
    EXPECT_EQ(d.Find("k")->kind, PyValue::Kind::None);
    EXPECT_EQ(d.Find("l")->text, "two\nlines");

    const struct {
        std::string text;
        const char* problem;
        int line;
    } refused[] = {
        {"{'a': 1,\n 'b': __import__('os').system('rm')}", "a call of __import__", 2},
        {"{'a': nan}", "the name nan", 1},
        {"{1, 2}", "a set", 1},
        {"[1 + 2]", "an operator", 1},
        {"(1j)", "a complex number", 1},
        {"b'x'", "a b-string", 1},
        {"'open", "without its closing quote", 1},
        {"[0, 0\n", "no closing ]", 2},
        {std::string(100, '[') + std::string(100, ']'), "nested too deeply", 1},
        {"{} {}", "more text after the value", 1},
        {"[007]", "leading zero", 1},
    };
    for (const auto& r : refused) {
        const PyParse parsed = ParsePythonLiteral(r.text);
        EXPECT_FALSE(parsed.ok) << r.text;
        EXPECT_NE(parsed.problem.find(r.problem), std::string::npos) << r.text << ": " << parsed.problem;
        EXPECT_EQ(parsed.line, r.line) << r.text;
    }
    EXPECT_FALSE(ParsePythonLiteral("[" + std::string(10, '0') + std::string(20, ',') + "]").ok);
    PyLimits few;
    few.values = 10;
    EXPECT_NE(ParsePythonLiteral("[1,2,3,4,5,6,7,8,9,10,11]", few).problem.find("too many values"), std::string::npos);
}

// An .alog as Artisan writes one: a sample every two seconds from the
// start of the recording.
struct Alog {
    const char* mode = "C";
    int samples = 300;
    std::function<double(int)> bean;  // of a sample
    std::string timeindex;
    std::string events;  // the event keys, or nothing
    bool temp1 = true;
    std::string notes =
        "'title': 'Morning batch', 'beans': 'Kenya AA\\nWashed', 'weight': [0.25, 0.212, 'Kg'], "
        "'roastingnotes': 'Bright.', 'cuppingnotes': 'Floral', 'roastisodate': '2026-03-01', "
        "'roasttime': '09:15:00', 'version': '2.10.6'";
};

std::string Text(const Alog& a) {
    std::string timex, temp1, temp2;
    for (int i = 0; i < a.samples; ++i) {
        timex += (i ? ", " : "") + std::to_string(i * 2) + ".0";
        temp1 += (i ? ", " : "") + std::string("-1");
        temp2 += (i ? ", " : "") + std::to_string(a.bean(i));
    }
    std::string text = "{'mode': '" + std::string(a.mode) + "', 'timex': [" + timex + "], 'temp2': [" + temp2 + "]";
    if (a.temp1) text += ", 'temp1': [" + temp1 + "]";
    if (!a.timeindex.empty()) text += ", 'timeindex': " + a.timeindex;
    if (!a.events.empty()) text += ", " + a.events;
    return text + ", " + a.notes + "}";
}

const std::string kEvents =
    "'specialevents': [10, 30, 100], 'specialeventstype': [3, 0, 3], 'specialeventsvalue': [1.3, 1.7, 1.2], "
    "'specialeventsStrings': ['3', '7', '2'], 'etypes': ['Air', 'Drum', 'Damper', 'Burner', '--']";

TEST(ArtisanProfile, ReadsWhatArtisanWritesInEitherUnitFromCharge) {
    // Preheat at 180 °C for a minute, CHARGE at sample 30, the beans from 90 °C.
    Alog celsius;
    celsius.bean = [](int i) { return i < 30 ? 180.0 : 90.0 + (i - 30) * 0.5; };
    celsius.timeindex = "[30, 150, 240, 0, 0, 0, 270, 290]";
    celsius.events = kEvents;
    const RoastLogParse c = ParseArtisanProfile(Text(celsius));
    ASSERT_TRUE(c.ok) << c.problem;
    ASSERT_EQ(c.log.samples.size(), 270u);
    EXPECT_EQ(c.log.samples.front().seconds, 0.0);
    EXPECT_EQ(c.log.samples.front().bean_f, 194);  // 90 °C
    EXPECT_EQ(c.log.marks.Find(MarkKind::DryEnd)->seconds, 240.0);
    EXPECT_EQ(c.log.marks.Find(MarkKind::DryEnd)->bean_f, 302);  // 150 °C
    EXPECT_EQ(c.log.marks.Find(MarkKind::Drop)->seconds, 480.0);
    // The heat set during the preheat holds at CHARGE; the fan is set there.
    EXPECT_EQ(c.log.samples.front().heat, 3);
    EXPECT_EQ(c.log.samples.front().fan, 7);
    EXPECT_EQ(c.log.samples[70].heat, 2);
    EXPECT_EQ(c.log.samples[241].run_phase, kCool);
    EXPECT_EQ(c.log.Get(roastkey::kRunSteps), "7/2.3/3, 7/5.7/2, cool 7/0.7");
    EXPECT_EQ(c.log.Get(roastkey::kStart), "2026-03-01T09:16:00");
    EXPECT_EQ(c.log.Get(roastkey::kProfile), "Morning batch");
    EXPECT_EQ(c.log.Get(roastkey::kProgram), "Artisan 2.10.6");
    EXPECT_TRUE(NotesOf(c.log) == (RoastNotes{"Kenya AA, Washed", 250.0, 212.0, "Bright.\n\nCupping: Floral"}));
    EXPECT_EQ(c.log.gap_seconds, 5.0);  // two-second samples draw as one line
    EXPECT_TRUE(c.log.samples[100].ror_f_per_min.has_value());

    // °F, no events, no temp1, the recording begun at CHARGE.
    Alog fahrenheit;
    fahrenheit.mode = "F";
    fahrenheit.samples = 150;
    fahrenheit.bean = [](int i) { return i == 20 ? -1.0 : 200.0 + i; };
    fahrenheit.timeindex = "[0, 60, 100, 0, 0, 0, 140, 0]";
    fahrenheit.temp1 = false;
    const RoastLogParse f = ParseArtisanProfile(Text(fahrenheit));
    ASSERT_TRUE(f.ok) << f.problem;
    ASSERT_EQ(f.log.samples.size(), 150u);
    EXPECT_EQ(f.log.samples[60].seconds, 120.0);
    EXPECT_EQ(f.log.samples[60].bean_f, 260);
    EXPECT_FALSE(f.log.samples[20].bean_f.has_value());  // -1: no reading
    EXPECT_EQ(f.log.marks.Find(MarkKind::FirstCrack)->seconds, 200.0);
    EXPECT_EQ(f.log.samples[10].fan, kLevelUnknown);
    EXPECT_EQ(f.log.samples[10].heat, kLevelUnknown);
    EXPECT_FALSE(f.log.Has(roastkey::kRunSteps));
    EXPECT_EQ(f.log.Get(roastkey::kRunStepsUnknown), "its file has no Burner and Air events to make a program of");
    // What does not say this roaster's levels says nothing.
    Alog percent = fahrenheit;
    percent.events = "'specialevents': [0], 'specialeventstype': [3], 'specialeventsvalue': [8.0]";
    const RoastLogParse p = ParseArtisanProfile(Text(percent));
    ASSERT_TRUE(p.ok) << p.problem;
    EXPECT_EQ(p.log.samples[10].heat, kLevelUnknown);
    EXPECT_EQ(p.log.Get(roastkey::kRunStepsUnknown), "its Burner events are not this roaster's heat levels 0 to 3");
}

TEST(ArtisanProfile, RefusesWhatIsNoProfileSayingWhy) {
    const std::string base = "'mode': 'C', 'timex': [0.0, 2.0, 4.0], 'temp2': [90.0, 91.0, 92.0]";
    const struct {
        std::string text;
        const char* problem;
    } cases[] = {
        {"[0.0, 2.0]", "it is not one dictionary"},
        {"{'mode': 'C', 'timex': list(range(3)), 'temp2': [1, 2, 3]}", "a call of list"},
        {"{'mode': C}", "the name C"},
        {"{'mode': 'K', 'timex': [], 'temp2': []}", "its unit ('mode') is not 'C' or 'F'"},
        {"{'timex': [], 'temp2': []}", "it does not say its unit"},
        {"{'mode': 'C', 'timex': [0.0, 2.0, 4.0], 'temp2': [90.0, 91.0]}", "'temp2' has 2 values, 'timex' 3"},
        {"{" + base + ", 'temp1': [1, 2, 3, 4]}", "'temp1' has 4 values, 'timex' 3"},
        {"{" + base + ", 'timeindex': [5, 0, 0, 0, 0, 0, 0, 0]}", "'timeindex' points at sample 5, outside its 3"},
        {"{" + base + ", 'timeindex': [0, 0, 3, 0, 0, 0, 0, 0]}", "points at sample 3"},
        {"{" + base + ", 'specialevents': [1], 'specialeventstype': [0, 3], 'specialeventsvalue': [1.5]}",
         "differ in length"},
        {"{" + base + ", 'specialevents': [7], 'specialeventstype': [0], 'specialeventsvalue': [1.5]}",
         "an event at sample 7, outside its 3 samples"},
        {"{'mode': 'C', 'timex': [0.0, 4.0, 2.0], 'temp2': [90.0, 91.0, 92.0]}", "the times go backwards at sample 2"},
        {"{'mode': 'C', 'timex': ['0', 2.0, 4.0], 'temp2': [90.0, 91.0, 92.0]}", "'timex' holds something other"},
    };
    for (const auto& c : cases) {
        const RoastLogParse read = ParseArtisanProfile(c.text);
        EXPECT_FALSE(read.ok) << c.text;
        EXPECT_NE(read.problem.find(c.problem), std::string::npos) << c.text << "\n  " << read.problem;
    }
}

// A roast as the console records one, with what a roaster adds to it: marks
// between samples, a split step, notes, a followed run, a sensor error and
// a time without readings.
RoastLog RecordedRoast() {
    MadeRoast made;
    made.notes = {"Kenya AA", 250.0, 212.0, "Bright.\nA little fast: \"cut\" 'heat'\\"};
    RoastLog log = MakeRoastLog(made);
    log.Set(roastkey::kProfileFile, "/home/me/Light roast.coff");
    log.Set("follow", "2026-12-01_091500 Kenya AA.csv");
    log.Set("follow_end", "600.2 drop");
    log.marks.Put({MarkKind::FirstCrackEnd, 455.3, 404});
    log.marks.ForgetOrder();
    for (RoastSample& s : log.samples) {
        if (s.seconds >= 200 && s.run_phase == kHeat) ++s.step;    // split at 200 s, same fan and heat
        if (s.seconds > 100 && s.seconds < 104) s.bean_f.reset();  // a sensor error
    }
    log.samples.erase(std::remove_if(log.samples.begin(), log.samples.end(),
                                     [](const RoastSample& s) { return s.seconds > 150 && s.seconds < 156; }),
                      log.samples.end());
    return log;
}

// The text without what only this console reads: as Artisan saves it again.
std::string ArtisanOnly(const std::string& text) {
    const std::size_t extras = text.find(",\n '" + kConsoleExtrasKey + "'");
    return text.substr(0, extras) + "}\n";
}

TEST(ArtisanProfile, ARoastWrittenReadsBackTheSame) {
    const RoastLog recorded = RecordedRoast();
    RoastLog expected = recorded;
    expected.Remove(roastkey::kProfileFile);  // where the file lies on this computer stays here
    for (bool celsius : {false, true}) {
        const std::string text = ArtisanProfileText(recorded, celsius);
        EXPECT_NE(text.find(celsius ? "'mode': 'C'" : "'mode': 'F'"), std::string::npos);
        const RoastLogParse read = ParseArtisanProfile(text);
        ASSERT_TRUE(read.ok) << read.bad_line << ": " << read.problem;
        EXPECT_EQ(FormatRoastLog(read.log), FormatRoastLog(expected)) << (celsius ? "°C" : "°F");
        EXPECT_EQ(read.log.marks.Find(MarkKind::FirstCrackEnd)->seconds, 455.3);
        for (std::size_t i = 0; i < recorded.samples.size(); ++i)
            ASSERT_EQ(read.log.samples[i].ror_f_per_min, recorded.samples[i].ror_f_per_min) << i;

        // Saved again by Artisan, without the console's own key: the curve,
        // marks at their samples, levels and notes stay, and the steps come
        // from the Burner and Air events.
        const RoastLogParse artisan = ParseArtisanProfile(ArtisanOnly(text));
        ASSERT_TRUE(artisan.ok) << artisan.problem;
        ASSERT_EQ(artisan.log.samples.size(), recorded.samples.size());
        for (std::size_t i = 0; i < recorded.samples.size(); ++i) {
            const RoastSample& a = artisan.log.samples[i];
            const RoastSample& r = recorded.samples[i];
            ASSERT_EQ(a.seconds, r.seconds) << i;
            ASSERT_EQ(a.bean_f, r.bean_f) << i;
            ASSERT_EQ(a.fan, r.fan) << i;
            ASSERT_EQ(a.heat, r.heat) << i;
        }
        EXPECT_EQ(artisan.log.marks.Find(MarkKind::DryEnd)->seconds, 240.0);
        EXPECT_EQ(artisan.log.marks.Find(MarkKind::FirstCrackEnd)->seconds, 455.0);
        EXPECT_TRUE(NotesOf(artisan.log) == NotesOf(recorded));
        EXPECT_EQ(artisan.log.Get(roastkey::kStart), "2026-12-08T14:03:05+01:00");
        EXPECT_EQ(artisan.log.Get(roastkey::kRunSteps), "9/5.0/3, 9/5.0/2, cool 5/2.0");
    }
}

TEST(ArtisanProfile, PythonReadsTheWrittenFileAsArtisanDoes) {
    if (std::system("python3 -c pass >/dev/null 2>&1") != 0) GTEST_SKIP() << "no python3";
    TempFolder folder;
    const std::string path = folder.Path("roast.alog");
    TempFolder::Write(path, ArtisanProfileText(RecordedRoast(), true));
    // Artisan reads its files with ast.literal_eval, as UTF-8.
    const std::string check =
        "python3 -c \"import ast,sys; d=ast.literal_eval(open(sys.argv[1], encoding='utf-8').read()); "
        "n=len(d['timex']); "
        "assert d['mode']=='C' and n>1000 and len(d['temp1'])==n and len(d['temp2'])==n, 'lists'; "
        "assert d['timeindex']==[0,468,828,898,0,0,1188,0], d['timeindex']; "
        "e=[len(d[k]) for k in ('specialevents','specialeventstype','specialeventsvalue','specialeventsStrings')]; "
        "assert e==[5,5,5,5] and d['specialeventsvalue']==[1.9,1.3,1.2,1.5,0.0], d['specialeventsvalue']; "
        "assert d['weight']==[250.0,212.0,'g'] and d['roastisodate']=='2026-12-08', 'notes'; "
        "assert d['computed']['DROP_time']==599.5 and isinstance(d['roastepoch'], int), d['computed']; "
        "assert d['roastingnotes'].endswith(chr(92)) and d['samplinginterval']==0.5, 'text'\" '" +
        path + "'";
    EXPECT_EQ(std::system(check.c_str()), 0) << check;
}

TEST(ArtisanCsv, ReadsFromChargeAndRefusesABadRow) {
    std::string text =
        "Date:01.03.2026\tUnit:C\tCHARGE:01:00\tTP:01:30\tDRYe:05:00\tFCs:08:00\tFCe:\tSCs:\tSCe:\t"
        "DROP:10:00\tCOOL:11:00\tTime:09:15\r\nTime1\tTime2\tET\tBT\tEvent\r\n";
    for (int t = 0; t <= 720; ++t) {
        char row[80];
        std::snprintf(row, sizeof row, "%02d:%02d\t\t-1\t%.1f\t\r\n", t / 60, t % 60,
                      t < 60 ? 180.0 : 90.0 + (t - 60) * 0.25);
        text += row;
        if (t == 300) text += row;  // the same second again: left out
    }
    const RoastLogParse read = ParseArtisanCsv(text);
    ASSERT_TRUE(read.ok) << read.bad_line << ": " << read.problem;
    ASSERT_EQ(read.log.samples.size(), 661u);
    EXPECT_EQ(read.log.samples.front().bean_f, 194);
    EXPECT_EQ(read.log.marks.Find(MarkKind::DryEnd)->seconds, 240.0);
    EXPECT_EQ(read.log.marks.Find(MarkKind::Drop)->seconds, 540.0);
    EXPECT_EQ(read.log.Get(roastkey::kStart), "2026-03-01T09:16:00");
    EXPECT_EQ(read.log.samples[5].fan, kLevelUnknown);
    EXPECT_EQ(ParseRoastFileText(text).log.samples.size(), 661u);

    const std::string bad = text.substr(0, text.find("00:03")) + "00:03\t\t-1\thot\t\r\n";
    const RoastLogParse refused = ParseArtisanCsv(bad);
    EXPECT_FALSE(refused.ok);
    EXPECT_EQ(refused.bad_line, 6);
    EXPECT_EQ(refused.problem, "bad BT \"hot\"");
}

TEST(RoastFiles, TheHistoryTakesEveryKindOfRoastAndNothingElse) {
    TempFolder folder;
    const RoastLog recorded = RecordedRoast();
    TempFolder::Write(folder.Path("2026-12-08_140305 Light roast.csv"), FormatRoastLog(recorded));
    TempFolder::Write(folder.Path("2026-12-09 Kenya.alog"), ArtisanProfileText(recorded, false));
    TempFolder::Write(folder.Path("2026-12-10 broken.alog"), "{'mode': 'F', 'timex': [1.0], 'temp2': []}");
    TempFolder::Write(folder.Path("comparison.csv"), "start,profile,bean\n2026-12-08,Light roast,Kenya AA\n");
    TempFolder::Write(folder.Path("notes.txt"), "# not a roast\n");

    EXPECT_EQ(RoastLogPaths(folder.Path("")).size(), 4u);  // not the .txt
    const std::optional<RoastSummary> log = ReadRoastSummaryIfRoast(folder.Path("2026-12-08_140305 Light roast.csv"));
    const std::optional<RoastSummary> alog = ReadRoastSummaryIfRoast(folder.Path("2026-12-09 Kenya.alog"));
    ASSERT_TRUE(log && alog);
    EXPECT_EQ(alog->problem, "");
    EXPECT_EQ(alog->bean, "Kenya AA");
    EXPECT_EQ(alog->start, log->start);
    EXPECT_EQ(alog->end_bean_f, log->end_bean_f);
    EXPECT_EQ(alog->duration_s, log->duration_s);
    const std::optional<RoastSummary> broken = ReadRoastSummaryIfRoast(folder.Path("2026-12-10 broken.alog"));
    ASSERT_TRUE(broken);
    EXPECT_NE(broken->problem.find("'temp2' has 0 values"), std::string::npos) << broken->problem;
    EXPECT_FALSE(ReadRoastSummaryIfRoast(folder.Path("comparison.csv")));
    EXPECT_TRUE(RoastFileKeepsNotes(folder.Path("2026-12-08_140305 Light roast.csv")));
    EXPECT_FALSE(RoastFileKeepsNotes(folder.Path("2026-12-09 Kenya.alog")));
}

TEST(RoastLogText, LevelsAFileDidNotSayStayUnsaid) {
    RoastLog log = MakeRoastLog(MadeRoast{});
    log.samples[3].fan = kLevelUnknown;
    log.samples[3].heat = kLevelUnknown;
    const std::string text = FormatRoastLog(log);
    EXPECT_NE(text.find("2.0,72,71,,run,heat,1,,,"), std::string::npos);
    const RoastLogParse read = ParseRoastLog(text);
    ASSERT_TRUE(read.ok) << read.problem;
    EXPECT_EQ(FormatRoastLog(read.log), text);
}

}  // namespace
