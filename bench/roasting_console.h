// A console that runs a roast, for the benchmarks: the program's own window
// on the real serial control, port discovery and step-editor library, and
// an in-process simulated roaster with `roaster`'s stored program; POWER is
// pressed once the link is up, and "roast running" is printed on standard
// output once the run began.
#pragma once

#include <QTimer>
#include <cstdio>
#include <functional>
#include <memory>

#include "cmscomm1.h"
#include "control_ids.h"
#include "editor_message.h"
#include "kavolo_roaster_dlg.h"
#include "quarnel_library.h"
#include "serial_port_lister.h"
#include "simulated_roaster_host.h"
#include "skin_button.h"

class RoastingConsole {
public:
    explicit RoastingConsole(RoasterModel::Options roaster) : sim_(WithShortFrameLog(roaster)) { EditorMessageType(); }

    SimulatedRoasterHost& sim() { return sim_; }
    CKavoloRoasterDlg& window() { return *window_; }

    // Starts the roaster and the window; `running` is called once the roast
    // runs, and `watching` every quarter second after that. Returns the
    // window's result, or 1 when the roaster cannot start.
    int Run(const std::function<void()>& running, const std::function<void()>& watching = {}) {
        std::string error;
        if (!sim_.Start(&error)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return 1;
        }
        ports_ = std::make_unique<SerialPortLister>(sim_.DevicePath());
        window_ = std::make_unique<CKavoloRoasterDlg>(com_, *ports_, [this](QWidget* host) -> EditorLibrary& {
            editor_ = std::make_unique<QuarnelLibrary>(host);
            return *editor_;
        });
        bool roasting = false;
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, window_.get(), [&] {
            const ControllerState& s = window_->controller().state();
            if (roasting) {
                if (watching) watching();
            } else if (s.machine_state == kRun) {
                roasting = true;
                std::printf("roast running\n");
                std::fflush(stdout);
                running();
            } else if (s.link_ok && s.machine_state == kReady) {
                window_->Button(ctl::kPower)->click();
            }
        });
        watch.start(250);
        return window_->exec();
    }

private:
    // The simulated roaster only plays the machine, as the program's
    // --simulate keeps it: a short log of what it received.
    static RoasterModel::Options WithShortFrameLog(RoasterModel::Options o) {
        o.frame_log_limit = 16;
        return o;
    }

    SimulatedRoasterHost sim_;
    CMscomm1 com_;
    std::unique_ptr<SerialPortLister> ports_;
    std::unique_ptr<QuarnelLibrary> editor_;
    std::unique_ptr<CKavoloRoasterDlg> window_;
};
