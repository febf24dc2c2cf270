#include "platform/win32/win_keyboard.h"

#include "input/notation.h"
#include "platform/win32/handles.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <tuple>
#include <variant>

// What needs the real system: the layout, the key state, the INPUT records and their delivery. How the player
// splits, lifts and repairs is tested natively (tests/unit/player_test.cpp).
namespace ww::win {
namespace {

using namespace std::chrono;

std::vector<KeyAction> actions(std::wstring_view keys) {
    return std::get<std::vector<KeyAction>>(parseKeystrokes(keys));
}

int gKeyMenuCommands = 0; // lone Alt releases that reached the window as a menu command

LRESULT CALLBACK targetProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_SYSCOMMAND && (wp & 0xFFF0) == SC_KEYMENU) {
        ++gKeyMenuCommands;
        return 0; // entering the menu loop would block the test
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

// Dispatches messages until `done` or the time is up.
void pump(
    milliseconds limit, const std::function<bool()>& done = [] { return false; }) {
    const auto end = steady_clock::now() + limit;
    do {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    } while (!done() && steady_clock::now() < end);
}

// Wine's layout here is US: no key for ß. Its questions are asked with a key-state array of the layout's own: the
// thread's keyboard state stays as it was.
TEST(WinKeyboard, RecordsFollowTheRealLayout) {
    BYTE before[256], after[256];
    ASSERT_TRUE(GetKeyboardState(before));
    Win32Keyboard keyboard;
    const auto calls = planKeystrokes(actions(L"Saß~^{F9}{DEL}@"), keyboard.layout(), false);
    ASSERT_TRUE(GetKeyboardState(after));
    EXPECT_TRUE(std::equal(std::begin(before), std::end(before), std::begin(after)));
    ASSERT_EQ(calls.size(), 1u);
    using Keys = std::vector<std::tuple<WORD, WORD, DWORD>>; // key, scan code and flags as handed to SendInput
    Keys records;
    for (const INPUT& in : toInputs(calls[0]))
        records.emplace_back(in.type == INPUT_KEYBOARD ? in.ki.wVk : WORD{0xFFFF}, in.ki.wScan, in.ki.dwFlags);
    constexpr DWORD kUp = KEYEVENTF_KEYUP, kExt = KEYEVENTF_EXTENDEDKEY, kUni = KEYEVENTF_UNICODE;
    EXPECT_EQ(
        records,
        (Keys{{VK_LSHIFT, 0x2A, 0}, {'S', 0x1F, 0},           {'S', 0x1F, kUp},        {VK_LSHIFT, 0x2A, kUp},
              {'A', 0x1E, 0},       {'A', 0x1E, kUp},         {0, L'ß', kUni},         {0, L'ß', kUni | kUp},
              {VK_RETURN, 0x1C, 0}, {VK_RETURN, 0x1C, kUp},   {VK_LCONTROL, 0x1D, 0},  {VK_F9, 0x43, 0},
              {VK_F9, 0x43, kUp},   {VK_LCONTROL, 0x1D, kUp}, {VK_DELETE, 0x53, kExt}, {VK_DELETE, 0x53, kExt | kUp},
              {VK_LSHIFT, 0x2A, 0}, {'2', 0x03, 0},           {'2', 0x03, kUp},        {VK_LSHIFT, 0x2A, kUp}}));
}

// The user holds Alt while a text is typed in several calls, and lets go afterwards: the text arrives whole and in
// order, and no menu opens. (Held keys are read from the keyboard: right Ctrl too, with its side.)
TEST(WinKeyboard, SplitTextArrivesWholeAndInOrderAndAHeldAltOpensNoMenu) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = targetProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"WortwerkPlayerTarget";
    ASSERT_NE(RegisterClassW(&wc), 0);
    UniqueWindow frame(CreateWindowExW(0, wc.lpszClassName, L"Ziel", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 600, 400,
                                       nullptr, nullptr, wc.hInstance, nullptr));
    ASSERT_TRUE(frame);
    HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL, 0, 0, 580, 380,
                                frame.get(), nullptr, wc.hInstance, nullptr); // destroyed with its parent
    ASSERT_TRUE(SetForegroundWindow(frame.get()));
    SetFocus(edit);
    pump(milliseconds(20));
    ASSERT_EQ(GetFocus(), edit);
    // Without masking, Alt pressed and released alone asks for the menu: the window must see that.
    keybd_event(VK_LMENU, 0x38, 0, 0);
    pump(milliseconds(50));
    keybd_event(VK_LMENU, 0x38, KEYEVENTF_KEYUP, 0);
    pump(milliseconds(2000), [] { return gKeyMenuCommands > 0; });
    ASSERT_EQ(gKeyMenuCommands, 1) << "a lone Alt does not reach the window here; the check below would be void";

    const std::wstring text = L"Zeile 1 Straße, Zeile 2 Straße, Zeile 3 Straße";
    SendInputSink sink;
    Win32Keyboard keyboard;
    ASSERT_GT(planKeystrokes(actions(text), keyboard.layout(), false, 20).size(), 5u) << "the text goes in parts";
    gKeyMenuCommands = 0;
    keybd_event(VK_RCONTROL, 0x1D, KEYEVENTF_EXTENDEDKEY, 0);
    keybd_event(VK_LMENU, 0x38, 0, 0);
    pump(milliseconds(50));
    EXPECT_EQ(keyboard.keyboardState().held, HeldRCtrl | HeldLAlt);
    keybd_event(VK_RCONTROL, 0x1D, KEYEVENTF_EXTENDEDKEY | KEYEVENTF_KEYUP, 0);
    Player(sink, keyboard, 20).play(actions(text));
    pump(milliseconds(100));
    keybd_event(VK_LMENU, 0x38, KEYEVENTF_KEYUP, 0);
    pump(milliseconds(10000), [&] { return GetWindowTextLengthW(edit) >= static_cast<int>(text.size()); });
    wchar_t arrived[100] = {};
    GetWindowTextW(edit, arrived, 100);
    EXPECT_EQ(std::wstring(arrived), text);
    pump(milliseconds(200));
    EXPECT_EQ(gKeyMenuCommands, 0);
}

} // namespace
} // namespace ww::win
