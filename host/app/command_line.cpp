#include "command_line.h"

#include <QCommandLineParser>

CommandLineOptions ParseCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    const QCommandLineOption port("port", QString(), "DEVICE");
    const QCommandLineOption simulate("simulate");
    const QCommandLineOption help(QStringList{"h", "help"});
    const QCommandLineOption version("version");
    parser.addOptions({port, simulate, help, version});

    CommandLineOptions out;
    auto fail = [&out](const QString& text) {
        out.ok = false;
        out.error = text.toStdString();
        return out;
    };
    if (!parser.parse(arguments)) return fail(parser.errorText());
    if (!parser.positionalArguments().isEmpty())
        return fail("Unexpected argument: " + parser.positionalArguments().first());
    out.help = parser.isSet(help);
    out.version = parser.isSet(version);
    if (out.help || out.version) return out;
    if (parser.values(port).size() > 1) return fail("--port is given more than once.");
    out.simulate = parser.isSet(simulate);
    if (parser.isSet(port)) {
        if (out.simulate) return fail("--port and --simulate cannot be used together.");
        out.port = parser.value(port).toStdString();
        if (out.port.empty()) return fail("--port needs a device.");
    }
    return out;
}

std::string UsageText() {
    return "Usage: kavolo-roaster [--port DEVICE | --simulate]\n"
           "The console for the Kavolo QL-900 coffee roaster.\n"
           "\n"
           "Without options the console looks for the roaster's USB serial bridge\n"
           "(1a86:7523 or 1a86:5523) by itself.\n"
           "\n"
           "Options:\n"
           "  --port DEVICE  use DEVICE as the roaster's port, e.g. /dev/ttyUSB0\n"
           "  --simulate     run against the built-in simulated roaster\n"
           "  -h, --help     print this help and end\n"
           "  --version      print the version, the Qt version and the step editor\n"
           "                 library found, and end\n";
}
