#include "engine/engine.h"
#include "store/notation.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace ww {
namespace {

using namespace std::string_literals;
using namespace std::string_view_literals;

constexpr int kPad0 = 96;
constexpr std::wstring_view BS = L"{BACKSPACE}";

// Models GetAsyncKeyState as Windows and Wine keep it: bit 15 = down now, bit 0 = pressed since the previous
// query of that key, cleared by the query.
class FakeKeyboard final : public KeyState {
public:
    void press(int code) {
        down_[code] = true;
        pressedSince_[code] = true;
    }
    void release(int code) { down_[code] = false; }
    // Down and up again between two polls.
    void tap(int code) { pressedSince_[code] = true; }

    std::uint16_t asyncKeyState(int code) override {
        const std::uint16_t value = (down_[code] ? 0x8000 : 0) | (pressedSince_[code] ? 0x0001 : 0);
        pressedSince_[code] = false;
        queried.push_back(code);
        return value;
    }

    std::vector<int> queried;

private:
    std::array<bool, 256> down_{};
    std::array<bool, 256> pressedSince_{};
};

class RecordingPlayer final : public KeystrokePlayer {
public:
    void play(std::wstring_view keys) override { played.emplace_back(keys); }
    std::vector<std::wstring> played;
};

class FakeTimer final : public Timer {
public:
    explicit FakeTimer(bool on) : on_(on) {}
    void setEnabled(bool on) override { on_ = on; }
    bool enabled() const override { return on_; }

private:
    bool on_;
};

// Virtual-key codes of the keys, written out independently of the engine: "1".."9", "0", "A".."Z".
int codeOfIndex(int index) {
    if (index < 9) return '1' + index;
    if (index == 9) return '0';
    return 'A' + (index - 10);
}

class EngineTest : public ::testing::Test {
protected:
    EngineTest() {
        for (int i = 0; i < kKeyCount; ++i)
            table.keytexts[i] = L"text" + std::to_wstring(i);
        for (int k = 1; k <= kShortcutCount; ++k)
            table.padshortcuts[k] = L"^{F" + std::to_wstring(k) + L"}";
    }

