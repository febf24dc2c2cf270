#pragma once
// Base for the program's windows: owns the HWND and routes its messages to the derived class's handler.
#include "platform/win32/handles.h"

#include <string>

namespace ww::win {

class Window {
public:
    Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    virtual ~Window();

    HWND hwnd() const { return hwnd_; }

protected:
    // Registers `className` once per process and creates the window; false (with GetLastError) on failure.
    bool create(const wchar_t* className, DWORD exStyle, const wchar_t* title, DWORD style, int x, int y, int width,
                int height, HWND owner, HICON icon = nullptr);
    virtual LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp);
    LRESULT defaultProc(UINT msg, WPARAM wp, LPARAM lp) { return DefWindowProcW(hwnd_, msg, wp, lp); }
    // Called once the HWND is gone (WM_NCDESTROY); the object may be released from here on.
    virtual void onDestroyed() {}

private:
    static LRESULT CALLBACK proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    HWND hwnd_ = nullptr;
};

HINSTANCE instance();

} // namespace ww::win
