#pragma once
// Virtual key codes as the forms' key handlers speak them, and the mapping from Qt's keys.
#include <QFlags>
#include <qnamespace.h>
#include <cstdint>

class QKeyEvent;

using Word = std::uint16_t;

enum : Word {
    VK_BACK = 0x08, VK_TAB = 0x09, VK_RETURN = 0x0D, VK_SHIFT = 0x10, VK_CONTROL = 0x11, VK_MENU = 0x12,
    VK_PAUSE = 0x13, VK_CAPITAL = 0x14, VK_KANA = 0x15, VK_KANJI = 0x19, VK_CONVERT = 0x1C, VK_NONCONVERT = 0x1D,
    VK_ESCAPE = 0x1B, VK_SPACE = 0x20, VK_PRIOR = 0x21, VK_NEXT = 0x22, VK_END = 0x23,
    VK_HOME = 0x24, VK_LEFT = 0x25, VK_UP = 0x26, VK_RIGHT = 0x27, VK_DOWN = 0x28, VK_INSERT = 0x2D,
    VK_SNAPSHOT = 0x2C, VK_DELETE = 0x2E, VK_LWIN = 0x5B, VK_APPS = 0x5D,
    VK_NUMPAD0 = 0x60, VK_NUMPAD1, VK_NUMPAD2, VK_NUMPAD3, VK_NUMPAD4, VK_NUMPAD5, VK_NUMPAD6, VK_NUMPAD7,
    VK_NUMPAD8, VK_NUMPAD9, VK_MULTIPLY = 0x6A, VK_ADD = 0x6B, VK_SUBTRACT = 0x6D, VK_DECIMAL = 0x6E,
    VK_DIVIDE = 0x6F,
    VK_F1 = 0x70, VK_F2, VK_F3, VK_F4, VK_F5, VK_F6, VK_F7, VK_F8, VK_F9, VK_F10, VK_F11, VK_F12,
    VK_NUMLOCK = 0x90, VK_SCROLL = 0x91,
    VK_OEM_1 = 0xBA, VK_OEM_PLUS = 0xBB, VK_OEM_COMMA = 0xBC, VK_OEM_MINUS = 0xBD, VK_OEM_PERIOD = 0xBE,
    VK_OEM_2 = 0xBF, VK_OEM_3 = 0xC0, VK_OEM_4 = 0xDB, VK_OEM_5 = 0xDC, VK_OEM_6 = 0xDD, VK_OEM_7 = 0xDE,
    VK_OEM_102 = 0xE2,
    // Any other key: it still reaches the handlers, which treat it as a key they do not know.
    VK_OEM_CLEAR = 0xFE,
};
// Letters and main-keyboard digits are their ASCII upper-case codes ('A', '1').

enum class ShiftFlag { Shift = 1, Alt = 2, Ctrl = 4, Left = 8, Right = 16, Middle = 32, Double = 64 };
Q_DECLARE_FLAGS(TShiftState, ShiftFlag)
Q_DECLARE_OPERATORS_FOR_FLAGS(TShiftState)

enum class TMouseButton { mbLeft, mbRight, mbMiddle };

// The key code of a Qt key event; never 0, so that every key reaches the forms' handlers.
Word VirtualKeyOf(const QKeyEvent& e);
TShiftState ShiftStateOf(Qt::KeyboardModifiers mods, Qt::MouseButtons buttons = Qt::NoButton);
