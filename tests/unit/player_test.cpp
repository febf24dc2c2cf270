#include "input/keystroke_plan.h"
#include "input/player.h"

#include "plan_invariants.h"

#include <gtest/gtest.h>

#include <vector>

// The exact events on the German test layout, then what the player sends of them. What every plan must hold
// (plan_invariants.h) is checked for the player's sends here and for any input in fuzz/keystroke_plan_fuzz.cpp.
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
    for (const auto& c : cases)
        EXPECT_EQ(planKeystrokes(actions(c.keys), de, c.capsLock, c.limit), c.calls) << c.keys;
    // Plain characters (the feedback) go as Unicode even where a key would do.
    EXPECT_EQ(flat(planCharacters(L"OK", de)), flat({unicode(L'O'), unicode(L'K')}));
}

// The user holds modifiers, has Caps Lock on or the system takes only `taken` events of the first call. The rules
// of plan_invariants.h hold for what is sent; a cut-short send stops, and its repair releases what the taken part
// left down, an Alt it pressed behind a mask tap, and presses the user's keys again.
TEST(Player, HeldModifiersCapsLockAndCutShortSendsKeepThePlanRules) {
    FakeLayout de = germanLayout();
    const struct {
        std::uint8_t held;
        const wchar_t* keys;
        std::size_t taken = SIZE_MAX;
        KeyCall repair = {};
        bool capsLock = false;
    } cases[] = {
        {0xFF, L"x"},
        {HeldLShift | HeldRCtrl, L"A"},
        {HeldLCtrl | HeldRAlt, L"@"}, // AltGr is left Ctrl and right Alt
        {0, L"Ab", SIZE_MAX, {}, true},
        {0, L"AB", 2, {up('A'), up(vk::LShift)}}, // Shift and the press of "A"
        // The lifting of the user's keys and Shift for "A".
        {HeldRShift | HeldLAlt, L"AB", 5, flat({{up(vk::LShift), down(vk::RShift), down(vk::LMenu)}, tap(vk::Mask)})},
        {HeldLShift | HeldLAlt, L"x", 3, flat({{down(vk::LMenu)}, tap(vk::Mask)})}, // Shift still down: not again
        {0, L"%x", 1, flat({tap(vk::Mask), {up(vk::LMenu)}})},
        {0, L"AB", 0}, // blocked: nothing went in, so nothing to undo
    };
    for (const auto& c : cases) {
        const std::vector<KeyAction> a = actions(c.keys);
        std::vector<KeyCall> sent;
        // Four events a call: "AB" goes in two, and nothing may follow a cut-short first one.
        EXPECT_EQ(fuzzing::checkSentPlan(planKeystrokes(a, de, c.capsLock, 4), a, de, {c.held, c.capsLock}, 4, 0,
                                         c.taken, &sent),
                  "")
            << c.keys << c.taken;
        EXPECT_EQ(c.taken < SIZE_MAX && sent.size() == 2 ? sent[1] : KeyCall{}, c.repair) << c.keys << c.taken;
    }
}

// After the first call the user lets go of Shift and takes hold of Ctrl: the rest is sent around Ctrl.
TEST(Player, UserLettingGoOrTakingHoldDuringALongTextIsFollowedCallByCall) {
    FakeLayout de = germanLayout();
    FakeKeyboard keys{de};
    keys.hold(HeldLShift);
    keys.afterCall = [&keys](std::size_t call) {
        if (call != 0) return;
        keys.release(vk::LShift);
        keys.press(vk::LControl);
    };
    Player(keys, keys, 20).play(actions(L"abcdefghijklmnopqrstuvwxyz"));
    ASSERT_GT(keys.calls.size(), 2u);
    EXPECT_EQ(fuzzing::checkPlan({keys.calls[0]}, HeldLShift, SIZE_MAX, fuzzing::kAnyStrokes), "");
    EXPECT_EQ(fuzzing::checkPlan({keys.calls.begin() + 1, keys.calls.end()}, HeldLCtrl, SIZE_MAX, fuzzing::kAnyStrokes),
              "");
}

} // namespace
} // namespace ww
