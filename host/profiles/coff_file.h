// The ".coff" roast-profile file: fixed 20-byte ASCII records, one per step,
// back to back with no header, separator or trailer.
//
//   offset  0..12  "QVR_COFF_FLIE" (roast step) or "QVR_COFF_COOL" (cooling)
//   offset 13      "/"
//   offset 14      fan digit
//   offset 15      "/"
//   offset 16..17  time in tenths of a minute, two digits
//   offset 18      "/"
//   offset 19      heat digit
//
// Roast records come first, then exactly one cooling record. Every file
// operation is byte-exact (binary mode, no line-end translation), and every
// writer reports whether the bytes really reached the file.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "file_io.h"
#include "step_data.h"

constexpr std::size_t kCoffRecordSize = 20;
constexpr std::size_t kCoffMaxRecords = 21;
constexpr std::size_t kCoffMaxBytes = kCoffRecordSize * kCoffMaxRecords;  // 420

inline const std::string kCoffRoastMarker = "QVR_COFF_FLIE";
inline const std::string kCoffCoolMarker = "QVR_COFF_COOL";

// The text of a file for `list`: 20 bytes a step, the last step written as
// the cooling record. Renumbers the list first. Refused (nullopt) when the
// text would not load back: fewer than two steps, more than 21, or a last
// step that is not a cooling step.
std::optional<std::string> BuildCoffText(CStep_Data& list);

// What keeps `list` from being a profile that a file holds as it is: fewer
// than two steps or more than 21, a cooling step that is not the last or a
// last step that is no cooling, a fan, time or heat a record does not hold
// (fan 1..9, time 1..99 tenths of a minute, heat 0..3). Empty when it is
// one. Renumbers the list first.
std::string CoffProfileProblem(CStep_Data& list);

// Makes `list` the steps `steps` gives (roast steps, then the cooling, as a
// file loads them: roast steps waiting, the cooling cooling-waiting), and
// returns what keeps them from being a profile (CoffProfileProblem).
std::string CoffProfileOf(const std::vector<StepNode>& steps, CStep_Data& list);

// Creates `path` (emptying an existing file) holding the two records of the
// default profile: 40 bytes.
FileResult WriteDefaultCoffFile(const std::string& path);

// Writes `text` over the start of the existing file at `path` (creating it
// when it cannot be opened), without emptying it first: bytes beyond the new
// text stay, and the reader never looks past the cooling record.
FileResult OverwriteCoffFile(const std::string& path, const std::string& text);

// Creates `path` (emptying an existing file) holding `text`.
FileResult CreateCoffFile(const std::string& path, const std::string& text);

enum class CoffLoad {
    Loaded,       // a cooling record ended the profile: a complete profile
    NoCooling,    // 21 roast records and no cooling record: the steps are loaded
    Refused,      // malformed file: the list is the default profile
    CannotOpen,   // the file could not be opened or read: the list is unchanged
};

struct CoffLoadResult {
    CoffLoad outcome = CoffLoad::Refused;
    std::string reason;  // why the file could not be opened (CannotOpen)
    // The values of the file's first roast record, when it starts with one
    // (also for a file refused further on): the panel takes them up.
    struct FirstStep {
        int32_t fan, time, heat;
    };
    std::optional<FirstStep> first_step;
};

// Reads the profile file at `path` into `list`.
//
// A file longer than 420 bytes, one that starts with anything but a roast
// record, holds an unknown marker or ends before a cooling record is
// refused, and `list` becomes the default profile. A value out of range
// loads its default: fan 5, heat 3, time 59 (30 for the cooling step).
// Bytes after the cooling record are ignored. On Loaded and NoCooling the
// list holds the steps read, roast steps waiting and the cooling step
// cooling-waiting. A file that cannot be opened leaves `list` as it was.
CoffLoadResult LoadCoffFile(const std::string& path, CStep_Data& list);

// True when `path` names a file that can be opened for reading (not a
// folder).
bool CoffFileReadable(const std::string& path);

// True when something exists at `path`.
bool PathExists(const std::string& path);

// Deletes the file at `path`.
FileResult DeleteCoffFile(const std::string& path);
