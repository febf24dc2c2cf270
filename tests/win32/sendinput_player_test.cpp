#include "platform/win32/sendinput_player.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <iterator>
#include <set>
#include <ostream>
#include <string>
#include <vector>

namespace ww::win {
namespace {

// One keyboard record as handed to SendInput.
struct Key {
    WORD vk;
    WORD scan;
    DWORD flags;
    friend bool operator==(const Key&, const Key&) = default;
};
using Keys = std::vector<Key>;

std::ostream& operator<<(std::ostream& os, const Key& k) {
    return os << std::hex << "{vk " << k.vk << " scan " << k.scan << " flags " << k.flags << "}" << std::dec;
}

constexpr DWORD kUp = KEYEVENTF_KEYUP;
constexpr DWORD kExt = KEYEVENTF_EXTENDEDKEY;

Keys tap(WORD vk, WORD scan, DWORD flags = 0) {
    return {{vk, scan, flags}, {vk, scan, flags | kUp}};
}
Keys cat(std::initializer_list<Keys> parts) {
    Keys all;
    for (const Keys& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

constexpr WORD kModifierVks[] = {VK_LSHIFT, VK_RSHIFT, VK_LCONTROL, VK_RCONTROL, VK_LMENU, VK_RMENU, VK_LWIN, VK_RWIN};
bool isModifier(WORD vk) {
    return std::ranges::find(kModifierVks, vk) != std::end(kModifierVks);
}

// The player with SendInput replaced: records every call; `accepted` says how many records the system takes.
// The player reads the modifiers from `down`, which what the system takes moves, and the user's hands too:
// `betweenCalls` runs after each call.
struct Capture {
    std::vector<Keys> calls;
    std::function<UINT(std::size_t call, UINT size)> accepted = [](std::size_t, UINT size) { return size; };
    std::size_t maxEvents = kMaxEventsPerCall;
    std::set<WORD> down;
    std::function<void(std::size_t call)> betweenCalls = [](std::size_t) {};
    std::vector<std::set<WORD>> typedWith; // the modifiers down at each other key's press

    SendInputPlayer player(SendInputPlayer::StateReader read = {}) {
        if (!read) read = [this] { return fakeState(); };
        return SendInputPlayer([this](std::span<INPUT> inputs) { return take(inputs); }, read, maxEvents);
    }

    UINT take(std::span<INPUT> inputs) {
        Keys keys;
        for (const INPUT& in : inputs)
            keys.push_back({in.type == INPUT_KEYBOARD ? in.ki.wVk : WORD{0xFFFF}, in.ki.wScan, in.ki.dwFlags});
        calls.push_back(keys);
        const UINT taken = accepted(calls.size() - 1, static_cast<UINT>(inputs.size()));
        for (UINT i = 0; i < taken; ++i)
            press(keys[i]);
        betweenCalls(calls.size() - 1);
        return taken;
    }

    void press(const Key& k) {
        if (k.flags & KEYEVENTF_UNICODE) return;
        if (k.flags & kUp) {
            down.erase(k.vk);
            return;
        }
        down.insert(k.vk);
        if (isModifier(k.vk)) return;
        std::set<WORD> with;
        std::ranges::copy_if(down, std::inserter(with, with.end()), isModifier);
        typedWith.push_back(with);
    }

    KeyboardState fakeState() const {
        KeyboardState state;
        for (std::size_t bit = 0; bit < std::size(kModifierVks); ++bit)
            if (down.contains(kModifierVks[bit])) state.held |= static_cast<std::uint8_t>(1u << bit);
        return state;
    }
};

void sendReal(Key k) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki = {k.vk, k.scan, k.flags, 0, 0};
    ASSERT_EQ(SendInput(1, &in, sizeof(INPUT)), 1u);
}

class SendInputPlayerTest : public ::testing::Test {
protected:
    // A failed test must not leave a modifier down for the next one.
    void SetUp() override { ASSERT_EQ(currentKeyboardState().held, 0) << "a modifier is down before the test"; }
};

// Wine's layout here is US: no key for ß.
TEST_F(SendInputPlayerTest, RecordsFollowTheRealLayout) {
    Capture capture;
    capture.player().play(L"Saß~^{F9}{DEL}@");
    ASSERT_EQ(capture.calls.size(), 1u);
    EXPECT_EQ(capture.calls[0], cat({{{VK_LSHIFT, 0x2A, 0}},
                                     tap('S', 0x1F),
                                     {{VK_LSHIFT, 0x2A, kUp}},
                                     tap('A', 0x1E),
                                     tap(0, L'ß', KEYEVENTF_UNICODE),
                                     tap(VK_RETURN, 0x1C),
                                     {{VK_LCONTROL, 0x1D, 0}},
                                     tap(VK_F9, 0x43),
                                     {{VK_LCONTROL, 0x1D, kUp}},
                                     tap(VK_DELETE, 0x53, kExt),
                                     {{VK_LSHIFT, 0x2A, 0}},
                                     tap('2', 0x03),
                                     {{VK_LSHIFT, 0x2A, kUp}}}));
}

// Asked with a key-state array of its own: the thread's keyboard state stays as it was.
TEST_F(SendInputPlayerTest, LayoutTellsWhatAKeyTypesInEachShiftState) {
    Win32KeyboardLayout layout(foregroundKeyboardLayout());
    BYTE before[256], after[256];
    ASSERT_TRUE(GetKeyboardState(before));
    EXPECT_EQ(layout.keyChar('A', 0), L'a');
    EXPECT_EQ(layout.keyChar('A', 1), L'A');
    EXPECT_EQ(layout.keyChar('2', 1), L'@');
    EXPECT_EQ(layout.keyChar(VK_OEM_7, 1), L'"');
    EXPECT_EQ(layout.keyChar(VK_SPACE, 0), L' ');
    EXPECT_EQ(layout.keyChar('Q', 6), std::nullopt) << "Ctrl+Alt types nothing here";
    EXPECT_EQ(layout.keyChar(VK_F9, 0), std::nullopt);
    ASSERT_TRUE(GetKeyboardState(after));
    EXPECT_TRUE(std::equal(std::begin(before), std::end(before), std::begin(after)));
}

TEST_F(SendInputPlayerTest, HeldModifierIsReadFromTheKeyboard) {
    sendReal({VK_RCONTROL, 0x1D, kExt});
    const KeyboardState state = currentKeyboardState();
    Capture capture;
    capture.player(currentKeyboardState).play(L"a");
    sendReal({VK_RCONTROL, 0x1D, kExt | kUp});
    EXPECT_EQ(state.held, HeldRCtrl);
    EXPECT_EQ(capture.calls.at(0),
              cat({{{VK_RCONTROL, 0x1D, kExt | kUp}}, tap('A', 0x1E), {{VK_RCONTROL, 0x1D, kExt}}}));
}

TEST_F(SendInputPlayerTest, UserLettingGoOrTakingHoldDuringALongTextIsFollowedCallByCall) {
    Capture capture;
    capture.maxEvents = 20;
    capture.down = {VK_LSHIFT};
    // After the first call the user lets go of Shift and takes hold of Ctrl.
    capture.betweenCalls = [&capture](std::size_t call) {
        if (call != 0) return;
        capture.down.erase(VK_LSHIFT);
        capture.down.insert(VK_LCONTROL);
    };
    capture.player().play(L"abcdefghijklmnopqrstuvwxyz");
    EXPECT_GT(capture.calls.size(), 2u);
    ASSERT_EQ(capture.typedWith.size(), 26u);
    for (std::size_t i = 0; i < capture.typedWith.size(); ++i)
        EXPECT_TRUE(capture.typedWith[i].empty()) << "letter " << i << " went with a modifier down";
    EXPECT_EQ(capture.down, (std::set<WORD>{VK_LCONTROL})) << "what the user holds at the end, and nothing else";
}

// A cut-short send stops, and then nothing is down but what the user holds.
TEST_F(SendInputPlayerTest, CutShortSendLeavesDownOnlyWhatTheUserHolds) {
    const struct {
        std::set<WORD> held;
        UINT taken; // records the system takes of the first call
        std::size_t calls;
    } cases[] = {
        {{}, 2, 2},                    // Shift and the press of "A" of "AB"
        {{VK_RSHIFT, VK_LMENU}, 5, 2}, // the lifting of the user's keys and Shift for "A"
        {{}, 0, 1},                    // blocked: nothing went in, so nothing to undo
    };
    for (const auto& c : cases) {
        Capture capture;
        capture.down = c.held;
        capture.accepted = [&c](std::size_t call, UINT size) { return call == 0 ? c.taken : size; };
        capture.player().play(L"AB");
        EXPECT_EQ(capture.calls.size(), c.calls) << c.taken;
        EXPECT_EQ(capture.down, c.held) << c.taken;
    }
}

TEST_F(SendInputPlayerTest, UnparsableOrEmptyStringsSendNothing) {
    Capture capture;
    auto player = capture.player();
    for (std::wstring_view bad : {L"{", L"a}", L"(x", L"{NOSUCHKEY}", L"^", L""})
        player.play(bad);
    EXPECT_TRUE(capture.calls.empty());
}

} // namespace
} // namespace ww::win
