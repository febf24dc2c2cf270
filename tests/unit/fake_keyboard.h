#pragma once
// The keyboard of the tests. Layouts as Windows defines them: each key with its plain, Shift, AltGr and Shift+AltGr
// characters and which of them are dead keys; letters and the blank sit on their usual keys unless a layout says
// otherwise. And a loop-back keyboard for the engine and the player: a key-state array read as GetAsyncKeyState
// answers it (bit 15 down now, bit 0 pressed since the previous query of that key, cleared by the query), into
// which the keys the player sends come back as the system shows them.
#include "engine/engine.h"
#include "input/keystroke_plan.h"
#include "input/notation.h"
#include "input/player.h"

#include <algorithm>
#include <array>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace ww::testing {

inline constexpr std::uint16_t kVkSharpS = 0xDB; // ß ? \ on the German layout

// Any scan code will do as long as it belongs to its key.
inline std::uint16_t fakeScan(std::uint16_t vk) {
    return static_cast<std::uint16_t>(0x100 + vk);
}

enum Level { Plain, Shifted, AltGr, ShiftAltGr };

struct FakeKey {
    std::uint16_t vk;
    std::wstring levels; // the characters of the levels in order; L'\0' where a level types nothing
};
using DeadKeys = std::set<std::pair<std::uint16_t, Level>>;

class FakeLayout final : public KeyboardLayout {
public:
    // `odd` answers VkKeyScan for characters on keys outside the table (Ctrl+Enter for a line feed).
    explicit FakeLayout(std::vector<FakeKey> keys, DeadKeys dead = {}, std::map<wchar_t, std::uint16_t> odd = {})
        : keys_(std::move(keys)), dead_(std::move(dead)), odd_(std::move(odd)) {
        for (wchar_t letter = L'A'; letter <= L'Z'; ++letter)
            if (!find(letter))
                keys_.push_back(
                    {static_cast<std::uint16_t>(letter), {static_cast<wchar_t>(letter - L'A' + L'a'), letter}});
        if (!find(L' ')) keys_.push_back({L' ', L" "});
    }

    // Like VkKeyScanEx: the first key and level, in table order, that carries the character, dead or not.
    std::uint16_t vkKeyScan(wchar_t ch) override {
        if (const auto it = odd_.find(ch); it != odd_.end()) return it->second;
        for (const FakeKey& key : keys_)
            for (std::size_t level = 0; level < key.levels.size(); ++level)
                if (key.levels[level] == ch) return static_cast<std::uint16_t>(kLevelStates[level] << 8 | key.vk);
        return 0xFFFF;
    }
    std::uint16_t scanCode(std::uint16_t vk) override { return fakeScan(vk); }
    std::optional<wchar_t> keyChar(std::uint16_t vk, std::uint8_t shiftState) override {
        const FakeKey* key = find(vk);
        for (std::size_t level = 0; key && level < key->levels.size(); ++level)
            if (kLevelStates[level] == shiftState && key->levels[level] != 0 &&
                !dead_.contains({vk, static_cast<Level>(level)}))
                return key->levels[level];
        return std::nullopt;
    }

private:
    static constexpr std::uint8_t kLevelStates[] = {0, 1, 6, 7}; // VkKeyScan shift states of the four levels

    const FakeKey* find(std::uint16_t vk) const {
        for (const FakeKey& key : keys_)
            if (key.vk == vk) return &key;
        return nullptr;
    }

    std::vector<FakeKey> keys_;
    DeadKeys dead_;
    std::map<wchar_t, std::uint16_t> odd_;
};

// No key for ß; a line feed is Ctrl+Enter, as Windows answers.
inline FakeLayout usLayout() {
    return FakeLayout({{'1', L"1!"},  {'2', L"2@"},  {'3', L"3#"},  {'4', L"4$"},   {'5', L"5%"},  {'6', L"6^"},
                       {'7', L"7&"},  {'8', L"8*"},  {'9', L"9("},  {'0', L"0)"},   {0xC0, L"`~"}, {0xBD, L"-_"},
                       {0xBB, L"=+"}, {0xDB, L"[{"}, {0xDD, L"]}"}, {0xDC, L"\\|"}, {0xBA, L";:"}, {0xDE, L"'\""},
                       {0xBC, L",<"}, {0xBE, L".>"}, {0xBF, L"/?"}},
                      {}, {{L'\n', 0x200 | vk::Return}});
}

// QWERTZ. AltGr for @ € µ ² ³ { [ ] } \ ~ |; dead ^ ´ `.
inline FakeLayout germanLayout() {
    return FakeLayout({{0xDC, L"^°"}, {'1', L"1!"},         {'2', L"2\"²"}, {'3', L"3§³"}, {'4', L"4$"},
                       {'5', L"5%"},  {'6', L"6&"},         {'7', L"7/{"},  {'8', L"8(["}, {'9', L"9)]"},
                       {'0', L"0=}"}, {kVkSharpS, L"ß?\\"}, {0xDD, L"´`"},  {'Q', L"qQ@"}, {'E', L"eE€"},
                       {'M', L"mMµ"}, {0xBA, L"üÜ"},        {0xBB, L"+*~"}, {0xC0, L"öÖ"}, {0xDE, L"äÄ"},
                       {0xBF, L"#'"}, {0xE2, L"<>|"},       {0xBC, L",;"},  {0xBE, L".:"}, {0xBD, L"-_"}},
                      {{0xDC, Plain}, {0xDD, Plain}, {0xDD, Shifted}});
}

