#include "platform/keystroke_plan.h"

#include "fake_keyboard_layouts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <variant>

namespace ww {
namespace {

using testing::GermanLayout;
using testing::UsLayout;

constexpr std::uint16_t kVkF9 = vk::F1 + 8;

KeyAction character(wchar_t ch, std::uint8_t modifiers = ModNone) {
    return {true, ch, NamedKey::Enter, modifiers};
}
KeyAction named(NamedKey key, std::uint8_t modifiers = ModNone) {
    return {false, 0, key, modifiers};
}

std::vector<KeyAction> text(std::wstring_view s) {
    std::vector<KeyAction> actions;
    for (wchar_t ch : s)
        actions.push_back(character(ch));
    return actions;
}

KeyEvent down(std::uint16_t key, std::uint16_t scan, bool extended = false) {
    return {key, scan, false, extended, false};
}
KeyEvent up(std::uint16_t key, std::uint16_t scan, bool extended = false) {
    return {key, scan, true, extended, false};
}
KeyEvent unicodeDown(std::uint16_t unit) {
    return {0, unit, false, false, true};
}
KeyEvent unicodeUp(std::uint16_t unit) {
    return {0, unit, true, false, true};
}

KeyCall flatten(const std::vector<KeyCall>& calls) {
    KeyCall all;
    for (const KeyCall& call : calls)
        all.insert(all.end(), call.begin(), call.end());
    return all;
}

const std::set<std::uint16_t> kModifierVks{vk::LShift, vk::RShift, vk::LControl, vk::RControl,
                                           vk::LMenu,  vk::RMenu,  vk::LWin,     vk::RWin};

std::set<std::uint16_t> heldVks(std::uint8_t held) {
    const std::uint16_t order[] = {vk::LShift, vk::RShift, vk::LControl, vk::RControl,
                                   vk::LMenu,  vk::RMenu,  vk::LWin,     vk::RWin};
    std::set<std::uint16_t> keys;
    for (int bit = 0; bit < 8; ++bit)
        if (held & (1 << bit)) keys.insert(order[bit]);
    return keys;
}

// A key that types something, and the modifiers that were down when it went down.
struct Stroke {
    KeyEvent press;
    std::set<std::uint16_t> with;
};

std::vector<Stroke> strokes(const std::vector<KeyCall>& calls, std::uint8_t held) {
    std::set<std::uint16_t> downNow = heldVks(held);
    std::vector<Stroke> result;
    for (const KeyEvent& e : flatten(calls)) {
        if (e.unicode || !kModifierVks.contains(e.vk)) {
            if (!e.keyUp && e.vk != vk::Mask) result.push_back({e, downNow});
        } else if (e.keyUp) {
            downNow.erase(e.vk);
        } else {
            downNow.insert(e.vk);
        }
    }
    return result;
}

// Every call within the limit; no key pressed twice or released while up; between calls nothing is down; after
// the last call exactly the user's held keys are down again.
void expectSoundPlan(const std::vector<KeyCall>& calls, std::uint8_t held, std::size_t limit) {
    const std::set<std::uint16_t> heldKeys = heldVks(held);
    std::set<std::uint32_t> downNow(heldKeys.begin(), heldKeys.end());
    for (std::size_t c = 0; c < calls.size(); ++c) {
        EXPECT_LE(calls[c].size(), limit) << "call " << c;
        for (const KeyEvent& e : calls[c]) {
            const std::uint32_t id = e.unicode ? 0x10000u + e.scan : e.vk;
            if (e.keyUp) {
                EXPECT_EQ(downNow.erase(id), 1u) << "release of " << id << " while up, call " << c;
            } else {
                EXPECT_TRUE(downNow.insert(id).second) << "second press of " << id << ", call " << c;
            }
        }
        if (c + 1 < calls.size()) {
            EXPECT_TRUE(downNow.empty()) << "keys left down after call " << c;
        }
    }
    EXPECT_EQ(downNow, std::set<std::uint32_t>(heldKeys.begin(), heldKeys.end()));
}

// No Alt or Win key goes up with no other key pressed since it went down, the user's final release included.
void expectNoLoneMenuKey(const std::vector<KeyCall>& calls, std::uint8_t held) {
    const std::set<std::uint16_t> openers{vk::LMenu, vk::RMenu, vk::LWin, vk::RWin};
    std::set<std::uint16_t> lone;
    for (std::uint16_t key : heldVks(held))
        if (openers.contains(key)) lone.insert(key);
    for (const KeyEvent& e : flatten(calls)) {
        if (e.keyUp) {
            EXPECT_FALSE(lone.contains(e.vk)) << "lone release of " << e.vk;
            lone.erase(e.vk);
        } else {
            lone.clear();
            if (!e.unicode && openers.contains(e.vk)) lone.insert(e.vk);
        }
    }
    EXPECT_TRUE(lone.empty()) << "the user's release would be a lone Alt or Win";
}

TEST(KeystrokePlan, UserHeldModifiersAreLiftedWhileTyping) {
    GermanLayout layout;
    auto actions = text(L"Name");
    auto calls = planKeystrokes(actions, layout, {HeldLShift});
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0], (KeyCall{up(vk::LShift, 0x2A), down(vk::LShift, 0x2A), down('N', 0x31), up('N', 0x31),
                                 up(vk::LShift, 0x2A), down('A', 0x1E), up('A', 0x1E), down('M', 0x32), up('M', 0x32),
                                 down('E', 0x12), up('E', 0x12), down(vk::LShift, 0x2A)}));

