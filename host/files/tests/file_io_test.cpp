// The file operations every writer shares, on what differs between
// systems: names in any script, replacing a file that exists, creating a
// file only where none is, and bytes that a text mode would change.
#include "file_io.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include "file_reader.h"
#include "temp_folder.h"

namespace {

using ::testing::ElementsAre;

std::vector<std::string> FileNames(const TempFolder& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(FsPath(folder.Path(""))))
        names.push_back(entry.path().filename().u8string());
    return names;
}

// Every byte value, line ends of both kinds and the byte a text mode on
// Windows takes for the end of the file.
std::string AllBytes() {
    std::string bytes = "line\nwindows line\r\nlone cr\r\x1a after ctrl-z\n";
    for (int b = 0; b < 256; ++b) bytes += static_cast<char>(b);
    return bytes;
}

TEST(FileIo, ReplacingAFileInAnyScriptLeavesOnlyTheNewBytes) {
    for (const std::string name : {"Kenya AA.coff", "Äthiopien Sidamo.csv", "咖啡 深烘.coff", "Café ☕.csv"}) {
        TempFolder folder;
        const std::string path = folder.Path(name);
        ASSERT_TRUE(ReplaceContents(path, "old contents, longer than the new").ok) << name;
        const FileResult replaced = ReplaceContents(path, AllBytes());
        ASSERT_TRUE(replaced.ok) << name << ": " << replaced.reason;
        std::string read;
        std::string reason;
        ASSERT_TRUE(ReadWholeFile(path, read, reason)) << name << ": " << reason;
        EXPECT_EQ(read, AllBytes()) << name;
        EXPECT_THAT(FileNames(folder), ElementsAre(name)) << "no file but the replaced one";
    }
}

TEST(FileIo, AppendedAndPieceReadBytesAreTheBytesWritten) {
    TempFolder folder;
    const std::string path = folder.Path("Röstung.csv.partial");
    ASSERT_TRUE(AppendAndSync(path, AllBytes()).ok);
    ASSERT_TRUE(AppendAndSync(path, "tail\r\n").ok);
    const std::string whole = AllBytes() + "tail\r\n";
    FileReader reader(path);
    ASSERT_TRUE(reader.ok()) << reader.reason();
    EXPECT_EQ(reader.size(), whole.size());
    std::string piece;
    ASSERT_TRUE(reader.ReadAt(whole.size() - 300, 1000, piece));
    EXPECT_EQ(piece, whole.substr(whole.size() - 300));
}

TEST(FileIo, ANewFileIsMadeOnlyWhereNoneIs) {
    TempFolder folder;
    const std::string path = folder.Path("Kaffee.coff.saving");
    std::FILE* first = OpenNewFile(path);
    ASSERT_NE(first, nullptr);
    ASSERT_TRUE(WriteAndClose(first, "first").ok);

    errno = 0;
    std::FILE* second = OpenNewFile(path);
    EXPECT_EQ(second, nullptr);
    EXPECT_EQ(errno, EEXIST);
    if (second) std::fclose(second);
    std::string read;
    std::string reason;
    ASSERT_TRUE(ReadWholeFile(path, read, reason));
    EXPECT_EQ(read, "first");
}

}  // namespace
