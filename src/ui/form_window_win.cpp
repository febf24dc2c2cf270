#include "ui/form_window_win.h"

#include "../res/resource.h"
#include "platform/win32/dpi.h"
#include "platform/win32/message_box.h"
#include "ui/messages.h"

namespace ww {

bool FormWindow::createForm(const wchar_t* className, DWORD exStyle, const wchar_t* title, DWORD style, HWND owner) {
    // The class, and so its icon, outlives every window.
    HICON icon = static_cast<HICON>(
        LoadImageW(win::instance(), MAKEINTRESOURCEW(IDI_HAND_ICON), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
    if (!create(className, exStyle, title, style, CW_USEDEFAULT, CW_USEDEFAULT, 0, 0, owner, icon)) return false;
    loaded_ = true;
    host_.loaded();
    return true;
}

void FormWindow::onDestroyed() {
    if (!loaded_) return;
    loaded_ = false;
    host_.destroyed(*this); // may release this object later, never during this call
}

void FormWindow::showProblemsLater() {
    if (!problems_.empty()) PostMessageW(hwnd(), kShowProblems, 0, 0);
}

LRESULT FormWindow::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CREATE:
        dpi_ = win::dpiOf(hwnd());
        if (!controls_.create(hwnd(), controlTable()) || !onCreate()) return -1;
        layout();
        return 0;
    case WM_DPICHANGED: {
        dpi_ = HIWORD(wp) ? HIWORD(wp) : 96;
        const auto* r = reinterpret_cast<const RECT*>(lp);
        SetWindowPos(hwnd(), nullptr, r->left, r->top, r->right - r->left, r->bottom - r->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        layout();
        // Whatever is painted in pixels of the old scale is drawn again.
        InvalidateRect(hwnd(), nullptr, TRUE);
        return 0;
    }
    case WM_QUERYENDSESSION:
        return TRUE;
    case WM_ENDSESSION:
        if (wp) endSession();
        return 0;
    case kShowProblems: {
        const ProblemsMessage& m = problemsMessage_;
        std::wstring text = m.intro;
        for (const auto& p : problems_)
            text += L"\n" + p;
        win::messageBox(hwnd(), text + m.outro, L"Wortwerk", m.flags);
        return 0;
    }
    }
    return defaultProc(msg, wp, lp);
}

} // namespace ww
