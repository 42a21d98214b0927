// A roast as Artisan's files give it, read from an .alog profile or from
// Artisan's CSV, and the RoastLog it becomes here.
//
// Artisan records from before the beans go in (the preheat) and marks
// CHARGE on the sample where they did; the console's roasts start when the
// heating starts. The log therefore starts at CHARGE: the samples before
// it are left out and the times count from it (a recording whose first
// sample is CHARGE keeps its times). Temperatures become °F. The marks
// come from Artisan's sample indices: dry end, first crack and its end,
// second crack and the drop (the end of second crack and COOL have no mark
// here). Heat and fan come from the Burner and Air events, as levels of
// this roaster (heat 0 to 3, fan 1 to 9), held from one event to the next;
// where the events do not say them, the samples say nothing
// (kLevelUnknown), and the steps the roast ran ("run_steps") are given
// only when the events say heat and fan for the whole roast from CHARGE
// on, with a DROP; else "run_steps_unknown" says why. The title, beans,
// weights and notes become the roast's profile name and notes.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "roast_clock.h"
#include "roast_log.h"
#include "roast_log_text.h"

struct ArtisanRoast {
    bool celsius = false;
    std::vector<double> times;                // seconds since the recording began, one a sample
    std::vector<std::optional<double>> bean;  // BT in the file's unit, one a sample; none for no reading
    int charge = -1;                          // sample index of CHARGE; -1 unset
    // Sample indices of DRY end, FCs, FCe, SCs, SCe, DROP and COOL; 0 unset.
    std::array<int, 7> marks{};

    enum class Control { Fan, Heat };
    struct Event {
        std::size_t index = 0;  // the sample it happened at
        Control control = Control::Fan;
        int value = 0;  // as Artisan shows it (its slider's value)
    };
    std::vector<Event> events;  // in the file's order

    std::string program;  // "Artisan 2.8.4"
    std::string title, beans, notes;
    std::optional<double> green_g, roasted_g;
    // When the recording began (its first sample), as the file says it.
    std::optional<LocalDateTime> recording_start;
    bool start_has_offset = false;
};

// Index positions in ArtisanRoast::marks.
enum ArtisanMark { kArtisanDry, kArtisanFcs, kArtisanFce, kArtisanScs, kArtisanSce, kArtisanDrop, kArtisanCool };

// The log of `roast`; refused when its times go backwards or an index lies
// outside its samples.
RoastLogParse RoastLogFromArtisan(const ArtisanRoast& roast);

// The recording's first sample kept (CHARGE, or the first), and the
// seconds taken from every time kept.
std::size_t ArtisanFirstSample(const ArtisanRoast& roast);
double ArtisanTimeOffset(const ArtisanRoast& roast);

// A temperature of the file's unit as the log's whole °F; none for no
// bean temperature (below 0 °F or above 999 °F).
std::optional<int32_t> ArtisanFahrenheit(double value, bool celsius);