    auto withCtrl = planKeystrokes(actions, layout, {HeldLCtrl | HeldRCtrl});
    for (const Stroke& s : strokes(withCtrl, HeldLCtrl | HeldRCtrl))
        EXPECT_FALSE(s.with.contains(vk::LControl) || s.with.contains(vk::RControl)) << "Ctrl reached " << s.press.vk;
    EXPECT_EQ(withCtrl[0].front(), up(vk::RControl, 0x1D, true));
    EXPECT_EQ(withCtrl[0].back(), down(vk::RControl, 0x1D, true));
}

TEST(KeystrokePlan, HeldAltOrWinIsMaskedOnBothEnds) {
    GermanLayout layout;
    auto calls = planKeystrokes(text(L"x"), layout, {HeldLAlt});
    EXPECT_EQ(calls[0], (KeyCall{down(vk::Mask, 0), up(vk::Mask, 0), up(vk::LMenu, 0x38), down('X', 0x2D),
                                 up('X', 0x2D), down(vk::LMenu, 0x38), down(vk::Mask, 0), up(vk::Mask, 0)}));

    // Any mix of held modifiers: sound, unmasked nowhere, and nothing typed under them.
    auto actions = text(L"Ab@");
    for (int held = 0; held < 256; ++held) {
        SCOPED_TRACE("held " + std::to_string(held));
        auto plan = planKeystrokes(actions, layout, {static_cast<std::uint8_t>(held)});
        expectSoundPlan(plan, static_cast<std::uint8_t>(held), kMaxEventsPerCall);
        expectNoLoneMenuKey(plan, static_cast<std::uint8_t>(held));
        auto typed = strokes(plan, static_cast<std::uint8_t>(held));
        ASSERT_EQ(typed.size(), 3u);
        EXPECT_EQ(typed[0].with, (std::set<std::uint16_t>{vk::LShift}));
        EXPECT_EQ(typed[1].with, (std::set<std::uint16_t>{}));
        EXPECT_EQ(typed[2].with, (std::set<std::uint16_t>{vk::LControl, vk::RMenu}));
    }
}

