// The built program started as a process with no display at all: --help,
// --version and a wrong option answer and end, a start says there is no
// display instead of aborting, and --version finds the editor library in
// the program's real folder, also through a symbolic link from elsewhere.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {
const QString kProgram = QStringLiteral(KAVOLO_PROGRAM);
const QString kLibrary = QStringLiteral(KAVOLO_EDITOR_LIBRARY);

enum class Where { Built, LinkedFromElsewhere, CopiedAlone };
}  // namespace
Q_DECLARE_METATYPE(Where)

class ProgramCommandLine : public QObject {
    Q_OBJECT
private slots:
    void answersWithoutADisplay_data();
    void answersWithoutADisplay();
};

void ProgramCommandLine::answersWithoutADisplay_data() {
    QTest::addColumn<Where>("where");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("platform");  // QT_QPA_PLATFORM; empty: unset
    QTest::addColumn<int>("exit_code");
    QTest::addColumn<QString>("out");        // standard output contains
    QTest::addColumn<QString>("err");        // standard error contains
    QTest::newRow("help") << Where::Built << QStringList{"--help"} << "" << 0 << "--port DEVICE" << "";
    QTest::newRow("version") << Where::Built << QStringList{"--version"} << "" << 0
                             << "Step editor: " + kLibrary << "";
    QTest::newRow("version with other options") << Where::Built << QStringList{"--simulate", "--version"} << "" << 0
                                                << "kavolo-roaster " KAVOLO_VERSION "\nQt " << "";
    QTest::newRow("version through a link") << Where::LinkedFromElsewhere << QStringList{"--version"} << "" << 0
                                            << "Step editor: " + kLibrary << "";
    QTest::newRow("version without the library") << Where::CopiedAlone << QStringList{"--version"} << "" << 0
                                                 << "Step editor: none found" << "";
    QTest::newRow("unknown option") << Where::Built << QStringList{"--verbose"} << "" << 2 << ""
                                    << "Unknown option 'verbose'.\n\nUsage: kavolo-roaster";
    QTest::newRow("background that does not read") << Where::Built
                                                   << QStringList{"--background", "/nonexistent/roast.csv"} << "" << 2
                                                   << "" << "Cannot read the roast log /nonexistent/roast.csv: ";
    QTest::newRow("start without a display") << Where::Built << QStringList{"--simulate"} << "" << 1 << ""
                                             << "no display to show the console on";
    QTest::newRow("display that cannot be reached") << Where::Built << QStringList{} << "xcb" << 1 << ""
                                                    << "the display cannot be opened";
}

void ProgramCommandLine::answersWithoutADisplay() {
    QFETCH(Where, where);
    QFETCH(QStringList, arguments);
    QFETCH(QString, platform);
    QFETCH(int, exit_code);
    QFETCH(QString, out);
    QFETCH(QString, err);

    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    QString program = kProgram;
    if (where == Where::LinkedFromElsewhere) {
        program = folder.filePath("kavolo-roaster");
        QVERIFY(QFile::link(kProgram, program));
    } else if (where == Where::CopiedAlone) {
        program = folder.filePath("kavolo-roaster");
        QVERIFY(QFile::copy(kProgram, program));
    }

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) env.remove(name);
    if (!platform.isEmpty()) env.insert("QT_QPA_PLATFORM", platform);
    env.insert("XDG_RUNTIME_DIR", folder.path());
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(program, arguments);
    QVERIFY(process.waitForFinished(20000));
    const QString stdout_text = QString::fromLocal8Bit(process.readAllStandardOutput());
    const QString stderr_text = QString::fromLocal8Bit(process.readAllStandardError());
    const QString both = stdout_text + "\n--- stderr:\n" + stderr_text;
    QVERIFY2(process.exitStatus() == QProcess::NormalExit, qPrintable("crashed:\n" + both));
    QVERIFY2(process.exitCode() == exit_code, qPrintable(QString("exit %1:\n").arg(process.exitCode()) + both));
    QVERIFY2(stdout_text.contains(out), qPrintable(both));
    QVERIFY2(stderr_text.contains(err), qPrintable(both));
    if (exit_code == 0) QVERIFY2(stderr_text.isEmpty(), qPrintable(both));
}

QTEST_GUILESS_MAIN(ProgramCommandLine)
#include "program_command_line_test.moc"
