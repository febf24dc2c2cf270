#include "engine/engine.h"
#include "fake_keyboard_layouts.h"
#include "input/keystroke_plan.h"
#include "input/notation.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <utility>
#include <vector>

namespace ww {
namespace {

using Plays = std::vector<std::wstring>;

constexpr int kPad0 = 96;
constexpr int kBack = 0x08;
const std::wstring BS = L"{BACKSPACE}";
const std::wstring OK = L"<OK>"; // the feedback, typed as characters

// GetAsyncKeyState as Windows and Wine keep it: bit 15 = down now, bit 0 = pressed since the previous query of
// that key, cleared by the query.
struct FakeKeyboard final : KeyState {
    void press(int code) { down_[code] = pressedSince_[code] = true; }
    void release(int code) { down_[code] = false; }
    void tap(int code) { pressedSince_[code] = true; } // down and up again between two polls

    std::uint16_t asyncKeyState(int code) override {
        queried.push_back(code);
        return static_cast<std::uint16_t>((down_[code] ? 0x8000 : 0) | (std::exchange(pressedSince_[code], false)));
    }

    std::vector<int> queried;
    std::array<bool, 256> down_{}, pressedSince_{};
};

// Texts typed as characters are recorded in angle brackets.
struct RecordingPlayer final : KeystrokePlayer {
    void play(std::wstring_view keys) override { played.emplace_back(keys); }
    void playCharacters(std::wstring_view text) override { played.push_back(L"<" + std::wstring(text) + L">"); }
    Plays played;
};

// The real player's keys as a late system shows them (another program's slow keyboard hook holds up the injected
// input): every key the player presses reads as freshly down at the next poll, its release still to come.
struct LateSystemPlayer final : KeystrokePlayer {
    explicit LateSystemPlayer(FakeKeyboard& keyboard) : keyboard_(keyboard) {}
    void play(std::wstring_view keys) override {
        reflect(planKeystrokes(std::get<std::vector<KeyAction>>(parseKeystrokes(keys)), layout_, false));
    }
    void playCharacters(std::wstring_view text) override { reflect(planCharacters(text, layout_)); }
    void reflect(const std::vector<KeyCall>& calls) {
        ++plays;
        for (const KeyCall& call : calls)
            for (const KeyEvent& e : call)
                if (!e.unicode && !e.keyUp) keyboard_.press(e.vk);
    }
    FakeKeyboard& keyboard_;
    testing::FakeLayout layout_ = testing::usLayout();
    int plays = 0;
};

struct FakeTimer final : Timer {
    explicit FakeTimer(bool enable) : on(enable) {}
    void setEnabled(bool enable) override { on = enable; }
    bool enabled() const override { return on; }
    bool on;
};

std::vector<int> codes(int first, int last, int times = 1) {
    std::vector<int> all;
    while (times-- > 0)
        for (int code = first; code <= last; ++code)
            all.push_back(code);
    return all;
}

class EngineTest : public ::testing::Test {
protected:
    EngineTest() {
        for (int i = 0; i < kKeyCount; ++i)
            table.keytexts[i] = L"text" + std::to_wstring(i);
        for (int k = 1; k <= kShortcutCount; ++k)
            table.padshortcuts[k] = L"^{F" + std::to_wstring(k) + L"}";
    }

    void pad(int k) {
        keys.press(kPad0 + k);
        engine.onTimer1Tick();
        keys.release(kPad0 + k);
    }
    void arm() {
        pad(0);
        keys.tap(kBack); // the system shows the engine's Backspace as pressed and released
        engine.onTimer2Tick();
        ASSERT_TRUE(engine.armed());
        player.played.clear();
        keys.queried.clear();
    }
    // One key stroke while armed: press, one scan tick, release.
    void strike(int code) {
        keys.press(code);
        engine.onTimer2Tick();
        keys.release(code);
    }
    void expectState(bool watching, bool armed) {
        EXPECT_EQ(engine.watching(), watching);
        EXPECT_EQ(engine.armed(), armed);
    }

