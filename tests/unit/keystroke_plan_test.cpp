#include "input/keystroke_plan.h"

#include "fake_keyboard.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <variant>

// The plan's general rules (every key released in its call, the user's modifiers restored, the event limit) hold
// for any input in fuzz/keystroke_plan_fuzz.cpp; here the exact events for known layouts. The user's held
// modifiers are the player's tests.
namespace ww {
namespace {

using namespace testing;

// Plans a keystroke string; the parser has its own tests.
std::vector<KeyCall> plan(KeyboardLayout& layout, std::wstring_view keys, bool capsLock = false,
                          std::size_t limit = kMaxEventsPerCall) {
    auto calls = planKeystrokes(actions(keys), layout, capsLock, limit);
    for (const KeyCall& call : calls)
        EXPECT_LE(call.size(), limit);
    return calls;
}

TEST(KeystrokePlan, ExactEventsForNotationAndLayouts) {
    FakeLayout de = germanLayout(), us = usLayout(), intl = usInternationalLayout();
    const struct {
        KeyboardLayout& layout;
        const wchar_t* keys;
        KeyCall events;
        bool capsLock = false;
    } cases[] = {
        {us, L"+a^{F9}{DEL}",
         flat({with(vk::LShift, tap('A')), with(vk::LControl, tap(vk::F1 + 8)), tap(vk::Delete, true)})},
        {us, L"^%+x", flat({{down(vk::LShift)}, with(vk::LControl, with(vk::LMenu, tap('X'))), {up(vk::LShift)}})},
        {us, L"{BACKSPACE}~{TAB}{ESC}{F1}{F12}",
         flat({tap(vk::Back), tap(vk::Return), tap(vk::Tab), tap(vk::Escape), tap(vk::F1), tap(vk::F1 + 11)})},
        {us, L"{INS}{HOME}{END}{PGUP}{PGDN}{UP}{DOWN}{LEFT}{RIGHT}",
         flat({tap(vk::Insert, true), tap(vk::Home, true), tap(vk::End, true), tap(vk::Prior, true),
               tap(vk::Next, true), tap(vk::Up, true), tap(vk::Down, true), tap(vk::Left, true),
               tap(vk::Right, true)})},
        {de, L"zß", flat({tap('Z'), tap(kVkSharpS)})},
        // A Ctrl alone in the shift state gives a control code; the notation's modifiers still go around a
        // character that goes as Unicode.
        {us, L"\n", unicode(L'\n')},
        {us, L"^ß", with(vk::LControl, unicode(L'ß'))},
        {de, L"^@", with(vk::LControl, unicode(L'@'))},
        // A dead key on the Shift level of a live key: "2^e" must not become "2ê".
        {intl, L"2{^}e", flat({tap('2'), unicode(L'^'), tap('E')})},
        // Caps Lock would turn plain letters around; shortcuts still use their keys.
        {de, L"Na", flat({unicode(L'N'), unicode(L'a')}), true},
        {de, L"^f", with(vk::LControl, tap('F')), true},
        // A surrogate pair is one character, modifiers around both halves.
        {us, L"+{\xD83D\xDE00}", with(vk::LShift, flat({unicode(0xD83D), unicode(0xDE00)}))},
    };
    for (const auto& c : cases)
        EXPECT_EQ(flat(plan(c.layout, c.keys, c.capsLock)), c.events) << c.keys;
    // Plain characters (the feedback) go as Unicode even where a key would do.
    EXPECT_EQ(flat(planCharacters(L"OK", us)), flat({unicode(L'O'), unicode(L'K')}));
}

const std::set<std::uint16_t> kModifiers{vk::LShift, vk::RShift, vk::LControl, vk::RControl,
                                         vk::LMenu,  vk::RMenu,  vk::LWin,     vk::RWin};

// What the receiving window types from the calls, reading keys through the layout as Windows does, and which
// characters came from keys rather than Unicode events. A key typed with Ctrl or Alt down, or a dead key, types
// nothing here: the receiver might take the first for a shortcut and waits with the second for the next key.
std::pair<std::wstring, std::wstring> receive(const std::vector<KeyCall>& calls, KeyboardLayout& layout) {
    std::wstring text, byKey;
    std::set<std::uint16_t> down;
    for (const KeyEvent& e : flat(calls)) {
        if (!e.unicode && kModifiers.contains(e.vk)) {
            if (e.keyUp)
                down.erase(e.vk);
            else
                down.insert(e.vk);
        } else if (!e.keyUp) {
            const bool shift = down.contains(vk::LShift) || down.contains(vk::RShift);
            if (e.unicode && down.empty()) {
                text += static_cast<wchar_t>(e.scan);
            } else if (!e.unicode && down.size() == static_cast<std::size_t>(shift)) {
                if (const auto ch = layout.keyChar(e.vk, shift ? 1 : 0)) text += *ch, byKey += *ch;
            }
        }
    }
    return {text, byKey};
}

TEST(KeystrokePlan, EveryCharacterArrivesOnEachLayoutKeysOnlyWhereTheyArePlainOrShifted) {
    FakeLayout us = usLayout(), de = germanLayout(), ch = swissLayout(), fr = frenchLayout(),
               intl = usInternationalLayout();
    const struct {
        const char* name;
        KeyboardLayout& layout;
        std::wstring byKey; // besides the blank, the digits and the letters
    } layouts[] = {
        {"us", us, L"!\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~"},  {"de", de, L"!\"#$%&'()*+,-./:;<=>?_§°ÄÖÜßäöü"},
        {"ch", ch, L"!\"$%&'()*+,-./:;<=>?_£§°àäçèéöü"},    {"fr", fr, L"!\"$%&'()*+,-./:;<=>?_£§°²µàçèéù"},
        {"us intl", intl, L"!#$%&()*+,-./:;<=>?@[\\]_{|}"},
    };
    std::wstring ansi; // the printable characters of Windows-1252
    for (wchar_t ch = 0x20; ch < 0x7F; ++ch)
        ansi += ch;
    ansi += L"€‚ƒ„…†‡ˆ‰Š‹ŒŽ‘’“”•–—˜™š›œžŸ";
    for (wchar_t ch = 0xA0; ch <= 0xFF; ++ch)
        ansi += ch;
    std::vector<KeyAction> actions;
    for (wchar_t c : ansi)
        actions.push_back({true, c});
    for (const auto& l : layouts) {
        auto [text, byKey] = receive(planKeystrokes(actions, l.layout, false), l.layout);
        EXPECT_EQ(text, ansi) << l.name;
        std::wstring expected = L" 0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz" + l.byKey;
        std::ranges::sort(expected);
        std::ranges::sort(byKey);
        EXPECT_EQ(byKey, expected) << l.name;
    }
}

TEST(KeystrokePlan, CallsSplitBetweenActionsNeverInsideASurrogatePair) {
    FakeLayout us = usLayout(), de = germanLayout();
    EXPECT_EQ(plan(us, std::wstring(5000, L'a')).size(), 1u) << "5,000 letters go in one call";
    const std::wstring text = L"Name Straße 12 @home";
    EXPECT_EQ(receive(plan(de, text, false, 7), de).first, text) << "split after any action, in order";
    const KeyCall pair = flat({unicode(0xD83D), unicode(0xDE00)});
    EXPECT_EQ(plan(us, L"a\xD83D\xDE00", false, 4), (std::vector<KeyCall>{tap('A'), pair}));
    EXPECT_EQ(plan(us, L"a\xD83D\xDE00", false, 6), (std::vector<KeyCall>{flat({tap('A'), pair})}));
    if constexpr (sizeof(wchar_t) == 4) {
        EXPECT_EQ(flat(plan(us, L"\U0001F600")), pair);
    }
}

} // namespace
} // namespace ww
