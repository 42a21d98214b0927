#include "command_line.h"

#include <QCommandLineParser>

CommandLineOptions ParseCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    const QCommandLineOption port("port", "Use DEVICE as the roaster's port.", "DEVICE");
    const QCommandLineOption simulate("simulate", "Run against the built-in simulated roaster.");
    parser.addOption(port);
    parser.addOption(simulate);

    CommandLineOptions out;
    auto fail = [&out](const QString& text) {
        out.ok = false;
        out.error = text.toStdString();
        return out;
    };
    if (!parser.parse(arguments)) return fail(parser.errorText());
    if (!parser.positionalArguments().isEmpty())
        return fail("Unexpected argument: " + parser.positionalArguments().first());
    if (parser.values(port).size() > 1) return fail("--port is given more than once.");
    out.simulate = parser.isSet(simulate);
    if (parser.isSet(port)) {
        if (out.simulate) return fail("--port and --simulate cannot be used together.");
        out.port = parser.value(port).toStdString();
        if (out.port.empty()) return fail("--port needs a device.");
    }
    return out;
}
