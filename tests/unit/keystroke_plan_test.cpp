#include "input/keystroke_plan.h"

#include "plan_invariants.h"

#include <gtest/gtest.h>

#include <vector>

// The exact events on the German test layout. What every plan must hold is checked on each (plan_invariants.h) and
// for any input in fuzz/keystroke_plan_fuzz.cpp; the user's held modifiers are the player's tests.
namespace ww {
namespace {

using namespace testing;

// Calls split between actions, never inside a surrogate pair.
TEST(KeystrokePlan, ExactEventsForNotationAndCallLimits) {
    FakeLayout de = germanLayout();
    const KeyCall pair = flat({unicode(0xD83D), unicode(0xDE00)});
    const struct {
        const wchar_t* keys;
        std::vector<KeyCall> calls;
        bool capsLock = false;
        std::size_t limit = kMaxEventsPerCall;
    } cases[] = {
        {L"+a^{F9}{DEL}", {flat({with(vk::LShift, tap('A')), with(vk::LControl, tap(vk::F1 + 8)), tap(vk::Delete)})}},
        {L"^%+x", {flat({{down(vk::LShift)}, with(vk::LControl, with(vk::LMenu, tap('X'))), {up(vk::LShift)}})}},
        // Keys only where they type the character plainly or with Shift (° is the live level of the dead ^ key). A
        // dead key waits for the next key, Ctrl in the shift state gives a control code, AltGr may be taken for a
        // shortcut: Unicode, with the notation's modifiers still around it.
        {L"ß°{^}é€\n",
         {flat({tap(0xDB), with(vk::LShift, tap(0xDC)), unicode(L'^'), unicode(L'é'), unicode(L'€'), unicode(L'\n')})}},
        {L"^@", {with(vk::LControl, unicode(L'@'))}},
        // Caps Lock would turn plain letters around; shortcuts still use their keys.
        {L"Na", {flat({unicode(L'N'), unicode(L'a')})}, true},
        {L"^f", {with(vk::LControl, tap('F'))}, true},
        // A surrogate pair is one character, modifiers around both halves.
        {L"+{\xD83D\xDE00}", {with(vk::LShift, pair)}},
        {L"\U0001F600", {pair}},
        {L"a\xD83D\xDE00", {tap('A'), pair}, false, 4},
        {L"a\xD83D\xDE00", {flat({tap('A'), pair})}, false, 6},
    };
    for (const auto& c : cases) {
        const std::vector<KeyAction> parsed = actions(c.keys); // the parser has its own tests
        const std::vector<KeyCall> calls = planKeystrokes(parsed, de, c.capsLock, c.limit);
        EXPECT_EQ(calls, c.calls) << c.keys;
        EXPECT_EQ(fuzzing::checkPlan(calls, 0, c.limit, fuzzing::expectedStrokes(parsed)), "") << c.keys;
    }
    // Plain characters (the feedback) go as Unicode even where a key would do.
    EXPECT_EQ(flat(planCharacters(L"OK", de)), flat({unicode(L'O'), unicode(L'K')}));
}

} // namespace
} // namespace ww
