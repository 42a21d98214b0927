// The program's two options: --port DEVICE names the roaster's port (it is
// listed first as the roaster's bridge while it exists), and --simulate
// starts the simulated roaster inside the program and uses its port.
// Without options the program looks for the bridge itself.
#pragma once

#include <QStringList>
#include <string>

struct CommandLineOptions {
    std::string port;       // empty: none named
    bool simulate = false;
    bool ok = true;         // false: `error` says what is wrong
    std::string error;
};

// `arguments` as QCoreApplication::arguments() gives them (program first).
CommandLineOptions ParseCommandLine(const QStringList& arguments);
