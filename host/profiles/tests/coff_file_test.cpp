#include "coff_file.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#ifdef __linux__
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#endif

#include "fake_editor.h"
#include "temp_folder.h"

namespace {

using ::testing::ElementsAreArray;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

const std::string kDefaultText = "QVR_COFF_FLIE/5/59/3QVR_COFF_COOL/5/30/0";

struct Step {
    int fan, time, heat;
    uint32_t status;
    bool operator==(const Step& o) const {
        return fan == o.fan && time == o.time && heat == o.heat && status == o.status;
    }
};
std::ostream& operator<<(std::ostream& os, const Step& s) {
    return os << "(" << s.fan << ", " << s.time << ", " << s.heat << ", " << s.status << ")";
}

std::vector<Step> Steps(const CStep_Data& list) {
    std::vector<Step> out;
    for (const StepNode& n : Snapshot(list.head)) out.push_back({n.fan, n.time, n.heat, n.status});
    return out;
}

void Fill(CStep_Data& list, const std::vector<Step>& steps) {
    list.Clear();
    uint32_t position = 1;
    for (const Step& s : steps) list.InsertStep(position++, s.fan, s.time, s.heat, s.status);
}

const std::vector<Step> kDefaultSteps{{5, 59, 3, StepWaiting}, {5, 30, 0, CoolWaiting}};

struct ReadCase {
    const char* name;
    std::string bytes;
    CoffLoad outcome;
    std::vector<Step> steps;  // the list after the load
};

void PrintTo(const ReadCase& c, std::ostream* os) { *os << c.name; }

class CoffReadTest : public ::testing::TestWithParam<ReadCase> {};

TEST_P(CoffReadTest, LoadsTheStepsOrRefusesTheFile) {
    const ReadCase& c = GetParam();
    TempFolder folder;
    const std::string path = folder.Path("profile.coff");
    TempFolder::Write(path, c.bytes);
    CStep_Data list;
    Fill(list, {{9, 9, 1, StepCompleted}, {8, 8, 0, StepEnd}});

    EXPECT_EQ(LoadCoffFile(path, list).outcome, c.outcome);
    EXPECT_THAT(Steps(list), ElementsAreArray(c.steps));
    EXPECT_EQ(list.Renumber(), c.steps.size());
}

std::vector<Step> TwentyOneRoastSteps() { return std::vector<Step>(21, Step{7, 42, 2, StepWaiting}); }
std::vector<Step> TwentyAndCool() {
    std::vector<Step> steps(20, Step{7, 42, 2, StepWaiting});
    steps.push_back({4, 25, 0, CoolWaiting});
    return steps;
}

INSTANTIATE_TEST_SUITE_P(
    Files, CoffReadTest,
    ::testing::Values(
        ReadCase{"DefaultFile", kDefaultText, CoffLoad::Loaded, kDefaultSteps},
        ReadCase{"TwentyRoastAndCool420Bytes", Repeat(Roast('7', "42", '2'), 20) + Cool('4', "25"), CoffLoad::Loaded,
                 TwentyAndCool()},
        ReadCase{"OneByteTooLong", Repeat(Roast('7', "42", '2'), 20) + Cool('4', "25") + "x", CoffLoad::Refused,
                 kDefaultSteps},
        ReadCase{"LeadingCoolingRecord", Cool('4', "25") + Cool('4', "25"), CoffLoad::Refused, kDefaultSteps},
        ReadCase{"UnknownMarker", Roast('7', "42", '2') + CoffRecord("QVR_COFF_XXXX", '4', "25", '0'),
                 CoffLoad::Refused, kDefaultSteps},
        ReadCase{"EndsBeforeCooling", Roast('7', "42", '2') + Roast('6', "11", '1'), CoffLoad::Refused, kDefaultSteps},
        ReadCase{"Empty", "", CoffLoad::Refused, kDefaultSteps},
        ReadCase{"ShortTailIsNoRecord", Roast('7', "42", '2') + "QVR_COFF", CoffLoad::Refused, kDefaultSteps},
        ReadCase{"DigitDefaults",
                 Roast('0', "00", '7') + Roast(':', "0:", '3') + Roast('9', "99", '0') + Cool('0', "00"),
                 CoffLoad::Loaded,
                 {{5, 59, 3, StepWaiting}, {5, 10, 3, StepWaiting}, {9, 99, 0, StepWaiting}, {5, 30, 0, CoolWaiting}}},
        ReadCase{"TimeBytesAreSigned", Roast('2', "0\x80", '1') + Cool('3', "0\x90"), CoffLoad::Loaded,
                 {{2, 59, 1, StepWaiting}, {3, 30, 0, CoolWaiting}}},
        ReadCase{"CoolingHeatIgnoredAndTailIgnored",
                 Roast('2', "15", '1') + CoffRecord("QVR_COFF_COOL", '3', "45", '3') + "garbage after the end",
                 CoffLoad::Loaded, {{2, 15, 1, StepWaiting}, {3, 45, 0, CoolWaiting}}},
        ReadCase{"TruncatedCoolingRecordLoadsDefaults", Roast('2', "15", '1') + "QVR_COFF_COOL/8", CoffLoad::Loaded,
                 {{2, 15, 1, StepWaiting}, {8, 30, 0, CoolWaiting}}},
        ReadCase{"TwentyOneRoastRecordsNoCooling", Repeat(Roast('7', "42", '2'), 21), CoffLoad::NoCooling,
                 TwentyOneRoastSteps()}),
    [](const ::testing::TestParamInfo<ReadCase>& info) { return std::string(info.param.name); });

TEST(CoffRead, FileThatCannotBeOpenedLeavesTheListAlone) {
    TempFolder folder;
    for (const std::string& path : {folder.Path("missing.coff"), folder.Path("")}) {
        CStep_Data list;
        Fill(list, {{9, 9, 1, StepWaiting}, {8, 8, 0, CoolWaiting}});
        const CoffLoadResult result = LoadCoffFile(path, list);
        EXPECT_EQ(result.outcome, CoffLoad::CannotOpen) << path;
        EXPECT_THAT(result.reason, Not(IsEmpty())) << path;
        EXPECT_THAT(Steps(list), ElementsAreArray(std::vector<Step>{{9, 9, 1, StepWaiting}, {8, 8, 0, CoolWaiting}}));
    }
}

TEST(CoffWrite, DefaultFileIsTheFortyByteDefaultProfile) {
    TempFolder folder;
    const std::string path = folder.Path("new.coff");
    TempFolder::Write(path, Repeat(Roast('1', "11", '1'), 10));  // an existing file is emptied
    ASSERT_TRUE(WriteDefaultCoffFile(path).ok);
    EXPECT_EQ(TempFolder::Read(path), kDefaultText);
}

TEST(CoffWrite, TextHoldsTwoDigitTimesAndEndsWithTheCoolingRecord) {
    CStep_Data list;
    Fill(list, {{1, 5, 0, StepCompleted}, {9, 99, 3, StepWaiting}, {6, 100, 2, StepRunning}, {4, 2565, 0, StepEnd}});
    const std::optional<std::string> text = BuildCoffText(list);
    ASSERT_TRUE(text);
    // 100 gives the tens byte ":"; 2565 does not fit a byte and saturates,
    // so both read back as the default time rather than a short one.
    EXPECT_EQ(*text, Roast('1', "05", '0') + Roast('9', "99", '3') + Roast('6', ":0", '2') +
                         CoffRecord("QVR_COFF_COOL", '4', "\xff\x35", '0'));

    TempFolder folder;
    const std::string path = folder.Path("long.coff");
    ASSERT_TRUE(CreateCoffFile(path, *text).ok);
    EXPECT_EQ(TempFolder::Read(path), *text);
    ASSERT_EQ(LoadCoffFile(path, list).outcome, CoffLoad::Loaded);
    EXPECT_THAT(Steps(list), ElementsAreArray(std::vector<Step>{
                                 {1, 5, 0, StepWaiting}, {9, 99, 3, StepWaiting}, {6, 59, 2, StepWaiting},
                                 {4, 30, 0, CoolWaiting}}));
}

TEST(CoffWrite, RefusesListsTheReaderWouldNotLoad) {
    std::vector<Step> twenty_two(21, Step{5, 20, 2, StepWaiting});
    twenty_two.push_back({5, 30, 0, CoolWaiting});
    const std::vector<std::vector<Step>> refused{
        {{5, 20, 2, StepWaiting}, {5, 30, 0, StepWaiting}},  // no cooling step at the end
        {{5, 30, 0, CoolWaiting}},                             // a cooling step alone
        twenty_two,                                            // an upload of 22 steps
    };
    for (const auto& steps : refused) {
        CStep_Data list;
        Fill(list, steps);
        EXPECT_FALSE(BuildCoffText(list)) << steps.size() << " steps";
    }
}

TEST(CoffWrite, OverwriteKeepsTheLongerFilesTailAndLoadsTheNewSteps) {
    TempFolder folder;
    const std::string path = folder.Path("five.coff");
    const std::string old_text = Repeat(Roast('8', "80", '3'), 4) + Cool('8', "80");
    TempFolder::Write(path, old_text);
    const std::string text = Roast('1', "11", '1') + Roast('2', "22", '2') + Cool('3', "33");

    ASSERT_TRUE(OverwriteCoffFile(path, text).ok);
    EXPECT_EQ(TempFolder::Read(path), text + old_text.substr(60));

    CStep_Data list;
    ASSERT_EQ(LoadCoffFile(path, list).outcome, CoffLoad::Loaded);
    EXPECT_THAT(Steps(list), ElementsAreArray(std::vector<Step>{
                                 {1, 11, 1, StepWaiting}, {2, 22, 2, StepWaiting}, {3, 33, 0, CoolWaiting}}));

    const std::string vanished = folder.Path("vanished.coff");
    ASSERT_TRUE(OverwriteCoffFile(vanished, text).ok);  // a file that is gone is created again
    EXPECT_EQ(TempFolder::Read(vanished), text);
}

TEST(CoffWrite, FailuresAreReportedWithTheirReason) {
    TempFolder folder;
    std::vector<std::string> unwritable{folder.Path("no such folder/x.coff"), folder.Path("")};
#ifdef __linux__
    unwritable.push_back("/dev/full");  // a full disk: only the flush fails
#endif
    for (const std::string& path : unwritable) {
        for (const FileResult& result :
             {WriteDefaultCoffFile(path), CreateCoffFile(path, kDefaultText), OverwriteCoffFile(path, kDefaultText)}) {
            EXPECT_FALSE(result.ok) << path;
            EXPECT_THAT(result.reason, Not(IsEmpty())) << path;
        }
    }
#ifdef __linux__
    EXPECT_THAT(OverwriteCoffFile("/dev/full", kDefaultText).reason, HasSubstr("space"));
#endif
}

#ifdef __linux__
// Files no larger than `bytes` can be written while it lives: a write beyond
// fails as on a full disk.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previous_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previous_);
    }

