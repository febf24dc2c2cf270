#pragma once
// Base of the windows opened from the tray menu (editor, overview, pick list, help, first-start notice). Each
// exists at most once, is counted as a loaded window while it exists, keeps its layout at the monitor's DPI and
// gets dialog keyboard handling (Tab, access keys) from the program's message loop.
#include "platform/win32/window.h"
#include "ui/window_host.h"

namespace ww {

class SecondaryWindow : public win::Window {
public:
    explicit SecondaryWindow(WindowHost& host) : host_(host) {}
    // Creates, lays out and shows the window; false if it could not be created.
    virtual bool open() = 0;
    // A second request to open it only brings it back to the front.
    void bringToFront();
    // Tab, Alt+access key and the arrow keys move between controls, as in a dialog.
    virtual bool wantsDialogKeys() const { return true; }

protected:
    // Creates the HWND and counts the window as loaded; the owner is the program's hidden owner unless the window
    // wants a task-bar button.
    bool createSecondary(const wchar_t* className, DWORD exStyle, const wchar_t* title, DWORD style,
                         bool taskbarButton = false);
    LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    // Recreate fonts and place every control again; called after creation and after a DPI change.
    virtual void layout() {}
    void onDestroyed() override;

    WindowHost& host_;

private:
    void OnActivate(bool active, bool minimized);
    bool focusControl();

    bool loaded_ = false;
    HWND lastFocus_ = nullptr;
};

} // namespace ww
