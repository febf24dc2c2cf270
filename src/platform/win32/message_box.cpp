#include "platform/win32/message_box.h"

namespace ww::win {

int messageBox(HWND owner, const std::wstring& text, const wchar_t* title, UINT flags) {
    // A hidden owner (the resident main window) gives the box no task-bar button and no claim to the front:
    // then it must put itself on top, or it may open unseen behind other windows.
    const bool ownerShown = owner && IsWindowVisible(owner);
    if (!ownerShown) flags |= MB_TOPMOST;
    return MessageBoxW(owner, text.c_str(), title, flags | MB_SETFOREGROUND);
}

} // namespace ww::win
