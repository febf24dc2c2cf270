#include "platform/keystroke_plan.h"

#include "fake_keyboard_layouts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <set>
#include <string>
#include <variant>

namespace ww {
namespace {

using testing::FakeLayout;
using testing::fakeScan;
using testing::kVkSharpS;
using Keys = std::set<std::uint32_t>;

// Plans a keystroke string and wraps each call as the player sends it while the user holds `state.held`; the
// parser has its own tests. Checks that each planned call fits `limit`.
std::vector<KeyCall> plan(KeyboardLayout& layout, std::wstring_view keys, KeyboardState state = {},
                          std::size_t limit = kMaxEventsPerCall) {
    auto calls = planKeystrokes(std::get<std::vector<KeyAction>>(parseKeystrokes(keys)), layout, state.capsLock, limit);
    for (KeyCall& call : calls) {
        EXPECT_LE(call.size(), limit);
        call = withHeldLifted(call, state.held, layout);
    }
    return calls;
}

KeyEvent down(std::uint16_t key, bool extended = false) {
    return {key, fakeScan(key), false, extended, false};
}
KeyEvent up(std::uint16_t key, bool extended = false) {
    return {key, fakeScan(key), true, extended, false};
}
KeyCall tap(std::uint16_t key, bool extended = false) {
    return {down(key, extended), up(key, extended)};
}
KeyCall unicode(std::uint16_t unit) {
    return {{0, unit, false, false, true}, {0, unit, true, false, true}};
}
KeyCall flat(const std::vector<KeyCall>& calls) {
    KeyCall all;
    for (const KeyCall& call : calls)
        all.insert(all.end(), call.begin(), call.end());
    return all;
}
KeyCall cat(std::initializer_list<KeyCall> parts) {
    return flat(parts);
}
// `inner` with the modifier keys pressed before it and released after it in reverse order.
KeyCall with(std::initializer_list<KeyEvent> modifiers, const KeyCall& inner) {
    KeyCall all = cat({modifiers, inner});
    for (auto it = std::rbegin(modifiers); it != std::rend(modifiers); ++it)
        all.push_back({it->vk, it->scan, true, it->extended, false});
    return all;
}

// In HeldKey bit order.
constexpr std::uint16_t kModifierVks[] = {vk::LShift, vk::RShift, vk::LControl, vk::RControl,
                                          vk::LMenu,  vk::RMenu,  vk::LWin,     vk::RWin};
const Keys kModifiers(std::begin(kModifierVks), std::end(kModifierVks));
const Keys kMenuOpeners{vk::LMenu, vk::RMenu, vk::LWin, vk::RWin};

// A key that types something, and the modifiers that were down when it went down.
struct Stroke {
    KeyEvent press;
    Keys with;
};

// Replays the calls on a keyboard where the user holds `held`. Checks that no key goes down twice or up while up,
// after each call only the user's keys are down, and no Alt or Win key goes up with no other key pressed since it
// went down (the user's final release included).
std::vector<Stroke> replay(const std::vector<KeyCall>& calls, std::uint8_t held) {
    Keys heldKeys, lone;
    for (int bit = 0; bit < 8; ++bit)
        if (held & (1 << bit)) heldKeys.insert(kModifierVks[bit]);
    std::ranges::set_intersection(heldKeys, kMenuOpeners, std::inserter(lone, lone.end()));
    Keys downNow = heldKeys;
    std::vector<Stroke> typed;
    for (std::size_t c = 0; c < calls.size(); ++c) {
        for (const KeyEvent& e : calls[c]) {
            const std::uint32_t id = e.unicode ? 0x10000u + e.scan : e.vk;
            if (e.keyUp) {
                EXPECT_EQ(downNow.erase(id), 1u) << "release of " << id << " while up, call " << c;
                EXPECT_EQ(lone.erase(id), 0u) << "lone release of " << id;
                continue;
            }
            EXPECT_TRUE(downNow.insert(id).second) << "second press of " << id << ", call " << c;
            lone.clear();
            if (kMenuOpeners.contains(id)) lone.insert(id);
            if (kModifiers.contains(id) || id == vk::Mask) continue;
            Keys with;
            std::ranges::set_intersection(downNow, kModifiers, std::inserter(with, with.end()));
            typed.push_back({e, with});
        }
        EXPECT_EQ(downNow, heldKeys) << "after call " << c;
    }
    EXPECT_TRUE(lone.empty()) << "the user's release would be a lone Alt or Win";
    return typed;
}

TEST(KeystrokePlan, UserHeldModifiersAreLiftedWhileTypingAndAltOrWinIsMasked) {
    FakeLayout de = testing::germanLayout();
    EXPECT_EQ(
        plan(de, L"x", {HeldLAlt}),
        (std::vector<KeyCall>{cat({tap(vk::Mask), {up(vk::LMenu)}, tap('X'), {down(vk::LMenu)}, tap(vk::Mask)})}));
    EXPECT_TRUE(plan(de, L"", {HeldLAlt | HeldLShift}).empty()) << "nothing to type sends nothing";

    // Any mix of held modifiers: nothing is typed under them, and modifier keys carry their extended flag.
    const Keys extended{vk::RControl, vk::RMenu, vk::LWin, vk::RWin};
    for (int held = 0; held < 256; ++held) {
        SCOPED_TRACE("held " + std::to_string(held));
        const auto calls = plan(de, L"Ab@", {static_cast<std::uint8_t>(held)});
        const auto typed = replay(calls, static_cast<std::uint8_t>(held));
        ASSERT_EQ(typed.size(), 3u);
        EXPECT_EQ(typed[0].with, (Keys{vk::LShift}));
        EXPECT_EQ(typed[1].with, Keys{});
        EXPECT_EQ(typed[2].with, Keys{});
        for (const KeyEvent& e : flat(calls)) {
            if (e.unicode) continue;
            EXPECT_EQ(e.extended, extended.contains(e.vk)) << e.vk;
            EXPECT_EQ(e.scan, fakeScan(e.vk)) << e.vk;
        }
    }
}

TEST(KeystrokePlan, NotationModifiersAndNamedKeys) {
    FakeLayout us = testing::usLayout();
    EXPECT_EQ(
        flat(plan(us, L"+a^{F9}{DEL}")),
        cat({with({down(vk::LShift)}, tap('A')), with({down(vk::LControl)}, tap(vk::F1 + 8)), tap(vk::Delete, true)}));
    const auto combo = replay(plan(us, L"^%+x"), 0);
    ASSERT_EQ(combo.size(), 1u);
    EXPECT_EQ(combo[0].with, (Keys{vk::LShift, vk::LControl, vk::LMenu}));

    const struct {
        const wchar_t* keys;
        std::uint16_t vk;
        bool extended;
    } keys[] = {
        {L"{BACKSPACE}", vk::Back, false}, {L"~", vk::Return, false},    {L"{TAB}", vk::Tab, false},
        {L"{ESC}", vk::Escape, false},     {L"{INS}", vk::Insert, true}, {L"{HOME}", vk::Home, true},
        {L"{END}", vk::End, true},         {L"{PGUP}", vk::Prior, true}, {L"{PGDN}", vk::Next, true},
        {L"{UP}", vk::Up, true},           {L"{DOWN}", vk::Down, true},  {L"{LEFT}", vk::Left, true},
        {L"{RIGHT}", vk::Right, true},     {L"{F1}", vk::F1, false},     {L"{F12}", vk::F1 + 11, false},
    };
    for (const auto& k : keys)
        EXPECT_EQ(flat(plan(us, k.keys)), tap(k.vk, k.extended)) << k.keys;
}

// The printable characters of Windows-1252.
std::wstring printableAnsi() {
    std::wstring text;
    for (wchar_t ch = 0x20; ch < 0x7F; ++ch)
        text += ch;
    text += L"€‚ƒ„…†‡ˆ‰Š‹ŒŽ‘’“”•–—˜™š›œžŸ";
    for (wchar_t ch = 0xA0; ch <= 0xFF; ++ch)
        text += ch;
    return text;
}

// What the receiving window types from the calls, reading keys through the layout as Windows does, and which
// characters came from keys rather than Unicode events. A key typed with Ctrl or Alt down, or a dead key, types
// nothing here: the receiver might take the first for a shortcut and waits with the second for the next key.
std::pair<std::wstring, std::wstring> receive(const std::vector<KeyCall>& calls, KeyboardLayout& layout) {
    std::wstring text, byKey;
    Keys down;
    for (const KeyEvent& e : flat(calls)) {
        if (e.unicode || !kModifiers.contains(e.vk)) {
            if (e.keyUp) continue;
            const bool shift = down.contains(vk::LShift) || down.contains(vk::RShift);
            if (e.unicode) {
                if (down.empty()) text += static_cast<wchar_t>(e.scan);
            } else if (down.size() == static_cast<std::size_t>(shift)) {
                const auto ch = layout.keyChar(e.vk, shift ? 1 : 0);
                if (ch) text += *ch, byKey += *ch;
            }
        } else if (e.keyUp) {
            down.erase(e.vk);
        } else {
            down.insert(e.vk);
        }
    }
    return {text, byKey};
}

// These three hold every kind of key the planner tells apart (AltGr levels, dead keys on the plain and the Shift
// level, a dead Shift level of a live key); the real Swiss and French layouts run end to end (layouts_test.sh).
TEST(KeystrokePlan, EveryCharacterArrivesOnEachLayoutKeysOnlyWhereTheyArePlainOrShifted) {
    FakeLayout us = testing::usLayout(), de = testing::germanLayout(), intl = testing::usInternationalLayout();
    const std::wstring alnum = L" 0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    const struct {
        const char* name;
        KeyboardLayout& layout;
        std::wstring byKey; // besides the blank, the digits and the letters
    } layouts[] = {
        {"us", us, L"!\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~"},
        {"de", de, L"!\"#$%&'()*+,-./:;<=>?_§°ÄÖÜßäöü"},
        {"us intl", intl, L"!#$%&()*+,-./:;<=>?@[\\]_{|}"},
    };
    std::vector<KeyAction> actions;
    for (wchar_t c : printableAnsi())
        actions.push_back({true, c});
    for (const auto& l : layouts) {
        SCOPED_TRACE(l.name);
        const auto calls = planKeystrokes(actions, l.layout, false);
        replay(calls, 0);
        auto [text, byKey] = receive(calls, l.layout);
        EXPECT_EQ(text, printableAnsi());
        std::ranges::sort(byKey);
        std::wstring expected = alnum + l.byKey;
        std::ranges::sort(expected);
        EXPECT_EQ(byKey, expected);
    }
    // A dead key on the Shift level of a live key: "2^e" must not become "2ê".
    EXPECT_EQ(flat(plan(intl, L"2{^}e")), cat({tap('2'), unicode(L'^'), tap('E')}));
}

TEST(KeystrokePlan, ShortcutModifiersAndCapsLock) {
    FakeLayout de = testing::germanLayout();
    FakeLayout us = testing::usLayout();
    const KeyboardState caps{0, true};
    const struct {
        KeyboardLayout& layout;
        const wchar_t* keys;
        KeyCall events;
        KeyboardState state = {};
    } cases[] = {
        {de, L"zß", cat({tap('Z'), tap(kVkSharpS)})},
        // A Ctrl alone in the shift state gives a control code; the notation's modifiers still go around a
        // character that goes as Unicode.
        {us, L"\n", unicode(L'\n')},
        {us, L"^ß", with({down(vk::LControl)}, unicode(L'ß'))},
        {de, L"^@", with({down(vk::LControl)}, unicode(L'@'))},
        // Caps Lock would turn plain letters around; shortcuts still use their keys.
        {de, L"Na", cat({unicode(L'N'), unicode(L'a')}), caps},
        {de, L"^f", with({down(vk::LControl)}, tap('F')), caps},
    };
    for (const auto& c : cases)
        EXPECT_EQ(flat(plan(c.layout, c.keys, c.state)), c.events) << c.keys;
}

TEST(KeystrokePlan, CharactersOutsideTheBasicPlaneGoAsOnePair) {
    FakeLayout us = testing::usLayout();
    const KeyCall pair = cat({unicode(0xD83D), unicode(0xDE00)});
    EXPECT_EQ(flat(plan(us, L"\xD83D\xDE00")), pair);
    if constexpr (sizeof(wchar_t) == 4) {
        EXPECT_EQ(flat(plan(us, L"\U0001F600")), pair);
    }
    // A limit that would fall between the two halves moves the whole pair to the next call.
    const auto calls = plan(us, L"a\xD83D\xDE00", {}, 4);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[1], pair);
}

TEST(KeystrokePlan, LongTextsSplitBetweenActions) {
    FakeLayout de = testing::germanLayout();
    std::wstring text;
    while (text.size() < 5000)
        text += L"Name Straße 12 @home ";
    text.resize(5000);
    const auto whole = replay(plan(de, text, {}, 1000000), 0);
    for (std::uint8_t held : {0, HeldLAlt | HeldRShift}) {
        for (std::size_t limit : {kMaxEventsPerCall, std::size_t{101}, std::size_t{7}}) {
            SCOPED_TRACE("limit " + std::to_string(limit) + " held " + std::to_string(held));
            const auto calls = plan(de, text, {held}, limit);
            EXPECT_GT(calls.size(), 1u);
            const auto typed = replay(calls, held);
            ASSERT_EQ(typed.size(), whole.size());
            for (std::size_t i = 0; i < typed.size(); ++i) {
                ASSERT_EQ(typed[i].press, whole[i].press) << i;
                ASSERT_EQ(typed[i].with, whole[i].with) << i;
            }
        }
    }
    EXPECT_EQ(plan(de, std::wstring(5000, L'a')).size(), 1u) << "5,000 letters go in one call";
}

} // namespace
} // namespace ww
