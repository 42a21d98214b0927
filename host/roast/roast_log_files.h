// Where recordings are kept: one file a roast in the roasts folder, named
// as roast_log_names.h says. While the roast runs its rows go to its
// partial log, appended and put on the disk every few seconds, so a crash, a kill or a power cut loses only the last
// seconds; at the end the whole log replaces it as "<name>.csv" in one
// rename. A log left partial by a program that never finished it is made
// whole at the next start, marked incomplete.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "file_io.h"
#include "roast_clock.h"
#include "roast_log.h"
#include "roast_log_names.h"
#include "roast_log_text.h"

// Receives a recording as it happens.
class RoastLogStore {
public:
    virtual ~RoastLogStore() = default;
    // A recording began at `start`; `log` holds its header so far.
    virtual void Begin(const RoastLog& log, const LocalDateTime& start, const std::string& profile) = 0;
    virtual void Append(const RoastSample& sample) = 0;
    // A header line changed while the roast runs (a mark, a note).
    virtual void Journal(const RoastHeaderLine& line) = 0;
    // The recording ended; `log` is all of it, with its final header.
    virtual void End(const RoastLog& log) = 0;
};

// Rows reach the disk at least this often (in the recording's seconds).
constexpr double kRoastFlushSeconds = 5.0;

class RoastLogFiles final : public RoastLogStore {
public:
    explicit RoastLogFiles(std::string folder) : folder_(std::move(folder)) {}

    // A folder or file that cannot be written, with the reason. Said once
    // a recording; the recording goes on in memory.
    std::function<void(const std::string& path, const std::string& reason)> on_failure;

    void Begin(const RoastLog& log, const LocalDateTime& start, const std::string& profile) override;
    void Append(const RoastSample& sample) override;
    void Journal(const RoastHeaderLine& line) override;
    void End(const RoastLog& log) override;

    const std::string& folder() const { return folder_; }
    // The file of the running or the last recording; empty before the
    // first and when its folder could not be made.
    const std::string& path() const { return final_path_; }
    // True when the last recording ended with its file written.
    bool saved() const { return saved_; }

private:
    void Flush();
    void Fail(const std::string& path, const std::string& reason);

    std::string folder_;
    std::string final_path_;
    std::string partial_path_;
    std::string pending_;  // rows not yet on the disk
    double last_flush_seconds_ = 0;
    bool writing_ = false;  // false after a failure: the rest stays in memory
    bool reported_ = false;
    bool saved_ = false;
};

// Writes the whole log to `path`, replacing a file there in one rename.
FileResult SaveRoastLog(const RoastLog& log, const std::string& path);

// Reads the roast file at `path`: one of the console's logs, or another
// program's roast (roast_files.h); a file that cannot be read gives line 0
// and the reason.
RoastLogParse ReadRoastLogFile(const std::string& path);
// What a log that does not read is said with: "Cannot read the roast log
// PATH: line 4: bad fan "x"", or the reason a file could not be read.
std::string ReadFailureText(const std::string& path, const RoastLogParse& parsed);

// Gives the saved log at `path` the header of `log` (its notes, say): the
// file is replaced in one rename, and everything from its column line on
// stays byte for byte as it was. Refused when the file no longer reads as
// a roast log.
FileResult RewriteRoastHeader(const std::string& path, const RoastLog& log);

// Makes every partial log in `folder` whole, marked incomplete
// ("interrupted"), and returns the logs made. A partial log that does not
// read as one is left as it is.
std::vector<std::string> RecoverInterruptedLogs(const std::string& folder);