TEST(KeystrokePlan, NotationModifiersAndNamedKeys) {
    UsLayout us;
    EXPECT_EQ(flatten(planKeystrokes(std::vector{character(L'a', ModShift)}, us, {})),
              (KeyCall{down(vk::LShift, 0x2A), down('A', 0x1E), up('A', 0x1E), up(vk::LShift, 0x2A)}));
    EXPECT_EQ(flatten(planKeystrokes(std::vector{named(NamedKey::F9, ModCtrl)}, us, {})),
              (KeyCall{down(vk::LControl, 0x1D), down(kVkF9, 0x43), up(kVkF9, 0x43), up(vk::LControl, 0x1D)}));
    EXPECT_EQ(flatten(planKeystrokes(std::vector{named(NamedKey::Delete)}, us, {})),
              (KeyCall{down(vk::Delete, 0x53, true), up(vk::Delete, 0x53, true)}));
    // Several modifiers are held together around the key.
    auto combo = strokes(planKeystrokes(std::vector{character(L'x', ModCtrl | ModAlt | ModShift)}, us, {}), 0);
    ASSERT_EQ(combo.size(), 1u);
    EXPECT_EQ(combo[0].with, (std::set<std::uint16_t>{vk::LShift, vk::LControl, vk::LMenu}));

    struct Expected {
        NamedKey key;
        std::uint16_t vk;
        bool extended;
    };
    const Expected table[] = {
        {NamedKey::Backspace, vk::Back, false}, {NamedKey::Enter, vk::Return, false},
        {NamedKey::Tab, vk::Tab, false},        {NamedKey::Escape, vk::Escape, false},
        {NamedKey::Insert, vk::Insert, true},   {NamedKey::Home, vk::Home, true},
        {NamedKey::End, vk::End, true},         {NamedKey::PageUp, vk::Prior, true},
        {NamedKey::PageDown, vk::Next, true},   {NamedKey::Up, vk::Up, true},
        {NamedKey::Down, vk::Down, true},       {NamedKey::Left, vk::Left, true},
        {NamedKey::Right, vk::Right, true},     {NamedKey::F1, vk::F1, false},
        {NamedKey::F12, vk::F1 + 11, false},
    };
    for (const Expected& e : table) {
        auto events = flatten(planKeystrokes(std::vector{named(e.key)}, us, {}));
        const std::uint16_t scan = us.scanCode(e.vk);
        EXPECT_NE(scan, 0) << e.vk;
        EXPECT_EQ(events, (KeyCall{down(e.vk, scan, e.extended), up(e.vk, scan, e.extended)})) << e.vk;
    }
}

TEST(KeystrokePlan, CharactersFollowTheLayout) {
    GermanLayout de;
    UsLayout us;
    const KeyCall altGrQ{down(vk::LControl, 0x1D),  down(vk::RMenu, 0x38, true), down('Q', 0x10), up('Q', 0x10),
                         up(vk::RMenu, 0x38, true), up(vk::LControl, 0x1D)};
    EXPECT_EQ(flatten(planKeystrokes(text(L"@"), de, {})), altGrQ);
    EXPECT_EQ(strokes(planKeystrokes(text(L"{\\"), de, {}), 0)[1].press.vk, GermanLayout::kVkSharpS);
    EXPECT_EQ(flatten(planKeystrokes(text(L"@"), us, {})),
              (KeyCall{down(vk::LShift, 0x2A), down('2', 0x03), up('2', 0x03), up(vk::LShift, 0x2A)}));
    EXPECT_EQ(flatten(planKeystrokes(text(L"zß"), de, {})),
              (KeyCall{down('Y', 0x2C), up('Y', 0x2C), down(GermanLayout::kVkSharpS, 0x0C),
                       up(GermanLayout::kVkSharpS, 0x0C)}));

    // Dead keys would wait for the next key; a character without a key has nothing to press.
    EXPECT_EQ(flatten(planKeystrokes(text(L"^´`"), de, {})),
              (KeyCall{unicodeDown(L'^'), unicodeUp(L'^'), unicodeDown(L'´'), unicodeUp(L'´'), unicodeDown(L'`'),
                       unicodeUp(L'`')}));
    EXPECT_EQ(flatten(planKeystrokes(text(L"ß"), us, {})), (KeyCall{unicodeDown(0xDF), unicodeUp(0xDF)}));
    // Ctrl alone in the shift state is a control code, not a character to press.
    EXPECT_EQ(flatten(planKeystrokes(text(L"\n"), us, {})), (KeyCall{unicodeDown(L'\n'), unicodeUp(L'\n')}));

    // A notation modifier joins the character's own; AltGr's Ctrl is not pressed twice.
    auto ctrlAt = strokes(planKeystrokes(std::vector{character(L'@', ModCtrl)}, de, {}), 0);
    EXPECT_EQ(ctrlAt[0].with, (std::set<std::uint16_t>{vk::LControl, vk::RMenu}));
    auto ctrlSharpS = flatten(planKeystrokes(std::vector{character(L'ß', ModCtrl)}, us, {}));
    EXPECT_EQ(ctrlSharpS,
              (KeyCall{down(vk::LControl, 0x1D), unicodeDown(0xDF), unicodeUp(0xDF), up(vk::LControl, 0x1D)}));
}

