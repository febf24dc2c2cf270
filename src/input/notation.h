#pragma once
// The keystroke notation: encoding of stored texts, translation of keypad shortcuts, and the parser that turns a
// keystroke string into the key actions the player performs.
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace ww {

// Stored key text -> keystroke string: "###" becomes "~" (Enter), the ten special characters are braced.
std::wstring encodeText(std::wstring_view text);

// User's shortcut ("strg + f9") -> keystroke string ("^{F9}").
std::wstring translateShortcut(std::wstring_view shortcut);

enum Modifier : std::uint8_t { ModNone = 0, ModShift = 1, ModCtrl = 2, ModAlt = 4 };

enum class NamedKey : std::uint8_t {
    Backspace,
    Enter,
    Tab,
    Escape,
    Delete,
    Insert,
    Home,
    End,
    PageUp,
    PageDown,
    Up,
    Down,
    Left,
    Right,
    F1,
    F2,
    F3,
    F4,
    F5,
    F6,
    F7,
    F8,
    F9,
    F10,
    F11,
    F12
};

// One key action: a character to type or a named key to press, with the modifiers held over it.
struct KeyAction {
    bool isChar = true;
    wchar_t ch = 0;                   // when isChar
    NamedKey key = NamedKey::Enter;   // when !isChar
    std::uint8_t modifiers = ModNone; // Modifier bits held while this action is typed

    friend bool operator==(const KeyAction&, const KeyAction&) = default;
};

struct ParseError {
    std::size_t position = 0; // index into the keystroke string where the problem was found
    std::wstring message;     // German, for the user
};

using ParseResult = std::variant<std::vector<KeyAction>, ParseError>;

// Parses a keystroke string into the actions to play. "{x}" is the character x itself; names in braces
// (BACKSPACE, ENTER, TAB, ESC, DEL/DELETE, INS/INSERT, HOME, END, PGUP, PGDN, UP, DOWN, LEFT, RIGHT, F1..F12)
// match regardless of case; "~" is Enter; "+", "^", "%" hold Shift, Ctrl, Alt over the next item or "(...)"
// group. Unbalanced braces or parentheses, unknown or empty names and a modifier without a key are errors.
ParseResult parseKeystrokes(std::wstring_view keys);

} // namespace ww
