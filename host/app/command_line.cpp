#include "command_line.h"

#include <QCommandLineParser>
#include <algorithm>

#include "bean_options.h"
#include "roast_log_files.h"

CommandLineOptions ParseCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    const QCommandLineOption port("port", QString(), "DEVICE");
    const QCommandLineOption simulate("simulate");
    const QCommandLineOption help(QStringList{"h", "help"});
    const QCommandLineOption version("version");
    const QCommandLineOption background("background", QString(), "FILE");
    const QCommandLineOption follow("follow");
    parser.addOptions({port, simulate, help, version, background, follow});
    for (const BeanOption& o : BeanOptions())
        parser.addOption(QCommandLineOption(QString::fromStdString(o.name), QString(), QString::fromStdString(o.value_name)));

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
    for (const BeanOption& o : BeanOptions()) {
        const QString name = QString::fromStdString(o.name);
        if (!parser.isSet(name)) continue;
        if (!out.simulate) return fail("--" + name + " needs --simulate.");
        const std::string error = SetBeanOption(out.simulated_beans, o.name, parser.value(name).toStdString());
        if (!error.empty()) return fail(QString::fromStdString(error) + ".");
    }
    if (parser.values(background).size() > 1) return fail("--background is given more than once.");
    out.follow = parser.isSet(follow);
    if (parser.isSet(background)) {
        out.background = parser.value(background).toStdString();
        if (out.background.empty()) return fail("--background needs a roast log.");
        RoastLogParse read = ReadRoastLogFile(out.background);
        if (!read.ok) return fail(QString::fromStdString(ReadFailureText(out.background, read)) + ".");
        out.background_log = std::move(read.log);
    }
    if (out.follow && !out.background_log) return fail("--follow needs --background FILE, the roast to follow.");
    return out;
}

std::string UsageText() {
    std::string text =
        "Usage: kavolo-roaster [--port DEVICE | --simulate [SIMULATED ROASTER OPTIONS]]\n"
        "                      [--background FILE [--follow]]\n"
        "The console for the Kavolo QL-900 coffee roaster.\n"
        "\n"
        "Without options the console looks for the roaster's USB serial bridge\n"
        "(1a86:7523 or 1a86:5523) by itself.\n"
        "\n"
        "Options:\n"
        "  --port DEVICE  use DEVICE as the roaster's port, e.g. /dev/ttyUSB0\n"
        "  --simulate     run against the built-in simulated roaster\n"
        "  --background FILE\n"
        "                 draw the saved roast FILE behind the roast curve from\n"
        "                 the start: a roast log, or Artisan's .alog or CSV\n"
        "  --follow       follow mode for the next roast: the background's steps\n"
        "                 become the profile, and the console steers heat and\n"
        "                 fan so the beans follow the background\n"
        "                 (needs --background)\n"
        "  -h, --help     print this help and end\n"
        "  --version      print the version, the Qt version and the step editor\n"
        "                 library found, and end\n"
        "\n"
        "With --simulate, how the simulated beans answer (as roaster-sim takes them):\n";
    std::size_t width = 0;
    for (const BeanOption& o : BeanOptions()) width = std::max(width, o.name.size() + o.value_name.size() + 3);
    for (const BeanOption& o : BeanOptions()) {
        std::string option = "--" + o.name + " " + o.value_name;
        option.resize(width + 2, ' ');
        text += "  " + option + o.help + "\n";
    }
    return text;
}