TEST(KeystrokePlan, CharactersOutsideTheBasicPlaneGoAsOnePair) {
    UsLayout us;
    const KeyCall pair{unicodeDown(0xD83D), unicodeUp(0xD83D), unicodeDown(0xDE00), unicodeUp(0xDE00)};
    std::vector<KeyAction> units{character(static_cast<wchar_t>(0xD83D)), character(static_cast<wchar_t>(0xDE00))};
    EXPECT_EQ(flatten(planKeystrokes(units, us, {})), pair);
    if constexpr (sizeof(wchar_t) == 4) {
        EXPECT_EQ(flatten(planKeystrokes(text(L"\U0001F600"), us, {})), pair);
    }
    // A limit that would fall between the two halves moves the whole pair to the next call.
    std::vector<KeyAction> actions{character(L'a'), units[0], units[1]};
    auto calls = planKeystrokes(actions, us, {}, 4);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[1], pair);
}

TEST(KeystrokePlan, CapsLockDoesNotTurnTextAround) {
    GermanLayout de;
    EXPECT_EQ(flatten(planKeystrokes(text(L"Na"), de, {0, true})),
              (KeyCall{unicodeDown(L'N'), unicodeUp(L'N'), unicodeDown(L'a'), unicodeUp(L'a')}));
    // Shortcuts and AltGr characters still use their keys.
    auto shortcut = strokes(planKeystrokes(std::vector{character(L'f', ModCtrl)}, de, {0, true}), 0);
    EXPECT_EQ(shortcut[0].press, down('F', 0x21));
    EXPECT_EQ(strokes(planKeystrokes(text(L"@"), de, {0, true}), 0)[0].press, down('Q', 0x10));
}

TEST(KeystrokePlan, LongTextsSplitBetweenActions) {
    GermanLayout de;
    std::wstring longText;
    while (longText.size() < 5000)
        longText += L"Name Straße 12 @home ";
    longText.resize(5000);
    auto actions = text(longText);
    const KeyCall whole = flatten(planKeystrokes(actions, de, {}, 1000000));

    for (std::uint8_t held : {std::uint8_t{0}, std::uint8_t{HeldLAlt | HeldRShift}}) {
        for (std::size_t limit : {kMaxEventsPerCall, std::size_t{101}, std::size_t{7}}) {
            SCOPED_TRACE("limit " + std::to_string(limit) + " held " + std::to_string(held));
            auto calls = planKeystrokes(actions, de, {held}, limit);
            EXPECT_GT(calls.size(), 1u);
            expectSoundPlan(calls, held, limit);
            expectNoLoneMenuKey(calls, held);
            std::vector<Stroke> typed = strokes(calls, held);
            ASSERT_EQ(typed.size(), 5000u);
            std::vector<Stroke> expected = strokes(std::vector<KeyCall>{whole}, 0);
            for (std::size_t i = 0; i < typed.size(); ++i) {
                ASSERT_EQ(typed[i].press, expected[i].press) << i;
                ASSERT_EQ(typed[i].with, expected[i].with) << i;
            }
        }
    }
    // Lower-case letters fit the default call as a whole.
    EXPECT_EQ(planKeystrokes(text(std::wstring(5000, L'a')), de, {}).size(), 1u);
}

TEST(KeystrokePlan, NothingToTypeSendsNothing) {
    UsLayout us;
    EXPECT_TRUE(planKeystrokes({}, us, {HeldLAlt | HeldLShift}).empty());
}

TEST(KeystrokePlan, ParsedNotationEndToEnd) {
    GermanLayout de;
    auto parsed = parseKeystrokes(L"Straße~Zeile 2 {{}x{}} a{+}b");
    ASSERT_TRUE(std::holds_alternative<std::vector<KeyAction>>(parsed));
    auto calls = planKeystrokes(std::get<std::vector<KeyAction>>(parsed), de, {});
    expectSoundPlan(calls, 0, kMaxEventsPerCall);
    std::wstring typed;
    for (const Stroke& s : strokes(calls, 0)) {
        if (s.press.unicode) {
            typed += static_cast<wchar_t>(s.press.scan);
        } else if (s.press.vk == vk::Return) {
            typed += L"\n";
        } else {
            // Map the key back through the layout's own answers.
            for (wchar_t ch : std::wstring_view(L"StraßeZil 2{x}+ab")) {
                std::uint16_t scan = de.vkKeyScan(ch);
                bool shift = s.with.contains(vk::LShift);
                bool altGr = s.with.contains(vk::RMenu);
                if ((scan & 0xFF) == s.press.vk && ((scan & 0x100) != 0) == shift && ((scan & 0x600) != 0) == altGr) {
                    typed += ch;
                    break;
                }
            }
        }
    }
    EXPECT_EQ(typed, L"Straße\nZeile 2 {x} a+b");
}

} // namespace
} // namespace ww
