#include "platform/win32/window.h"

namespace ww::win {

HINSTANCE instance() {
    return GetModuleHandleW(nullptr);
}

Window::~Window() {
    if (hwnd_) {
        // The object goes first: detach so late messages do not reach a destroyed object.
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
}

bool Window::create(const wchar_t* className, DWORD exStyle, const wchar_t* title, DWORD style, int x, int y, int width,
                    int height, HWND owner, HICON icon) {
    WNDCLASSEXW wc{};
    if (!GetClassInfoExW(instance(), className, &wc)) {
        wc = WNDCLASSEXW{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = &Window::proc;
        wc.hInstance = instance();
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = className;
        wc.hIcon = icon;
        wc.hIconSm = icon;
        if (!RegisterClassExW(&wc)) return false;
    }
    return CreateWindowExW(exStyle, className, title, style, x, y, width, height, owner, nullptr, instance(), this) !=
           nullptr;
}

LRESULT Window::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    return defaultProc(msg, wp, lp);
}

LRESULT CALLBACK Window::proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        self->onDestroyed();
        return DefWindowProcW(hwnd, msg, wp, lp);
    }
    return self->handleMessage(msg, wp, lp);
}

} // namespace ww::win
