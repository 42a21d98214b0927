#include "key_translation.h"

namespace {
constexpr int kBackspace = 8;
constexpr int kDeleteChar = 0x7F;
}  // namespace

int VirtualKeyCode(int key, Qt::KeyboardModifiers modifiers) {
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return (modifiers & Qt::KeypadModifier) ? 0x60 + (key - Qt::Key_0) : key;  // Qt and key codes agree
    if (key >= Qt::Key_A && key <= Qt::Key_Z) return key;
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return 0x70 + (key - Qt::Key_F1);
    switch (key) {
    case Qt::Key_Backspace: return kBackspace;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return vk::kTab;
    case Qt::Key_Return:
    case Qt::Key_Enter: return vk::kEnter;
    case Qt::Key_Shift: return vk::kShift;
    case Qt::Key_Control: return vk::kControl;
    case Qt::Key_Alt: return vk::kAlt;
    case Qt::Key_Pause: return 0x13;
    case Qt::Key_CapsLock: return 0x14;
    case Qt::Key_Escape: return vk::kEscape;
    case Qt::Key_Space: return vk::kSpace;
    case Qt::Key_PageUp: return 0x21;
    case Qt::Key_PageDown: return 0x22;
    case Qt::Key_End: return 0x23;
    case Qt::Key_Home: return 0x24;
    case Qt::Key_Left: return vk::kLeft;
    case Qt::Key_Up: return vk::kUp;
    case Qt::Key_Right: return vk::kRight;
    case Qt::Key_Down: return vk::kDown;
    case Qt::Key_Insert: return 0x2D;
    case Qt::Key_Delete: return 0x2E;
    case Qt::Key_Period: return (modifiers & Qt::KeypadModifier) ? 0x6E : 0xBE;
    case Qt::Key_Comma: return 0xBC;
    case Qt::Key_Minus: return (modifiers & Qt::KeypadModifier) ? 0x6D : 0xBD;
    case Qt::Key_Plus: return 0x6B;
    case Qt::Key_Asterisk: return 0x6A;
    case Qt::Key_Slash: return (modifiers & Qt::KeypadModifier) ? 0x6F : 0xBF;
    default: return 0;
    }
}

std::vector<KeyMessage> TranslateKeyPress(int key, Qt::KeyboardModifiers modifiers, const QString& text,
                                          const KeyState& state) {
    KeyMessage base;
    base.alt_held = modifiers & Qt::AltModifier;
    base.enter_held = state.enter_held;
    base.to_name_box = state.to_name_box;

    std::vector<KeyMessage> out;
    const int code = VirtualKeyCode(key, modifiers);
    if (code != 0) {
        KeyMessage down = base;
        down.kind = KeyKind::KeyDown;
        down.code = code;
        out.push_back(down);
    }

    int character = 0;
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        character = vk::kEnter;
    else if (key == Qt::Key_Delete)
        character = 0;  // Delete moves the caret; it types nothing
    else if (!text.isEmpty())
        character = text.at(0).unicode();
    else if ((modifiers & Qt::ControlModifier) && key >= Qt::Key_A && key <= Qt::Key_Z)
        character = key - Qt::Key_A + 1;  // Ctrl+letter types a control character
    if (character != 0 && !(character == kDeleteChar && key != Qt::Key_Backspace)) {
        KeyMessage ch = base;
        ch.kind = KeyKind::Char;
        ch.code = character;
        out.push_back(ch);
    }
    return out;
}

bool CharPassesToWindow(int c) { return (c >= '0' && c <= '9') || c == kBackspace || c == '.'; }
