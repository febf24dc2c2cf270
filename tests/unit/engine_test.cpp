#include "engine/engine.h"
#include "fake_keyboard.h"
#include "memory_store.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ww {
namespace {

using Calls = std::vector<KeyCall>;
using testing::actions;

constexpr int kPad0 = 96;
constexpr int kBack = 0x08;

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
    KeyCall text(int index) { return sent(table.keytexts[index]); }
    KeyCall shortcut(int k) { return sent(table.padshortcuts[k]); }

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

    testing::FakeLayout layout = testing::usLayout();
    testing::FakeKeyboard keys{layout};
    Player player{keys, keys};
    FakeTimer timer1{true};
    FakeTimer timer2{false};
    AssignmentTable table;
    Engine engine{keys, player, timer1, timer2, table};
    const KeyCall BS = sent(actions(L"{BACKSPACE}"));
    const KeyCall OK = planCharacters(L"OK", layout).at(0); // the feedback, typed as characters
};

// Every key the player presses reads as freshly down at the next poll, its release still to come.
TEST_F(EngineTest, TheProgramsOwnKeysNeverEndTheArmedStateEvenWhenTheSystemShowsThemLate) {
    keys.lateSystem = true;
    pad(0);
    for (int tick = 0; tick < 3; ++tick)
        engine.onTimer2Tick();
    EXPECT_TRUE(engine.armed()) << "the engine took its own Backspace or feedback for the user's key";
    EXPECT_EQ(keys.calls, (Calls{BS, OK})) << "nothing but the Backspace and the feedback was typed";
    keys.release(kBack);
    keys.press(kBack); // now the user's
    engine.onTimer2Tick();
    EXPECT_TRUE(engine.watching());
    EXPECT_EQ(keys.calls.size(), 2u);
}

// Another program's poll may take the Backspace's bit before the engine sees it (first arming), or the system may
// show it only after many ticks (second arming, with a keypad digit's Backspace in the same tick).
TEST_F(EngineTest, TheOwnBackspaceIsTakenOnceWhenItShowsAndForgottenAfterASecondOfTicks) {
    pad(0);
    keys.asyncKeyState(kBack);
    for (int tick = 0; tick < 100; ++tick)
        engine.onTimer2Tick();
    strike(kBack);
    expectState(true, false);

    keys.press(kPad0 + 1);
    pad(0);
    keys.release(kPad0 + 1);
    keys.asyncKeyState(kBack);
    for (int tick = 0; tick < 99; ++tick)
        engine.onTimer2Tick();
    strike(kBack); // the system shows the two Backspaces now, as one press
    EXPECT_TRUE(engine.armed());
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
        const Calls typed = index == order.npos ? Calls{} : Calls{BS, BS, BS, text(static_cast<int>(index))};
        EXPECT_EQ(keys.calls, typed) << code;
        expectState(true, false);
    }
}

TEST_F(EngineTest, EachKeypadDigitErasesItselfAndPlaysItsShortcutInOneTickWithZeroAscending) {
    expectState(true, false);
    for (int k = 1; k <= 9; ++k) {
        keys.calls.clear();
        pad(k);
        EXPECT_EQ(keys.calls, (Calls{BS, shortcut(k)})) << "keypad " << k;
        expectState(true, false);
    }
    keys.calls.clear();
    keys.queried.clear();
    for (int k : {7, 0, 2, 5})
        keys.press(kPad0 + k);
    engine.onTimer1Tick();
    EXPECT_EQ(keys.queried, (std::vector<int>{96, 97, 98, 99, 100, 101, 102, 103, 104, 105}))
        << "the trigger tick queries all ten keypad codes, even when arming";
    EXPECT_EQ(keys.calls, (Calls{BS, OK, BS, shortcut(2), BS, shortcut(5), BS, shortcut(7)}));
    expectState(false, true);
    engine.onTimer2Tick(); // nothing pressed yet: stays armed, waiting for the next key
    expectState(false, true);
}

