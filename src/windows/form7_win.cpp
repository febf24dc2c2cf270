#include "windows/form7_win.h"

#include "platform/win32/ansi_codec.h"
#include "platform/win32/dpi.h"
#include "platform/win32/win_file_store.h"
#include "windows/form7.h"
#include "windows/list_box_win.h"

namespace ww {

namespace {
constexpr UINT kShowProblems = WM_APP + 3;
} // namespace

// Sizable with minimize and maximize boxes; its own task-bar button, or once minimized it could not be reached.
bool Form7::open() {
    if (!createSecondary(L"WortwerkForm7", 0, kForm7Title, WS_OVERLAPPEDWINDOW, true)) return false;
    win::setTopmost(hwnd(), true);
    win::Win32FileStore files;
    win::AnsiCodec codec;
    if (!win::fillList(List1, readOverview(files, codec, &problems_))) {
        DestroyWindow(hwnd());
        return false;
    }
    win::setClientSize(hwnd(), kForm7ClientWidth, kForm7ClientHeight, true);
    ShowWindow(hwnd(), SW_SHOWNORMAL);
    SetForegroundWindow(hwnd());
    if (!problems_.empty()) PostMessageW(hwnd(), kShowProblems, 0, 0);
    return true;
}

bool Form7::OnCreate() {
    List1 = win::createList(hwnd());
    return List1 != nullptr;
}

void Form7::layout() {
    auto font = win::createFont(hwnd(), kForm7FontFace, kForm7FontCentiPoints, false);
    win::setFont(List1, font.get());
    font_ = std::move(font);
    win::placeList(hwnd(), List1);
}

void Form7::OnSize(WPARAM kind) {
    if (kind != SIZE_MINIMIZED) win::placeList(hwnd(), List1);
}

void Form7::OnShowProblems() {
    win::showReadProblems(hwnd(), problems_);
}

LRESULT Form7::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CREATE:
        return OnCreate() ? 0 : -1;
    case WM_SIZE:
        OnSize(wp);
        return 0;
    case WM_SETFOCUS:
        SetFocus(List1);
        return 0;
    case WM_ENDSESSION:
        if (wp) DestroyWindow(hwnd()); // the session ends: nothing is left to keep the program running for
        return 0;
    case kShowProblems:
        OnShowProblems();
        return 0;
    }
    return SecondaryWindow::handleMessage(msg, wp, lp);
}

} // namespace ww
