// The console's entry point: the command line first, with no application
// object yet, so --help, --version and a wrong option work without a
// display; then the program with its main window run until the window ends.
#include <QApplication>
#include <QCoreApplication>
#include <cstdio>
#include <memory>

#include "command_line.h"
#include "console_program.h"
#include "display_check.h"
#include "version_text.h"

namespace {
const char kNoDisplay[] =
    "kavolo-roaster: no display to show the console on: start it in a desktop session "
    "(DISPLAY and WAYLAND_DISPLAY are not set).";
const char kDisplayFailed[] =
    "kavolo-roaster: the display cannot be opened: start the console in a desktop session "
    "(see the Qt messages above).";

QStringList ArgumentsOf(int argc, char** argv) {
    QStringList out;
    for (int i = 0; i < argc; ++i) out << QString::fromLocal8Bit(argv[i]);
    return out;
}
}  // namespace

int main(int argc, char** argv) {
    ConsoleSettings settings;
    settings.options = ParseCommandLine(ArgumentsOf(argc, argv));
    const CommandLineOptions& options = settings.options;
    if (!options.ok) {
        std::fprintf(stderr, "kavolo-roaster: %s\n\n%s", options.error.c_str(), UsageText().c_str());
        return 2;
    }
    if (options.help) {
        std::fputs(UsageText().c_str(), stdout);
        return 0;
    }
    if (options.version) {
        // Only for the program's folder (resolved through any symbolic
        // link to the program); it needs no display.
        QCoreApplication core(argc, argv);
        std::fputs(VersionText(QCoreApplication::applicationDirPath()).c_str(), stdout);
        return 0;
    }
    if (!DisplayNamed()) {
        std::fprintf(stderr, "%s\n", kNoDisplay);
        return 1;
    }

    std::unique_ptr<QApplication> app;
    {
        const PlatformFailureGuard guard(kDisplayFailed);
        app = std::make_unique<QApplication>(argc, argv);
    }
    // The desktop entry's name: Wayland compositors match the window to its
    // menu entry and icon by it.
    QGuiApplication::setDesktopFileName(QStringLiteral("com.kavolo.roaster"));
    // The simulated roaster of --simulate only plays the machine; it needs
    // no more than a short log of what it received.
    settings.simulated_roaster.frame_log_limit = 16;
    settings.simulated_roaster.beans = options.simulated_beans;
    ConsoleProgram program(settings);
    return program.Run();
}
