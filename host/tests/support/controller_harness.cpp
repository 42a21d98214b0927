#include "controller_harness.h"

#include "frames.h"

ControllerHarness::ControllerHarness() : controller(window, editor, serial, ports) {
    window.on_timer = [this](int id) { controller.OnTimer(id); };
    serial.clock = [this] { return window.now_ms; };
}

void ControllerHarness::SetLinkUp() {
    s().link_down = 0;
    s().link_ok = true;
    s().no_reply_ticks = 0;
    serial.open = true;
}

void ControllerHarness::AnswerStatusFrames(int temperature) {
    serial.on_write = [this, temperature](const std::vector<uint8_t>& bytes) {
        if (bytes.size() != kFrameSize || bytes[1] != 0xAA || (bytes[4] != kCmdStatus && bytes[4] != kCmdStart))
            return;
        // The roaster's reply frame, through the real receive path.
        serial.Deliver(ToBytes(MakeFrame(kCmdStatus, 0, 0, 0, 0, 0, static_cast<uint8_t>(temperature >> 8),
                                         static_cast<uint8_t>(temperature & 0xFF))));
    };
}

void ControllerHarness::SetProfile(const std::vector<std::array<int, 3>>& roast, std::array<int, 2> cooling,
                                   const std::string& name) {
    CStep_Data& list = controller.console.working;
    list.Clear();
    uint32_t position = 1;
    for (const auto& step : roast) list.InsertStep(position++, step[0], step[1], step[2], StepWaiting);
    list.InsertStep(position, cooling[0], cooling[1], 0, CoolWaiting);
    s().profile_name = name;
    controller.console.LoadFirstStepValues();
}
