#include "input/player.h"

#include "fake_keyboard.h"

#include <gtest/gtest.h>

#include <vector>

// The player over the loop-back keyboard: the modifiers the user holds are read from it before each call, and what
// the system takes of a call shows in it.
namespace ww {
namespace {

using namespace testing;

// The user holds modifiers while a text is played: they are lifted first, in reverse, Alt and Win behind a mask tap
// (a lone release would open a menu), and pressed again at the end, where they are still down afterwards.
TEST(Player, HeldModifiersAreLiftedFirstAndPressedAgainAtTheEnd) {
    FakeLayout de = germanLayout();
    const KeyCall all = {down(vk::LShift), down(vk::RShift),      down(vk::LControl),   down(vk::RControl, true),
                         down(vk::LMenu),  down(vk::RMenu, true), down(vk::LWin, true), down(vk::RWin, true)};
    KeyCall lifted;
    for (auto it = all.rbegin(); it != all.rend(); ++it)
        lifted.push_back(up(it->vk, it->extended));
    const struct {
        std::uint8_t held;
        const wchar_t* keys;
        KeyCall events;
    } cases[] = {
        {0xFF, L"x", flat({tap(vk::Mask), lifted, tap('X'), all, tap(vk::Mask)})},
        // Without Alt or Win no mask; the plan's own Shift comes in between.
        {HeldLShift | HeldRCtrl, L"A",
         flat({{up(vk::RControl, true), up(vk::LShift)},
               with(vk::LShift, tap('A')),
               {down(vk::LShift), down(vk::RControl, true)}})},
        // AltGr is left Ctrl and right Alt.
        {HeldLCtrl | HeldRAlt, L"@",
         flat({tap(vk::Mask),
               {up(vk::RMenu, true), up(vk::LControl)},
               unicode(L'@'),
               {down(vk::LControl), down(vk::RMenu, true)},
               tap(vk::Mask)})},
    };
    for (const auto& c : cases) {
        FakeKeyboard keys{de};
        keys.hold(c.held);
        Player(keys, keys).play(actions(c.keys));
        EXPECT_EQ(flat(keys.calls), c.events) << c.keys;
        EXPECT_EQ(keys.keyboardState().held, c.held) << c.keys;
    }
}

TEST(Player, UserLettingGoOrTakingHoldDuringALongTextIsFollowedCallByCall) {
    FakeLayout us = usLayout();
    FakeKeyboard keys{us};
    keys.hold(HeldLShift);
    // After the first call the user lets go of Shift and takes hold of Ctrl.
    keys.afterCall = [&keys](std::size_t call) {
        if (call != 0) return;
        keys.release(vk::LShift);
        keys.press(vk::LControl);
    };
    Player(keys, keys, 20).play(actions(L"abcdefghijklmnopqrstuvwxyz"));
    EXPECT_GT(keys.calls.size(), 2u);
    EXPECT_EQ(keys.heldAtPress, std::vector<std::uint8_t>(26, 0)) << "a letter went with a modifier down";
    EXPECT_EQ(keys.downKeys(), std::vector<int>{vk::LControl}) << "what the user holds at the end, and nothing else";
}

// A cut-short send stops, and then nothing is down but what the user holds. The repair releases what the taken part
// left down, an Alt it pressed behind a mask tap, and presses the user's keys again.
TEST(Player, CutShortSendLeavesDownOnlyWhatTheUserHolds) {
    FakeLayout us = usLayout();
    const struct {
        std::uint8_t held;
        const wchar_t* keys;
        std::size_t taken; // events the system takes of the first call
        std::vector<KeyCall> calls;
    } cases[] = {
        {0, L"AB", 2, {{down(vk::LShift), down('A')}, {up('A'), up(vk::LShift)}}},
        {HeldRShift | HeldLAlt,
         L"AB",
         5,
         {flat({tap(vk::Mask), {up(vk::LMenu), up(vk::RShift), down(vk::LShift)}}),
          flat({{up(vk::LShift), down(vk::RShift), down(vk::LMenu)}, tap(vk::Mask)})}},
        {0, L"%x", 1, {{down(vk::LMenu)}, flat({tap(vk::Mask), {up(vk::LMenu)}})}},
        {0, L"AB", 0, {{}}}, // blocked: nothing went in, so nothing to undo
        {0, L"", 0, {}},
    };
    for (const auto& c : cases) {
        FakeKeyboard keys{us};
        keys.hold(c.held);
        keys.accept = [&c](std::size_t call, std::size_t size) { return call == 0 ? c.taken : size; };
        Player(keys, keys).play(actions(c.keys));
        EXPECT_EQ(keys.calls, c.calls) << c.taken;
        EXPECT_EQ(keys.keyboardState().held, c.held) << c.taken;
        EXPECT_EQ(keys.downKeys().size(), static_cast<std::size_t>(std::popcount(c.held))) << c.taken;
    }
}

} // namespace
} // namespace ww
