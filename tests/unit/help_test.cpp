#include "help/form5.h"
#include "help/frm_splash.h"
#include "memory_store.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace ww {
namespace {

using Runs = std::vector<std::pair<std::wstring, std::size_t>>; // text before a run of blanks, run length

// Every run of two or more blanks, with the `context` characters before it.
Runs blankRuns(std::wstring_view text, std::size_t context) {
    Runs runs;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t end = std::min(text.find_first_not_of(L' ', i), text.size());
        if (end - i >= 2) {
            const std::size_t from = i >= context ? i - context : 0;
            runs.emplace_back(std::wstring(text.substr(from, i - from)), end - i);
        }
        i = end > i ? end : i + 1;
    }
    return runs;
}

// Checks that the runs of blanks are exactly these, each after its words.
void expectRuns(std::wstring_view text, const Runs& expected) {
    std::size_t longest = 0;
    for (const auto& [before, length] : expected)
        longest = std::max(longest, before.size());
    const Runs actual = blankRuns(text, longest);
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_TRUE(actual[i].first.ends_with(expected[i].first)) << "run " << i;
        EXPECT_EQ(actual[i].second, expected[i].second) << "run " << i;
    }
}

TEST(Form5, TopicTextsKeepTheirLengthsAndRunsOfBlanks) {
    const auto& topics = helpTopics();
    const std::size_t lengths[] = {579, 896, 1303, 954, 610};
    for (std::size_t i = 0; i < topics.size(); ++i)
        EXPECT_EQ(std::wstring_view(topics[i].text).size(), lengths[i]) << "topic " << i;

    expectRuns(topics[0].text, {{L"auszufüllen.", 49}});
    expectRuns(topics[1].text, {{L"loslegen.", 2}, {L"auf dem Zahlenblock.", 44}, {L"störend empfinde.", 3}});
    EXPECT_TRUE(std::wstring_view(topics[1].text).ends_with(L"empfinde.   "));
    expectRuns(topics[2].text, {{L"einfügen.", 2},
                                {L"noch ab.", 84},
                                {L"Beispiel dazu:", 76},
                                {L"Name###Straße###Wohnort###Tel.", 2},
                                {L"dargellt werden.", 51},
                                {L"Name", 77},
                                {L"Straße", 76},
                                {L"Wohnort", 72},
                                {L"Tel.", 65},
                                {L"Hinweis: Die Tasten", 3},
                                {L"0 -", 2},
                                {L"nicht die", 28},
                                {L"Zahlenblock", 32},
                                {L"Tastatur", 25},
                                {L"die Zahlen", 26},
                                {L"Funktionstasten!!!!", 14}});
    expectRuns(topics[3].text, {{L"Sie können", 2}});
    expectRuns(topics[4].text, {{L"aktiv werden kann", 2}});
}

TEST(Form5, TopicStepShowsOnlyTheClickedTopic) {
    const auto& buttons = form5Buttons();
    ASSERT_EQ(buttons.size(), 6u);
    auto byCaption = [&](std::wstring_view caption) {
        for (const Form5Button& b : buttons)
            if (caption == b.caption) return b.topic;
        ADD_FAILURE() << "no button";
        return kCloseHelp;
    };
    HelpTopicView view;
    EXPECT_FALSE(view.shown()); // nothing at opening

    view.show(byCaption(L"Wie arbeite ich mit Wortwerk?"));
    EXPECT_EQ(view.shown(), 1);
    view.show(byCaption(L"Shortcuts auf den Zahlenblock legen"));
    for (int i = 0; i < kHelpTopicCount; ++i)
        EXPECT_EQ(view.visible(i), i == 3) << i;
    view.show(byCaption(L"Shortcuts auf den Zahlenblock legen"));
    for (int i = 0; i < kHelpTopicCount; ++i)
        EXPECT_EQ(view.visible(i), i == 3) << i;

    EXPECT_EQ(byCaption(L"Jetzt ist mir alles klar."), kCloseHelp);
    EXPECT_EQ(form5ButtonById(105)->topic, kCloseHelp);
    EXPECT_EQ(form5ButtonById(1), nullptr); // Enter's IDOK is no button of ours
    EXPECT_EQ(form5ButtonById(2), nullptr); // nor Esc's IDCANCEL
}

