#include "help/form5.h"
#include "help/frm_splash.h"
#include "memory_store.h"

#include <gtest/gtest.h>

#include <string>

namespace ww {
namespace {

// The texts themselves and the topic step are checked on the real windows (tests/e2e/lifecycle_test.sh).
TEST(Form5, EnterAndEscAreNoButtonsOfOurs) {
    EXPECT_EQ(form5ButtonById(1), nullptr);
    EXPECT_EQ(form5ButtonById(2), nullptr);
}

TEST(FrmSplash, TypingStepAddsOneCharacterPerTickAndShowsTheButtonAfterTheLast) {
    SplashTyping typing(L"ab\r\nc");
    for (const std::wstring_view shown : {L"a", L"ab", L"ab\r", L"ab\r\n"}) {
        EXPECT_TRUE(typing.tick()) << "the timer runs on";
        EXPECT_EQ(typing.shown(), shown);
        EXPECT_FALSE(typing.buttonVisible());
    }
    EXPECT_FALSE(typing.tick());
    EXPECT_TRUE(typing.buttonVisible());
    EXPECT_FALSE(typing.tick()); // a late tick changes nothing
    EXPECT_EQ(typing.shown(), L"ab\r\nc");
}

// The notice comes once per run without a marker, also when none can be written, and never with one.
TEST(FirstStart, TheNoticeComesOncePerRunWithoutAMarkerAndAnyMarkerStopsIt) {
    MemoryStore marked(MemoryStore::Files{{"1.dat", ""}}), fresh, unwritable;
    unwritable.blocked = {"1.dat"};
    EXPECT_FALSE(FirstStart().check(marked));
    for (MemoryStore* files : {&fresh, &unwritable}) {
        FirstStart run;
        EXPECT_TRUE(run.check(*files));
        EXPECT_FALSE(run.check(*files)) << "the next load of the main window";
    }
    EXPECT_TRUE(fresh.files.contains("1.dat"));
    EXPECT_EQ(marked.files, (MemoryStore::Files{{"1.dat", ""}}));
}

} // namespace
} // namespace ww
