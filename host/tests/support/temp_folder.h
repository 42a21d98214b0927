// A fresh folder for the files of one test, removed with everything in it
// when the test ends, and byte-exact helpers to write and read its files.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

class TempFolder {
public:
    TempFolder() {
        const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string("coff_") + test->test_suite_name() + "_" + test->name();
        for (char& ch : name)
            if (ch == '/') ch = '_';
        // Other builds of the project may run the same tests at the same time.
        name += "_" + std::to_string(std::random_device{}());
        dir_ = std::filesystem::temp_directory_path() / name;
        std::filesystem::create_directories(dir_);
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The UTF-8 path of `name` (which may hold folders) in the folder, with
    // the system's own separators, as the console's own paths have them.
    std::string Path(const std::string& name) const {
        return (dir_ / std::filesystem::u8path(name)).make_preferred().u8string();
    }

    static void Write(const std::string& path, const std::string& bytes) {
        std::ofstream(std::filesystem::u8path(path), std::ios::binary | std::ios::trunc) << bytes;
    }
    static std::string Read(const std::string& path) {
        std::ifstream in(std::filesystem::u8path(path), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

private:
    std::filesystem::path dir_;
};

// One 20-byte record: marker, fan, two time bytes, heat.
inline std::string CoffRecord(const char* marker, char fan, const char* time, char heat) {
    return std::string(marker) + "/" + fan + "/" + time + "/" + heat;
}
inline std::string Roast(char fan, const char* time, char heat) { return CoffRecord("QVR_COFF_FLIE", fan, time, heat); }
inline std::string Cool(char fan, const char* time) { return CoffRecord("QVR_COFF_COOL", fan, time, '0'); }
// `record` `n` times over.
inline std::string Repeat(const std::string& record, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += record;
    return out;
}
