#include "input/keystroke_plan.h"

#include "plan_invariants.h"

#include <gtest/gtest.h>

#include <string>

// The exact events for known layouts. What every plan must hold is checked on each (plan_invariants.h) and for any
// input in fuzz/keystroke_plan_fuzz.cpp; the user's held modifiers are the player's tests.
namespace ww {
namespace {

using namespace testing;

// Plans a keystroke string (the parser has its own tests).
std::vector<KeyCall> plan(KeyboardLayout& layout, std::wstring_view keys, bool capsLock = false,
                          std::size_t limit = kMaxEventsPerCall) {
    const std::vector<KeyAction> parsed = actions(keys);
    auto calls = planKeystrokes(parsed, layout, capsLock, limit);
    EXPECT_EQ(fuzzing::checkPlan(calls, 0, limit, fuzzing::expectedStrokes(parsed)), "");
    return calls;
}

TEST(KeystrokePlan, ExactEventsForNotation) {
    FakeLayout de = germanLayout();
    KeyCall named;
    for (std::uint16_t key :
         {vk::Back, vk::Return, vk::Tab, vk::Escape, vk::Delete, vk::Insert, vk::Home, vk::End, vk::Prior, vk::Next,
          vk::Up, vk::Down, vk::Left, vk::Right, vk::F1, std::uint16_t{vk::F1 + 11}})
        named = flat({named, tap(key)});
    const struct {
        const wchar_t* keys;
        KeyCall events;
        bool capsLock = false;
    } cases[] = {
        {L"+a^{F9}", flat({with(vk::LShift, tap('A')), with(vk::LControl, tap(vk::F1 + 8))})},
        {L"^%+x", flat({{down(vk::LShift)}, with(vk::LControl, with(vk::LMenu, tap('X'))), {up(vk::LShift)}})},
        {L"{BACKSPACE}~{TAB}{ESC}{DEL}{INS}{HOME}{END}{PGUP}{PGDN}{UP}{DOWN}{LEFT}{RIGHT}{F1}{F12}", named},
        // A Ctrl in the shift state gives a control code, AltGr may be taken for a shortcut: Unicode, with the
        // notation's modifiers still around it.
        {L"\n", unicode(L'\n')},
        {L"^@", with(vk::LControl, unicode(L'@'))},
        // Caps Lock would turn plain letters around; shortcuts still use their keys.
        {L"Na", flat({unicode(L'N'), unicode(L'a')}), true},
        {L"^f", with(vk::LControl, tap('F')), true},
        // A surrogate pair is one character, modifiers around both halves.
        {L"+{\xD83D\xDE00}", with(vk::LShift, flat({unicode(0xD83D), unicode(0xDE00)}))},
    };
    for (const auto& c : cases)
        EXPECT_EQ(flat(plan(de, c.keys, c.capsLock)), c.events) << c.keys;
    // Plain characters (the feedback) go as Unicode even where a key would do.
    EXPECT_EQ(flat(planCharacters(L"OK", de)), flat({unicode(L'O'), unicode(L'K')}));
}

// What the receiver types is the text; keys go only where they type it plainly or with Shift, never dead ones.
TEST(KeystrokePlan, EveryCharacterArrivesKeysOnlyWhereTheyArePlainOrShifted) {
    FakeLayout de = germanLayout();
    const std::wstring text = L"Straße 2\"@€\\°^´`é\n";
    std::vector<KeyAction> actions;
    for (wchar_t c : text)
        actions.push_back({true, c});
    std::wstring byKey;
    EXPECT_EQ(fuzzing::received(planKeystrokes(actions, de, false), de, &byKey), text);
    EXPECT_EQ(byKey, L"Straße 2\"°");
}

TEST(KeystrokePlan, CallsSplitBetweenActionsNeverInsideASurrogatePair) {
    FakeLayout de = germanLayout();
    const KeyCall pair = flat({unicode(0xD83D), unicode(0xDE00)});
    EXPECT_EQ(plan(de, L"a\xD83D\xDE00", false, 4), (std::vector<KeyCall>{tap('A'), pair}));
    EXPECT_EQ(plan(de, L"a\xD83D\xDE00", false, 6), (std::vector<KeyCall>{flat({tap('A'), pair})}));
    if constexpr (sizeof(wchar_t) == 4) {
        EXPECT_EQ(flat(plan(de, L"\U0001F600")), pair);
    }
}

} // namespace
} // namespace ww
