// The console's entry point: the application object, the command line, the
// serial control, port discovery and the editor library's loader, then the
// main window run modally until it ends.
#include <QApplication>
#include <QMessageBox>
#include <cstdio>
#include <memory>
#include <optional>

#include "cmscomm1.h"
#include "command_line.h"
#include "editor_message.h"
#include "instance_lock.h"
#include "kavolo_roaster_app.h"
#include "program_names.h"
#include "quarnel_library.h"
#include "serial_port_lister.h"
#include "simulated_roaster_host.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(kProgramName);
    QApplication::setApplicationDisplayName(kProgramName);
    // The editor's message is registered before any window exists.
    EditorMessageType();

    const CommandLineOptions options = ParseCommandLine(QApplication::arguments());
    if (!options.ok) {
        std::fprintf(stderr, "%s\n", options.error.c_str());
        return 2;
    }

    std::optional<std::string> roaster_port;
    if (!options.port.empty()) roaster_port = options.port;
    std::unique_ptr<SimulatedRoasterHost> simulated;
    if (options.simulate) {
        simulated = std::make_unique<SimulatedRoasterHost>();
        std::string error;
        if (!simulated->Start(&error)) {
            QMessageBox::critical(nullptr, kProgramName,
                                  QStringLiteral("The simulated roaster cannot start: %1").arg(QString::fromStdString(error)));
            return 1;
        }
        roaster_port = simulated->DevicePath();
    }

    CMscomm1 com;
    SerialPortLister ports(roaster_port);
    std::unique_ptr<QuarnelLibrary> editor;
    InstanceLock lock;
    CKavoloRoasterApp roaster(lock, com, ports, [&editor](QWidget* host) -> EditorLibrary& {
        editor = std::make_unique<QuarnelLibrary>(host);
        return *editor;
    });
    roaster.InitInstance();
    return 0;
}
