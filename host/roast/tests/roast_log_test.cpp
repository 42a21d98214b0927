// The log files: what a kill leaves and the next start makes whole, a
// folder that cannot be written, and logs that do not read.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>

#include "controller_state.h"
#include "roast_log_files.h"
#include "roast_notes.h"
#include "roast_steps.h"
#include "temp_folder.h"

namespace {

RoastSample SampleAt(double seconds, int32_t bean) {
    RoastSample s;
    s.seconds = seconds;
    s.bean_f = bean;
    s.shown_f = bean - 1;
    s.ror_f_per_min = seconds >= 10 ? std::optional<double>(24.5) : std::nullopt;
    s.machine_state = kRun;
    s.run_phase = kHeat;
    s.step = 1;
    s.fan = 9;
    s.heat = 3;
    s.time_left_units = 59;
    return s;
}

RoastLog Header() {
    RoastLog log;
    log.Set("program", "kavolo-roaster 1.0");
    log.Set("profile", "Ethiopia: light/fast");
    log.Set("some_future_key", "kept");
    return log;
}

const LocalDateTime kStart{2026, 12, 8, 7, 5, 9, 0};

TEST(RoastLogFiles, AKilledRoastLeavesAllButItsLastSecondsAndTheNextStartMakesItWhole) {
    TempFolder folder;
    const std::string roasts = folder.Path("roasts");
    {
        RoastLogFiles files(roasts);
        files.Begin(Header(), kStart, "Ethiopia: light/fast");
        EXPECT_EQ(files.path(), folder.Path("roasts/2026-12-08_070509 Ethiopia_ light_fast.csv"));
        for (int i = 1; i <= 27; ++i) files.Append(SampleAt(i * 0.5, 70 + i));
        // The program is killed here: no End. A write was cut in its row.
    }
    const std::string partial = folder.Path("roasts/2026-12-08_070509 Ethiopia_ light_fast.csv") + kPartialSuffix;
    std::ofstream(partial, std::ios::app) << "13.5,9";

    const std::vector<std::string> made = RecoverInterruptedLogs(roasts);
    ASSERT_EQ(made.size(), 1u);
    EXPECT_FALSE(std::filesystem::exists(partial));
    const RoastLogParse read = ReadRoastLogFile(made[0]);
    ASSERT_TRUE(read.ok) << read.bad_line << ": " << read.problem;
    EXPECT_EQ(read.log.Get("incomplete"), "interrupted");
    EXPECT_EQ(read.log.Get("some_future_key"), "kept");
    // Rows reach the disk every five seconds: 10.0 s of the 13.5 s survive.
    ASSERT_EQ(read.log.samples.size(), 20u);
    EXPECT_EQ(FormatRoastSample(read.log.samples.back()), "10.0,90,89,24.5,run,heat,1,9,3,5.9\n");
}

TEST(RoastLogFiles, AFolderThatCannotBeWrittenIsReportedOnce) {
    TempFolder folder;
    TempFolder::Write(folder.Path("not-a-folder"), "x");
    RoastLogFiles files(folder.Path("not-a-folder/roasts"));
    std::vector<std::string> reports;
    files.on_failure = [&](const std::string& path, const std::string& reason) {
        reports.push_back(path + ": " + reason);
    };
    RoastLog log = Header();
    files.Begin(log, kStart, "p");
    for (int i = 1; i <= 30; ++i) {
        log.samples.push_back(SampleAt(i * 0.5, 100));
        files.Append(log.samples.back());
    }
    files.End(log);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].rfind(folder.Path("not-a-folder/roasts") + ": ", 0), 0u) << reports[0];
    EXPECT_FALSE(files.saved());

    // A log that cannot be replaced where it is says why.
    const FileResult saved = SaveRoastLog(log, folder.Path("not-a-folder/x.csv"));
    EXPECT_FALSE(saved.ok);
    EXPECT_FALSE(saved.reason.empty());
}

