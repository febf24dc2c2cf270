#pragma once
// Turns parsed key actions into the key events of one or more SendInput calls for a given keyboard layout, and
// wraps each call around the modifiers the user holds when it is sent.
#include "input/notation.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace ww {

// Virtual-key codes the planner uses (the values of the VK_ constants).
namespace vk {
inline constexpr std::uint16_t Back = 0x08;
inline constexpr std::uint16_t Tab = 0x09;
inline constexpr std::uint16_t Return = 0x0D;
inline constexpr std::uint16_t Escape = 0x1B;
inline constexpr std::uint16_t Prior = 0x21;
inline constexpr std::uint16_t Next = 0x22;
inline constexpr std::uint16_t End = 0x23;
inline constexpr std::uint16_t Home = 0x24;
inline constexpr std::uint16_t Left = 0x25;
inline constexpr std::uint16_t Up = 0x26;
inline constexpr std::uint16_t Right = 0x27;
inline constexpr std::uint16_t Down = 0x28;
inline constexpr std::uint16_t Insert = 0x2D;
inline constexpr std::uint16_t Delete = 0x2E;
inline constexpr std::uint16_t LWin = 0x5B;
inline constexpr std::uint16_t RWin = 0x5C;
inline constexpr std::uint16_t F1 = 0x70;
inline constexpr std::uint16_t LShift = 0xA0;
inline constexpr std::uint16_t RShift = 0xA1;
inline constexpr std::uint16_t LControl = 0xA2;
inline constexpr std::uint16_t RControl = 0xA3;
inline constexpr std::uint16_t LMenu = 0xA4;
inline constexpr std::uint16_t RMenu = 0xA5;
// Unassigned code: tapped to keep a lone Alt or Win release from opening the menu bar or the Start menu, without
// the side effects a Ctrl tap can have (pointer location, app shortcuts bound to a double Ctrl).
inline constexpr std::uint16_t Mask = 0xE8;
} // namespace vk

struct KeyEvent {
    std::uint16_t vk = 0;
    std::uint16_t scan = 0; // with `unicode`: the UTF-16 unit, and vk is 0
    bool keyUp = false;
    bool extended = false;
    bool unicode = false;

    friend bool operator==(const KeyEvent&, const KeyEvent&) = default;
};

// The keyboard layout of the window that receives the keys.
class KeyboardLayout {
public:
    virtual ~KeyboardLayout() = default;
    // VkKeyScanEx: low byte the key, high byte the shift state (1 Shift, 2 Ctrl, 4 Alt); 0xFFFF when no key.
    virtual std::uint16_t vkKeyScan(wchar_t ch) = 0;
    virtual std::uint16_t scanCode(std::uint16_t vk) = 0;
    // The one character the key types in that shift state on its own; nothing for a dead key (which would wait
    // for the next key) or a key that types no single character. Asking must not disturb the user's typing.
    virtual std::optional<wchar_t> keyChar(std::uint16_t vk, std::uint8_t shiftState) = 0;
};

// Physical modifier keys the user holds at send time.
enum HeldKey : std::uint8_t {
    HeldLShift = 1,
    HeldRShift = 2,
    HeldLCtrl = 4,
    HeldRCtrl = 8,
    HeldLAlt = 16,
    HeldRAlt = 32,
    HeldLWin = 64,
    HeldRWin = 128,
};

struct KeyboardState {
    std::uint8_t held = 0; // HeldKey bits
    bool capsLock = false; // Caps Lock toggled on
};

using KeyCall = std::vector<KeyEvent>;

// One call carries about 5,000 characters; a lower-case letter is two events.
inline constexpr std::size_t kMaxEventsPerCall = 10000;

// The calls to send, in order. Each call holds at most `maxEventsPerCall` events unless a single action needs more,
// and releases every key it presses. No actions give no calls.
// A character goes as its key when the layout types it plainly or with Shift; one that needs AltGr, sits on a dead
// key or has no key goes as a Unicode character event, which every receiver reads the same way. With Caps Lock on,
// text characters all go as Unicode characters.
std::vector<KeyCall> planKeystrokes(std::span<const KeyAction> actions, KeyboardLayout& layout, bool capsLock,
                                    std::size_t maxEventsPerCall = kMaxEventsPerCall);

// The same for a plain text that goes as Unicode character events only: no key goes down.
std::vector<KeyCall> planCharacters(std::wstring_view text, KeyboardLayout& layout,
                                    std::size_t maxEventsPerCall = kMaxEventsPerCall);

// A call as it is sent when the user holds `held` (read right before it): those keys are lifted first and pressed
// again at its end.
KeyCall withHeldLifted(std::span<const KeyEvent> call, std::uint8_t held, KeyboardLayout& layout);

// What to send after the system took only `taken` of a call that found `held` down: the release of every key the
// taken part left down, and the press of the user's keys it had lifted, with the mask tap wherever an Alt or Win
// release, ours now or the user's later, would otherwise come right after its press.
KeyCall afterCutShort(std::span<const KeyEvent> taken, std::uint8_t held, KeyboardLayout& layout);

} // namespace ww
