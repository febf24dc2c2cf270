#pragma once
// A loop-back keyboard for the engine and the player: a key-state array read as GetAsyncKeyState answers it (bit 15
// down now, bit 0 pressed since the previous query of that key, cleared by the query), into which the keys the
// player sends come back as the system shows them. Records what the system took of each call. With helpers that
// write key events as the fake layouts' keys send them.
#include "engine/engine.h"
#include "fake_keyboard_layouts.h"
#include "input/notation.h"
#include "input/player.h"

#include <algorithm>
#include <array>
#include <functional>
#include <utility>
#include <variant>
#include <vector>

namespace ww::testing {

inline constexpr int kVkPacket = 0xE7; // where a Unicode character event shows in the key state

inline KeyEvent down(std::uint16_t key, bool extended = false) {
    return {key, fakeScan(key), false, extended, false};
}
inline KeyEvent up(std::uint16_t key, bool extended = false) {
    return {key, fakeScan(key), true, extended, false};
}
inline KeyCall tap(std::uint16_t key, bool extended = false) {
    return {down(key, extended), up(key, extended)};
}
inline KeyCall unicode(std::uint16_t unit) {
    return {{0, unit, false, false, true}, {0, unit, true, false, true}};
}
inline KeyCall flat(const std::vector<KeyCall>& calls) {
    KeyCall all;
    for (const KeyCall& call : calls)
        all.insert(all.end(), call.begin(), call.end());
    return all;
}
// `inner` with one modifier key held around it.
inline KeyCall with(std::uint16_t modifier, const KeyCall& inner) {
    return flat({{down(modifier)}, inner, {up(modifier)}});
}
inline std::vector<KeyAction> actions(std::wstring_view keys) {
    return std::get<std::vector<KeyAction>>(parseKeystrokes(keys));
}

class FakeKeyboard final : public KeyState, public KeySink, public KeyboardReader {
public:
    explicit FakeKeyboard(KeyboardLayout& layout) : layout_(layout) {}

    // The user's hands.
    void press(int code) { down_[code & 0xFF] = pressedSince_[code & 0xFF] = true; }
    void release(int code) { down_[code & 0xFF] = false; }
    void tap(int code) { pressedSince_[code & 0xFF] = true; } // down and up again between two polls
    void hold(std::uint8_t held) {                            // HeldKey bits
        for (std::size_t bit = 0; bit < kHeldVks.size(); ++bit)
            if (held & (1u << bit)) press(kHeldVks[bit]);
    }

    std::uint16_t asyncKeyState(int code) override {
        queried.push_back(code);
        return static_cast<std::uint16_t>((down_[code & 0xFF] ? 0x8000 : 0) |
                                          std::exchange(pressedSince_[code & 0xFF], false));
    }

    // Takes what `accept` allows of a call (all of it by default) and shows it in the key state.
    std::size_t send(std::span<const KeyEvent> events) override {
        const std::size_t taken = accept ? std::min(accept(calls.size(), events.size()), events.size()) : events.size();
        calls.emplace_back(events.begin(), events.begin() + static_cast<std::ptrdiff_t>(taken));
        for (const KeyEvent& e : calls.back()) {
            const int code = e.unicode ? kVkPacket : e.vk;
            if (!e.keyUp && std::ranges::find(kHeldVks, code) == kHeldVks.end())
                heldAtPress.push_back(keyboardState().held);
            if (!e.keyUp)
                press(code);
            else if (!lateSystem)
                release(code);
        }
        if (afterCall) afterCall(calls.size() - 1);
        return taken;
    }

    std::vector<int> downKeys() const {
        std::vector<int> codes;
        for (int code = 0; code < 256; ++code)
            if (down_[code]) codes.push_back(code);
        return codes;
    }

    KeyboardLayout& layout() override { return layout_; }
    KeyboardState keyboardState() override {
        KeyboardState state{0, capsLock};
        for (std::size_t bit = 0; bit < kHeldVks.size(); ++bit)
            if (down_[kHeldVks[bit]]) state.held |= static_cast<std::uint8_t>(1u << bit);
        return state;
    }

    bool capsLock = false;
    bool lateSystem = false; // releases held back, as when another program's slow keyboard hook holds up the input
    std::function<std::size_t(std::size_t call, std::size_t size)> accept; // how much of a call the system takes
    std::function<void(std::size_t call)> afterCall;                       // the user's hands between calls
    std::vector<KeyCall> calls;                                            // what the system took of each call
    std::vector<std::uint8_t> heldAtPress; // the modifiers down at each press of another key
    std::vector<int> queried;

private:
    static constexpr std::array<std::uint16_t, 8> kHeldVks{vk::LShift, vk::RShift, vk::LControl, vk::RControl,
                                                           vk::LMenu,  vk::RMenu,  vk::LWin,     vk::RWin};
    KeyboardLayout& layout_;
    std::array<bool, 256> down_{}, pressedSince_{};
};

} // namespace ww::testing