    FakeKeyboard keys;
    RecordingPlayer player;
    FakeTimer timer1{true};
    FakeTimer timer2{false};
    AssignmentTable table;
    Engine engine{keys, player, timer1, timer2, table};
};

TEST_F(EngineTest, TheProgramsOwnKeysNeverEndTheArmedStateEvenWhenTheSystemShowsThemLate) {
    LateSystemPlayer late(keys);
    Engine lateEngine{keys, late, timer1, timer2, table};
    keys.press(kPad0);
    lateEngine.onTimer1Tick();
    keys.release(kPad0);
    for (int tick = 0; tick < 3; ++tick)
        lateEngine.onTimer2Tick();
    EXPECT_TRUE(lateEngine.armed()) << "the engine took its own Backspace or feedback for the user's key";
    EXPECT_EQ(late.plays, 2) << "nothing but the Backspace and the feedback was typed";
    keys.release(kBack);
    keys.press(kBack); // now the user's
    lateEngine.onTimer2Tick();
    EXPECT_TRUE(lateEngine.watching());
    EXPECT_EQ(late.plays, 2);
}

TEST_F(EngineTest, AnOwnBackspaceTheKeyStateNeverShowsIsForgottenAfterASecondOfTicks) {
    pad(0); // the fake system does not show the Backspace at all, as when another program took its bit
    for (int tick = 0; tick < 100; ++tick)
        engine.onTimer2Tick();
    strike(kBack);
    expectState(true, false);
}

TEST_F(EngineTest, EveryScannedCodeEndsTheArmedStateAndTheKeysTypeTheTextAtTheirIndex) {
    // Written out apart from the engine's own key order: "1".."9", "0" (index 9), "A".."Z". 58..64 are punctuation.
    const std::string order = "1234567890ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    for (int code = 48; code <= 90; ++code) {
        arm();
        strike(code);
        const auto index = order.find(static_cast<char>(code));
        const Plays typed = index == order.npos ? Plays{} : Plays{BS, BS, BS, table.keytexts[index]};
        EXPECT_EQ(player.played, typed) << code;
        expectState(true, false);
    }
}

TEST_F(EngineTest, EachKeypadDigitErasesItselfAndPlaysItsShortcutInOneTickWithZeroAscending) {
    expectState(true, false);
    for (int k = 1; k <= 9; ++k) {
        player.played.clear();
        pad(k);
        EXPECT_EQ(player.played, (Plays{BS, table.padshortcuts[k]})) << "keypad " << k;
        expectState(true, false);
    }
    player.played.clear();
    keys.queried.clear();
    for (int k : {7, 0, 2, 5})
        keys.press(kPad0 + k);
    engine.onTimer1Tick();
    EXPECT_EQ(keys.queried, codes(96, 105)) << "the trigger tick queries all ten keypad codes, even when arming";
    EXPECT_EQ(player.played, (Plays{BS, OK, BS, L"^{F2}", BS, L"^{F5}", BS, L"^{F7}"}));
    expectState(false, true);
    engine.onTimer2Tick(); // nothing pressed yet: stays armed, waiting for the next key
    expectState(false, true);
}

TEST_F(EngineTest, OnlyAFreshPressWhileDownCounts) {
    keys.tap(kPad0 + 1); // shorter than a poll: 0x0001, the digit stays in the application
    keys.tap(kPad0);
    engine.onTimer1Tick();
    EXPECT_TRUE(player.played.empty());
    keys.press(kPad0 + 3); // held over several polls: 0x8001 once, then 0x8000
    for (int tick = 0; tick < 3; ++tick)
        engine.onTimer1Tick();
    EXPECT_EQ(player.played, (Plays{BS, L"^{F3}"}));
    keys.release(kPad0 + 3);
    pad(3);
    EXPECT_EQ(player.played.size(), 4u) << "pressed again after a release";
}

TEST_F(EngineTest, AnyOtherKeyOrAMouseButtonEndsTheArmedStateWithNothingTypedButModifiersDoNot) {
    // Left button, Backspace, Tab, Enter, Esc, Space, Left, Delete, keypad 0 and 3, F1, F24, browser back, the
    // punctuation key right of L, the German <> key.
    for (int code : {0x01, 0x08, 0x09, 0x0D, 0x1B, 0x20, 0x25, 0x2E, kPad0, kPad0 + 3, 0x70, 0x87, 0xA6, 0xBA, 0xE2}) {
        arm();
        strike(code);
        EXPECT_TRUE(player.played.empty()) << code;
        expectState(true, false);
    }
    // Shift, Ctrl, Alt (also left and right), the Windows keys, Caps Lock, Num Lock, and VK_PACKET (the feedback).
    for (int code : {0x10, 0x11, 0x12, 0xA0, 0xA1, 0xA2, 0xA3, 0xA4, 0xA5, 0x5B, 0x5C, 0x14, 0x90, 0xE7}) {
        arm();
        keys.press(code); // held, as Shift for a capital
        engine.onTimer2Tick();
        strike('B');
        keys.release(code);
        EXPECT_EQ(player.played, (Plays{BS, BS, BS, L"text11"})) << code;
    }
}

TEST_F(EngineTest, TheLowestPressedCodeWinsAndAnotherKeyInTheSameTickWinsOverAll) {
    arm();
    keys.press('B');
    keys.press('3');
    engine.onTimer2Tick();
    EXPECT_EQ(player.played, (Plays{BS, BS, BS, L"text2"}));
    EXPECT_EQ(keys.queried.back(), '3') << "later codes are not queried in that tick";
    // B's press is still pending, so the next armed scan takes it as fresh.
    pad(0);
    player.played.clear();
    engine.onTimer2Tick();
    EXPECT_EQ(player.played, (Plays{BS, BS, BS, L"text11"}));

    arm();
    keys.press(' ');
    keys.press('W'); // " W" within one tick: the Backspaces could not tell the space from the feedback
    engine.onTimer2Tick();
    EXPECT_TRUE(player.played.empty());
    expectState(true, false);
}

TEST_F(EngineTest, SwitchedOffNothingIsWatchedUntilActivated) {
    arm();
    engine.deactivate();
    expectState(false, false);
    // Ticks queued before the timers were killed must not act.
    keys.press(kPad0 + 1);
    engine.onTimer1Tick();
    strike('N');
    EXPECT_TRUE(keys.queried.empty());
    EXPECT_TRUE(player.played.empty());

    engine.activate();
    expectState(true, false);
    pad(0);
    expectState(false, true);
}

} // namespace
} // namespace ww
