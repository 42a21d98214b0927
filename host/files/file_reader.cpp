#include "file_reader.h"

#include <cerrno>
#include <system_error>

#include "file_io.h"

#ifndef _WIN32
#include <sys/types.h>
#endif

FileReader::FileReader(const std::string& path) {
    std::error_code ec;
    if (std::filesystem::is_directory(FsPath(path), ec)) {
        reason_ = "is a folder";
        return;
    }
    errno = 0;
    file_ = OpenFile(path, "rb");
    if (!file_) {
        reason_ = LastError("cannot open");
        return;
    }
    // The length of what was opened, not of what the path names by now.
#ifdef _WIN32
    const bool at_end = _fseeki64(file_, 0, SEEK_END) == 0;
    const long long end = at_end ? _ftelli64(file_) : -1;
#else
    const bool at_end = fseeko(file_, 0, SEEK_END) == 0;
    const long long end = at_end ? static_cast<long long>(ftello(file_)) : -1;
#endif
    if (end < 0) {
        reason_ = LastError("cannot read");
        std::fclose(file_);
        file_ = nullptr;
        return;
    }
    size_ = static_cast<std::uint64_t>(end);
}

FileReader::~FileReader() {
    if (file_) std::fclose(file_);
}

bool FileReader::SeekTo(std::uint64_t offset) {
#ifdef _WIN32
    return _fseeki64(file_, static_cast<long long>(offset), SEEK_SET) == 0;
#else
    return fseeko(file_, static_cast<off_t>(offset), SEEK_SET) == 0;
#endif
}

bool FileReader::ReadAt(std::uint64_t offset, std::size_t length, std::string& out) {
    out.clear();
    if (!file_) return false;
    errno = 0;
    if (!SeekTo(offset)) {
        reason_ = LastError("cannot read");
        return false;
    }
    out.resize(length);
    const std::size_t got = std::fread(out.data(), 1, length, file_);
    out.resize(got);
    if (std::ferror(file_) != 0) {
        reason_ = LastError("cannot read");
        std::clearerr(file_);
        return false;
    }
    return true;
}