// What a profile or bean name becomes in a file name is a plain file on
// every system (Windows opens a device for CON or COM1), and dates past
// 2038 (a 32-bit time_t, as 32-bit Windows has) name roasts as any other.
TEST(RoastLogNames, EveryNameMakesAFileOnEverySystem) {
    const struct {
        const char* name;
        const char* safe;
    } cases[] = {
        {"Ethiopia: light/fast", "Ethiopia_ light_fast"},
        {"CON", "CON_"},
        {"nul.old", "nul_.old"},
        {"Com7", "Com7_"},
        {"lpt1 .beans", "lpt1_ .beans"},
        {"aux ", "aux_"},
        {"CONSOLE", "CONSOLE"},
        {"Con Leche", "Con Leche"},
        {"COM10", "COM10"},
        {"...", "roast"},
    };
    TempFolder folder;
    for (const auto& c : cases) {
        EXPECT_EQ(SafeFileName(c.name), c.safe) << c.name;
        const std::string path = folder.Path(SafeFileName(c.name) + ".coff");
        ASSERT_TRUE(ReplaceContents(path, "steps").ok) << c.name;
        EXPECT_TRUE(std::filesystem::is_regular_file(FsPath(path))) << c.name << ": not a file of its own";
    }

    EXPECT_EQ(LogFileStem({2040, 3, 1, 6, 5, 9, -300}, "Kenya"), "2040-03-01_060509 Kenya");
    RoastLog late;
    late.Set(roastkey::kStart, "2106-02-07T06:28:16+00:00");  // past an unsigned 32-bit time too
    late.Set(roastkey::kProfile, "Kenya");
    EXPECT_EQ(SuggestedLogName(late), "2106-02-07_062816 Kenya.csv");
}

TEST(RoastLogText, AMalformedLogNamesItsFirstBadLine) {
    const std::string head = "# program: p\n" + std::string(kRoastLogColumns) + "\n";
    const std::string good = "0.5,70,70,,run,heat,1,5,3,5.9\n";
    struct Case {
        std::string text;
        int line;
    } cases[] = {
        {"# program p\n", 1},
        {"seconds,bean\n", 1},
        {"# program: p\n", 2},  // no column line
        {head + good + "1.0,70,70,,run,heat,1,5,3\n", 4},
        {head + good + "1.0,70,70,,run,heat,1,10,3,5.9\n", 4},
        {head + good + "1.0,seventy,70,,run,heat,1,5,3,5.9\n", 4},
        {head + good + "1.0,70,70,,run,roast,1,5,3,5.9\n", 4},
        {head + good + "1,0,70,70,,run,heat,1,5,3,5.9\n", 4},
        {head + good + "0.4,70,70,,run,heat,1,5,3,5.9\n", 4},  // time goes back
        {head + good + "nan,70,70,,run,heat,1,5,3,5.9\n", 4},
    };
    for (const Case& c : cases) {
        const RoastLogParse parsed = ParseRoastLog(c.text);
        EXPECT_FALSE(parsed.ok) << c.text;
        EXPECT_EQ(parsed.bad_line, c.line) << c.text;
        EXPECT_FALSE(parsed.problem.empty());
    }
    const RoastLogParse parsed = ParseRoastLog(head + "\r\n" + good);
    ASSERT_TRUE(parsed.ok) << parsed.problem;
    EXPECT_EQ(FormatRoastLog(parsed.log), head + good);
}

TEST(RoastLog, BeanAtInterpolatesBetweenSamplesButNotAcrossAGap) {
    RoastLog log;
    log.samples = {SampleAt(1.0, 100), SampleAt(1.5, 104), SampleAt(9.0, 200), SampleAt(9.5, 201)};
    EXPECT_EQ(BeanAt(log, 1.25), 102.0);
    EXPECT_EQ(BeanAt(log, 9.5), 201.0);
    EXPECT_FALSE(BeanAt(log, 5.0)) << "the roaster was not heard";
    EXPECT_FALSE(BeanAt(log, 0.5));
    EXPECT_FALSE(BeanAt(log, 10.0));
}

}  // namespace

