#include "ui/secondary_win.h"

#include "platform/win32/dpi.h"

namespace ww {

bool SecondaryWindow::open() {
    HWND owner = (opening_.flags & TaskbarButton) ? nullptr : host_.owner();
    if (!createForm(opening_.className, opening_.exStyle | WS_EX_CONTROLPARENT, opening_.title, opening_.style, owner))
        return false;
    if (opening_.flags & Topmost) win::setTopmost(hwnd(), true);
    if (!fill()) {
        DestroyWindow(hwnd());
        return false;
    }
    win::setClientSize(hwnd(), dpi_, opening_.width, opening_.height, !(opening_.flags & SystemPlaced));
    ShowWindow(hwnd(), SW_SHOWNORMAL);
    SetForegroundWindow(hwnd());
    opened();
    showProblemsLater();
    if (opening_.flags & ReplacesMainWindow) host_.replaceMainWindow();
    return true;
}

void SecondaryWindow::bringToFront() {
    if (IsIconic(hwnd())) ShowWindow(hwnd(), SW_RESTORE);
    ShowWindow(hwnd(), SW_SHOW);
    SetForegroundWindow(hwnd());
}

void SecondaryWindow::close() {
    if (closing_) return;
    closing_ = true;
    onClosing();
    if (opening_.flags & Topmost) win::setTopmost(hwnd(), false);
    if (opening_.flags & ReplacesMainWindow) host_.bringBackMainWindow();
    DestroyWindow(hwnd());
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
    case WM_CLOSE:
        requestClose();
        return 0;
    }
    return FormWindow::handleMessage(msg, wp, lp);
}

} // namespace ww
