#include "input/player.h"

#include "fake_keyboard.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <vector>

namespace ww {
namespace {

using namespace testing;

// The user holds modifiers while a text is played: they are lifted first, in reverse, Alt and Win behind a mask tap
// (a lone release would open a menu), and pressed again at the end, where they are still down afterwards.
TEST(Player, HeldModifiersAreLiftedFirstAndPressedAgainAtTheEnd) {
    FakeLayout de = germanLayout();
    // `inner` with the user's keys `user` (in press order) lifted around it.
    const auto lifted = [](const KeyCall& user, const KeyCall& inner, bool mask) {
        KeyCall ups;
        for (auto it = user.rbegin(); it != user.rend(); ++it)
            ups.push_back({it->vk, it->scan, true, it->extended, false});
        return flat({mask ? tap(vk::Mask) : KeyCall{}, ups, inner, user, mask ? tap(vk::Mask) : KeyCall{}});
    };
    const struct {
        std::uint8_t held;
        const wchar_t* keys;
        KeyCall events;
    } cases[] = {
        {0xFF, L"x",
         lifted({down(vk::LShift), down(vk::RShift), down(vk::LControl), down(vk::RControl, true), down(vk::LMenu),
                 down(vk::RMenu, true), down(vk::LWin, true), down(vk::RWin, true)},
                tap('X'), true)},
        // Without Alt or Win no mask; the plan's own Shift comes in between.
        {HeldLShift | HeldRCtrl, L"A",
         lifted({down(vk::LShift), down(vk::RControl, true)}, with(vk::LShift, tap('A')), false)},
        // AltGr is left Ctrl and right Alt.
        {HeldLCtrl | HeldRAlt, L"@", lifted({down(vk::LControl), down(vk::RMenu, true)}, unicode(L'@'), true)},
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
    EXPECT_EQ(keys.keyboardState().held, HeldLCtrl) << "what the user holds at the end";
    EXPECT_EQ(std::ranges::count(keys.down, true), 1) << "and nothing else";
}

// A cut-short send stops, and then nothing is down but what the user holds. The repair releases what the taken part
// left down, an Alt it pressed behind a mask tap, and presses the user's keys again.
TEST(Player, CutShortSendLeavesDownOnlyWhatTheUserHolds) {
    FakeLayout us = usLayout();
    const struct {
        std::uint8_t held;
        const wchar_t* keys;
        std::size_t taken, calls; // events the system takes of the first call; calls sent
        KeyCall repair = {};
    } cases[] = {
        {0, L"AB", 2, 2, {up('A'), up(vk::LShift)}}, // Shift and the press of "A"
        // The lifting of the user's keys and Shift for "A".
        {HeldRShift | HeldLAlt, L"AB", 5, 2,
         flat({{up(vk::LShift), down(vk::RShift), down(vk::LMenu)}, tap(vk::Mask)})},
        {0, L"%x", 1, 2, flat({tap(vk::Mask), {up(vk::LMenu)}})},
        {0, L"AB", 0, 1}, // blocked: nothing went in, so nothing to undo
        {0, L"", 0, 0},
    };
    for (const auto& c : cases) {
        FakeKeyboard keys{us};
        keys.hold(c.held);
        keys.accept = [&c](std::size_t call, std::size_t size) { return call == 0 ? c.taken : size; };
        Player(keys, keys).play(actions(c.keys));
        ASSERT_EQ(keys.calls.size(), c.calls) << c.keys << c.taken;
        EXPECT_EQ(c.calls == 2 ? keys.calls[1] : KeyCall{}, c.repair) << c.keys << c.taken;
        EXPECT_EQ(keys.keyboardState().held, c.held) << c.keys << c.taken;
        EXPECT_EQ(std::ranges::count(keys.down, true), std::popcount(c.held)) << c.keys << c.taken;
    }
}

} // namespace
} // namespace ww
