#include "platform/win32/win_clipboard.h"

#include "platform/win32/handles.h"

#include <cstring>

namespace ww::win {

bool Win32Clipboard::open() {
    return OpenClipboard(owner_) != FALSE;
}

bool Win32Clipboard::replaceText(std::wstring_view text) {
    // The memory is filled before the clipboard is emptied, so a failed allocation leaves it as it was.
    UniqueGlobal memory(GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t)));
    if (!memory) return false;
    auto* chars = static_cast<wchar_t*>(GlobalLock(memory.get()));
    if (!chars) return false;
    std::memcpy(chars, text.data(), text.size() * sizeof(wchar_t));
    chars[text.size()] = L'\0';
    GlobalUnlock(memory.get());
    // Unicode only: the system offers the ANSI and OEM forms itself, so umlauts paste right everywhere.
    if (!EmptyClipboard() || !SetClipboardData(CF_UNICODETEXT, memory.get())) return false;
    memory.release(); // the clipboard owns it now
    return true;
}

void Win32Clipboard::close() {
    CloseClipboard();
}

void Win32Clipboard::wait(std::chrono::milliseconds pause) {
    Sleep(static_cast<DWORD>(pause.count()));
}

} // namespace ww::win
