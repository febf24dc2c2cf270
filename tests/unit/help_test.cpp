#include "help/form5.h"
#include "help/frm_splash.h"
#include "memory_store.h"

#include <gtest/gtest.h>

#include <string>

namespace ww {
namespace {

// The texts themselves and the topic step are checked on the real windows (tests/e2e/help_test.sh,
// first_start_test.sh).

TEST(Form5, EnterAndEscAreNoButtonsOfOurs) {
    EXPECT_EQ(form5ButtonById(1), nullptr);
    EXPECT_EQ(form5ButtonById(2), nullptr);
}

TEST(FrmSplash, TypingStepAddsOneCharacterPerTickAndShowsTheButtonAfterTheLast) {
    SplashTyping typing(L"ab\r\nc");
    const std::wstring_view expected[] = {L"a", L"ab", L"ab\r", L"ab\r\n", L"ab\r\nc"};
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_FALSE(typing.buttonVisible()) << "before tick " << i + 1;
        EXPECT_EQ(typing.tick(), i < 4) << "timer after tick " << i + 1;
        EXPECT_EQ(typing.shown(), expected[i]);
    }
    EXPECT_TRUE(typing.buttonVisible());
    EXPECT_FALSE(typing.tick()); // a late tick changes nothing
    EXPECT_EQ(typing.shown(), expected[4]);
}

TEST(FirstStart, TheNoticeComesOncePerRunWithoutAMarkerAndAnyMarkerStopsIt) {
    MemoryStore files;
    for (const char* content : {"", "x"}) {
        files.files["1.dat"] = content;
        EXPECT_FALSE(FirstStart().check(files)) << content;
        EXPECT_EQ(files.files["1.dat"], content);
    }

    files.files.clear();
    FirstStart run;
    EXPECT_TRUE(run.check(files));
    EXPECT_TRUE(files.files.contains("1.dat"));
    EXPECT_FALSE(run.check(files)) << "the next load of the main window";

    // A folder that cannot be written: no marker, still the notice, and still only once in this run.
    files.files.clear();
    files.blocked.insert("1.dat");
    FirstStart unwritable;
    EXPECT_TRUE(unwritable.check(files));
    EXPECT_FALSE(files.files.contains("1.dat"));
    EXPECT_FALSE(unwritable.check(files));
}

} // namespace
} // namespace ww
