// File operations that every writer of the console shares: UTF-8 paths on
// every platform, failures reported with their reason, and whole-file
// replacement that never leaves a half-written file behind.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>

// The outcome of a file operation; `reason` says why it failed.
struct FileResult {
    bool ok = true;
    std::string reason;
};

// A path given in UTF-8 as the file system takes it.
std::filesystem::path FsPath(const std::string& utf8);

// Opens a file by its UTF-8 path (fopen modes).
std::FILE* OpenFile(const std::string& path, const char* mode);

// Creates the file at `path` for writing (binary) only when nothing is
// there yet; null with errno EEXIST when a file of that name exists.
std::FILE* OpenNewFile(const std::string& path);

// The reason for the failure that just happened; `fallback` when the C
// library left no error code (a short write).
std::string LastError(const char* fallback);

// Writes the whole text at the start of the file, flushes it to the disk
// and closes; the first failure wins, and the file is closed in every case.
FileResult WriteAndClose(std::FILE* file, const std::string& text);

// Makes `contents` the whole of the file at `path`: the bytes go to a new
// file beside it, which then replaces the old one in a single rename, so a
// write that fails (a full disk, say) leaves the old file as it was. A
// symbolic link keeps pointing at its file, and a replaced file keeps its
// permissions. Paths that are not plain files (a device) and folders where
// no new file may be made are written in place.
FileResult ReplaceContents(const std::string& path, const std::string& contents);

// Appends `text` to the file at `path` (creating it) and puts it on the
// disk before returning.
FileResult AppendAndSync(const std::string& path, const std::string& text);

// Reads the whole file; false with `reason` when it cannot be read.
bool ReadWholeFile(const std::string& path, std::string& contents, std::string& reason);
