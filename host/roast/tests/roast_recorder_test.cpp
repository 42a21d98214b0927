// The recorder's start and end rules, its samples (sensor errors, the gap
// a lost link leaves) and a whole roast against the simulated roaster in
// virtual time, written to its log file.
#include <gtest/gtest.h>

#include "control_ids.h"
#include "controller_harness.h"
#include "frames.h"
#include "roast_log_files.h"
#include "roast_log_text.h"
#include "roast_numbers.h"
#include "roast_phases.h"
#include "roast_recorder.h"
#include "temp_folder.h"
#include "virtual_wire.h"

namespace {

class FakeRoastClock : public RoastClock {
public:
    std::function<int64_t()> ms = [this] { return fixed_ms; };
    int64_t fixed_ms = 0;
    LocalDateTime now{2026, 12, 8, 14, 3, 5, 60};
    int64_t MonotonicMs() override { return ms(); }
    LocalDateTime Now() override { return now; }
};

struct EndCase {
    const char* name;
    int32_t end_state;  // -1: the program closes
    const char* incomplete;
};

void PrintTo(const EndCase& c, std::ostream* os) { *os << c.name; }

class RecorderRules : public ::testing::TestWithParam<EndCase> {};

TEST_P(RecorderRules, StartsWhenTheRunHeatsAndEndsAsTheRunEnds) {
    FakeRoastClock clock;
    RoastRecorder recorder(clock, nullptr, "kavolo-roaster 1.0");
    CStep_Data working;
    working.SetDefaultProfile();
    ControllerState s;
    s.profile_name = "Light roast.coff";
    s.profile_path = "/home/r/Light roast.coff";
    std::vector<RoastEvent> events;
    recorder.AddListener([&](RoastEvent e) { events.push_back(e); });

    // A delayed start counts down in Run without recording anything.
    s.machine_state = kRun;
    s.run_phase = kWaitStart;
    recorder.OnReading(70, s, working);
    EXPECT_FALSE(recorder.recording());

    clock.fixed_ms = 4000;
    s.run_phase = kHeat;
    recorder.Observe(s, working);
    ASSERT_TRUE(recorder.recording());
    EXPECT_EQ(recorder.log().Get("profile"), "Light roast");
    EXPECT_EQ(recorder.log().Get("profile_file"), "/home/r/Light roast.coff");
    EXPECT_EQ(recorder.log().Get("start"), "2026-12-08T14:03:05+01:00");
    EXPECT_EQ(recorder.log().Get("planned_steps"), "5/5.9/3, cool 5/3.0");

    clock.fixed_ms = 4500;
    s.temperature = 71;
    s.roast_time = 58;
    recorder.OnReading(72, s, working);
    // POWER pauses into a manual cooling, and again resumes the heating:
    // neither is the drop.
    s.run_phase = kManualCool;
    s.cool_time = 40;
    recorder.OnReading(72, s, working);
    s.run_phase = kHeat;
    recorder.OnReading(72, s, working);
    s.run_phase = kCool;
    s.cool_time = 30;
    clock.fixed_ms = 5000;
    recorder.OnReading(73, s, working);

    const EndCase& c = GetParam();
    if (c.end_state < 0) {
        recorder.OnClose(working);
    } else {
        s.machine_state = c.end_state;
        s.run_phase = kWaitStart;
        recorder.OnReading(74, s, working);  // the end is seen before the reading
    }
    EXPECT_FALSE(recorder.recording());
    const RoastLog& log = recorder.log();
    ASSERT_EQ(log.samples.size(), 4u);
    EXPECT_DOUBLE_EQ(log.samples[0].seconds, 0.5);
    EXPECT_EQ(log.samples[0].bean_f, 72);
    EXPECT_EQ(log.samples[0].shown_f, 71);
    EXPECT_EQ(log.samples[0].time_left_units, 58);
    EXPECT_EQ(log.samples[1].time_left_units, 40) << "manual cooling shows the cooling time left";
    EXPECT_EQ(log.samples[3].time_left_units, 30) << "cooling shows the cooling time left";
    EXPECT_EQ(log.Get("incomplete"), c.incomplete);
    EXPECT_TRUE(log.Has("run_steps"));
    EXPECT_EQ(events, (std::vector<RoastEvent>{RoastEvent::Started, RoastEvent::Sample, RoastEvent::Sample,
                                               RoastEvent::Sample, RoastEvent::Marked, RoastEvent::Sample,
                                               RoastEvent::Ended}))
        << "the cooling step marks the drop";
}

INSTANTIATE_TEST_SUITE_P(Ends, RecorderRules,
                         ::testing::Values(EndCase{"Finished", kFinished, ""}, EndCase{"PowerOff", kOff, "power_off"},
                                           EndCase{"FreshLinkStart", kReady, "link_restart"},
                                           EndCase{"ProgramClosed", -1, "closed"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(RateOfRise, IsTheSlopeOfTheLastThirtySecondsOnceTenSecondsOfReadingsExist) {
    RateOfRise rate;
    double t = 0;
    auto feed = [&](double until, double degrees_per_second, double& degrees) {
        for (; t <= until + 1e-9; t += 0.5) {
            rate.Add(t, degrees);
            degrees += degrees_per_second * 0.5;
        }
    };
    double degrees = 100;
    feed(9.5, 1.0, degrees);
    EXPECT_FALSE(rate.PerMinute()) << "no figure before ten seconds of readings";
    feed(10.0, 1.0, degrees);
    ASSERT_TRUE(rate.PerMinute());
    EXPECT_NEAR(*rate.PerMinute(), 60.0, 1e-6);
    feed(100, 1.0, degrees);
    feed(131, 0.5, degrees);
    EXPECT_NEAR(*rate.PerMinute(), 30.0, 1e-6) << "only the last thirty seconds count";

    // After a minute without readings the old ones are gone.
    t += 60;
    feed(t + 5, 0.5, degrees);
    EXPECT_FALSE(rate.PerMinute());
    EXPECT_NEAR(DegreesInUnit(18.0, true), 10.0, 1e-9);
}

TEST(RoastRecorder, SensorErrorsAreRecordedAsNoTemperature) {
    FakeRoastClock clock;
    RoastRecorder recorder(clock, nullptr, "p");
    CStep_Data working;
    ControllerState s;
    s.machine_state = kRun;
    s.run_phase = kHeat;
    for (int32_t raw : {625, 626, 0xFF00, 0xFE05}) {
        clock.fixed_ms += 500;
        s.temperature = raw;
        recorder.OnReading(raw, s, working);
    }
    const auto& samples = recorder.log().samples;
    ASSERT_EQ(samples.size(), 4u);
    EXPECT_EQ(samples[0].bean_f, 625);
    for (std::size_t i = 1; i < samples.size(); ++i) {
        EXPECT_FALSE(samples[i].bean_f) << i;
        EXPECT_FALSE(samples[i].shown_f) << i;
        EXPECT_FALSE(samples[i].ror_f_per_min) << i;
    }
}

// A roast of the user's profile against the simulated roaster, which falls
// silent for a while in the middle: every reading the roaster sent while
// the roast ran is in the log, in order, with a gap where it was silent,
// and the log file holds the same.
TEST(RoastRecorder, ARoastAgainstTheSimulatedRoasterIsRecordedReadingForReading) {
    ControllerHarness h;
    RoasterModel::Options options;
    options.program.steps = {{5, 8, 3}};
    VirtualWire wire(h, options);
    FakeRoastClock clock;
    clock.ms = [&] { return h.window.now_ms; };
    TempFolder folder;
    RoastLogFiles files(folder.Path("roasts"));
    RoastRecorder recorder(clock, &files, "kavolo-roaster 1.0");
    h.controller.events().Add(recorder);

    std::vector<int32_t> sent;
    wire.on_sent = [&](const std::vector<uint8_t>& b) {
        if (recorder.recording() && b.size() == kFrameSize && b[4] == kCmdStatus) sent.push_back(b[10] * 256 + b[11]);
    };
    h.controller.Start();
    ASSERT_TRUE(h.window.AdvanceUntil([&] { return h.s().machine_state == kReady; }, 10000));
    h.Ticks(1);
    h.controller.OnButtonClicked(ctl::kPower);
    ASSERT_TRUE(recorder.recording());
    h.Ticks(60);
    wire.model.faults.silent = true;
    h.Ticks(16);
    wire.model.faults.silent = false;
    ASSERT_TRUE(h.window.AdvanceUntil([&] { return h.s().machine_state == kFinished; }, 20 * 60 * 1000));
    ASSERT_FALSE(recorder.recording());

    const RoastLog& log = recorder.log();
    std::vector<int32_t> logged;
    int gaps = 0;
    for (std::size_t i = 0; i < log.samples.size(); ++i) {
        logged.push_back(log.samples[i].bean_f.value_or(-1));
        if (i > 0 && IsGap(log.samples[i - 1], log.samples[i])) ++gaps;
    }
    EXPECT_EQ(logged, sent);
    EXPECT_GT(sent.size(), 400u) << "0.8 + 3.0 minutes at two readings a second, less the silence";
    EXPECT_EQ(gaps, 1);
    EXPECT_FALSE(log.Has("incomplete"));
    EXPECT_EQ(log.samples.back().run_phase, kCool);
    ASSERT_TRUE(log.samples.back().ror_f_per_min);
    EXPECT_LT(*log.samples.back().ror_f_per_min, 0) << "the beans cool";

    ASSERT_TRUE(files.saved());
    EXPECT_EQ(files.path(), folder.Path("roasts/2026-12-08_140305 Last USB Setting.csv"));
    const RoastLogParse read = ReadRoastLogFile(files.path());
    ASSERT_TRUE(read.ok) << read.problem;
    EXPECT_EQ(FormatRoastLog(read.log), FormatRoastLog(log));
    EXPECT_FALSE(std::filesystem::exists(files.path() + kPartialSuffix));
}

// Times are kept as the log keeps them, to a tenth of a second: a phase's
// length in the log is what the log's marks give when it is read again
// (the comparison), and the last sample's time what the history reads.
TEST(RoastRecorder, APhaseInTheLogIsWhatItsMarksGiveWhenReadAgain) {
    FakeRoastClock clock;
    RoastRecorder recorder(clock, nullptr, "kavolo-roaster 1.0");
    CStep_Data working;
    working.SetDefaultProfile();
    ControllerState s;
    s.machine_state = kRun;
    s.run_phase = kHeat;
    recorder.Observe(s, working);
    const struct {
        int64_t ms;
        std::optional<MarkKind> mark;
    } steps[] = {{240049, MarkKind::DryEnd}, {415546, MarkKind::FirstCrack}, {499064, std::nullopt},
                 {683649, std::nullopt}};
    for (const auto& step : steps) {
        clock.fixed_ms = step.ms;
        if (!step.mark && step.ms == 499064) s.run_phase = kCool;  // the drop, marked by itself
        recorder.OnReading(400, s, working);
        if (step.mark) recorder.Mark(*step.mark);
    }
    s.machine_state = kFinished;
    recorder.Observe(s, working);
    const RoastLogParse read = ParseRoastLog(FormatRoastLog(recorder.log()));
    ASSERT_TRUE(read.ok) << read.problem;
    const RoastPhases again = ComputePhases(read.log.marks.list(), read.log.samples.back().seconds, false);
    EXPECT_EQ(recorder.log().Get("phase_development"),
              OneDecimal(*again.development) + " " + OneDecimal(*again.DevelopmentRatio()) + "%");
    EXPECT_EQ(read.log.samples.back().seconds, recorder.log().samples.back().seconds);
    EXPECT_EQ(MinutesSeconds(recorder.log().samples.back().seconds), "11:23");
}

}  // namespace
