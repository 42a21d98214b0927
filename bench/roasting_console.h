// A console that runs a roast, for the benchmarks: the program's own window
// on the real serial control, port discovery and step-editor library, and
// an in-process simulated roaster with `roaster`'s stored program; POWER is
// pressed once the link is up, and "roast running" is printed on standard
// output once the run began.
//
// The roaster runs on the console's thread, or on a thread of its own as a
// real roaster is a machine of its own: then what it sees of the console's
// pace is not held up when the console's thread is.
#pragma once

#include <QThread>
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
    // `own_thread`: the roaster on a thread of its own; sim()'s callbacks
    // are then called on that thread.
    explicit RoastingConsole(RoasterModel::Options roaster, bool own_thread = false) {
        EditorMessageType();
        auto make = [this, options = WithShortFrameLog(roaster)] {
            sim_ = std::make_unique<SimulatedRoasterHost>(options);
        };
        if (!own_thread) {
            make();
            return;
        }
        roaster_thread_.start();
        on_roaster_thread_ = std::make_unique<QObject>();
        on_roaster_thread_->moveToThread(&roaster_thread_);
        OnRoasterThread(make);
    }
    ~RoastingConsole() {
        window_.reset();
        if (!on_roaster_thread_) return;
        OnRoasterThread([this] { sim_.reset(); });
        roaster_thread_.quit();
        roaster_thread_.wait();
    }
    RoastingConsole(const RoastingConsole&) = delete;
    RoastingConsole& operator=(const RoastingConsole&) = delete;

    SimulatedRoasterHost& sim() { return *sim_; }
    CKavoloRoasterDlg& window() { return *window_; }

    // Starts the roaster and the window; `running` is called once the roast
    // runs, and `watching` every quarter second after that. Returns the
    // window's result, or 1 when the roaster cannot start.
    int Run(const std::function<void()>& running, const std::function<void()>& watching = {}) {
        std::string error;
        bool started = false;
        OnRoasterThread([&] { started = sim_->Start(&error); });
        if (!started) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return 1;
        }
        ports_ = std::make_unique<SerialPortLister>(sim_->DevicePath());
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
    // Runs `work` where the roaster lives, and waits for it.
    template <typename F>
    void OnRoasterThread(F work) {
        if (!on_roaster_thread_)
            work();
        else
            QMetaObject::invokeMethod(on_roaster_thread_.get(), work, Qt::BlockingQueuedConnection);
    }

    // The simulated roaster only plays the machine, as the program's
    // --simulate keeps it: a short log of what it received.
    static RoasterModel::Options WithShortFrameLog(RoasterModel::Options o) {
        o.frame_log_limit = 16;
        return o;
    }

    QThread roaster_thread_;
    std::unique_ptr<QObject> on_roaster_thread_;  // where work for the roaster's thread is sent
    std::unique_ptr<SimulatedRoasterHost> sim_;
    CMscomm1 com_;
    std::unique_ptr<SerialPortLister> ports_;
    std::unique_ptr<QuarnelLibrary> editor_;
    std::unique_ptr<CKavoloRoasterDlg> window_;
};
