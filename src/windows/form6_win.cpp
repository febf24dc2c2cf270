#include "windows/form6_win.h"

#include "platform/clipboard.h"
#include "platform/win32/dpi.h"
#include "platform/win32/win_clipboard.h"
#include "windows/form6.h"

namespace ww {

// The load step: tipp.dat read once; the system places the window.
bool Form6::open() {
    lines_ = readPickList(host_.files(), host_.codec(), &problems_);
    if (!openList(L"WortwerkForm6", kForm6Title, lines_, kForm6ClientWidth, kForm6ClientHeight, false)) return false;
    host_.replaceMainWindow();
    return true;
}

win::UniqueFont Form6::listFont() {
    return win::createMessageFont(hwnd());
}

// Every selection change, by mouse or keyboard. A clipboard that stays busy is left as it was, with a beep.
void Form6::OnSelChange() {
    const auto text = clipboardText(lines_, static_cast<int>(SendMessageW(List1, LB_GETCURSEL, 0, 0)));
    if (!text) return;
    win::Win32Clipboard clipboard(hwnd());
    if (putText(clipboard, *text) != CopyResult::Copied) MessageBeep(MB_ICONWARNING);
}

// Close box, Alt+F4, system menu, the end of the session or a close request from elsewhere: the main window comes
// back first, so the program never runs out of windows in between.
void Form6::OnClose() {
    host_.bringBackMainWindow();
    DestroyWindow(hwnd());
}

LRESULT Form6::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_COMMAND:
        if (LOWORD(wp) == kList1Id && HIWORD(wp) == LBN_SELCHANGE) OnSelChange();
        return 0;
    case WM_CLOSE:
        OnClose();
        return 0;
    case WM_ENDSESSION:
        if (wp) OnClose();
        return 0;
    }
    return ListWindow::handleMessage(msg, wp, lp);
}

} // namespace ww
