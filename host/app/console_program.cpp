#include "console_program.h"

#include <QApplication>
#include <optional>
#include <string>

#include "bean_options.h"
#include "cmscomm1.h"
#include "editor_message.h"
#include "instance_lock.h"
#include "kavolo_roaster_app.h"
#include "program_names.h"
#include "quarnel_library.h"
#include "serial_port_lister.h"
#include "simulated_roaster_host.h"
#include "simulated_roaster_loopback.h"
#include "user_notice.h"

ConsoleProgram::ConsoleProgram(ConsoleSettings settings) : settings_(std::move(settings)) {
    QApplication::setApplicationName(kProgramName);
    EditorMessageType();
}

ConsoleProgram::~ConsoleProgram() = default;

CKavoloRoasterDlg* ConsoleProgram::window() const { return app_ ? app_->window() : nullptr; }

bool ConsoleProgram::Build() {
    if (built_) return app_ != nullptr;
    built_ = true;
    const CommandLineOptions& options = settings_.options;

    std::optional<std::string> roaster_port;
    if (!options.port.empty()) roaster_port = options.port;
    SerialControl* com = nullptr;
    PortLister* ports = nullptr;
    if (options.simulate && settings_.simulate_on_pseudo_terminal) {
        auto host = std::make_unique<SimulatedRoasterHost>(settings_.simulated_roaster);
        std::string error;
        if (!host->Start(&error)) {
            ShowUserNotice(QStringLiteral("The simulated roaster cannot start: %1").arg(QString::fromStdString(error)));
            return false;
        }
        roaster_port = host->DevicePath();
        simulated_ = std::move(host);
    } else if (options.simulate) {
        auto loopback = std::make_unique<SimulatedRoasterLoopback>(settings_.simulated_roaster);
        com = &loopback->serial();
        ports = &loopback->ports();
        simulated_ = std::move(loopback);
    }
    if (!com) {
        com_ = std::make_unique<CMscomm1>();
        ports_ = std::make_unique<SerialPortLister>(roaster_port);
        com = com_.get();
        ports = ports_.get();
    }

    lock_ = std::make_unique<InstanceLock>(settings_.lock_folder);
    const QString library_folder = settings_.library_folder;
    app_ = std::make_unique<CKavoloRoasterApp>(*lock_, *com, *ports,
                                               [this, library_folder](QWidget* host) -> EditorLibrary& {
                                                   editor_ = std::make_unique<QuarnelLibrary>(host, library_folder);
                                                   return *editor_;
                                               });
    app_->roasts_folder = settings_.roasts_folder;
    if (options.simulate) app_->roaster = SimulatedRoasterName(settings_.simulated_roaster.beans);
    app_->background = options.background_log;
    app_->background_path = QString::fromStdString(options.background);
    app_->follow = options.follow;
    return true;
}

int ConsoleProgram::Run() {
    if (!Build()) return 1;
    // A start refused because another instance runs is a failed start.
    return app_->InitInstance() ? 0 : 1;
}

bool ConsoleProgram::Open() { return Build() && app_->Open(); }
