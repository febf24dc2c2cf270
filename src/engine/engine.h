#pragma once
// The hotkey engine: watches the keypad on Timer1, scans the 36 keys on Timer2 while armed, and repairs what the
// user typed through the keystroke player. Its whole state is which timer is enabled.
#include "input/player.h"
#include "store/assignments.h"

#include <cstdint>
#include <span>
#include <string_view>

namespace ww {

// GetAsyncKeyState as a 16-bit value.
class KeyState {
public:
    virtual ~KeyState() = default;
    virtual std::uint16_t asyncKeyState(int virtualKey) = 0;
};

class Timer {
public:
    virtual ~Timer() = default;
    virtual void setEnabled(bool on) = 0;
    virtual bool enabled() const = 0;
};

inline constexpr int kPadZeroCode = 96;   // keypad 0; keypad k is 96 + k
inline constexpr int kScanFirstCode = 48; // '0'
inline constexpr int kScanLastCode = 90;  // 'Z'

// Expects the timers in their load state (Timer1 enabled, Timer2 disabled); the shell creates them that way.
// The table is read at each press, so it must outlive the engine.
class Engine {
public:
    Engine(KeyState& keys, KeystrokePlayer& player, Timer& timer1, Timer& timer2, const AssignmentTable& table);

    void onTimer1Tick(); // trigger tick: keypad 0 arms, keypad 1..9 play their shortcuts
    void onTimer2Tick(); // armed scan over the codes 48..90, first hit wins
    void activate();
    void deactivate(); // also ends the armed state

    bool keypressed(int code, std::wstring_view label);
    void erasefeedback();
    // A fresh press of a key outside the 36 and the modifiers, or of a mouse button: the user left the "OK".
    bool otherkeypressed();

    bool watching() const { return timer1_.enabled(); }
    bool armed() const { return timer2_.enabled(); }

private:
    void play(std::span<const KeyAction> actions);
    void endArmed();

    KeyState& keys_;
    KeystrokePlayer& player_;
    Timer& timer1_;
    Timer& timer2_;
    const AssignmentTable& table_;
    // The arming tick's Backspace (with a keypad digit's, they show as one press) not yet seen in the key state.
    bool ownBackspacePending_ = false;
    int armedTicks_ = 0;
};

} // namespace ww
