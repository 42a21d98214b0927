// A RoasterController wired to the fakes, with the timers dispatched in
// virtual time: the base of the roast-logic tests.
#pragma once

#include <string>
#include <vector>

#include "fake_editor.h"
#include "fake_serial.h"
#include "fake_window.h"
#include "roaster_controller.h"

class ControllerHarness {
public:
    ControllerHarness();

    // Marks the link up as a completed upload would, without the upload.
    void SetLinkUp();
    // Keeps the link up: every status frame is answered at once with a
    // reply frame carrying `temperature` (the reply restarts the timeout).
    void AnswerStatusFrames(int temperature = 200);
    // Replaces the working list: (fan, time, heat) roast steps and a cooling
    // step (fan, time), all waiting.
    void SetProfile(const std::vector<std::array<int, 3>>& roast, std::array<int, 2> cooling, const std::string& name = "Roast.coff");
    // The working list as values.
    std::vector<StepNode> Working() const { return Snapshot(controller.console.working.head); }
    // Runs the control timer for n ticks (500 ms each, other timers as due).
    void Ticks(int n) { window.Advance(int64_t{n} * 500); }

    ControllerState& s() { return controller.console.state; }

    FakeWindow window;
    FakeEditor editor;
    FakeSerial serial;
    FakePortLister ports;
    RoasterController controller;
};
