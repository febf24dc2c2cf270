#include "ui/secondary_win.h"

#include "../res/resource.h"

namespace ww {

void SecondaryWindow::bringToFront() {
    if (!hwnd()) return;
    if (IsIconic(hwnd())) ShowWindow(hwnd(), SW_RESTORE);
    ShowWindow(hwnd(), SW_SHOW);
    SetForegroundWindow(hwnd());
}

bool SecondaryWindow::createSecondary(const wchar_t* className, DWORD exStyle, const wchar_t* title, DWORD style,
                                      bool taskbarButton) {
    HICON icon = static_cast<HICON>(
        LoadImageW(win::instance(), MAKEINTRESOURCEW(IDI_HAND_ICON), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
    HWND owner = taskbarButton ? nullptr : host_.owner();
    if (!create(className, exStyle | WS_EX_CONTROLPARENT, title, style, CW_USEDEFAULT, CW_USEDEFAULT, 0, 0, owner,
                icon))
        return false;
    loaded_ = true;
    host_.loaded();
    layout();
    return true;
}

void SecondaryWindow::onDestroyed() {
    if (!loaded_) return;
    loaded_ = false;
    host_.destroyed(*this); // may release this object later, never during this call
}

// As the dialog manager does it: leaving, the window remembers which of its controls has the focus; coming back, that
// control gets it again, so Enter and Space act on it without a Tab first.
void SecondaryWindow::OnActivate(bool active, bool minimized) {
    if (!active) {
        HWND focus = GetFocus();
        if (focus && IsChild(hwnd(), focus)) lastFocus_ = focus;
    } else if (!minimized && !focusControl()) {
        SetFocus(hwnd());
    }
}

// The remembered control, or the first one Tab reaches when it is gone, hidden or disabled; false if there is none.
bool SecondaryWindow::focusControl() {
    HWND target = lastFocus_;
    if (!target || !IsChild(hwnd(), target) || !IsWindowVisible(target) || !IsWindowEnabled(target))
        target = GetNextDlgTabItem(hwnd(), nullptr, FALSE);
    if (!target) return false;
    SetFocus(target);
    return true;
}

LRESULT SecondaryWindow::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_ACTIVATE:
        OnActivate(LOWORD(wp) != WA_INACTIVE, HIWORD(wp) != 0);
        return 0;
    case WM_SETFOCUS: // the frame itself got the focus, for example when restored from the task bar
        focusControl();
        return 0;
    case WM_DPICHANGED: {
        const auto* r = reinterpret_cast<const RECT*>(lp);
        SetWindowPos(hwnd(), nullptr, r->left, r->top, r->right - r->left, r->bottom - r->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        layout();
        InvalidateRect(hwnd(), nullptr, TRUE);
        return 0;
    }
    }
    return defaultProc(msg, wp, lp);
}

} // namespace ww
