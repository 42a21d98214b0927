// The link to the roaster: port configuration, the status frame of every
// control tick with its reply timeout, link loss, the search for the
// bridge with the hello frame, and the program download.
#pragma once

#include <string>

#include "frames.h"
#include "roaster_link.h"

struct Console;
class EditorSync;

class Link final : public RoasterLink {
public:
    Link(Console& console, EditorSync& sync) : c_(console), sync_(sync) {}

    // Closes the port if open and sets buffers, binary input, the receive
    // threshold and "9600,n,8,1"; marks the link down.
    void ConfigurePort();
    // Empties the output buffer, then writes the frame. Throws SerialError.
    void SendFrame(const Frame& frame);

    // The link part of a control tick: the reply timeout, then the status
    // frame of the current state. True when the frame was sent, so the
    // control cycle runs; false while the link is down or when it was just
    // declared lost. Throws SerialError when the frame cannot be written.
    bool StatusFramePart() override;
    // Tears the link down and starts searching again.
    void LinkLost() override;

    // Timer 2: a new attempt lists the ports, opens the roaster's bridge
    // and sends the hello frame; then it waits five ticks for the upload.
    void LinkStartTick();

    // A key-repeat status frame (always 0x63) while the link is up.
    void SendKeyRepeatFrame() override;

    // Starts a download of the working list: timer 1 stops, timer 4 runs.
    // `mark_active` is set for downloads the editor asked for.
    void StartDownload(bool mark_active) override;
    // Timer 4: one program frame of the working list per tick.
    void DownloadTick();

private:
    // Looks for the bridge in a fresh listing: true when a record with the
    // bridge's description was found (port_device, port_number set).
    bool FindBridge();
    // Closes the port, points it at port_device and opens it; false when
    // it still reads as open after closing or cannot be opened.
    bool OpenPort();
    void FinishDownload();

    Console& c_;
    EditorSync& sync_;
    // A failed listing is shown once until a listing succeeds again.
    bool list_error_shown_ = false;
};
