#pragma once
// The keystroke player: parses a keystroke string and types it with SendInput into the window that has the
// keyboard focus, using that window's keyboard layout.
#include "engine/engine.h"
#include "input/keystroke_plan.h"

#include <windows.h>

#include <functional>
#include <span>
#include <string_view>
#include <vector>

namespace ww::win {

class Win32KeyboardLayout final : public ww::KeyboardLayout {
public:
    explicit Win32KeyboardLayout(HKL layout) : layout_(layout) {}
    std::uint16_t vkKeyScan(wchar_t ch) override;
    std::uint16_t scanCode(std::uint16_t vk) override;
    std::optional<wchar_t> keyChar(std::uint16_t vk, std::uint8_t shiftState) override;

private:
    HKL layout_;
};

// The layout of the thread that owns the foreground window, which is where the keys will arrive.
HKL foregroundKeyboardLayout();

// The modifier keys down right now and the Caps Lock toggle; reads only the down bit, so no pending press of the
// engine's keys and no dead key of the user's is consumed.
ww::KeyboardState currentKeyboardState();

std::vector<INPUT> toInputs(std::span<const ww::KeyEvent> events);

class SendInputPlayer final : public ww::KeystrokePlayer {
public:
    // Puts the records into the input stream and returns how many went in, as SendInput does.
    using Sender = std::function<UINT(std::span<INPUT>)>;
    // The modifiers down and the Caps Lock toggle, as currentKeyboardState reads them.
    using StateReader = std::function<ww::KeyboardState()>;

    SendInputPlayer();
    explicit SendInputPlayer(Sender send, StateReader readState = currentKeyboardState,
                             std::size_t maxEventsPerCall = ww::kMaxEventsPerCall);

    // A string that does not parse plays nothing and beeps. If the system takes only part of a call, the rest is
    // dropped, every key the taken part left down is released and the user's held modifiers are down again.
    void play(std::wstring_view keys) override;
    void playCharacters(std::wstring_view text) override;

private:
    void sendAll(const std::vector<ww::KeyCall>& calls, ww::KeyboardLayout& layout);

    Sender send_;
    StateReader readState_;
    std::size_t maxEvents_;
};

} // namespace ww::win
