// What the roast logic needs of the link to the roaster. The link itself
// (frames, pacing, the port) lives above the logic and implements this.
#pragma once

class RoasterLink {
public:
    virtual ~RoasterLink() = default;

    // The link part of a control tick: the reply timeout, then the status
    // frame of the current state. True when the frame was sent, so the
    // control cycle runs; false while the link is down or when it was just
    // declared lost. Throws SerialError when the frame cannot be written.
    virtual bool StatusFramePart() = 0;
    // Tears the link down and starts searching again.
    virtual void LinkLost() = 0;
    // A key-repeat status frame while the link is up.
    virtual void SendKeyRepeatFrame() = 0;
    // Starts a download of the working list to the roaster. `mark_active`
    // is set for downloads the step editor asked for.
    virtual void StartDownload(bool mark_active) = 0;
};
