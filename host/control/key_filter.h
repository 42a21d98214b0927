// The main window's key filter: maps keys onto the panel commands and keeps
// Escape and Enter from closing the window.
//
// Alt+Enter messages are counted while both keys stay held: the second one
// (one key press gives a key-down and a character message) acts as a POWER
// click, and the 40th, reached by holding the keys down, stops a run. The
// count starts again once a message finds Alt or Enter released.
#pragma once

#include "key_message.h"

struct Console;
class PanelCommands;
class PanelRefresh;

class KeyFilter {
public:
    KeyFilter(Console& console, PanelCommands& commands, PanelRefresh& panel)
        : c_(console), commands_(commands), panel_(panel) {}

    // True when the message was consumed and must not reach the window.
    bool PreTranslateMessage(const KeyMessage& message);

private:
    void CountAltEnter();

    Console& c_;
    PanelCommands& commands_;
    PanelRefresh& panel_;
};
