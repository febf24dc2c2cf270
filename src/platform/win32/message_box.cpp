#include "platform/win32/message_box.h"

#include "platform/win32/handles.h"

#include <cwchar>

namespace ww::win {

namespace {

// Wine ignores MB_TOPMOST for a box with an owner; the box puts itself into the topmost band as it activates.
LRESULT CALLBACK raiseBox(int code, WPARAM wp, LPARAM lp) {
    if (code == HCBT_ACTIVATE) {
        auto box = reinterpret_cast<HWND>(wp);
        wchar_t cls[8] = {};
        if (GetClassNameW(box, cls, 8) && wcscmp(cls, L"#32770") == 0)
            SetWindowPos(box, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}

} // namespace

int messageBox(HWND owner, const std::wstring& text, const wchar_t* title, UINT flags) {
    // A hidden owner (the resident main window) gives the box no task-bar button and no claim to the front:
    // then it must put itself on top, or it may open unseen behind other windows.
    if (!owner || !IsWindowVisible(owner)) flags |= MB_TOPMOST;
    UniqueHook hook;
    if (flags & MB_TOPMOST) hook.reset(SetWindowsHookExW(WH_CBT, raiseBox, nullptr, GetCurrentThreadId()));
    return MessageBoxW(owner, text.c_str(), title, flags | MB_SETFOREGROUND);
}

} // namespace ww::win
