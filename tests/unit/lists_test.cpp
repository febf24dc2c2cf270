#include "memory_store.h"
#include "platform/clipboard.h"
#include "windows/form6.h"
#include "windows/form7.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

namespace ww {
namespace {

using namespace std::string_literals;
using Lines = std::vector<std::wstring>;
using std::chrono::milliseconds;
const std::wstring kDefault = L"*** Noch nicht benutzt ***";

// The pick list (Form6) and the overview (Form7). Their lines, and what a click copies, are checked on the real
// windows (tests/e2e/lists_test.sh); here the files they read and what the windows decide.
TEST(Form6, PickListHoldsTheKeyTextsOnlyAndCopiesOnlyARealSelection) {
    MemoryStore store(MemoryStore::Files{{"tipp.dat", "x\r\n\r\n"}, {"tipps.dat", "strg + a\r\n"}}); // short
    const Lines list = readPickList(store, Windows1252Codec{}, nullptr);
    ASSERT_EQ(list.size(), 36u) << "keys only, no shortcuts";
    EXPECT_EQ(clipboardText(list, 35), kDefault) << "a key without text copies the placeholder";
    EXPECT_EQ(clipboardText(list, -1), std::nullopt) << "no selection";
    EXPECT_EQ(clipboardText(list, 36), std::nullopt);
}

// A clipboard that another program holds for the first `busyFor` tries.
struct FakeClipboard final : Clipboard {
    bool open() override {
        EXPECT_FALSE(isOpen) << "opened twice";
        return isOpen = ++opens > busyFor;
    }
    bool replaceText(std::wstring_view t) override {
        EXPECT_TRUE(isOpen);
        if (canSet) text = t;
        return canSet;
    }
    void close() override {
        EXPECT_TRUE(isOpen) << "closed without being open";
        isOpen = false;
    }
    void wait(milliseconds pause) override {
        EXPECT_FALSE(isOpen) << "waited while holding the clipboard";
        waited += pause;
    }

    int busyFor = 0, opens = 0;
    bool canSet = true, isOpen = false;
    milliseconds waited{0};
    std::wstring text = L"vorher";
};

TEST(Clipboard, ABriefHoldIsWaitedOutALongOneGivesUpAndLeavesTheClipboardAsItWas) {
    FakeClipboard brief, held, refusing;
    brief.busyFor = 5;
    held.busyFor = 1000000;
    refusing.canSet = false;
    EXPECT_EQ(putText(brief, L"Name###Straße"), CopyResult::Copied);
    EXPECT_EQ(brief.text, L"Name###Straße");
    EXPECT_EQ(putText(held, L"neu"), CopyResult::Busy);
    EXPECT_EQ(held.text, L"vorher");
    EXPECT_GT(held.opens, 5) << "retried in small steps";
    EXPECT_TRUE(held.waited >= milliseconds(400) && held.waited <= milliseconds(600)) << "about half a second";
    EXPECT_EQ(putText(refusing, L"neu"), CopyResult::Failed);
    for (const FakeClipboard* c : {&brief, &held, &refusing})
        EXPECT_FALSE(c->isOpen) << "never left open";
}

TEST(Form7, MissingFilesReadAsDefaultsQuietlyUnreadableOnesAreReported) {
    MemoryStore store(MemoryStore::Files{{"tipp.dat", "eins\r\n"}});
    Lines problems;
    const Lines got = readOverview(store, Windows1252Codec{}, &problems);
    EXPECT_EQ((Lines{got.at(0), got.at(35), got.at(44)}),
              (Lines{L"1 = eins", L"Z = " + kDefault, L"Z9 = " + kDefault}));
    EXPECT_TRUE(problems.empty()) << "a missing file is no problem: the main window creates it";
    store.unreadable = {"tipp.dat"};
    store.files["tipps.dat"] = "\377\376f\0"s + "1"; // UTF-16 cut short: read, and reported
    EXPECT_EQ(readOverview(store, Windows1252Codec{}, &problems).at(36), L"Z1 = f");
    EXPECT_EQ(problems.at(0), L"Die Datei tipp.dat konnte nicht gelesen werden: Der Zugriff wurde verweigert.");
    EXPECT_TRUE(problems.at(1).starts_with(L"Die Datei tipps.dat konnte nicht ganz gelesen werden: ")) << problems[1];
}

TEST(ListLayout, FillsTheWindowLessTheMarginsButNeverPastTheClientAreaNorNegative) {
    const struct {
        int width, height, clientWidth, clientHeight;
        std::vector<int> list; // left, top, width, height
    } cases[] = {
        {3000, 6000, 2880, 5655, {1, 1, 2850, 5654}}, // thin frame: the margins; the height ends at the client area
        {3000, 6000, 2760, 5415, {1, 1, 2759, 5414}}, // thick frame: the client area
        {151, 301, 100, 100, {1, 1, 1, 1}},
        {100, 1000, 0, 0, {1, 1, 0, 0}},
    };
    for (const auto& c : cases) {
        const TwipsRect r = listLayout(c.width, c.height, c.clientWidth, c.clientHeight);
        EXPECT_EQ((std::vector{r.left, r.top, r.width, r.height}), c.list) << c.width << " x " << c.height;
    }
}

} // namespace
} // namespace ww