// The steps a log writes read back as they were written, split steps and
// values no profile holds included (the profile's own rules judge those);
// what does not read names its step.
TEST(RoastSteps, TheStepsTextReadsBackAndAStepThatDoesNotReadIsNamed) {
    CStep_Data list;
    list.Clear();
    list.InsertStep(1, 9, 12, 3, StepCompleted);
    list.InsertStep(2, 9, 38, 0, StepCompleted);
    list.InsertStep(3, 12, 45, 2, StepRunning);
    list.InsertStep(4, 5, 30, 0, CoolRunning);
    const std::string text = StepsText(list);
    EXPECT_EQ(text, "9/1.2/3, 9/3.8/0, 12/4.5/2, cool 5/3.0");
    const StepsParse read = ParseStepsText(text);
    ASSERT_TRUE(read.ok) << read.problem;
    std::vector<std::array<int32_t, 4>> steps;
    for (const StepNode& n : read.steps)
        steps.push_back({n.fan, n.time, n.heat, static_cast<int32_t>(n.status)});
    EXPECT_EQ(steps, (std::vector<std::array<int32_t, 4>>{
                         {9, 12, 3, StepWaiting}, {9, 38, 0, StepWaiting}, {12, 45, 2, StepWaiting}, {5, 30, 0, CoolWaiting}}));

    const std::pair<const char*, const char*> bad[] = {
        {"", "no steps"},
        {"9/5.0/3, 8/4.5", "step 2 \"8/4.5\" is not fan/minutes/heat"},
        {"9/5.0/3, cool 5/3.0/0", "step 2 \"cool 5/3.0/0\" is not cool fan/minutes"},
        {"9/5.05/3, cool 5/3.0", "step 1 \"9/5.05/3\" is not fan/minutes/heat"},
        {"9/5.0/high, cool 5/3.0", "step 1 \"9/5.0/high\" is not fan/minutes/heat"},
        {"9/5.0/3,, cool 5/3.0", "step 2 \"\" is not fan/minutes/heat"},
    };
    for (const auto& [steps_text, problem] : bad) {
        const StepsParse p = ParseStepsText(steps_text);
        EXPECT_FALSE(p.ok) << steps_text;
        EXPECT_EQ(p.problem, problem) << steps_text;
    }
}

// A profile made again is named after the roast's bean, else its profile,
// and when it began.
TEST(RoastSteps, ARoastMadeAgainIsNamedAfterItsBeanOrProfileAndStart) {
    RoastLog log;
    log.Set(roastkey::kProfile, "Light roast");
    log.Set(roastkey::kStart, "2026-12-08T14:03:05+01:00");
    EXPECT_EQ(NameFromRoast(log), "Light roast 2026-12-08 14:03");
    log.Set(kBeanKey, "Kenya AA");
    EXPECT_EQ(NameFromRoast(log), "Kenya AA 2026-12-08 14:03");
}

// Where the whole name does not fit the panel's name box, the start is
// shortened first, then the bean, never inside a character.
TEST(RoastSteps, ARoastMadeAgainGetsANameThatFitsTheNameBox) {
    RoastLog log;
    log.Set(roastkey::kStart, "2026-12-09T19:14:00+01:00");
    log.Set(kBeanKey, "Ethiopia Guji natural");
    const struct {
        std::size_t room;  // bytes that fit
        const char* name;
    } cases[] = {
        {100, "Ethiopia Guji natural 2026-12-09 19:14"},
        {33, "Ethiopia Guji natural 12-09 19:14"},
        {25, "Ethiopia G\u2026 12-09 19:14"},
        {18, "Eth\u2026 12-09 19:14"},
        {12, "12-09 19:14"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ShortNameFromRoast(log, [&](const std::string& name) { return name.size() <= c.room; }), c.name)
            << c.room;
    // A cut keeps whole characters (ü is two bytes).
    log.Set(kBeanKey, "Kü Kü Kü");
    EXPECT_EQ(ShortNameFromRoast(log, [](const std::string& name) { return name.size() <= 21; }),
              "K\u00fc K\u2026 12-09 19:14");
}