TEST_F(EngineTest, AShortcutThatCannotBePlayedIsReportedAtLoadAndItsKeyOnlyErasesItsDigit) {
    MemoryStore files;
    files.files["tipps.dat"] = "\r\n\r\n\r\n{gibtsnicht}\r\n";
    std::vector<std::wstring> problems;
    table = loadTable(files, Windows1252Codec(), &problems);
    EXPECT_EQ(problems, std::vector<std::wstring>{L"Z4: „{gibtsnicht}“ ist kein gültiges Tastenkürzel."});
    pad(4);
    EXPECT_EQ(keys.calls, Calls{BS});
}

TEST_F(EngineTest, OnlyAFreshPressWhileDownCounts) {
    keys.tap(kPad0 + 1); // shorter than a poll: 0x0001, the digit stays in the application
    keys.tap(kPad0);
    engine.onTimer1Tick();
    EXPECT_TRUE(keys.calls.empty());
    keys.press(kPad0 + 3); // held over several polls: 0x8001 once, then 0x8000
    for (int tick = 0; tick < 3; ++tick)
        engine.onTimer1Tick();
    EXPECT_EQ(keys.calls, (Calls{BS, shortcut(3)}));
    keys.release(kPad0 + 3);
    pad(3);
    EXPECT_EQ(keys.calls.size(), 4u) << "pressed again after a release";
}

TEST_F(EngineTest, AnyOtherKeyOrAMouseButtonEndsTheArmedStateWithNothingTypedButModifiersDoNot) {
    // Left button, Backspace, Tab, Enter, Esc, Space, Left, Delete, keypad 0 and 3, F1, F24, browser back, the
    // punctuation key right of L, the German <> key.
    for (int code : {0x01, 0x08, 0x09, 0x0D, 0x1B, 0x20, 0x25, 0x2E, kPad0, kPad0 + 3, 0x70, 0x87, 0xA6, 0xBA, 0xE2}) {
        arm();
        strike(code);
        EXPECT_TRUE(keys.calls.empty()) << code;
        expectState(true, false);
    }
    // Shift, Ctrl, Alt (also left and right), the Windows keys, Caps Lock, Num Lock, and VK_PACKET (the feedback).
    // The player lifts a held modifier around each call.
    for (int code : {0x10, 0x11, 0x12, 0xA0, 0xA1, 0xA2, 0xA3, 0xA4, 0xA5, 0x5B, 0x5C, 0x14, 0x90, 0xE7}) {
        arm();
        keys.press(code); // held, as Shift for a capital
        engine.onTimer2Tick();
        Calls typed{BS, BS, BS, text(11)};
        for (KeyCall& call : typed)
            call = withHeldLifted(call, keys.keyboardState().held, layout);
        strike('B');
        keys.release(code);
        EXPECT_EQ(keys.calls, typed) << code;
    }
}

TEST_F(EngineTest, TheLowestPressedCodeWinsAndAnotherKeyInTheSameTickWinsOverAll) {
    arm();
    keys.press('B');
    keys.press('3');
    engine.onTimer2Tick();
    EXPECT_EQ(keys.calls, (Calls{BS, BS, BS, text(2)}));
    EXPECT_EQ(keys.queried.back(), '3') << "later codes are not queried in that tick";
    // B's press is still pending, so the next armed scan takes it as fresh.
    pad(0);
    keys.calls.clear();
    engine.onTimer2Tick();
    EXPECT_EQ(keys.calls, (Calls{BS, BS, BS, text(11)}));

    arm();
    keys.press(' ');
    keys.press('W'); // " W" within one tick: the Backspaces could not tell the space from the feedback
    engine.onTimer2Tick();
    EXPECT_TRUE(keys.calls.empty());
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
    EXPECT_TRUE(keys.calls.empty());

    engine.activate();
    expectState(true, false);
    pad(0);
    expectState(false, true);
}

} // namespace
} // namespace ww
