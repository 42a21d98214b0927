// A file read in pieces, at any offset: what a reader needs to look at the
// start and the end of a long file without reading all of it.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

class FileReader {
public:
    // Opens the file at the UTF-8 `path`; ok() tells whether it opened.
    explicit FileReader(const std::string& path);
    ~FileReader();
    FileReader(const FileReader&) = delete;
    FileReader& operator=(const FileReader&) = delete;

    bool ok() const { return file_ != nullptr; }
    // Why the file did not open, or why the last read failed.
    const std::string& reason() const { return reason_; }
    // The file's length in bytes when it was opened.
    std::uint64_t size() const { return size_; }

    // Puts the bytes from `offset` on, at most `length` of them, in `out`
    // (fewer at the end of the file); false with reason() on a failure.
    bool ReadAt(std::uint64_t offset, std::size_t length, std::string& out);

private:
    bool SeekTo(std::uint64_t offset);

    std::FILE* file_ = nullptr;
    std::uint64_t size_ = 0;
    std::string reason_;
};
