#pragma once
// The keyboard under the player on Windows: the layout of the window that receives the keys, the modifiers the user
// holds, and SendInput as the sink.
#include "input/player.h"

#include <windows.h>

#include <span>
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

class Win32Keyboard final : public ww::KeyboardReader {
public:
    ww::KeyboardLayout& layout() override;
    ww::KeyboardState keyboardState() override { return currentKeyboardState(); }

private:
    Win32KeyboardLayout layout_{nullptr};
};

class SendInputSink final : public ww::KeySink {
public:
    std::size_t send(std::span<const ww::KeyEvent> events) override;
};

} // namespace ww::win
