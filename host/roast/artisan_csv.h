// Artisan's CSV export, read: tab-separated, a first line of "Date:",
// "Unit:", "CHARGE:", "TP:", "DRYe:", "FCs:", "FCe:", "SCs:", "SCe:",
// "DROP:", "COOL:" and "Time:" fields (times mm:ss from the start of the
// recording; an empty or 00:00 mark is not set, but CHARGE at 00:00 is),
// then the columns "Time1 Time2 ET BT Event" and any of extra devices,
// then a row a second. A row whose time is not after the last one's is
// left out, as Artisan leaves it out. The file has no events of fan or
// heat: the roast's levels are not known. See artisan_roast.h for the log
// it becomes.
#pragma once

#include <string>

#include "roast_log_text.h"

// True when `first_line` is the first line of such a file.
bool IsArtisanCsvStart(const std::string& first_line);

// Reads the file's text; a refusal names its line.
RoastLogParse ParseArtisanCsv(const std::string& text);
