// The state every part of the roast logic shares: the controller state, the
// three step lists of the program, the narrow interfaces to the window,
// the editor library, the serial control and port discovery, and the
// events it tells those who watch it. Also the few
// small operations that many parts use in the same way.
#pragma once

#include <string>

#include "console_events.h"
#include "control_ids.h"
#include "controller_state.h"
#include "editor_library.h"
#include "list_diagnostics.h"
#include "port_lister.h"
#include "serial_control.h"
#include "step_data.h"
#include "window_services.h"

// Shows the step-list diagnostics in the window's message box.
class MessageBoxSink final : public DiagnosticSink {
public:
    explicit MessageBoxSink(WindowServices& window) : window_(window) {}
    void ShowDiagnostic(const std::string& text) override { window_.MessageBox(text); }

private:
    WindowServices& window_;
};

struct Console {
    Console(WindowServices& window, EditorLibrary& editor, SerialControl& com, PortLister& ports);

    WindowServices& window;
    EditorLibrary& editor;
    SerialControl& com;
    PortLister& ports;

    ControllerState state;
    MessageBoxSink sink;
    CStep_Data working;  // the current profile
    CStep_Data upload;   // a program arriving from the roaster
    CStep_Data parked;   // the profile MODEE put aside
    // Tells the recorder and the windows what the logic did.
    ConsoleEvents events;

    // Writes a step of the working list; an index beyond the list shows the
    // list-bounds diagnostic instead and returns false.
    bool WriteStep(int32_t index, int32_t fan, int32_t time, int32_t heat, uint32_t status);
    // Reads a step of the working list; false when no step carries the index.
    bool ReadStep(int32_t index, StepNode& out) const;
    // fan_level, roast_time and heat_level from step 1 of the working list.
    void LoadFirstStepValues();
    // Deletes every step of the working list after step `index`.
    void DeleteStepsAfter(int32_t index);

    // The name box shows DisplayName(profile_name) in the normal colour.
    void ShowProfileName();
    // Disarms a delayed start: the clock icon comes back, the picker hides.
    void DisarmDelayedStart();
    // Stops timers 1 to 3 and ends the main window with `result`: Cancel
    // when the user ends the program, Abort when a failure ends it.
    void CloseProgram(int result = kResultCancel);
};

// The name box text for a profile: a name longer than 5 characters whose
// fifth character from the end is "." loses its last 5 characters.
std::string DisplayName(const std::string& name);
