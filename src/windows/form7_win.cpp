#include "windows/form7_win.h"

#include "platform/win32/dpi.h"
#include "windows/form7.h"

namespace ww {

Form7::Form7(WindowHost& host)
    : ListWindow(host, {.className = L"WortwerkForm7",
                        .title = kForm7Title,
                        .style = WS_OVERLAPPEDWINDOW,
                        .width = kForm7ClientWidth,
                        .height = kForm7ClientHeight,
                        .topmost = true,
                        .taskbarButton = true}) {}

// The load step: both files read; the list shows them until the window is closed or reloads.
bool Form7::fill() {
    lines_ = readOverview(host_.files(), host_.codec(), &problems_);
    return ListWindow::fill();
}

void Form7::reload() {
    if (!hwnd()) return;
    problems_.clear();
    lines_ = readOverview(host_.files(), host_.codec(), &problems_);
    showLines();
}

win::UniqueFont Form7::listFont() {
    return win::createFont(hwnd(), kForm7FontFace, kForm7FontCentiPoints, false);
}

} // namespace ww
