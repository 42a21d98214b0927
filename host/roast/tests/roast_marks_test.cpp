// Marks, phases and notes: the rules of marking, the phase arithmetic, and
// a saved log's header rewritten without touching its samples.
#include <gtest/gtest.h>

#include "roast_history.h"
#include "roast_log_files.h"
#include "roast_phases.h"
#include "roast_recorder.h"
#include "temp_folder.h"

namespace {

class StepClock : public RoastClock {
public:
    int64_t ms = 0;
    int64_t MonotonicMs() override { return ms; }
    LocalDateTime Now() override { return {2026, 12, 8, 9, 0, 0, 0}; }
};

TEST(RoastMarks, MarkRulesAndAKilledRoastKeepsItsMarks) {
    TempFolder folder;
    StepClock clock;
    RoastLogFiles files(folder.Path("roasts"));
    RoastRecorder recorder(clock, &files, "p");
    CStep_Data working;
    ControllerState s;
    EXPECT_FALSE(recorder.Mark(MarkKind::FirstCrack)) << "no recording, no mark";

    s.machine_state = kRun;
    s.run_phase = kHeat;
    auto read = [&](int32_t bean) {
        clock.ms += 500;
        recorder.OnReading(bean, s, working);
    };
    read(200);
    clock.ms = 120000;
    read(300);
    ASSERT_TRUE(recorder.Mark(MarkKind::FirstCrack));
    clock.ms = 150000;
    read(0xFF00);  // a sensor error: the mark takes the last reading
    ASSERT_TRUE(recorder.Mark(MarkKind::DryEnd));
    clock.ms = 180000;
    read(390);
    ASSERT_TRUE(recorder.Mark(MarkKind::FirstCrack));  // replaces the first one
    auto kinds = [&recorder] {
        std::vector<MarkKind> made;
        for (const RoastMark& m : recorder.marks().list()) made.push_back(m.kind);
        return made;
    };
    EXPECT_EQ(kinds(), (std::vector<MarkKind>{MarkKind::DryEnd, MarkKind::FirstCrack}));
    // The program is killed here: what it leaves is its partial log.
    const std::string killed = folder.Path("killed");
    std::filesystem::create_directories(killed);
    const std::filesystem::path partial = std::filesystem::u8path(files.path() + kPartialSuffix);
    std::filesystem::copy_file(partial, std::filesystem::u8path(killed) / partial.filename());

    // Undo takes the marks back one at a time, the last made first.
    ASSERT_TRUE(recorder.UndoMark());
    EXPECT_EQ(kinds(), std::vector<MarkKind>{MarkKind::DryEnd});
    ASSERT_TRUE(recorder.UndoMark());
    EXPECT_TRUE(recorder.marks().empty());
    EXPECT_FALSE(recorder.UndoMark());
    clock.ms = 200000;
    s.run_phase = kCool;
    read(400);  // the drop marks itself
    EXPECT_EQ(kinds(), std::vector<MarkKind>{MarkKind::Drop});
    ASSERT_TRUE(recorder.UndoMark());

    // The next start makes the killed roast's log whole: the partial log
    // knew every change, and the first crack marked again replaced the first.
    const std::vector<std::string> made = RecoverInterruptedLogs(killed);
    ASSERT_EQ(made.size(), 1u);
    const RoastLogParse after = ReadRoastLogFile(made[0]);
    ASSERT_TRUE(after.ok) << after.problem;
    // One line a mark, at the end of the header, before the word on why it
    // is incomplete.
    EXPECT_NE(TempFolder::Read(made[0]).find("\n# event: dry_end 150.0 300\n# event: first_crack 180.0 390\n"
                                             "# incomplete: interrupted\n" +
                                             std::string(kRoastLogColumns) + "\n"),
              std::string::npos)
        << TempFolder::Read(made[0]);
}

TEST(RoastPhases, DurationsSharesAndTheDevelopmentRatio) {
    using M = MarkKind;
    const std::vector<RoastMark> all = {{M::DryEnd, 240, {}}, {M::FirstCrack, 480, {}}, {M::Drop, 600, {}}};
    RoastPhases p = ComputePhases(all, 700, false);
    EXPECT_EQ(p.drying, 240.0);
    EXPECT_EQ(p.maillard, 240.0);
    EXPECT_EQ(p.development, 120.0);
    EXPECT_DOUBLE_EQ(p.total, 600.0);
    EXPECT_DOUBLE_EQ(*p.DevelopmentRatio(), 20.0);

    // Live, after first crack: development grows with the clock.
    p = ComputePhases({all[0], all[1]}, 540, true);
    EXPECT_EQ(p.development, 60.0);
    EXPECT_NEAR(*p.Share(p.drying), 240.0 / 540 * 100, 1e-9);
    // Live, before any mark, drying is under way; after the roast it is unknown.
    EXPECT_EQ(ComputePhases({}, 90, true).drying, 90.0);
    EXPECT_FALSE(ComputePhases({}, 90, false).drying);
    // Marks in the wrong order give no duration.
    p = ComputePhases({{M::DryEnd, 500, {}}, {M::FirstCrack, 480, {}}, {M::Drop, 600, {}}}, 600, false);
    EXPECT_FALSE(p.maillard);
    EXPECT_EQ(p.development, 120.0);

    RoastLog log;
    WritePhases(log, ComputePhases(all, 600, false));
    EXPECT_EQ(log.Get("phase_drying"), "240.0 40.0%");
    EXPECT_EQ(log.Get("development_ratio"), "20.0%");
}

TEST(RoastNotes, ARewrittenHeaderKeepsUnknownKeysAndTheSamplesByteForByte) {
    TempFolder folder;
    const std::string rows = "0.5,70,70,,run,heat,1,5,3,5.9\r\n1.0,71,70,,run,heat,1,5,3,5.9\n";
    const std::string path = folder.Path("roasts/a.csv");
    std::filesystem::create_directories(folder.Path("roasts"));
    TempFolder::Write(path, "# program: p\n# from_a_newer_version: x=1\n# event: drop 0.5 70\n" +
                                std::string(kRoastLogColumns) + "\n" + rows);
    RoastLogParse read = ReadRoastLogFile(path);
    ASSERT_TRUE(read.ok) << read.problem;
    EXPECT_EQ(NotesOf(read.log), RoastNotes{});

    RoastNotes notes{"Yirgacheffe", ParseWeight("250"), ParseWeight("212,5"), "Bright.\nA \\ path"};
    ASSERT_TRUE(notes.WeightLoss());
    EXPECT_DOUBLE_EQ(*notes.WeightLoss(), 15.0);
    WriteNotes(read.log, notes);
    ASSERT_TRUE(RewriteRoastHeader(path, read.log).ok);

    const std::string text = TempFolder::Read(path);
    EXPECT_EQ(text.substr(text.size() - rows.size()), rows);
    read = ReadRoastLogFile(path);
    ASSERT_TRUE(read.ok) << read.problem;
    EXPECT_EQ(NotesOf(read.log), notes);
    EXPECT_EQ(read.log.Get("from_a_newer_version"), "x=1");
    EXPECT_EQ(read.log.Get("weight_loss"), "15.0%");
    const std::vector<RoastSummary> listed = ListRoastLogs(folder.Path("roasts"));
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(listed[0].bean, "Yirgacheffe");
    EXPECT_EQ(listed[0].end_bean_f, 70);  // at the drop, not the last reading

    // Values the console reads are refused with their line; such a file is
    // not rewritten.
    for (const char* bad : {"# green_g: -5\n", "# roasted_g: lots\n", "# event: first_crack soon\n"}) {
        const std::string malformed = "# program: p\n" + std::string(bad) + kRoastLogColumns + "\n" + rows;
        TempFolder::Write(path, malformed);
        const RoastLogParse refused = ReadRoastLogFile(path);
        EXPECT_FALSE(refused.ok) << bad;
        EXPECT_EQ(refused.bad_line, 2) << bad;
        EXPECT_FALSE(RewriteRoastHeader(path, read.log).ok);
        EXPECT_EQ(TempFolder::Read(path), malformed);
    }
    EXPECT_FALSE(ParseWeight("0"));
    EXPECT_FALSE(ParseWeight("12 kg"));
}

}  // namespace
