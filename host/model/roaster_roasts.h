// The roasts a roaster's model learns from, found in the roasts folder:
// the console's own logs recorded on that roaster (another program's roasts,
// such as Artisan's files put there, were made on other roasters or are
// copies), newest first. Only their headers and last rows are read until
// one is chosen, so a folder of thousands of roasts is gone through
// quickly; the chosen are read whole.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "learnt_roaster.h"
#include "roast_log.h"

// The roaster `log` was recorded on: its "roaster" line, or for one of the
// console's older logs without one, the roaster on the port; none for a
// roast of another program.
std::optional<std::string> RoasterOfLog(const RoastLog& log);

struct RoasterRoasts {
    // The newest kMostModelRoasts logs of the roaster that the model can
    // learn from, read whole, newest first.
    std::vector<RoastLog> logs;
    // The first crack marks of the roaster's newest roasts (those read on
    // the way too), newest first.
    std::vector<FirstCrackMark> first_cracks;
    // The chosen logs' names, sizes and times, in a few characters: when it
    // is the same, so is the model.
    std::string key;
};

// First crack marks are taken from at most this many of the newest roasts.
constexpr int kMostFirstCrackRoasts = 200;

RoasterRoasts ReadRoasterRoasts(const std::string& folder, const std::string& roaster);
