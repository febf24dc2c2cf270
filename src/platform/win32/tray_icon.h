#pragma once
// The notification-area icon: one record, used for adding, re-adding and deleting.
#include <windows.h>
#include <shellapi.h>

namespace ww::win {

class TrayIcon {
public:
    TrayIcon() = default;
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;
    ~TrayIcon() { remove(); }

    // Fills the record; nothing is shown yet.
    void setup(HWND receiver, UINT id, UINT callbackMessage, HICON icon, const wchar_t* tip);
    bool add();               // false if the shell refused (no task bar yet); call again on "TaskbarCreated"
    void setIcon(HICON icon); // a shown icon changes at once
    void remove();            // deleting an icon that is not there is harmless

private:
    NOTIFYICONDATAW data_{};
    bool shown_ = false;
};

} // namespace ww::win
