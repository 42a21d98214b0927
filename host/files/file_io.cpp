#include "file_io.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <system_error>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <process.h>
#include <sys/stat.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

std::filesystem::path FsPath(const std::string& utf8) { return std::filesystem::u8path(utf8); }

std::FILE* OpenFile(const std::string& path, const char* mode) {
#ifdef _WIN32
    const std::wstring wide_mode(mode, mode + std::strlen(mode));
    return _wfopen(FsPath(path).c_str(), wide_mode.c_str());
#else
    return std::fopen(path.c_str(), mode);
#endif
}

std::FILE* OpenNewFile(const std::string& path) {
#ifdef _WIN32
    // The C library of MinGW and of older Visual C++ (msvcrt) ignores
    // fopen's "x": open the file exclusively by hand.
    const int fd = _wopen(FsPath(path).c_str(), _O_CREAT | _O_EXCL | _O_WRONLY | _O_BINARY, _S_IREAD | _S_IWRITE);
    if (fd < 0) return nullptr;
    std::FILE* file = _fdopen(fd, "wb");
    if (!file) _close(fd);
    return file;
#else
    return OpenFile(path, "wbx");
#endif
}

std::string LastError(const char* fallback) {
    const int code = errno;
    return code != 0 ? std::generic_category().message(code) : std::string(fallback);
}

namespace {

FileResult Failure(std::string reason) { return FileResult{false, std::move(reason)}; }

// Asks the system to put the file's written bytes on the disk; 0 on success
// and for files that cannot be synced (a device).
int SyncToDisk(std::FILE* file) {
#ifdef _WIN32
    return _commit(_fileno(file));
#else
    const int result = fsync(fileno(file));
    return result != 0 && (errno == EINVAL || errno == ENOTSUP) ? 0 : result;
#endif
}

// Makes a rename in `folder` survive a crash of the system (best effort).
void SyncFolder(const fs::path& folder) {
#ifndef _WIN32
    const int fd = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
#else
    (void)folder;
#endif
}

// Gives a new file the permission bits of the file it is to replace.
void KeepPermissions(std::FILE* file, const fs::path& original) {
#ifndef _WIN32
    struct stat info {};
    if (stat(original.c_str(), &info) == 0) fchmod(fileno(file), info.st_mode & 07777);
#else
    (void)file;
    (void)original;
#endif
}

long ProcessId() {
#ifdef _WIN32
    return _getpid();
#else
    return static_cast<long>(getpid());
#endif
}

}  // namespace

namespace {

// Writes the text where the file stands (at its start unless `append`),
// puts it on the disk and closes; the first failure wins, and the file is
// closed in every case.
FileResult PutAndClose(std::FILE* file, const std::string& text, bool append) {
    FileResult result;
    errno = 0;
    if (!append && std::fseek(file, 0, SEEK_SET) != 0) result = Failure(LastError("cannot seek"));
    if (result.ok && !text.empty() && std::fwrite(text.data(), 1, text.size(), file) != text.size())
        result = Failure(LastError("short write"));
    if (result.ok && std::fflush(file) != 0) result = Failure(LastError("cannot flush"));
    if (result.ok && SyncToDisk(file) != 0) result = Failure(LastError("cannot flush"));
    errno = 0;
    if (std::fclose(file) != 0 && result.ok) result = Failure(LastError("cannot close"));
    return result;
}

}  // namespace

FileResult WriteAndClose(std::FILE* file, const std::string& text) { return PutAndClose(file, text, false); }

namespace {

// Writes `contents` straight into the file at `path`, emptying it first.
FileResult WriteInPlace(const std::string& path, const std::string& contents) {
    errno = 0;
    std::FILE* file = OpenFile(path, "wb");
    if (!file) return Failure(LastError("cannot create"));
    return WriteAndClose(file, contents);
}

}  // namespace

FileResult ReplaceContents(const std::string& path, const std::string& contents) {
    std::error_code ec;
    fs::path target = FsPath(path);
    if (fs::is_symlink(target, ec)) {
        target = fs::canonical(target, ec);
        if (ec) return WriteInPlace(path, contents);
    }
    const fs::file_status status = fs::status(target, ec);
    const bool exists = fs::exists(status);
    if ((exists && !fs::is_regular_file(status)) || target.filename().empty()) return WriteInPlace(path, contents);

    static std::atomic<unsigned> counter{0};
    fs::path temp;
    std::FILE* file = nullptr;
    for (int attempt = 0; attempt < 100 && !file; ++attempt) {
        temp = target;
        temp.replace_filename("." + target.filename().u8string() + ".saving-" + std::to_string(ProcessId()) + "-" +
                              std::to_string(++counter));
        errno = 0;
        file = OpenNewFile(temp.u8string());
        if (!file && errno != EEXIST) break;
    }
    if (!file) {
        // A folder that takes no new files may still let the file itself be
        // written; anything else (a full disk, a missing folder) fails here
        // before the old file is touched.
        if (errno == EACCES || errno == EPERM) return WriteInPlace(path, contents);
        return Failure(LastError("cannot create"));
    }
    if (exists) KeepPermissions(file, target);
    FileResult result = WriteAndClose(file, contents);
    if (result.ok) {
        fs::rename(temp, target, ec);
        if (ec) result = Failure(ec.message());
    }
    if (!result.ok) {
        fs::remove(temp, ec);
        return result;
    }
    SyncFolder(target.parent_path());
    return result;
}

FileResult AppendAndSync(const std::string& path, const std::string& text) {
    errno = 0;
    std::FILE* file = OpenFile(path, "ab");
    if (!file) return Failure(LastError("cannot open"));
    return PutAndClose(file, text, true);
}

bool ReadWholeFile(const std::string& path, std::string& contents, std::string& reason) {
    std::error_code ec;
    if (fs::is_directory(FsPath(path), ec)) {
        reason = "is a folder";
        return false;
    }
    errno = 0;
    std::FILE* file = OpenFile(path, "rb");
    if (!file) {
        reason = LastError("cannot open");
        return false;
    }
    contents.clear();
    char buffer[65536];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, file)) > 0;) contents.append(buffer, got);
    const bool failed = std::ferror(file) != 0;
    if (failed) reason = LastError("cannot read");
    std::fclose(file);
    return !failed;
}
