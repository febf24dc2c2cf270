#include "windows/form6_win.h"

#include "platform/clipboard.h"
#include "platform/win32/dpi.h"
#include "platform/win32/win_clipboard.h"
#include "windows/form6.h"

namespace ww {

// The system places the window.
Form6::Form6(WindowHost& host)
    : ListWindow(host, {.className = L"WortwerkForm6",
                        .title = kForm6Title,
                        .style = WS_OVERLAPPEDWINDOW,
                        .width = kForm6ClientWidth,
                        .height = kForm6ClientHeight,
                        .centre = false,
                        .topmost = true,
                        .taskbarButton = true,
                        .replacesMainWindow = true}) {}

// The load step: tipp.dat read once.
bool Form6::fill() {
    lines_ = readPickList(host_.files(), host_.codec(), &problems_);
    return ListWindow::fill();
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

LRESULT Form6::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_COMMAND) {
        if (LOWORD(wp) == kList1Id && HIWORD(wp) == LBN_SELCHANGE) OnSelChange();
        return 0;
    }
    return ListWindow::handleMessage(msg, wp, lp);
}

} // namespace ww
