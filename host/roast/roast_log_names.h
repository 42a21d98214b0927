// The names of roast log files. A roast's log is named by its local start
// time and its profile, "2026-12-08_140305 Kenya AA.csv"; while the roast
// runs it is "<that name>.partial". A second roast of the same name gets
// " (2)" and on before its extension.
#pragma once

#include <string>

#include "roast_clock.h"
#include "roast_log.h"

inline const std::string kLogExtension = ".csv";
inline const std::string kPartialSuffix = ".partial";

// `name` made safe as part of a file name on every platform: no path
// separators, reserved or control characters, at most 80 bytes of whole
// UTF-8 characters, no name of a Windows device ("CON" becomes "CON_");
// "roast" when nothing is left.
std::string SafeFileName(const std::string& name);

// "2026-12-08_140305", the start of a log's file name.
std::string FileStamp(const LocalDateTime& t);

// The name of the log of a roast of `profile` begun at `start`, without
// its extension.
std::string LogFileStem(const LocalDateTime& start, const std::string& profile);

// The file name the roasts folder gives `log`, from its start and profile
// header lines ("roast" stands in for a start that does not read).
std::string SuggestedLogName(const RoastLog& log);

// "*.csv" and "*.csv.partial".
bool IsLogFileName(const std::string& name);
bool IsPartialLogFileName(const std::string& name);
// The name a partial log has once it is whole.
std::string WholeLogFileName(const std::string& partial_name);

// A path in `folder` for a log named `stem` that neither a log nor a
// partial log uses.
std::string FreeLogPath(const std::string& folder, const std::string& stem);
