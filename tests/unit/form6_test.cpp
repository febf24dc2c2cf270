#include "memory_store.h"
#include "platform/clipboard.h"
#include "windows/form6.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

namespace ww {
namespace {

using Lines = std::vector<std::wstring>;
using std::chrono::milliseconds;

TEST(Form6, PickListHoldsTheStoredKeyTextsAndCopiesTheSelectedOneUnchanged) {
    MemoryStore store;
    std::string tipp = "x\r\n\r\n";
    for (int i = 2; i < 9; ++i)
        tipp += "x\r\n";
    store.files["tipp.dat"] = tipp + "null\r\nName###Stra\337e\r\nGr\374\337e \304\326\334\r\n"; // short: keys 1..B
    store.files["tipps.dat"] = "strg + a\r\n";
    Lines problems;
    const Lines list = readPickList(store, Windows1252Codec{}, &problems);
    ASSERT_EQ(list.size(), 36u) << "keys only, no shortcuts";
    EXPECT_TRUE(problems.empty());
    EXPECT_EQ(clipboardText(list, 0), L"x") << "no key prefix";
    EXPECT_EQ(clipboardText(list, 1), L"");
    EXPECT_EQ(clipboardText(list, 9), L"null") << "entry 10 is key 0";
    EXPECT_EQ(clipboardText(list, 10), L"Name###Straße") << "entry 11 is key A; ### stays";
    EXPECT_EQ(clipboardText(list, 11), L"Grüße ÄÖÜ");
    EXPECT_EQ(clipboardText(list, 35), L"*** Noch nicht benutzt ***") << "a key without text copies the placeholder";
    EXPECT_EQ(clipboardText(list, -1), std::nullopt) << "no selection";
    EXPECT_EQ(clipboardText(list, 36), std::nullopt);

    store.files.clear();
    EXPECT_EQ(readPickList(store, Windows1252Codec{}, &problems), Lines(36, L"*** Noch nicht benutzt ***"));
    EXPECT_TRUE(problems.empty()) << "a missing tipp.dat";
}

// A clipboard that another program holds for the first `busyFor` tries.
struct FakeClipboard final : Clipboard {
    bool open() override {
        EXPECT_FALSE(isOpen) << "opened twice";
        isOpen = ++opens > busyFor;
        return isOpen;
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
    FakeClipboard free, brief, held, refusing;
    brief.busyFor = 5;
    held.busyFor = 1000000;
    refusing.canSet = false;
    EXPECT_EQ(putText(free, L"Name###Straße"), CopyResult::Copied);
    EXPECT_EQ(free.text, L"Name###Straße");
    EXPECT_EQ(free.waited, milliseconds(0));
    EXPECT_EQ(putText(brief, L"neu"), CopyResult::Copied);
    EXPECT_EQ(brief.text, L"neu");
    EXPECT_EQ(putText(held, L"neu"), CopyResult::Busy);
    EXPECT_EQ(held.text, L"vorher");
    EXPECT_GT(held.opens, 5) << "retried in small steps";
    EXPECT_GE(held.waited, milliseconds(400));
    EXPECT_LE(held.waited, milliseconds(600)) << "about half a second, then it gives up";
    EXPECT_EQ(putText(refusing, L"neu"), CopyResult::Failed);
    for (const FakeClipboard* c : {&free, &brief, &held, &refusing})
        EXPECT_FALSE(c->isOpen) << "never left open";
}

} // namespace
} // namespace ww