TEST(FrmSplash, NoticeTextIsElevenLinesWithCrLf) {
    EXPECT_EQ(kSplashText.size(), 643u);
    std::vector<std::wstring_view> lines;
    for (std::wstring_view rest = kSplashText; !rest.empty();) {
        const std::size_t end = rest.find(L"\r\n");
        ASSERT_NE(end, std::wstring_view::npos) << "every line ends with CR LF";
        lines.push_back(rest.substr(0, end));
        rest.remove_prefix(end + 2);
    }
    ASSERT_EQ(lines.size(), 11u);
    for (std::size_t i = 0; i < 10; ++i)
        EXPECT_TRUE(lines[i].ends_with(L" ") && !lines[i].ends_with(L"  ")) << "line " << i + 1;
    EXPECT_TRUE(lines[10].ends_with(L"unter Hilfe."));
    expectRuns(kSplashText, {{L"auf", 2}, {L"sich", 2}, {L"Tasten", 2}});
    EXPECT_NE(kSplashText.find(L"öffnet sich  ein Menü."), std::wstring_view::npos);
    EXPECT_NE(kSplashText.find(L"folgendermaßen"), std::wstring_view::npos);
}

TEST(FrmSplash, TypingStepAddsOneCharacterPerTickAndShowsTheButtonAfterTheLast) {
    SplashTyping shortText(L"ab\r\nc");
    const std::wstring_view expected[] = {L"a", L"ab", L"ab\r", L"ab\r\n", L"ab\r\nc"};
    EXPECT_EQ(shortText.shown(), L"");
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_FALSE(shortText.buttonVisible()) << "before tick " << i + 1;
        EXPECT_EQ(shortText.tick(), i < 4) << "timer after tick " << i + 1;
        EXPECT_EQ(shortText.shown(), expected[i]);
    }
    EXPECT_TRUE(shortText.buttonVisible());
    EXPECT_FALSE(shortText.tick()); // a late tick changes nothing
    EXPECT_EQ(shortText.count(), 5u);

    SplashTyping notice;
    std::size_t ticks = 0;
    while (notice.tick()) {
        ++ticks;
        ASSERT_FALSE(notice.buttonVisible());
        ASSERT_EQ(notice.shown().size(), ticks);
    }
    EXPECT_EQ(ticks + 1, 643u);
    EXPECT_TRUE(notice.buttonVisible());
    EXPECT_EQ(notice.shown(), kSplashText);
}

class FirstStartFolder : public ::testing::Test {
protected:
    std::string marker() { return files_.files["1.dat"]; }
    MemoryStore files_;
};

TEST_F(FirstStartFolder, WithoutMarkerTheNoticeComesOnceAndTheMarkerIsCreated) {
    FirstStart run;
    EXPECT_TRUE(run.check(files_));
    const std::string line = marker();
    ASSERT_GE(line.size(), 3u);
    EXPECT_TRUE(line.ends_with("\r\n"));
    EXPECT_EQ(line.find('\n'), line.size() - 1) << "one line";
    EXPECT_FALSE(run.check(files_)); // the next load of the main window

    FirstStart nextRun;
    EXPECT_FALSE(nextRun.check(files_));
    EXPECT_EQ(marker(), line);
}

TEST_F(FirstStartFolder, AnyMarkerStopsTheNotice) {
    for (const char* content : {"", "x", "\r\n\r\n"}) {
        files_.files["1.dat"] = content;
        FirstStart run;
        EXPECT_FALSE(run.check(files_)) << content;
        EXPECT_EQ(marker(), content);
    }
}

TEST_F(FirstStartFolder, AMarkerThatCannotBeCreatedStillShowsTheNoticeOncePerRun) {
    files_.blocked.insert("1.dat"); // a folder, say: no marker, and it blocks the file
    FirstStart run;
    EXPECT_TRUE(run.check(files_));
    EXPECT_FALSE(files_.files.contains("1.dat"));
    EXPECT_FALSE(run.check(files_)) << "the main window comes back without the notice again";
}

} // namespace
} // namespace ww
