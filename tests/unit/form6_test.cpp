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

// The lines and what a click copies are checked on the real window (tests/e2e/lists_test.sh).
TEST(Form6, PickListHoldsTheKeyTextsOnlyAndCopiesOnlyARealSelection) {
    MemoryStore store;
    store.files["tipp.dat"] = "x\r\n\r\n"; // short
    store.files["tipps.dat"] = "strg + a\r\n";
    const Lines list = readPickList(store, Windows1252Codec{}, nullptr);
    ASSERT_EQ(list.size(), 36u) << "keys only, no shortcuts";
    EXPECT_EQ(clipboardText(list, 35), L"*** Noch nicht benutzt ***") << "a key without text copies the placeholder";
    EXPECT_EQ(clipboardText(list, -1), std::nullopt) << "no selection";
    EXPECT_EQ(clipboardText(list, 36), std::nullopt);
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

} // namespace
} // namespace ww