    void arm() {
        keys.press(kPad0);
        engine.onTimer1Tick();
        keys.release(kPad0);
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

    std::wstring lastPlayed() const { return player.played.empty() ? L"(nothing)" : player.played.back(); }

    FakeKeyboard keys;
    RecordingPlayer player;
    FakeTimer timer1{true};
    FakeTimer timer2{false};
    AssignmentTable table;
    Engine engine{keys, player, timer1, timer2, table};
};

using Plays = std::vector<std::wstring>;

TEST_F(EngineTest, StartsWatchingAndKeypadZeroArmsWithOk) {
    EXPECT_TRUE(engine.watching());
    EXPECT_FALSE(engine.armed());

    keys.press(kPad0);
    engine.onTimer1Tick();
    EXPECT_EQ(player.played, (Plays{L"{BACKSPACE}", L"OK"}));
    EXPECT_FALSE(engine.watching());
    EXPECT_TRUE(engine.armed());
    EXPECT_EQ(engine.text1(), L"NUM \0"sv);
}

TEST_F(EngineTest, EachKeypadDigitErasesItselfAndPlaysItsOwnShortcut) {
    for (int k = 1; k <= 9; ++k) {
        player.played.clear();
        keys.press(kPad0 + k);
        engine.onTimer1Tick();
        keys.release(kPad0 + k);
        EXPECT_EQ(player.played, (Plays{std::wstring(BS), table.padshortcuts[k]})) << "keypad " << k;
        EXPECT_TRUE(engine.watching());
        EXPECT_FALSE(engine.armed());
    }
}

TEST_F(EngineTest, TriggerTickQueriesTheTenKeypadCodesInOrderEvenWhenArming) {
    engine.onTimer1Tick();
    const std::vector<int> pad{96, 97, 98, 99, 100, 101, 102, 103, 104, 105};
    EXPECT_EQ(keys.queried, pad);

    keys.queried.clear();
    keys.press(kPad0);
    engine.onTimer1Tick();
    EXPECT_EQ(keys.queried, pad);
}

TEST_F(EngineTest, KeypadZeroAndDigitInOneTickArmThenPlayTheShortcut) {
    keys.press(kPad0 + 4);
    keys.press(kPad0);
    engine.onTimer1Tick();
    EXPECT_EQ(player.played, (Plays{L"{BACKSPACE}", L"OK", L"{BACKSPACE}", L"^{F4}"}));
    EXPECT_TRUE(engine.armed());
    EXPECT_FALSE(engine.watching());
}

TEST_F(EngineTest, SeveralDigitsInOneTickPlayInAscendingOrder) {
    keys.press(kPad0 + 7);
    keys.press(kPad0 + 2);
    keys.press(kPad0 + 5);
    engine.onTimer1Tick();
    EXPECT_EQ(player.played, (Plays{L"{BACKSPACE}", L"^{F2}", L"{BACKSPACE}", L"^{F5}", L"{BACKSPACE}", L"^{F7}"}));
}

TEST_F(EngineTest, OnlyAFreshPressWhileDownCounts) {
    // Pressed and released between two polls: 0x0001, the digit stays in the application.
    keys.tap(kPad0 + 1);
    keys.tap(kPad0);
    engine.onTimer1Tick();
    EXPECT_TRUE(player.played.empty());
    EXPECT_TRUE(engine.watching());

    // Held over several polls: 0x8001 once, then 0x8000.
    keys.press(kPad0 + 3);
    engine.onTimer1Tick();
    engine.onTimer1Tick();
    engine.onTimer1Tick();
    EXPECT_EQ(player.played, (Plays{L"{BACKSPACE}", L"^{F3}"}));

    keys.release(kPad0 + 3);
    engine.onTimer1Tick();
    keys.press(kPad0 + 3);
    engine.onTimer1Tick();
    EXPECT_EQ(player.played.size(), 4u);
}

TEST_F(EngineTest, EmptyShortcutOnlyErasesTheDigit) {
    table.padshortcuts[6].clear();
    keys.press(kPad0 + 6);
    engine.onTimer1Tick();
    EXPECT_EQ(player.played, (Plays{L"{BACKSPACE}"}));
}

TEST_F(EngineTest, ArmedScanExpandsTheKeyAfterErasingOkAndItsCharacter) {
    keys.press(kPad0);
    engine.onTimer1Tick();
    keys.release(kPad0);
    engine.onTimer2Tick(); // nothing pressed yet: stays armed
    EXPECT_TRUE(engine.armed());

    strike('N');
    EXPECT_EQ(player.played, (Plays{L"{BACKSPACE}", L"OK", L"{BACKSPACE}", L"{BACKSPACE}", L"{BACKSPACE}", L"text23"}));
    EXPECT_TRUE(engine.watching());
    EXPECT_FALSE(engine.armed());
    EXPECT_EQ(engine.text1(), L"N");
}

TEST_F(EngineTest, EveryKeyTypesTheTextAtItsIndex) {
    for (int index = 0; index < kKeyCount; ++index) {
        arm();
        strike(codeOfIndex(index));
        EXPECT_EQ(player.played, (Plays{L"{BACKSPACE}", L"{BACKSPACE}", L"{BACKSPACE}", table.keytexts[index]}))
            << "index " << index;
        EXPECT_TRUE(engine.watching());
    }
    // The main keyboard's "0" is the tenth key, "1" the first.
    arm();
    strike('0');
    EXPECT_EQ(lastPlayed(), L"text9");
    arm();
    strike('1');
    EXPECT_EQ(lastPlayed(), L"text0");
}

TEST_F(EngineTest, ScanWithoutHitQueriesOnlyTheCodes48To90Ascending) {
    arm();
    keys.press(' ');
    keys.press(kPad0 + 3);
    keys.press(112); // F1
    keys.press(186); // a punctuation key of the German layout
    engine.onTimer2Tick();
    engine.onTimer2Tick();
    std::vector<int> once;
    for (int code = 48; code <= 90; ++code)
        once.push_back(code);
    std::vector<int> twice = once;
    twice.insert(twice.end(), once.begin(), once.end());
    EXPECT_EQ(keys.queried, twice);
    EXPECT_TRUE(player.played.empty());
    EXPECT_TRUE(engine.armed());
    EXPECT_FALSE(engine.watching());
}

TEST_F(EngineTest, LowestCodeWinsAndLaterCodesAreNotQueriedInThatTick) {
    arm();
    keys.press('B');
    keys.press('3');
    engine.onTimer2Tick();
    EXPECT_EQ(player.played, (Plays{L"{BACKSPACE}", L"{BACKSPACE}", L"{BACKSPACE}", L"text2"}));
    EXPECT_EQ(keys.queried.back(), '3');
    EXPECT_TRUE(engine.watching());
    // B was not queried, so its press is still pending; a later armed scan picks it up as fresh.
    arm();
    engine.onTimer2Tick();
    EXPECT_EQ(lastPlayed(), L"text11");
}

TEST_F(EngineTest, PunctuationCodesEndTheArmedStateWithNothingTyped) {
    for (int code = 58; code <= 64; ++code) {
        arm();
        strike(code);
        EXPECT_TRUE(player.played.empty()) << code;
        EXPECT_TRUE(engine.watching()) << code;
        EXPECT_FALSE(engine.armed()) << code;
        EXPECT_EQ(engine.text1(), std::wstring(1, static_cast<wchar_t>(code)));
    }
}

TEST_F(EngineTest, ShortPressWhileArmedIsMissedAndTheScanGoesOn) {
    arm();
    keys.tap('K');
    engine.onTimer2Tick();
    EXPECT_TRUE(engine.armed());
    EXPECT_TRUE(player.played.empty());
    strike('K');
    EXPECT_EQ(lastPlayed(), L"text20");
}

TEST_F(EngineTest, EmptyKeyTextOnlyErasesThreeCharacters) {
    table.keytexts[10].clear();
    arm();
    strike('A');
    EXPECT_EQ(player.played, (Plays{L"{BACKSPACE}", L"{BACKSPACE}", L"{BACKSPACE}"}));
    EXPECT_TRUE(engine.watching());
}

TEST_F(EngineTest, KeypadIsNotWatchedWhileArmed) {
    arm();
    keys.press(kPad0 + 2);
    engine.onTimer2Tick();
    keys.release(kPad0 + 2);
    EXPECT_TRUE(player.played.empty());
    EXPECT_TRUE(engine.armed());
    for (int code : keys.queried)
        EXPECT_LT(code, kPad0);
}

TEST_F(EngineTest, SwitchedOffNothingIsWatchedUntilActivated) {
    engine.deactivate();
    EXPECT_FALSE(engine.watching());
    EXPECT_FALSE(engine.armed());

    // The shell delivers no ticks now; a tick that was already queued must not act either.
    keys.press(kPad0 + 1);
    engine.onTimer1Tick();
    keys.release(kPad0 + 1);
    EXPECT_TRUE(keys.queried.empty());
    EXPECT_TRUE(player.played.empty());

    engine.activate();
    EXPECT_TRUE(engine.watching());
    EXPECT_FALSE(engine.armed());
    keys.press(kPad0);
    engine.onTimer1Tick();
    EXPECT_TRUE(engine.armed());
}

TEST_F(EngineTest, DeactivateWhileArmedStopsTheScan) {
    arm();
    engine.deactivate();
    EXPECT_FALSE(engine.armed());
    EXPECT_FALSE(engine.watching());

    strike('N'); // a scan tick queued before the timer was killed
    EXPECT_TRUE(player.played.empty());
    EXPECT_FALSE(engine.watching());

    engine.activate();
    EXPECT_TRUE(engine.watching());
    EXPECT_FALSE(engine.armed());
}

TEST_F(EngineTest, StaleTicksOfAStoppedTimerDoNothing) {
    keys.press(kPad0);
    engine.onTimer1Tick();
    keys.release(kPad0);
    player.played.clear();
    keys.press(kPad0 + 5);
    engine.onTimer1Tick(); // queued before arming stopped Timer1
    EXPECT_TRUE(player.played.empty());

    strike('C');
    player.played.clear();
    keys.press('D');
    engine.onTimer2Tick(); // queued before the hit stopped Timer2
    EXPECT_TRUE(player.played.empty());
    EXPECT_TRUE(engine.watching());
}

TEST_F(EngineTest, KeypressedReportsEveryFreshPressButTypesOnlyForKeyNames) {
    keys.press(kPad0 + 9);
    EXPECT_TRUE(engine.keypressed(kPad0 + 9, L"NUM \0"sv));
    EXPECT_TRUE(player.played.empty());
    EXPECT_FALSE(engine.keypressed(kPad0 + 9, L"NUM \0"sv)); // held: 0x8000

    // The label decides what is typed, not the code; a longer label names no key.
    keys.press('Q');
    EXPECT_TRUE(engine.keypressed('Q', L"QQ"));
    EXPECT_TRUE(player.played.empty());
    EXPECT_EQ(engine.text1(), L"QQ");
    keys.press('Q');
    EXPECT_TRUE(engine.keypressed('Q', L"q")); // the comparison is case-sensitive
    EXPECT_TRUE(player.played.empty());
    keys.press('Q');
    EXPECT_TRUE(engine.keypressed('Q', L"Q"));
    EXPECT_EQ(player.played, (Plays{L"{BACKSPACE}", L"{BACKSPACE}", L"{BACKSPACE}", L"text26"}));

    // Not pressed: Text1 keeps the label of the last recognised press.
    EXPECT_FALSE(engine.keypressed('R', L"R"));
    EXPECT_EQ(engine.text1(), L"Q");
}

TEST_F(EngineTest, StringsFromTheRealEncodingsAreHandedOverUnchanged) {
    table.keytexts[23] = encodeText(L"Name###Straße");
    table.keytexts[10] = encodeText(kDefaultText);
    table.padshortcuts[9] = translateShortcut(L"string + F9");
    table.padshortcuts[1] = translateShortcut(L"{unbekannt");

    arm();
    strike('N');
    EXPECT_EQ(lastPlayed(), L"Name~Straße");
    arm();
    strike('A');
    EXPECT_EQ(lastPlayed(), L"*** Noch nicht benutzt ***");

    player.played.clear();
    keys.press(kPad0 + 9);
    keys.press(kPad0 + 1);
    engine.onTimer1Tick();
    EXPECT_EQ(player.played, (Plays{L"{BACKSPACE}", L"{unbekannt", L"{BACKSPACE}", L"^{F9}"}));
}

} // namespace
} // namespace ww
