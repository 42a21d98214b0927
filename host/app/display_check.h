// Whether the console has a display to open its window on, checked before
// the QApplication exists: without one Qt's platform plugin ends the
// process with an abort and a core dump instead of a word to the user.
#pragma once

// False on Linux and other X11/Wayland systems when neither DISPLAY nor
// WAYLAND_DISPLAY is set and no Qt platform is chosen by QT_QPA_PLATFORM;
// true elsewhere (Windows and macOS always have one).
bool DisplayNamed();

// Lives around the QApplication's construction: should Qt still fail to
// open its platform (a DISPLAY that cannot be reached), it prints
// `message` on standard error and ends the process with exit status 1
// instead of aborting. Qt's own warnings pass through as usual.
class PlatformFailureGuard {
public:
    explicit PlatformFailureGuard(const char* message);
    ~PlatformFailureGuard();
    PlatformFailureGuard(const PlatformFailureGuard&) = delete;
    PlatformFailureGuard& operator=(const PlatformFailureGuard&) = delete;
};
