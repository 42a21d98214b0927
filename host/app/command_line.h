// The program's options: --port DEVICE names the roaster's port (it is
// listed first as the roaster's bridge while it exists), and --simulate
// starts the simulated roaster inside the program and uses its port; with
// it, the simulated roaster's options that change how its beans answer
// (--batch-scale, --fan-effect, ...) are taken as roaster-sim takes them.
// --background FILE shows a saved roast behind the curve from the start
// (the file is read here, so a bad one ends the program before any window
// opens), and --follow, which needs it, arms follow mode for the next run.
// Without options the program looks for the bridge itself. --help and
// --version only print and end.
#pragma once

#include <QStringList>
#include <optional>
#include <string>

#include "roast_log.h"
#include "thermal_model.h"

struct CommandLineOptions {
    std::string port;       // empty: none named
    bool simulate = false;
    BeanResponse simulated_beans;  // how the beans of --simulate answer
    std::string background;            // the roast log --background names; empty: none
    std::optional<RoastLog> background_log;  // what it holds
    bool follow = false;               // follow mode armed for the first run
    bool help = false;      // print the usage and end
    bool version = false;   // print the versions and the editor library found, and end
    bool ok = true;         // false: `error` says what is wrong
    std::string error;
};

// `arguments` as the program received them (program first). Qt's own
// options (-platform, -style, ...) are not taken: the command line is
// parsed before any application object exists.
CommandLineOptions ParseCommandLine(const QStringList& arguments);

// What --help prints, and what a wrong command line prints after its error.
std::string UsageText();
