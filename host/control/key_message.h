// A keyboard message as the main window's key filter sees it. The window
// turns every key press into a key-down message and, for keys that produce
// a character (Enter gives 13), a character message after it, as the
// roaster's keys have always been read. A key's release is a key-up
// message; the releases Qt reports between the presses of an auto-repeating
// key are not releases and must not be passed on, or holding Alt+Enter could
// never count up to the stop.
#pragma once

enum class KeyKind { KeyDown, Char, KeyUp };

// Key codes of key-down messages.
namespace vk {
constexpr int kTab = 9;
constexpr int kEnter = 13;
constexpr int kShift = 0x10;
constexpr int kControl = 0x11;
constexpr int kAlt = 0x12;
constexpr int kEscape = 27;
constexpr int kSpace = 32;
constexpr int kLeft = 0x25;
constexpr int kUp = 0x26;
constexpr int kRight = 0x27;
constexpr int kDown = 0x28;
constexpr int kS = 0x53;
}  // namespace vk

struct KeyMessage {
    KeyKind kind = KeyKind::KeyDown;
    int code = 0;              // key code (KeyDown, KeyUp) or character (Char)
    bool alt_held = false;     // the Alt key reads as held
    bool enter_held = false;   // the Enter key reads as held
    bool to_name_box = false;  // addressed to the name box (control 1003)
};
