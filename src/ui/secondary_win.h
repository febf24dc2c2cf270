#pragma once
// Base of the windows opened from the tray menu (editor, overview, pick list, help, first-start notice). Each
// exists at most once, is counted as a loaded window while it exists, keeps its layout at the monitor's DPI and
// gets dialog keyboard handling (Tab, access keys) from the program's message loop. One open sequence and one
// guarded close serve them all.
#include "ui/form_window_win.h"

namespace ww {

// How a secondary window opens.
struct OpenSpec {
    const wchar_t* className;
    const wchar_t* title;
    DWORD style;
    DWORD exStyle = 0;
    int width = 0; // client area in twips
    int height = 0;
    bool centre = true;              // on its monitor's work area; otherwise where the system places it
    bool topmost = false;            // in the topmost band while open
    bool taskbarButton = false;      // else owned by the program's hidden owner
    bool replacesMainWindow = false; // the main window unloads while it is open and comes back when it closes
};

class SecondaryWindow : public FormWindow {
public:
    SecondaryWindow(WindowHost& host, const OpenSpec& spec) : FormWindow(host), spec_(spec) {}

    // Creates, fills, sizes and shows the window; false (and no window) if that failed.
    bool open();
    // A second request to open it only brings it back to the front.
    void bringToFront();
    // Tab, Alt+access key and the arrow keys move between controls, as in a dialog.
    virtual bool wantsDialogKeys() const { return true; }

protected:
    // Before the window shows: its contents; false closes it again.
    virtual bool fill() { return true; }
    // Once it shows and has the foreground.
    virtual void opened() {}
    // The close box, Alt+F4, the system menu, or another program asking.
    virtual void requestClose() { close(); }
    // Every way out ends here, once: the main window comes back first, so the program never runs out of windows.
    void close();
    bool closing() const { return closing_; }
    // The window is about to go: its timers stop.
    virtual void onClosing() {}
    void endSession() override { close(); }
    LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void OnActivate(bool active, bool minimized);
    bool focusControl();

    OpenSpec spec_;
    HWND lastFocus_ = nullptr;
    bool closing_ = false;
};

} // namespace ww
