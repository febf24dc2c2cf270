#include "engine/engine.h"
#include "fake_keyboard.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ww {
namespace {

using Calls = std::vector<KeyCall>;
using testing::actions;

constexpr int kPad0 = 96;

struct FakeTimer final : Timer {
    explicit FakeTimer(bool enable) : on(enable) {}
    void setEnabled(bool enable) override { on = enable; }
    bool enabled() const override { return on; }
    bool on;
};

// The engine with the real player over the loop-back keyboard: each hand-over is one call, and what the player
// sends shows in the key state as the system shows it.
class EngineTest : public ::testing::Test {
protected:
    EngineTest() {
        for (int i = 0; i < kKeyCount; ++i)
            table.keytexts[i] = actions(L"text" + std::to_wstring(i));
        for (int k = 1; k <= kShortcutCount; ++k)
            table.padshortcuts[k] = actions(L"^{F" + std::to_wstring(k) + L"}");
    }

    // The one call the player sends for these actions.
    KeyCall sent(std::span<const KeyAction> a) { return planKeystrokes(a, layout, false).at(0); }

    void pad(int k) {
        keys.press(kPad0 + k);
        engine.onTimer1Tick();
        keys.release(kPad0 + k);
    }
    void arm() {
        pad(0);
        engine.onTimer2Tick(); // sees the engine's own Backspace in the key state
        ASSERT_TRUE(engine.armed());
        keys.calls.clear();
    }
    // Keys struck together while armed: pressed, one scan tick, released.
    void strike(const std::vector<int>& codes) {
        for (int code : codes)
            keys.press(code);
        engine.onTimer2Tick();
        for (int code : codes)
            keys.release(code);
    }
    void expectState(bool watching, bool armed) {
        EXPECT_EQ(engine.watching(), watching);
        EXPECT_EQ(engine.armed(), armed);
    }

    testing::FakeLayout layout = testing::germanLayout();
    testing::FakeKeyboard keys{layout};
    Player player{keys, keys};
    FakeTimer timer1{true}, timer2{false};
    AssignmentTable table;
    Engine engine{keys, player, timer1, timer2, table};
    const KeyCall BS = sent(actions(L"{BACKSPACE}"));
    const KeyCall OK = planCharacters(L"OK", layout).at(0); // the feedback, typed as characters
};

// Another program's poll may take the Backspace's bit before the engine sees it (first arming), or the system may
// show it only after many ticks (second arming, with a keypad digit's Backspace in the same tick).
TEST_F(EngineTest, TheOwnBackspaceIsTakenOnceWhenItShowsAndForgottenAfterASecondOfTicks) {
    pad(0);
    keys.asyncKeyState(vk::Back);
    for (int tick = 0; tick < 100; ++tick)
        engine.onTimer2Tick();
    strike({vk::Back});
    expectState(true, false);

    keys.press(kPad0 + 1);
    pad(0);
    keys.release(kPad0 + 1);
    keys.asyncKeyState(vk::Back);
    for (int tick = 0; tick < 99; ++tick)
        engine.onTimer2Tick();
    strike({vk::Back}); // the system shows the two Backspaces now, as one press
    EXPECT_TRUE(engine.armed());
    strike({vk::Back});
    expectState(true, false);
}

// The 36 keys type the text at their index; the punctuation among the codes 48..90, any other key or a mouse button
// end the armed state with nothing typed, modifiers do not. Struck together: the lowest code wins, and another key
// wins over all (in " W" the Backspaces could not tell the space from the feedback).
TEST_F(EngineTest, EveryKeyStruckWhileArmedEndsTheArmedStateAndTheKeysTypeTheTextAtTheirIndex) {
    constexpr int kEnds = -1, kStaysArmed = -2; // nothing typed
    // Written out apart from the engine's own key order: "1".."9", "0" (index 9), "A".."Z".
    const std::string order = "1234567890ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    std::vector<std::pair<std::vector<int>, int>> strokes; // the keys and the index of the text typed
    for (int code = 48; code <= 90; ++code)
        strokes.push_back({{code}, static_cast<int>(order.find(static_cast<char>(code)))});
    // Left button, Backspace, Tab, Enter, Esc, Space, Left, Delete, keypad 0 and 3, F1, F24, browser back, the
    // punctuation key right of L, the German <> key.
    for (int code : {0x01, 0x08, 0x09, 0x0D, 0x1B, 0x20, 0x25, 0x2E, kPad0, kPad0 + 3, 0x70, 0x87, 0xA6, 0xBA, 0xE2})
        strokes.push_back({{code}, kEnds});
    // Shift, Ctrl, Alt (also left and right), the Windows keys, Caps Lock, Num Lock, and VK_PACKET (the feedback).
    for (int code : {0x10, 0x11, 0x12, 0xA0, 0xA1, 0xA2, 0xA3, 0xA4, 0xA5, 0x5B, 0x5C, 0x14, 0x90, 0xE7})
        strokes.push_back({{code}, kStaysArmed});
    strokes.push_back({{'B', '3'}, 2});
    strokes.push_back({{' ', 'W'}, kEnds});
    for (const auto& [codes, index] : strokes) {
        arm();
        strike(codes);
        EXPECT_EQ(keys.calls, index < 0 ? Calls{} : (Calls{BS, BS, BS, sent(table.keytexts[index])})) << codes[0];
        expectState(index != kStaysArmed, index == kStaysArmed);
        engine.deactivate();
        engine.activate();
    }
}

// Only a fresh press counts: down now and pressed since the previous poll. Keypad 0 and digits in one tick: zero
// arms first, then the digits play in ascending order, each erasing itself.
TEST_F(EngineTest, KeypadDigitsEraseThemselvesAndPlayTheirShortcutsOnAFreshPressWithZeroFirst) {
    keys.tap(kPad0 + 1); // shorter than a poll: 0x0001, the digit stays in the application
    keys.tap(kPad0);
    engine.onTimer1Tick();
    EXPECT_TRUE(keys.calls.empty());
    keys.press(kPad0 + 3); // held over several polls: 0x8001 once, then 0x8000
    for (int tick = 0; tick < 3; ++tick)
        engine.onTimer1Tick();
    EXPECT_EQ(keys.calls, (Calls{BS, sent(table.padshortcuts[3])}));
    keys.release(kPad0 + 3);
    keys.calls.clear();
    table.padshortcuts[2].clear(); // unplayable, reported at load: its digit is still erased
    for (int k : {9, 0, 3, 2})
        keys.press(kPad0 + k);
    engine.onTimer1Tick();
    EXPECT_EQ(keys.calls, (Calls{BS, OK, BS, BS, sent(table.padshortcuts[3]), BS, sent(table.padshortcuts[9])}));
    expectState(false, true);
}

// Switching on again is part of every stroke above.
TEST_F(EngineTest, SwitchedOffNothingIsWatched) {
    arm();
    engine.deactivate();
    // Ticks queued before the timers were killed must not act.
    keys.press(kPad0 + 1);
    engine.onTimer1Tick();
    strike({'N'});
    keys.release(kPad0 + 1);
    EXPECT_TRUE(keys.calls.empty());
    expectState(false, false);
}

} // namespace
} // namespace ww
