// Roast files written out as Artisan profiles: "Export for Artisan…" of the
// roast history, for one roast or for several into a folder.
#pragma once

#include <string>
#include <vector>

// Reads the roast file at `from` (any kind the console reads) and writes it
// as an Artisan profile at `to`, temperatures in °C when `celsius`; empty
// when done, else what went wrong.
std::string ExportRoastFile(const std::string& from, const std::string& to, bool celsius);

// A path in `folder` for the roast file `from` exported: its name with
// ".alog" for its extension, and " (2)" and on before it where a file of
// that name exists.
std::string FreeArtisanPath(const std::string& folder, const std::string& from);

// Exports every roast file of `paths` into `folder`; a line for each that
// could not be ("PATH: what went wrong").
std::vector<std::string> ExportRoastFilesInto(const std::vector<std::string>& paths, const std::string& folder,
                                              bool celsius);