// Swiss German. AltGr for @ # € ¦ ¬ | ¢ [ ] { } \; dead ^ ` ¨, and ´ and ~ dead on the AltGr level of keys whose
// plain character is live.
inline FakeLayout swissLayout() {
    return FakeLayout({{0xBF, L"§°"},  {'1', L"1+¦"},   {'2', L"2\"@"}, {'3', L"3*#"},  {'4', L"4ç"},  {'5', L"5%"},
                       {'6', L"6&¬"},  {'7', L"7/|"},   {'8', L"8(¢"},  {'9', L"9)"},   {'0', L"0="},  {0xDB, L"'?´"},
                       {0xDD, L"^`~"}, {'E', L"eE€"},   {0xBA, L"üè["}, {0xC0, L"¨!]"}, {0xDE, L"öé"}, {0xDC, L"äà{"},
                       {0xDF, L"$£}"}, {0xE2, L"<>\\"}, {0xBC, L",;"},  {0xBE, L".:"},  {0xBD, L"-_"}},
                      {{0xDB, AltGr}, {0xDD, Plain}, {0xDD, Shifted}, {0xDD, AltGr}, {0xC0, Plain}});
}

// AZERTY: digits need Shift. AltGr for ~ # { [ | ` \ ^ @ ] } € ¤, of which ~ and ` are dead; dead ^ ¨ of their own.
inline FakeLayout frenchLayout() {
    return FakeLayout({{0xDE, L"²"},   {'1', L"&1"},  {'2', L"é2~"},  {'3', L"\"3#"}, {'4', L"'4{"}, {'5', L"(5["},
                       {'6', L"-6|"},  {'7', L"è7`"}, {'8', L"_8\\"}, {'9', L"ç9^"},  {'0', L"à0@"}, {0xDB, L")°]"},
                       {0xBB, L"=+}"}, {0xDD, L"^¨"}, {0xBA, L"$£¤"}, {'E', L"eE€"},  {0xC0, L"ù%"}, {0xDC, L"*µ"},
                       {0xBC, L",?"},  {0xBE, L";."}, {0xBF, L":/"},  {0xDF, L"!§"},  {0xE2, L"<>"}},
                      {{'2', AltGr}, {'7', AltGr}, {0xDD, Plain}, {0xDD, Shifted}});
}

// US-International: ' " ` ~ dead, and ^ dead on the Shift level of the live 6; AltGr for accented letters and more.
inline FakeLayout usInternationalLayout() {
    return FakeLayout({{0xC0, L"`~"},   {'1', L"1!¡¹"},   {'2', L"2@²"},   {'3', L"3#³"},  {'4', L"4$¤£"},
                       {'5', L"5%€"},   {'6', L"6^¼"},    {'7', L"7&½"},   {'8', L"8*¾"},  {'9', L"9(‘"},
                       {'0', L"0)’"},   {0xBD, L"-_¥"},   {0xBB, L"=+×÷"}, {'Q', L"qQäÄ"}, {'E', L"eEéÉ"},
                       {'S', L"sSß§"},  {'N', L"nNñÑ"},   {0xDB, L"[{«"},  {0xDD, L"]}»"}, {0xDC, L"\\|¬¦"},
                       {0xBA, L";:¶°"}, {0xDE, L"'\"´¨"}, {0xBC, L",<çÇ"}, {0xBE, L".>"},  {0xBF, L"/?¿"}},
                      {{0xC0, Plain}, {0xC0, Shifted}, {'6', Shifted}, {0xDE, Plain}, {0xDE, Shifted}});
}

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
    void press(int code) { down[code] = pressedSince[code] = true; }
    void release(int code) { down[code] = false; }
    void tap(int code) { pressedSince[code] = true; } // down and up again between two polls
    void hold(std::uint8_t held) {                    // HeldKey bits
        for (std::size_t bit = 0; bit < kHeldVks.size(); ++bit)
            if (held & (1u << bit)) press(kHeldVks[bit]);
    }

    std::uint16_t asyncKeyState(int code) override {
        queried.push_back(code);
        return static_cast<std::uint16_t>((down[code] ? 0x8000 : 0) | std::exchange(pressedSince[code], false));
    }

    // Takes what `accept` allows of a call (all of it by default) and shows it in the key state.
    std::size_t send(std::span<const KeyEvent> events) override {
        const std::size_t taken = accept ? std::min(accept(calls.size(), events.size()), events.size()) : events.size();
        calls.emplace_back(events.begin(), events.begin() + static_cast<std::ptrdiff_t>(taken));
        for (const KeyEvent& e : calls.back()) {
            const int code = e.unicode ? 0xE7 : e.vk; // VK_PACKET
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

    KeyboardLayout& layout() override { return layout_; }
    KeyboardState keyboardState() override {
        KeyboardState state{0, capsLock};
        for (std::size_t bit = 0; bit < kHeldVks.size(); ++bit)
            if (down[kHeldVks[bit]]) state.held |= static_cast<std::uint8_t>(1u << bit);
        return state;
    }

    bool capsLock = false;
    bool lateSystem = false; // releases held back, as when another program's slow keyboard hook holds up the input
    std::function<std::size_t(std::size_t call, std::size_t size)> accept; // how much of a call the system takes
    std::function<void(std::size_t call)> afterCall;                       // the user's hands between calls
    std::vector<KeyCall> calls;                                            // what the system took of each call
    std::vector<std::uint8_t> heldAtPress; // the modifiers down at each press of another key
    std::vector<int> queried;
    std::array<bool, 256> down{}, pressedSince{}; // by virtual-key code

private:
    static constexpr std::array<std::uint16_t, 8> kHeldVks{vk::LShift, vk::RShift, vk::LControl, vk::RControl,
                                                           vk::LMenu,  vk::RMenu,  vk::LWin,     vk::RWin};
    KeyboardLayout& layout_;
};

} // namespace ww::testing
