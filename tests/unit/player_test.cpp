#include "input/player.h"

#include "plan_invariants.h"

#include <gtest/gtest.h>

#include <vector>

namespace ww {
namespace {

using namespace testing;

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
