#include "windows/form7_win.h"

#include "platform/win32/dpi.h"
#include "windows/form7.h"

namespace ww {

// The load step: both files read; the list shows them until the window is closed or reloads.
bool Form7::open() {
    const auto lines = readOverview(host_.files(), host_.codec(), &problems_);
    return openList(L"WortwerkForm7", kForm7Title, lines, kForm7ClientWidth, kForm7ClientHeight, true);
}

void Form7::reload() {
    if (!hwnd()) return;
    problems_.clear();
    showLines(readOverview(host_.files(), host_.codec(), &problems_));
}

win::UniqueFont Form7::listFont() {
    return win::createFont(hwnd(), kForm7FontFace, kForm7FontCentiPoints, false);
}

} // namespace ww
