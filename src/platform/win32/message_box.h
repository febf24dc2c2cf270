#pragma once
// Every message box of the program goes through here, so none can open behind other windows.
#include <windows.h>

#include <string>

namespace ww::win {

int messageBox(HWND owner, const std::wstring& text, const wchar_t* title, UINT flags);

} // namespace ww::win
