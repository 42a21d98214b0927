// The serial control's communications event: reads the waiting bytes and
// applies the one frame they may hold. While the link is down it collects
// the program the roaster uploads and brings the link up; while the link
// is up it takes the bean temperature, restarts the reply timeout and
// reacts to the roaster being switched off.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct Console;
class EditorSync;
class PanelRefresh;

// Program step frames one upload may carry (the cooling step comes on top).
constexpr int32_t kMaxUploadSteps = 21;
// Bytes one read keeps; only the first frame of them is interpreted.
constexpr std::size_t kReceiveBufferSize = 2048;

class ReceiveHandler {
public:
    ReceiveHandler(Console& console, EditorSync& sync, PanelRefresh& panel)
        : c_(console), sync_(sync), panel_(panel) {}

    // Bound to the serial control's OnComm. Never throws.
    void OnComm();

private:
    void OnReceive(const std::vector<uint8_t>& bytes);
    void OnLinkDownFrame(const uint8_t* frame);
    void OnUploadHeader(const uint8_t* frame);
    void OnProgramStep(const uint8_t* frame);
    void OnProgramEnd(const uint8_t* frame);
    void TakeUploadedProgram(const uint8_t* frame);
    void OnLinkUpFrame(const uint8_t* frame);
    void TakeTemperature(int32_t reading);
    void OnPowerOff();
    // The upload list back to its one first step.
    void ResetUploadList();

    Console& c_;
    EditorSync& sync_;
    PanelRefresh& panel_;
};
