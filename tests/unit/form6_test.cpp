#include "memory_file_store.h"
#include "platform/clipboard.h"
#include "windows/form6.h"

#include <gtest/gtest.h>

#include <chrono>
#include <numeric>
#include <string>
#include <vector>

namespace ww {
namespace {

using Lines = std::vector<std::wstring>;
using std::chrono::milliseconds;
const std::wstring kDefault = L"*** Noch nicht benutzt ***";

TEST(Form6, PickListHoldsTheStoredKeyTextsAndCopiesTheSelectedOneUnchanged) {
    MemoryFileStore store;
    std::string tipp;
    for (int i = 0; i < 36; ++i)
        tipp += i == 9    ? "null\r\n"
                : i == 10 ? "Name###Stra\337e\r\n"
                : i == 11 ? "Gr\374\337e \304\326\334\r\n"
                          : "x\r\n";
    store.files["tipp.dat"] = tipp + "extra\r\n";
    store.files["tipps.dat"] = "strg + a\r\n";
    Lines problems;
    const Lines list = readPickList(store, Windows1252Codec{}, &problems);
    ASSERT_EQ(list.size(), 36u) << "keys only, no shortcuts";
    EXPECT_EQ(list[0], L"x") << "no key prefix";
    EXPECT_TRUE(problems.empty());

    EXPECT_EQ(clipboardText(list, 9), L"null") << "entry 10 is key 0";
    EXPECT_EQ(clipboardText(list, 10), L"Name###Straße") << "entry 11 is key A; ### stays";
    EXPECT_EQ(clipboardText(list, 11), L"Grüße ÄÖÜ");
    EXPECT_EQ(clipboardText(list, -1), std::nullopt) << "no selection";
    EXPECT_EQ(clipboardText(list, 36), std::nullopt);
}

TEST(Form6, ShortMissingAndUnreadableTippDatGiveThirtySixLines) {
    MemoryFileStore store;
    store.files["tipp.dat"] = "eins\r\n\r\n";
    Lines problems;
    Lines list = readPickList(store, Windows1252Codec{}, &problems);
    ASSERT_EQ(list.size(), 36u);
    EXPECT_EQ(list[0], L"eins");
    EXPECT_EQ(list[1], L"");
    EXPECT_EQ(clipboardText(list, 35), kDefault) << "a key without text copies the placeholder";

    store.files.clear();
    EXPECT_EQ(readPickList(store, Windows1252Codec{}, &problems), Lines(36, kDefault));
    EXPECT_TRUE(problems.empty());

    store.unreadable = {"tipp.dat"};
    EXPECT_EQ(readPickList(store, Windows1252Codec{}, &problems), Lines(36, kDefault));
    EXPECT_EQ(problems.size(), 1u);
}

// A clipboard that another program holds for the first `busyFor` tries.
struct FakeClipboard final : Clipboard {
    bool open() override {
        EXPECT_FALSE(isOpen) << "opened twice";
        if (++opens <= busyFor) return false;
        isOpen = true;
        return true;
    }
    bool replaceText(std::wstring_view t) override {
        EXPECT_TRUE(isOpen);
        if (!canSet) return false;
        text = t;
        return true;
    }
    void close() override {
        EXPECT_TRUE(isOpen) << "closed without being open";
        isOpen = false;
    }
    void wait(milliseconds pause) override {
        EXPECT_FALSE(isOpen) << "waited while holding the clipboard";
        waited += pause;
    }

    int busyFor = 0;
    bool canSet = true;
    int opens = 0;
    bool isOpen = false;
    milliseconds waited{0};
    std::wstring text = L"vorher";
};

TEST(Clipboard, ABriefHoldIsWaitedOutALongOneGivesUpAndLeavesTheClipboardAsItWas) {
    FakeClipboard free;
    EXPECT_EQ(putText(free, L"Name###Straße"), CopyResult::Copied);
    EXPECT_EQ(free.text, L"Name###Straße");
    EXPECT_EQ(free.waited, milliseconds(0));

    FakeClipboard brief;
    brief.busyFor = 5;
    EXPECT_EQ(putText(brief, L"neu"), CopyResult::Copied);
    EXPECT_EQ(brief.text, L"neu");
    EXPECT_EQ(brief.opens, 6);

    FakeClipboard held;
    held.busyFor = 1000000;
    EXPECT_EQ(putText(held, L"neu"), CopyResult::Busy);
    EXPECT_EQ(held.text, L"vorher");
    EXPECT_GT(held.opens, 5) << "retried in small steps";
    EXPECT_GE(held.waited, milliseconds(400));
    EXPECT_LE(held.waited, milliseconds(600)) << "about half a second, then it gives up";

    FakeClipboard refusing;
    refusing.canSet = false;
    EXPECT_EQ(putText(refusing, L"neu"), CopyResult::Failed);
    for (const FakeClipboard* c : {&free, &brief, &held, &refusing})
        EXPECT_FALSE(c->isOpen) << "never left open";
}

} // namespace
} // namespace ww
