#pragma once
// The keystroke player: plans key actions for the layout of the window that receives them and sends them, call by
// call, around the modifiers the user holds, into a sink (SendInput on Windows, a fake keyboard in the tests).
#include "input/keystroke_plan.h"

#include <cstddef>
#include <span>
#include <string_view>

namespace ww {

// Queues keys for the focused window and returns without waiting; the order of calls is kept.
class KeystrokePlayer {
public:
    virtual ~KeystrokePlayer() = default;
    virtual void play(std::span<const KeyAction> actions) = 0;
    // Types the text as it stands, as Unicode character events: no key of the keyboard goes down.
    virtual void playCharacters(std::wstring_view text) = 0;
};

// Puts key events into the input stream and returns how many went in (fewer when the system refuses the rest).
class KeySink {
public:
    virtual ~KeySink() = default;
    virtual std::size_t send(std::span<const KeyEvent> events) = 0;
};

// What the player reads of the keyboard the keys go to.
class KeyboardReader {
public:
    virtual ~KeyboardReader() = default;
    // The layout of the window that will receive the keys; asked once per play, valid until the next ask.
    virtual KeyboardLayout& layout() = 0;
    // The modifiers down and the Caps Lock toggle, read without consuming a pending press of any other key.
    virtual KeyboardState keyboardState() = 0;
};

class Player final : public KeystrokePlayer {
public:
    Player(KeySink& sink, KeyboardReader& keyboard, std::size_t maxEventsPerCall = kMaxEventsPerCall)
        : sink_(sink), keyboard_(keyboard), maxEvents_(maxEventsPerCall) {}

    // If the system takes only part of a call, the rest is dropped, every key the taken part left down is released
    // and the user's held modifiers are down again.
    void play(std::span<const KeyAction> actions) override;
    void playCharacters(std::wstring_view text) override;

private:
    void sendAll(const std::vector<KeyCall>& calls, KeyboardLayout& layout);

    KeySink& sink_;
    KeyboardReader& keyboard_;
    std::size_t maxEvents_;
};

} // namespace ww
