#include "platform/win32/sendinput_player.h"

#include "platform/win32/handles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <span>

namespace ww::win {
namespace {

int gKeyMenuCommands = 0; // lone Alt releases that reached the window as a menu command

LRESULT CALLBACK targetProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_SYSCOMMAND && (wp & 0xFFF0) == SC_KEYMENU) {
        ++gKeyMenuCommands;
        return 0; // entering the menu loop would block the test
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

// A top-level window with a multi-line edit that has the keyboard focus.
class Target {
public:
    Target() {
        static const ATOM cls = [] {
            WNDCLASSW wc{};
            wc.lpfnWndProc = targetProc;
            wc.hInstance = GetModuleHandleW(nullptr);
            wc.lpszClassName = L"WortwerkPlayerTarget";
            return RegisterClassW(&wc);
        }();
        EXPECT_NE(cls, 0);
        frame_.reset(CreateWindowExW(0, L"WortwerkPlayerTarget", L"Ziel", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 600,
                                     400, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr));
        EXPECT_TRUE(frame_);
        edit_ = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL, 0, 0, 580, 380,
                                frame_.get(), nullptr, GetModuleHandleW(nullptr), nullptr);
        EXPECT_NE(edit_, nullptr);
        SendMessageW(edit_, EM_SETLIMITTEXT, 0, 0);
        EXPECT_TRUE(SetForegroundWindow(frame_.get()));
        SetFocus(edit_);
        pumpFor(std::chrono::milliseconds(100));
        EXPECT_EQ(GetFocus(), edit_);
    }

    void clear() {
        SetWindowTextW(edit_, L"");
        EXPECT_TRUE(SetForegroundWindow(frame_.get()));
        SetFocus(edit_);
    }

    std::wstring text() const {
        std::wstring s(static_cast<std::size_t>(GetWindowTextLengthW(edit_)) + 1, L'\0');
        s.resize(static_cast<std::size_t>(GetWindowTextW(edit_, s.data(), static_cast<int>(s.size()))));
        return s;
    }

    // Dispatches messages until `expected` is in the edit or the time is up; returns what arrived.
    std::wstring waitFor(const std::wstring& expected, std::chrono::milliseconds limit = std::chrono::seconds(10)) {
        const auto end = std::chrono::steady_clock::now() + limit;
        while (text() != expected && std::chrono::steady_clock::now() < end)
            pumpFor(std::chrono::milliseconds(10));
        return text();
    }

    static void pumpFor(std::chrono::milliseconds span) {
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

private:
    UniqueWindow frame_;
    HWND edit_ = nullptr; // destroyed with its parent
};

void sendReal(WORD vk, WORD scan, DWORD flags) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki = {vk, scan, flags, 0, 0};
    ASSERT_EQ(SendInput(1, &in, sizeof(INPUT)), 1u);
}

// One target for all tests: under Wine, destroying a focused window costs about two seconds.
class SendInputDelivery : public ::testing::Test {
protected:
    static void SetUpTestSuite() { target_ = new Target; }
    static void TearDownTestSuite() {
        delete target_;
        target_ = nullptr;
    }
    void SetUp() override {
        target_->clear();
        ASSERT_EQ(currentKeyboardState().held, 0) << "a modifier is down before the test";
    }

    static Target* target_;
};

Target* SendInputDelivery::target_ = nullptr;

TEST_F(SendInputDelivery, TextArrivesInTheFocusedEdit) {
    SendInputPlayer player;
    player.play(L"Straße~Zeile 2 {{}x{}} a{+}b");
    EXPECT_EQ(target_->waitFor(L"Straße\r\nZeile 2 {x} a+b"), L"Straße\r\nZeile 2 {x} a+b");
}

TEST_F(SendInputDelivery, ExpansionSequenceReplacesTheTypedKeys) {
    SendInputPlayer player;
    // What the engine hands over after keypad 0 and N, one string per call.
    player.play(L"0");
    player.play(L"{BACKSPACE}");
    player.play(L"OK");
    player.play(L"n");
    for (int i = 0; i < 3; ++i)
        player.play(L"{BACKSPACE}");
    player.play(L"Name~Straße @ 1{%}");
    EXPECT_EQ(target_->waitFor(L"Name\r\nStraße @ 1%"), L"Name\r\nStraße @ 1%");
}

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
        500);
    player.play(text);
    const std::wstring arrived = target_->waitFor(text);
    EXPECT_GT(calls, 5);
    ASSERT_EQ(arrived.size(), text.size());
    EXPECT_TRUE(arrived == text) << "first difference at "
                                 << std::mismatch(arrived.begin(), arrived.end(), text.begin()).first - arrived.begin();
}

TEST_F(SendInputDelivery, HeldAltOpensNoMenu) {
    // Without masking, Alt pressed and released alone asks for the menu: the window must see that.
    gKeyMenuCommands = 0;
    sendReal(VK_LMENU, 0x38, 0);
    Target::pumpFor(std::chrono::milliseconds(50));
    sendReal(VK_LMENU, 0x38, KEYEVENTF_KEYUP);
    Target::pumpFor(std::chrono::milliseconds(200));
    ASSERT_EQ(gKeyMenuCommands, 1) << "a lone Alt does not reach the window here; the check below would be void";

    // The user holds Alt while the player types, and lets go afterwards.
    gKeyMenuCommands = 0;
    sendReal(VK_LMENU, 0x38, 0);
    Target::pumpFor(std::chrono::milliseconds(50));
    SendInputPlayer player;
    player.play(L"x");
    Target::pumpFor(std::chrono::milliseconds(100));
    sendReal(VK_LMENU, 0x38, KEYEVENTF_KEYUP);
    EXPECT_EQ(target_->waitFor(L"x", std::chrono::milliseconds(500)), L"x");
    Target::pumpFor(std::chrono::milliseconds(200));
    EXPECT_EQ(gKeyMenuCommands, 0);
}

} // namespace
} // namespace ww::win
