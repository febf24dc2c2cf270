#pragma once
// The keyboard of the tests. A layout as Windows defines it: each key with its plain, Shift, AltGr and Shift+AltGr
// characters, and which characters sit on dead keys. And a loop-back keyboard for the engine and the player: a
// key-state array read as GetAsyncKeyState answers it (bit 15 down now, bit 0 pressed since the previous query of that
// key, cleared by the query), into which the keys the player sends come back as the system shows them.
#include "engine/engine.h"
#include "input/player.h"

#include <algorithm>
#include <array>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace ww::testing {

// The virtual keys of the HeldKey bits, in bit order.
inline constexpr std::array<std::uint16_t, 8> kHeldVks{vk::LShift, vk::RShift, vk::LControl, vk::RControl,
                                                       vk::LMenu,  vk::RMenu,  vk::LWin,     vk::RWin};

inline bool isModifierVk(std::uint16_t key) {
    return std::ranges::find(kHeldVks, key) != kHeldVks.end() || (key >= 0x10 && key <= 0x12);
}
inline bool isMenuOpener(std::uint16_t key) {
    return key == vk::LMenu || key == vk::RMenu || key == vk::LWin || key == vk::RWin;
}
// Windows tells these from their twins (left Ctrl, the keypad's arrows) by the extended flag alone.
inline bool isExtendedVk(std::uint16_t key) {
    return (key >= vk::Prior && key <= vk::Down) || key == vk::Insert || key == vk::Delete || key == vk::LWin ||
           key == vk::RWin || key == vk::RControl || key == vk::RMenu;
}

struct FakeKey {
    std::uint16_t vk;
    std::wstring levels; // the characters of the levels in order; L'\0' where a level types nothing
};

struct FakeLayout final : KeyboardLayout {
    // Like VkKeyScanEx: the first key and level, in table order, that carries the character, dead or not.
    std::uint16_t vkKeyScan(wchar_t ch) override {
        if (const auto it = odd.find(ch); it != odd.end()) return it->second;
        for (const FakeKey& key : keys)
            for (std::size_t level = 0; level < key.levels.size(); ++level)
                if (key.levels[level] == ch) return static_cast<std::uint16_t>(kLevelStates[level] << 8 | key.vk);
        return 0xFFFF;
    }
    std::uint16_t scanCode(std::uint16_t key) override { return static_cast<std::uint16_t>(0x100 + key); }
    std::optional<wchar_t> keyChar(std::uint16_t vk, std::uint8_t shiftState) override {
        const auto key = std::ranges::find(keys, vk, &FakeKey::vk); // the first wins, as in vkKeyScan
        for (std::size_t level = 0; key != keys.end() && level < key->levels.size(); ++level)
            if (kLevelStates[level] == shiftState && key->levels[level] != 0 &&
                dead.find(key->levels[level]) == dead.npos)
                return key->levels[level];
        return std::nullopt;
    }

    static constexpr std::uint8_t kLevelStates[] = {0, 1, 6, 7}; // VkKeyScan shift states of the four levels
    std::vector<FakeKey> keys;
    std::wstring dead;                    // characters of dead keys: they type nothing on their own
    std::map<wchar_t, std::uint16_t> odd; // VkKeyScan's answers for characters on keys outside the table
};

// QWERTZ. AltGr for @ € µ ² ³ { [ ] } \ ~ |; dead ^ ´ `; no key for é; a line feed is Ctrl+Enter, as Windows answers.
inline FakeLayout germanLayout() {
    FakeLayout de;
    de.keys = {{0xDC, L"^°"}, {'1', L"1!"},  {'2', L"2\"²"}, {'3', L"3§³"},  {'4', L"4$"},  {'5', L"5%"},
               {'6', L"6&"},  {'7', L"7/{"}, {'8', L"8(["},  {'9', L"9)]"},  {'0', L"0=}"}, {0xDB, L"ß?\\"},
               {0xDD, L"´`"}, {'Q', L"qQ@"}, {'E', L"eE€"},  {'M', L"mMµ"},  {0xBA, L"üÜ"}, {0xBB, L"+*~"},
               {0xC0, L"öÖ"}, {0xDE, L"äÄ"}, {0xBF, L"#'"},  {0xE2, L"<>|"}, {0xBC, L",;"}, {0xBE, L".:"},
               {0xBD, L"-_"}, {' ', L" "}};
    for (std::uint16_t letter = 'A'; letter <= 'Z'; ++letter)
        de.keys.push_back({letter, {static_cast<wchar_t>(letter + 0x20), static_cast<wchar_t>(letter)}});
    de.dead = L"^´`";
    de.odd = {{L'\n', 0x200 | vk::Return}};
    return de;
}

inline KeyEvent down(std::uint16_t key) {
    return {key, static_cast<std::uint16_t>(0x100 + key), false, isExtendedVk(key), false};
}
inline KeyEvent up(std::uint16_t key) {
    return {key, static_cast<std::uint16_t>(0x100 + key), true, isExtendedVk(key), false};
}
inline KeyCall tap(std::uint16_t key) {
    return {down(key), up(key)};
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
    void press(int code) { down[code] = pressedSince[code] = true; }
    void release(int code) { down[code] = false; }
    void tap(int code) { pressedSince[code] = true; } // down and up again between two polls
    void hold(std::uint8_t held) {                    // HeldKey bits
        for (std::size_t bit = 0; bit < kHeldVks.size(); ++bit)
            if (held & (1u << bit)) press(kHeldVks[bit]);
    }

    std::uint16_t asyncKeyState(int code) override {
        return static_cast<std::uint16_t>((down[code] ? 0x8000 : 0) | std::exchange(pressedSince[code], false));
    }

    // Takes what `accept` allows of a call (all of it by default) and shows it in the key state.
    std::size_t send(std::span<const KeyEvent> events) override {
        const std::size_t taken = accept ? std::min(accept(calls.size(), events.size()), events.size()) : events.size();
        calls.emplace_back(events.begin(), events.begin() + static_cast<std::ptrdiff_t>(taken));
        for (const KeyEvent& e : calls.back()) {
            const int code = e.unicode ? 0xE7 : e.vk; // VK_PACKET
            e.keyUp ? release(code) : press(code);
        }
        if (afterCall) afterCall(calls.size() - 1);
        return taken;
    }

    KeyboardLayout& layout() override { return layout_; }
    KeyboardState keyboardState() override {
        KeyboardState state{0, capsLock};
        for (std::size_t bit = 0; bit < kHeldVks.size(); ++bit)
            if (down[kHeldVks[bit]]) state.held |= static_cast<std::uint8_t>(1u << bit);
        return state;
    }

    bool capsLock = false;
    std::function<std::size_t(std::size_t call, std::size_t size)> accept; // how much of a call the system takes
    std::function<void(std::size_t call)> afterCall;                       // the user's hands between calls
    std::vector<KeyCall> calls;                                            // what the system took of each call
    std::array<bool, 256> down{}, pressedSince{};                          // by virtual-key code

private:
    KeyboardLayout& layout_;
};

} // namespace ww::testing
