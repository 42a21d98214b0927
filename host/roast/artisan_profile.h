// Artisan's roast profile, the ".alog" file: one Python dictionary literal
// (Artisan writes it with repr and reads it with ast.literal_eval), read
// here without evaluating anything.
//
// Read: the unit ("mode"), the times ("timex"), the bean temperature
// ("temp2"; the environment's, "temp1", checked only for its length), the
// marks ("timeindex"), the Burner and Air events ("specialevents",
// "specialeventstype", "specialeventsvalue", named by "etypes"), the title,
// beans, weights, notes and date; see artisan_roast.h for what becomes of
// them. Refused: a file that is not one dictionary literal, a name or a call
// where a value belongs, lists that should match and do not, indices
// outside the samples, a unit that is not 'C' or 'F'.
//
// Written: every sample, the marks as "timeindex" (CHARGE on the first
// sample, where the console's roasts begin), each change of fan and heat as
// an Air and a Burner event (Artisan's slider values: the level itself),
// the notes and weights, the date, the computed phase times, in the unit
// asked for. What Artisan has no key for (the console's header lines, the
// marks to the tenth of a second, each sample's step, phase, levels, time
// left and rate of rise) goes under the key "kavolo", which Artisan
// ignores; reading a file that has it gives back the very log that was
// written, as long as it agrees with Artisan's own keys.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "roast_log.h"
#include "roast_log_text.h"

inline const std::string kArtisanExtension = ".alog";
// The key of what only this console reads back.
inline const std::string kConsoleExtrasKey = "kavolo";

// Reads an .alog file's text; a refusal names its line when it has one.
RoastLogParse ParseArtisanProfile(const std::string& text);

// The .alog text of `log`, temperatures in °C when `celsius`, else °F.
std::string ArtisanProfileText(const RoastLog& log, bool celsius);

// The name the console suggests for `log` exported: its log's name with
// ".alog".
std::string ArtisanFileName(const RoastLog& log);

// The sample a mark at `seconds` is written at: the last sample taken by
// then (the one whose reading the mark has), never the first, which is
// CHARGE.
std::size_t ArtisanMarkIndex(const std::vector<RoastSample>& samples, double seconds);
