#include "platform/win32/sendinput_player.h"

#include "platform/win32/handles.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace ww::win {
namespace {

// One captured keyboard record, reduced to what the player decides.
struct Key {
    WORD vk;
    WORD scan;
    DWORD flags;
    friend bool operator==(const Key&, const Key&) = default;
};

std::ostream& operator<<(std::ostream& os, const Key& k) {
    return os << "{vk " << std::hex << k.vk << " scan " << k.scan << " flags " << k.flags << std::dec << "}";
}

constexpr DWORD kUp = KEYEVENTF_KEYUP;
constexpr DWORD kExt = KEYEVENTF_EXTENDEDKEY;
constexpr DWORD kUni = KEYEVENTF_UNICODE;

std::vector<Key> tap(WORD vk, WORD scan, DWORD flags = 0) {
    return {{vk, scan, flags}, {vk, scan, flags | kUp}};
}
std::vector<Key> unicodeTap(wchar_t ch) {
    return {{0, static_cast<WORD>(ch), kUni}, {0, static_cast<WORD>(ch), kUni | kUp}};
}
std::vector<Key> shifted(std::vector<Key> inner) {
    inner.insert(inner.begin(), Key{VK_LSHIFT, 0x2A, 0});
    inner.push_back({VK_LSHIFT, 0x2A, kUp});
    return inner;
}
std::vector<Key> concat(std::initializer_list<std::vector<Key>> parts) {
    std::vector<Key> all;
    for (const auto& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

class Capture {
public:
    SendInputPlayer player(UINT (*accept)(std::size_t call, std::size_t size) = nullptr) {
        return SendInputPlayer([this, accept](std::span<INPUT> inputs) {
            std::vector<Key> keys;
            for (const INPUT& in : inputs) {
                EXPECT_EQ(in.type, static_cast<DWORD>(INPUT_KEYBOARD));
                keys.push_back({in.ki.wVk, in.ki.wScan, in.ki.dwFlags});
            }
            calls.push_back(keys);
            return accept ? accept(calls.size() - 1, inputs.size()) : static_cast<UINT>(inputs.size());
        });
    }
    std::vector<Key> all() const {
        std::vector<Key> keys;
        for (const auto& call : calls)
            keys.insert(keys.end(), call.begin(), call.end());
        return keys;
    }

    std::vector<std::vector<Key>> calls;
};

void sendReal(std::initializer_list<Key> keys) {
    std::vector<INPUT> inputs;
    for (const Key& k : keys) {
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki = {k.vk, k.scan, k.flags, 0, 0};
        inputs.push_back(in);
    }
    ASSERT_EQ(SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)), inputs.size());
}

// Every test starts with the modifiers up; a failed test must not leave one down for the next.
class SendInputPlayerTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(currentKeyboardState().held, 0) << "a modifier is down before the test"; }
};

TEST_F(SendInputPlayerTest, RecordsFollowTheForegroundLayout) {
    Capture capture;
    auto player = capture.player();
    player.play(L"Straße~");
    ASSERT_EQ(capture.calls.size(), 1u);
    EXPECT_EQ(capture.calls[0], concat({shifted(tap('S', 0x1F)), tap('T', 0x14), tap('R', 0x13), tap('A', 0x1E),
                                        unicodeTap(L'ß'), tap('E', 0x12), tap(VK_RETURN, 0x1C)}));

    capture.calls.clear();
    player.play(L"^{F9}{DEL}@");
    EXPECT_EQ(capture.all(), concat({{{VK_LCONTROL, 0x1D, 0}},
                                     tap(VK_F9, 0x43),
                                     {{VK_LCONTROL, 0x1D, kUp}},
                                     tap(VK_DELETE, 0x53, kExt),
                                     shifted(tap('2', 0x03))}));
}

TEST_F(SendInputPlayerTest, HeldModifierIsReadFromTheKeyboard) {
    sendReal({{VK_RCONTROL, 0x1D, kExt}});
    const KeyboardState state = currentKeyboardState();
    Capture capture;
    capture.player().play(L"a");
    sendReal({{VK_RCONTROL, 0x1D, kExt | kUp}});
    EXPECT_EQ(state.held, HeldRCtrl);
    EXPECT_EQ(capture.all(), concat({{{VK_RCONTROL, 0x1D, kExt | kUp}}, tap('A', 0x1E), {{VK_RCONTROL, 0x1D, kExt}}}));
}

TEST_F(SendInputPlayerTest, ShortCountStopsAndReleasesWhatIsDown) {
    Capture capture;
    // The system takes only Shift and the key's press of "AB"; nothing after that may be sent but the releases.
    auto player =
        capture.player([](std::size_t call, std::size_t size) { return static_cast<UINT>(call == 0 ? 2 : size); });
    player.play(L"AB");
    ASSERT_EQ(capture.calls.size(), 2u);
    EXPECT_EQ(capture.calls[1], (std::vector<Key>{{'A', 0x1E, kUp}, {VK_LSHIFT, 0x2A, kUp}}));

    Capture blocked;
    blocked.player([](std::size_t, std::size_t) { return 0u; }).play(L"ab");
    EXPECT_EQ(blocked.calls.size(), 1u);
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
