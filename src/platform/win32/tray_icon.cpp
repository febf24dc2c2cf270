#include "platform/win32/tray_icon.h"

#include <cwchar>
#include <iterator>

namespace ww::win {

void TrayIcon::setup(HWND receiver, UINT id, UINT callbackMessage, HICON icon, const wchar_t* tip) {
    data_ = NOTIFYICONDATAW{};
    data_.cbSize = sizeof data_;
    data_.hWnd = receiver;
    data_.uID = id;
    data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data_.uCallbackMessage = callbackMessage;
    data_.hIcon = icon;
    wcsncpy(data_.szTip, tip, std::size(data_.szTip) - 1);
}

bool TrayIcon::add() {
    if (!data_.hWnd) return false;
    // After Explorer restarted, the old icon is gone; a failed add of a still-known icon means "already there".
    shown_ = Shell_NotifyIconW(NIM_ADD, &data_) != FALSE;
    if (!shown_) shown_ = Shell_NotifyIconW(NIM_MODIFY, &data_) != FALSE;
    return shown_;
}

void TrayIcon::setIcon(HICON icon) {
    data_.hIcon = icon;
    if (shown_) Shell_NotifyIconW(NIM_MODIFY, &data_);
}

void TrayIcon::remove() {
    if (data_.hWnd) Shell_NotifyIconW(NIM_DELETE, &data_);
    shown_ = false;
}

} // namespace ww::win
