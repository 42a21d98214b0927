// Everything the program builds around its main window, in one piece that
// main() and the end-to-end tests share: the simulated roaster (--simulate),
// the serial control, port discovery (with the device --port names), the
// loader of the step-editor library, the single-instance lock and the
// application object with its window. --simulate runs the simulated roaster
// inside the process, behind the serial control's interface, on every
// system; tests of the real serial control can run it on a pseudo-terminal
// instead (Linux).
#pragma once

#include <QString>
#include <memory>

#include "command_line.h"
#include "roaster_model.h"

class CKavoloRoasterApp;
class CKavoloRoasterDlg;
class CMscomm1;
class InstanceLock;
class PortLister;
class QuarnelLibrary;
class SerialControl;
class SerialPortLister;
class SimulatedRoaster;

struct ConsoleSettings {
    CommandLineOptions options;
    QString lock_folder;     // where the single-instance lock lies; empty: the user's runtime folder
    QString library_folder;  // where libquarnel lies; empty: the program's own folder
    QString roasts_folder;   // where roast logs are kept; empty: the user's data folder
    RoasterModel::Options simulated_roaster;  // the machine --simulate runs against
    // --simulate puts the simulated roaster on a pseudo-terminal and the
    // console on its real serial control (Linux), not in the process.
    bool simulate_on_pseudo_terminal = false;
};

class ConsoleProgram {
public:
    // Needs the QApplication; names it after the program and registers the
    // editor's message before any window exists.
    explicit ConsoleProgram(ConsoleSettings settings = {});
    ~ConsoleProgram();
    ConsoleProgram(const ConsoleProgram&) = delete;
    ConsoleProgram& operator=(const ConsoleProgram&) = delete;

    // The program: starts the simulated roaster when asked for, then the
    // application, which runs the main window until it ends. Returns the
    // exit code: 1 when the simulated roaster cannot start, another
    // instance runs or a failure of the link ended the window, else 0.
    int Run();
    // The same start-up without waiting: the main window is left open over
    // the caller's event loop. False when the program would have ended at
    // once (the simulated roaster failed, another instance runs, or the
    // window ended during its initialisation).
    bool Open();

    // Each is nullptr until made.
    CKavoloRoasterDlg* window() const;
    SimulatedRoaster* simulated_roaster() const { return simulated_.get(); }
    QuarnelLibrary* editor_library() const { return editor_.get(); }
    CKavoloRoasterApp* app() const { return app_.get(); }

private:
    // Makes every part once; false when the simulated roaster cannot start
    // (the user has been told).
    bool Build();

    ConsoleSettings settings_;
    // Destroyed in reverse: the window first, the simulated roaster last.
    std::unique_ptr<SimulatedRoaster> simulated_;
    std::unique_ptr<CMscomm1> com_;
    std::unique_ptr<SerialPortLister> ports_;
    std::unique_ptr<QuarnelLibrary> editor_;
    std::unique_ptr<InstanceLock> lock_;
    std::unique_ptr<CKavoloRoasterApp> app_;
    bool built_ = false;
};
