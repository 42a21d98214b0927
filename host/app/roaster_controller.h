// The roast logic of the console as one object: the shared state and step
// lists, and the parts that act on them. The main window owns one, forwards
// its timers, buttons, keys, serial events and editor messages to it, and
// implements the interfaces it reaches the outside through. Every event
// it handles goes through one place, which then tells the listeners of
// `events()` (the roast recorder, the windows, follow mode) the state it
// left; the user's input is told to them before it acts.
#pragma once

#include "button_hold.h"
#include "console.h"
#include "key_filter.h"
#include "key_message.h"
#include "control_cycle.h"
#include "editor_binding.h"
#include "editor_sync.h"
#include "link.h"
#include "panel_commands.h"
#include "panel_display.h"
#include "profile_commands.h"
#include "receive_handler.h"
#include "running_step_values.h"

class RoasterController {
public:
    RoasterController(WindowServices& window, EditorLibrary& editor, SerialControl& com, PortLister& ports);

    RoasterController(const RoasterController&) = delete;
    RoasterController& operator=(const RoasterController&) = delete;

    // The part of the main window's initialisation that is logic: the name
    // box and the clock, the first panel update, timers 1 and 3, the editor
    // library, the default profile, the port configuration and timer 2.
    void Start();

    // The main window's timer handler.
    void OnTimer(int id);

    // Input from the main window, dispatched by control identifier: a click
    // of a panel button, the temperature window or the clock icon; a press
    // and release of a hold-capable button; the clock picker's change; the
    // key filter (true when it consumed the message); the editor library's
    // registered message.
    void OnButtonClicked(int control_id);
    void OnButtonPressed(int control_id);
    void OnButtonReleased();
    void OnClockChanged();
    bool PreTranslateMessage(const KeyMessage& message);
    void OnEditorMessage(int code);

    // Makes a roast's steps the current profile (ProfileCommands::UseSteps),
    // handled as any other event; returns why it was refused, or empty.
    std::string UseProfileSteps(const std::string& name, const std::vector<StepNode>& steps);

    ControllerState& state() { return console.state; }
    ConsoleEvents& events() { return console.events; }

    Console console;
    EditorSync sync;
    PanelDisplay panel;
    Link link;
    ControlCycle cycle;
    EditorBinding binding;
    ProfileCommands profiles;
    PanelCommands commands;
    ButtonHold hold;
    KeyFilter keys;
    ReceiveHandler receive;
    // Follow mode gives the running step its values through this.
    RunningStepValues step_values;

private:
    // Runs the handling of one event, then tells the listeners.
    template <typename F>
    auto Handle(F&& handling);
    // The same for the user's input, told to the listeners before it acts.
    template <typename F>
    auto HandleInput(F&& handling);
};
