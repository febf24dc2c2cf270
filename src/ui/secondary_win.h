#pragma once
// Base of the windows opened from the tray menu (editor, overview, pick list, help, first-start notice). Each
// exists at most once, is counted as a loaded window while it exists, keeps its layout at the monitor's DPI and
// gets dialog keyboard handling (Tab, access keys) from the program's message loop. One open sequence and one
// guarded close serve them all.
#include "ui/form_window_win.h"

namespace ww {

enum OpenFlag : unsigned {
    SystemPlaced = 1,       // where the system puts it; otherwise centred on its monitor's work area
    Topmost = 2,            // in the topmost band while open
    TaskbarButton = 4,      // otherwise owned by the program's hidden owner, which gives it none
    ReplacesMainWindow = 8, // the main window unloads while it is open and comes back when it closes
};

// How a secondary window opens: its class, title and styles, its client area in twips, and OpenFlags.
struct OpenSpec {
    const wchar_t* className;
    const wchar_t* title;
    DWORD style;
    DWORD exStyle;
    int width;
    int height;
    unsigned flags;
};

class SecondaryWindow : public FormWindow {
public:
    SecondaryWindow(WindowHost& host, const OpenSpec& opening, const ProblemsMessage& problems = {})
        : FormWindow(host, problems), opening_(opening) {}

    // Creates, fills, sizes and shows the window; false (and no window) if that failed.
    bool open();
    // A second request to open it only brings it back to the front.
    void bringToFront();

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

    OpenSpec opening_;
    HWND lastFocus_ = nullptr;
    bool closing_ = false;
};

} // namespace ww
