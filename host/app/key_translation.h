// Turns Qt key presses into the keyboard messages the key filter reads: a
// key-down message with the key's code and, for keys that type a
// character, a character message after it. Enter always types 13, with or
// without Alt, so one Alt+Enter press gives the filter two messages.
#pragma once

#include <QString>
#include <Qt>
#include <vector>

#include "key_message.h"

struct KeyState {
    bool enter_held = false;
    bool to_name_box = false;
};

// The key code of a key-down message, or 0 for keys the filter never sees.
int VirtualKeyCode(int qt_key, Qt::KeyboardModifiers modifiers);

std::vector<KeyMessage> TranslateKeyPress(int qt_key, Qt::KeyboardModifiers modifiers, const QString& text,
                                          const KeyState& state);

// The main window's own character handling lets through only what a
// number field takes: the digits, backspace and the full stop.
bool CharPassesToWindow(int character);
