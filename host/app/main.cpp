// The console's entry point: the command line, then the program with its
// main window run until the window ends.
#include <QApplication>
#include <cstdio>

#include "command_line.h"
#include "console_program.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ConsoleSettings settings;
    settings.options = ParseCommandLine(QApplication::arguments());
    if (!settings.options.ok) {
        std::fprintf(stderr, "%s\n", settings.options.error.c_str());
        return 2;
    }
    // The simulated roaster of --simulate only plays the machine; it needs
    // no more than a short log of what it received.
    settings.simulated_roaster.frame_log_limit = 16;
    ConsoleProgram program(settings);
    return program.Run();
}
