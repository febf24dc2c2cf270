#include "platform/win32/win_keyboard.h"

#include "input/notation.h"
#include "platform/win32/handles.h"

#include <gtest/gtest.h>

#include <chrono>
#include <ostream>
#include <string>
#include <variant>

// What needs the real system: the layout, the key state, the INPUT records and their delivery. How the player
// splits, lifts and repairs is tested natively (tests/unit/player_test.cpp).
namespace ww::win {
namespace {

using std::chrono::milliseconds;

// One keyboard record as handed to SendInput.
struct Key {
    WORD vk;
    WORD scan;
    DWORD flags;
    friend bool operator==(const Key&, const Key&) = default;
};
using Keys = std::vector<Key>;

std::ostream& operator<<(std::ostream& os, const Key& k) {
    return os << std::hex << "{vk " << k.vk << " scan " << k.scan << " flags " << k.flags << "}" << std::dec;
}

constexpr DWORD kUp = KEYEVENTF_KEYUP;
constexpr DWORD kExt = KEYEVENTF_EXTENDEDKEY;

Keys tap(WORD vk, WORD scan, DWORD flags = 0) {
    return {{vk, scan, flags}, {vk, scan, flags | kUp}};
}
Keys cat(std::initializer_list<Keys> parts) {
    Keys all;
    for (const Keys& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

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

void sendReal(Key k) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki = {k.vk, k.scan, k.flags, 0, 0};
    ASSERT_EQ(SendInput(1, &in, sizeof(INPUT)), 1u);
}

// The real sink, counting its calls.
struct CountingSink final : KeySink {
    std::size_t send(std::span<const KeyEvent> events) override {
        ++calls;
        return real.send(events);
    }
    SendInputSink real;
    int calls = 0;
};

// A top-level window whose multi-line edit has the keyboard focus. One for all tests: under Wine, destroying a
// focused window costs about two seconds.
class WinKeyboard : public ::testing::Test {
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
        // A failed test must not leave a modifier down for the next one.
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

// Wine's layout here is US: no key for ß.
TEST_F(WinKeyboard, RecordsFollowTheRealLayout) {
    Win32Keyboard keyboard;
    const auto actions = std::get<std::vector<KeyAction>>(parseKeystrokes(L"Saß~^{F9}{DEL}@"));
    const auto calls = planKeystrokes(actions, keyboard.layout(), false);
    ASSERT_EQ(calls.size(), 1u);
    Keys records;
    for (const INPUT& in : toInputs(calls[0]))
        records.push_back({in.type == INPUT_KEYBOARD ? in.ki.wVk : WORD{0xFFFF}, in.ki.wScan, in.ki.dwFlags});
    EXPECT_EQ(records, cat({{{VK_LSHIFT, 0x2A, 0}},
                            tap('S', 0x1F),
                            {{VK_LSHIFT, 0x2A, kUp}},
                            tap('A', 0x1E),
                            tap(0, L'ß', KEYEVENTF_UNICODE),
                            tap(VK_RETURN, 0x1C),
                            {{VK_LCONTROL, 0x1D, 0}},
                            tap(VK_F9, 0x43),
                            {{VK_LCONTROL, 0x1D, kUp}},
                            tap(VK_DELETE, 0x53, kExt),
                            {{VK_LSHIFT, 0x2A, 0}},
                            tap('2', 0x03),
                            {{VK_LSHIFT, 0x2A, kUp}}}));
}

// Asked with a key-state array of its own: the thread's keyboard state stays as it was.
TEST_F(WinKeyboard, LayoutTellsWhatAKeyTypesInEachShiftState) {
    Win32KeyboardLayout layout(foregroundKeyboardLayout());
    BYTE before[256], after[256];
    ASSERT_TRUE(GetKeyboardState(before));
    EXPECT_EQ(layout.keyChar('A', 0), L'a');
    EXPECT_EQ(layout.keyChar('A', 1), L'A');
    EXPECT_EQ(layout.keyChar('2', 1), L'@');
    EXPECT_EQ(layout.keyChar(VK_OEM_7, 1), L'"');
    EXPECT_EQ(layout.keyChar(VK_SPACE, 0), L' ');
    EXPECT_EQ(layout.keyChar('Q', 6), std::nullopt) << "Ctrl+Alt types nothing here";
    EXPECT_EQ(layout.keyChar(VK_F9, 0), std::nullopt);
    ASSERT_TRUE(GetKeyboardState(after));
    EXPECT_TRUE(std::equal(std::begin(before), std::end(before), std::begin(after)));
}

TEST_F(WinKeyboard, HeldModifierIsReadFromTheKeyboard) {
    sendReal({VK_RCONTROL, 0x1D, kExt});
    const KeyboardState state = Win32Keyboard().keyboardState();
    sendReal({VK_RCONTROL, 0x1D, kExt | kUp});
    EXPECT_EQ(state.held, HeldRCtrl);
}

// The user holds Alt while a text is typed in several calls, and lets go afterwards: the text arrives whole and in
// order, and no menu opens.
TEST_F(WinKeyboard, SplitTextArrivesWholeAndInOrderAndAHeldAltOpensNoMenu) {
    // Without masking, Alt pressed and released alone asks for the menu: the window must see that.
    gKeyMenuCommands = 0;
    sendReal({VK_LMENU, 0x38, 0});
    pumpFor(milliseconds(50));
    sendReal({VK_LMENU, 0x38, kUp});
    pumpFor(milliseconds(200));
    ASSERT_EQ(gKeyMenuCommands, 1) << "a lone Alt does not reach the window here; the check below would be void";

    std::wstring text;
    for (int i = 0; text.size() < 1500; ++i)
        text += L"Zeile " + std::to_wstring(i) + L" Straße, ";
    gKeyMenuCommands = 0;
    sendReal({VK_LMENU, 0x38, 0});
    pumpFor(milliseconds(50));
    CountingSink sink;
    Win32Keyboard keyboard;
    Player(sink, keyboard, 500).play(std::get<std::vector<KeyAction>>(parseKeystrokes(text)));
    pumpFor(milliseconds(100));
    sendReal({VK_LMENU, 0x38, kUp});
    EXPECT_TRUE(waitFor(text) == text) << "the split text arrived garbled";
    EXPECT_GT(sink.calls, 5);
    pumpFor(milliseconds(200));
    EXPECT_EQ(gKeyMenuCommands, 0);
}

} // namespace
} // namespace ww::win
