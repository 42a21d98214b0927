// The history's summary of a saved roast, read from the header and the end
// of its file, and the summaries kept between readings of the folder.
#include <gtest/gtest.h>

#include <filesystem>

#include "roast_history.h"
#include "roast_log_files.h"
#include "roast_log_maker.h"
#include "roast_summary_cache.h"
#include "temp_folder.h"

namespace {

std::string Saved(const TempFolder& folder, const std::string& name, const std::string& text) {
    const std::string path = folder.Path(name);
    TempFolder::Write(path, text);
    return path;
}

TEST(RoastSummary, ReadFromTheEndsOfTheLogAsAWholeReadingWouldGiveIt) {
    TempFolder folder;
    MadeRoast roast;
    roast.notes = {"Kenya AA", 250.0, 212.0, "Bright.\nFast after first crack."};
    MadeRoast sensor_error = roast;
    // Longer than the first piece read from the end holds.
    sensor_error.sensor_error_s = 200;
    const struct {
        const char* name;
        MadeRoast roast;
        bool drop_mark;
        double end_at;  // the reading of the end temperature: at the drop mark, else the last one
    } cases[] = {
        {"dropped", roast, true, 600},
        {"no drop mark", roast, false, 720},
        {"sensor error at the end", sensor_error, false, 520},
    };
    for (const auto& c : cases) {
        RoastLog log = MakeRoastLog(c.roast);
        if (!c.drop_mark) log.marks.Remove(MarkKind::Drop);
        const std::string path = Saved(folder, std::string(c.name) + ".csv", FormatRoastLog(log));
        const RoastSummary summary = ReadRoastSummary(path);
        EXPECT_EQ(summary.problem, "") << c.name;
        EXPECT_EQ(summary.start, "2026-12-08T14:03:05+01:00") << c.name;
        EXPECT_EQ(summary.profile, "Light roast") << c.name;
        EXPECT_EQ(summary.bean, "Kenya AA") << c.name;
        EXPECT_EQ(summary.notes, "Bright.\nFast after first crack.") << c.name;
        EXPECT_DOUBLE_EQ(summary.duration_s, 720.0) << c.name;
        ASSERT_TRUE(summary.weight_loss) << c.name;
        EXPECT_NEAR(*summary.weight_loss, 15.2, 1e-9) << c.name;
        EXPECT_EQ(summary.end_bean_f, std::lround(MadeBeanF(c.roast, c.end_at))) << c.name;
        EXPECT_EQ(summary, SummaryOf(ReadRoastLogFile(path).log, path)) << c.name;
    }
}

TEST(RoastSummary, ALogThatDoesNotReadNamesItsLineAsAWholeReadingWould) {
    TempFolder folder;
    const std::string log = FormatRoastLog(MakeRoastLog(MadeRoast{}));
    const std::size_t rows = static_cast<std::size_t>(std::count(log.begin(), log.end(), '\n'));
    const struct {
        const char* name;
        std::string text;
        std::string problem;
    } cases[] = {
        // A write cut short in its last row.
        {"cut.csv", log + "720.5,95", "line " + std::to_string(rows + 1) + ": expected 10 fields, found 2"},
        {"weight.csv", "# program: p\n# green_g: lots\n" + log, "line 2: bad weight \"lots\""},
        {"columns.csv", "# program: p\n# profile: x\n", "line 3: no column line"},
        {"missing.csv", "", ""},  // the system's words for it
    };
    for (const auto& c : cases) {
        const std::string path =
            std::string(c.name) == "missing.csv" ? folder.Path(c.name) : Saved(folder, c.name, c.text);
        const RoastSummary summary = ReadRoastSummary(path);
        if (c.problem.empty())
            EXPECT_FALSE(summary.problem.empty()) << c.name;
        else
            EXPECT_EQ(summary.problem, c.problem) << c.name;
        EXPECT_EQ(summary.start, c.name) << "sorts by its name";
    }
}

TEST(RoastSummaryCache, AFileIsReadAgainWhenItsSizeOrTimeChanges) {
    TempFolder folder;
    auto log_of = [](const char* bean) {
        MadeRoast roast;
        roast.notes.bean = bean;
        return FormatRoastLog(MakeRoastLog(roast));
    };
    const std::string path = Saved(folder, "a.csv", log_of("Kenya"));
    const auto written = std::filesystem::last_write_time(path);
    RoastSummaryCache cache;
    EXPECT_EQ(cache.Get(path)->bean, "Kenya");

    // The same size and time: what was read stands.
    TempFolder::Write(path, log_of("Sumba"));
    std::filesystem::last_write_time(path, written);
    EXPECT_EQ(cache.Get(path)->bean, "Kenya");
    // A new time.
    std::filesystem::last_write_time(path, written + std::chrono::seconds(1));
    EXPECT_EQ(cache.Get(path)->bean, "Sumba");
    // A new size at the same time.
    TempFolder::Write(path, log_of("Sumatra"));
    std::filesystem::last_write_time(path, written + std::chrono::seconds(1));
    EXPECT_EQ(cache.Get(path)->bean, "Sumatra");

    // The folder's listing through the cache; a file gone is forgotten.
    Saved(folder, "b.csv", "# green_g: lots\n");
    const std::vector<RoastSummary> listed = ListRoastLogs(folder.Path(""), &cache);
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_EQ(cache.size(), 2u);
    cache.KeepOnly({path});
    EXPECT_EQ(cache.size(), 1u);
}

}  // namespace

namespace {

// Only roasts are listed: a table or anything else saved in the roasts
// folder is passed over, quietly; a log that does not read is listed with
// its problem.
TEST(RoastHistory, ListsOnlyTheRoastLogsOfTheFolder) {
    TempFolder folder;
    const std::string log = FormatRoastLog(MakeRoastLog(MadeRoast{}));
    const struct {
        const char* name;
        std::string text;
        bool listed;
    } files[] = {
        {"2026-12-08_140305 Light roast.csv", log, true},
        {"no header lines.csv", log.substr(log.find(kRoastLogColumns)), true},
        {"from a spreadsheet.csv", "\xEF\xBB\xBF" + log, true},
        {"bad header.csv", "# green_g: lots\n" + log, true},
        {"2026-12-09_100000 Empty.csv", "", false},
        {"Roast comparison.csv", "start,profile,bean,roast_time_s\n2026-12-08T14:03:05+01:00,Light,,600.0\n", false},
        {"empty.csv", "", false},
        {"notes.txt", log, false},
    };
    for (const auto& f : files) Saved(folder, f.name, f.text);
    std::vector<std::string> listed;
    for (const RoastSummary& summary : ListRoastLogs(folder.Path("")))
        listed.push_back(std::filesystem::path(summary.path).filename().string());
    std::sort(listed.begin(), listed.end());
    std::vector<std::string> roasts;
    for (const auto& f : files)
        if (f.listed) roasts.push_back(f.name);
    std::sort(roasts.begin(), roasts.end());
    EXPECT_EQ(listed, roasts);
}

}  // namespace
