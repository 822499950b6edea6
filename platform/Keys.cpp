#include "Keys.h"

#include <QKeyEvent>

namespace {

// X keycodes of the main keyboard's digit row, 1 .. 9 then 0, on every layout.
constexpr quint32 kDigitRowFirst = 10, kDigitRowLast = 19;

// Keys that the games give no meaning of their own: lock and system keys, the Japanese input keys and
// punctuation. A shifted digit key is still its digit, whatever symbol the layout puts on it.
Word otherKey(int k, quint32 scanCode)
{
    if (scanCode >= kDigitRowFirst && scanCode <= kDigitRowLast)
        return scanCode == kDigitRowLast ? Word('0') : Word('1' + (scanCode - kDigitRowFirst));
    switch (k) {
    case Qt::Key_CapsLock: return VK_CAPITAL;
    case Qt::Key_NumLock: return VK_NUMLOCK;
    case Qt::Key_ScrollLock: return VK_SCROLL;
    case Qt::Key_Print: return VK_SNAPSHOT;
    case Qt::Key_Menu: return VK_APPS;
    case Qt::Key_Meta: case Qt::Key_Super_L: case Qt::Key_Super_R: return VK_LWIN;
    case Qt::Key_Zenkaku_Hankaku: case Qt::Key_Kanji: return VK_KANJI;
    case Qt::Key_Hiragana_Katakana: case Qt::Key_Katakana: case Qt::Key_Hiragana: return VK_KANA;
    case Qt::Key_Henkan: return VK_CONVERT;
    case Qt::Key_Muhenkan: return VK_NONCONVERT;
    case Qt::Key_Underscore: return VK_OEM_MINUS;
    case Qt::Key_Equal: return VK_OEM_PLUS;
    case Qt::Key_Semicolon: case Qt::Key_Colon: return VK_OEM_1;
    case Qt::Key_Question: return VK_OEM_2;
    case Qt::Key_QuoteLeft: case Qt::Key_AsciiTilde: return VK_OEM_3;
    case Qt::Key_BracketLeft: case Qt::Key_BraceLeft: return VK_OEM_4;
    case Qt::Key_Backslash: case Qt::Key_Bar: case Qt::Key_yen: return VK_OEM_5;
    case Qt::Key_BracketRight: case Qt::Key_BraceRight: return VK_OEM_6;
    case Qt::Key_Apostrophe: case Qt::Key_QuoteDbl: return VK_OEM_7;
    case Qt::Key_Less: return VK_OEM_COMMA;
    case Qt::Key_Greater: return VK_OEM_PERIOD;
    default: return VK_OEM_CLEAR;
    }
}

} // namespace

Word VirtualKeyOf(const QKeyEvent& e)
{
    const int k = e.key();
    const bool keypad = e.modifiers() & Qt::KeypadModifier;
    if (k >= Qt::Key_0 && k <= Qt::Key_9) return Word(keypad ? VK_NUMPAD0 + (k - Qt::Key_0) : '0' + (k - Qt::Key_0));
    if (k >= Qt::Key_A && k <= Qt::Key_Z) return Word('A' + (k - Qt::Key_A));
    if (k >= Qt::Key_F1 && k <= Qt::Key_F12) return Word(VK_F1 + (k - Qt::Key_F1));
    switch (k) {
    case Qt::Key_Backspace: return VK_BACK;
    case Qt::Key_Tab: case Qt::Key_Backtab: return VK_TAB;
    case Qt::Key_Return: case Qt::Key_Enter: return VK_RETURN;
    case Qt::Key_Shift: return VK_SHIFT;
    case Qt::Key_Control: return VK_CONTROL;
    case Qt::Key_Alt: case Qt::Key_AltGr: return VK_MENU;
    case Qt::Key_Pause: return VK_PAUSE;
    case Qt::Key_Escape: return VK_ESCAPE;
    case Qt::Key_Space: return VK_SPACE;
    case Qt::Key_PageUp: return VK_PRIOR;
    case Qt::Key_PageDown: return VK_NEXT;
    case Qt::Key_End: return VK_END;
    case Qt::Key_Home: return VK_HOME;
    case Qt::Key_Left: return VK_LEFT;
    case Qt::Key_Up: return VK_UP;
    case Qt::Key_Right: return VK_RIGHT;
    case Qt::Key_Down: return VK_DOWN;
    case Qt::Key_Insert: return VK_INSERT;
    case Qt::Key_Delete: return VK_DELETE;
    case Qt::Key_Asterisk: return keypad ? Word(VK_MULTIPLY) : otherKey(k, e.nativeScanCode());
    case Qt::Key_Plus: return keypad ? VK_ADD : VK_OEM_PLUS;
    case Qt::Key_Minus: return keypad ? VK_SUBTRACT : VK_OEM_MINUS;
    case Qt::Key_Period: return keypad ? VK_DECIMAL : VK_OEM_PERIOD;
    case Qt::Key_Slash: return keypad ? VK_DIVIDE : VK_OEM_2;
    case Qt::Key_Comma: return VK_OEM_COMMA;
    default: return otherKey(k, e.nativeScanCode());
    }
}

TShiftState ShiftStateOf(Qt::KeyboardModifiers mods, Qt::MouseButtons buttons)
{
    TShiftState s;
    if (mods & Qt::ShiftModifier) s |= ShiftFlag::Shift;
    if (mods & Qt::AltModifier) s |= ShiftFlag::Alt;
    if (mods & Qt::ControlModifier) s |= ShiftFlag::Ctrl;
    if (buttons & Qt::LeftButton) s |= ShiftFlag::Left;
    if (buttons & Qt::RightButton) s |= ShiftFlag::Right;
    if (buttons & Qt::MiddleButton) s |= ShiftFlag::Middle;
    return s;
}
