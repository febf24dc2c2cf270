#include "windows/form6_win.h"

#include "platform/clipboard.h"
#include "platform/win32/ansi_codec.h"
#include "platform/win32/dpi.h"
#include "platform/win32/win_clipboard.h"
#include "platform/win32/win_file_store.h"
#include "shell/app_win.h"
#include "windows/form6.h"
#include "windows/list_box_win.h"

namespace ww {

namespace {
constexpr UINT kShowProblems = WM_APP + 3;
} // namespace

// Placed by the system; its own task-bar button, since while it is open the program has no tray icon.
bool Form6::open() {
    if (!createSecondary(L"WortwerkForm6", 0, kForm6Title, WS_OVERLAPPEDWINDOW, true)) return false;
    win::setTopmost(hwnd(), true);
    win::Win32FileStore files;
    win::AnsiCodec codec;
    lines_ = readPickList(files, codec, &problems_);
    if (!win::fillList(List1, lines_)) {
        DestroyWindow(hwnd());
        return false;
    }
    win::setClientSize(hwnd(), kForm6ClientWidth, kForm6ClientHeight, false);
    ShowWindow(hwnd(), SW_SHOWNORMAL);
    SetForegroundWindow(hwnd());
    if (!problems_.empty()) PostMessageW(hwnd(), kShowProblems, 0, 0);
    return true;
}

bool Form6::OnCreate() {
    List1 = win::createList(hwnd());
    return List1 != nullptr;
}

void Form6::layout() {
    auto font = win::createMessageFont(hwnd());
    win::setFont(List1, font.get());
    font_ = std::move(font);
    win::placeList(hwnd(), List1);
}

void Form6::OnSize(WPARAM kind) {
    if (kind != SIZE_MINIMIZED) win::placeList(hwnd(), List1);
}

// Every selection change, by mouse or keyboard. A clipboard that stays busy is left as it was, with a beep.
void Form6::OnSelChange() {
    const auto text = clipboardText(lines_, static_cast<int>(SendMessageW(List1, LB_GETCURSEL, 0, 0)));
    if (!text) return;
    win::Win32Clipboard clipboard(hwnd());
    if (putText(clipboard, *text) != CopyResult::Copied) MessageBeep(MB_ICONWARNING);
}

// Close box, Alt+F4, system menu or a close request from elsewhere: the main window comes back first, so the
// program never runs out of windows in between.
void Form6::OnClose() {
    App::get().bringBackMainWindow();
    DestroyWindow(hwnd());
}

void Form6::OnShowProblems() {
    win::showReadProblems(hwnd(), problems_);
}

LRESULT Form6::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CREATE:
        return OnCreate() ? 0 : -1;
    case WM_SIZE:
        OnSize(wp);
        return 0;
    case WM_SETFOCUS:
        SetFocus(List1);
        return 0;
    case WM_COMMAND:
        if (LOWORD(wp) == win::kList1Id && HIWORD(wp) == LBN_SELCHANGE) OnSelChange();
        return 0;
    case WM_CLOSE:
        OnClose();
        return 0;
    case WM_ENDSESSION:
        // The session ends: the main window is not loaded again only to be ended at once; the program ends.
        if (wp) DestroyWindow(hwnd());
        return 0;
    case kShowProblems:
        OnShowProblems();
        return 0;
    }
    return SecondaryWindow::handleMessage(msg, wp, lp);
}

} // namespace ww
