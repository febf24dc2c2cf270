#include "platform/win32/sendinput_player.h"

#include "platform/win32/handles.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

namespace ww::win {
namespace {

using std::chrono::milliseconds;

int gKeyMenuCommands = 0; // lone Alt releases that reached the window as a menu command

LRESULT CALLBACK targetProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_SYSCOMMAND && (wp & 0xFFF0) == SC_KEYMENU) {
        ++gKeyMenuCommands;
        return 0; // entering the menu loop would block the test
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

void pumpFor(milliseconds span) {
    const auto end = std::chrono::steady_clock::now() + span;
    do {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    } while (std::chrono::steady_clock::now() < end);
}

void sendReal(WORD vk, DWORD flags) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki = {vk, 0x38, flags, 0, 0};
    ASSERT_EQ(SendInput(1, &in, sizeof(INPUT)), 1u);
}

// A top-level window whose multi-line edit has the keyboard focus. One for all tests: under Wine, destroying a
// focused window costs about two seconds.
class SendInputDelivery : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = targetProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"WortwerkPlayerTarget";
        ASSERT_NE(RegisterClassW(&wc), 0);
        frame_.reset(CreateWindowExW(0, wc.lpszClassName, L"Ziel", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 600, 400,
                                     nullptr, nullptr, wc.hInstance, nullptr));
        ASSERT_TRUE(frame_);
        edit_ = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL, 0, 0, 580, 380,
                                frame_.get(), nullptr, wc.hInstance, nullptr);
        ASSERT_NE(edit_, nullptr);
    }
    static void TearDownTestSuite() { frame_.reset(); }

    void SetUp() override {
        SetWindowTextW(edit_, L"");
        ASSERT_TRUE(SetForegroundWindow(frame_.get()));
        SetFocus(edit_);
        pumpFor(milliseconds(20));
        ASSERT_EQ(GetFocus(), edit_);
        ASSERT_EQ(currentKeyboardState().held, 0) << "a modifier is down before the test";
    }

    // Dispatches messages until `expected` is in the edit or the time is up; returns what arrived.
    static std::wstring waitFor(const std::wstring& expected, milliseconds limit = milliseconds(10000)) {
        const auto end = std::chrono::steady_clock::now() + limit;
        std::wstring text;
        do {
            pumpFor(milliseconds(10));
            text.assign(static_cast<std::size_t>(GetWindowTextLengthW(edit_)) + 1, L'\0');
            text.resize(static_cast<std::size_t>(GetWindowTextW(edit_, text.data(), static_cast<int>(text.size()))));
        } while (text != expected && std::chrono::steady_clock::now() < end);
        return text;
    }

    static inline UniqueWindow frame_;
    static inline HWND edit_ = nullptr; // destroyed with its parent
};

TEST_F(SendInputDelivery, SplitTextArrivesWholeAndInOrder) {
    std::wstring text;
    for (int i = 0; text.size() < 1500; ++i)
        text += L"Zeile " + std::to_wstring(i) + L" Straße, ";
    int calls = 0;
    SendInputPlayer player(
        [&calls](std::span<INPUT> inputs) {
            ++calls;
            return SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
        },
        currentKeyboardState, 500);
    player.play(text);
    EXPECT_TRUE(waitFor(text) == text) << "the split text arrived garbled";
    EXPECT_GT(calls, 5);
}

TEST_F(SendInputDelivery, HeldAltOpensNoMenu) {
    // Without masking, Alt pressed and released alone asks for the menu: the window must see that.
    gKeyMenuCommands = 0;
    sendReal(VK_LMENU, 0);
    pumpFor(milliseconds(50));
    sendReal(VK_LMENU, KEYEVENTF_KEYUP);
    pumpFor(milliseconds(200));
    ASSERT_EQ(gKeyMenuCommands, 1) << "a lone Alt does not reach the window here; the check below would be void";

    // The user holds Alt while the player types, and lets go afterwards.
    gKeyMenuCommands = 0;
    sendReal(VK_LMENU, 0);
    pumpFor(milliseconds(50));
    SendInputPlayer().play(L"x");
    pumpFor(milliseconds(100));
    sendReal(VK_LMENU, KEYEVENTF_KEYUP);
    EXPECT_EQ(waitFor(L"x", milliseconds(500)), L"x");
    pumpFor(milliseconds(200));
    EXPECT_EQ(gKeyMenuCommands, 0);
}

} // namespace
} // namespace ww::win