private:
    rlimit saved_{};
    void (*previous_)(int) = nullptr;
};

std::vector<std::string> FileNames(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename());
    return names;
}

TEST(CoffWrite, AWriteThatFailsLeavesTheOldFileWhole) {
    TempFolder folder;
    const std::string path = folder.Path("beans.coff");
    const std::string old_text = Repeat(Roast('8', "80", '3'), 2) + Cool('8', "80");
    const std::string text = Repeat(Roast('1', "11", '1'), 3) + Cool('3', "33");
    const std::vector<std::pair<const char*, std::function<FileResult()>>> writers{
        {"overwrite", [&] { return OverwriteCoffFile(path, text); }},
        {"create", [&] { return CreateCoffFile(path, text); }},
        {"default", [&] { return WriteDefaultCoffFile(path); }},
    };
    for (const auto& [name, write] : writers) {
        TempFolder::Write(path, old_text);
        FileResult result;
        {
            const FileSizeLimit limit(30);  // the disk fills after 30 bytes
            result = write();
        }
        EXPECT_FALSE(result.ok) << name;
        EXPECT_THAT(result.reason, Not(IsEmpty())) << name;
        EXPECT_EQ(TempFolder::Read(path), old_text) << name;
        EXPECT_THAT(FileNames(folder.Path("")), ElementsAreArray({"beans.coff"})) << name << ": a stray file";
    }
}

TEST(CoffWrite, AReplacedFileKeepsItsLinkAndPermissions) {
    TempFolder folder;
    const std::string real = folder.Path("real.coff");
    const std::string link = folder.Path("link.coff");
    TempFolder::Write(real, Repeat(Roast('8', "80", '3'), 2) + Cool('8', "80"));
    ASSERT_EQ(chmod(real.c_str(), 0640), 0);
    std::filesystem::create_symlink("real.coff", link);
    const std::string text = Roast('1', "11", '1') + Cool('3', "33");

    ASSERT_TRUE(CreateCoffFile(link, text).ok);
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(TempFolder::Read(real), text);
    struct stat info {};
    ASSERT_EQ(stat(real.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);

    ASSERT_TRUE(OverwriteCoffFile(link, Cool('2', "22")).ok);
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(TempFolder::Read(real), Cool('2', "22") + Cool('3', "33"));
}
#endif

}  // namespace
