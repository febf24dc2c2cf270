#pragma once
// Move-only owners for Win32 handles: each handle has exactly one owner that releases it.
#include <windows.h>

#include <utility>

namespace ww::win {

template <typename H, typename Traits> class Unique {
public:
    Unique() = default;
    explicit Unique(H h) : h_(h) {}
    Unique(const Unique&) = delete;
    Unique& operator=(const Unique&) = delete;
    Unique(Unique&& o) noexcept : h_(std::exchange(o.h_, Traits::invalid())) {}
    Unique& operator=(Unique&& o) noexcept {
        if (this != &o) reset(std::exchange(o.h_, Traits::invalid()));
        return *this;
    }
    ~Unique() { reset(); }

    H get() const { return h_; }
    explicit operator bool() const { return h_ != Traits::invalid(); }
    H release() { return std::exchange(h_, Traits::invalid()); }
    void reset(H h = Traits::invalid()) {
        if (h_ != Traits::invalid()) Traits::close(h_);
        h_ = h;
    }

private:
    H h_ = Traits::invalid();
};

struct FileHandleTraits {
    static HANDLE invalid() { return INVALID_HANDLE_VALUE; }
    static void close(HANDLE h) { ::CloseHandle(h); }
};
struct WindowTraits {
    static HWND invalid() { return nullptr; }
    static void close(HWND h) { ::DestroyWindow(h); }
};
struct IconTraits {
    static HICON invalid() { return nullptr; }
    static void close(HICON h) { ::DestroyIcon(h); }
};
struct MenuTraits {
    static HMENU invalid() { return nullptr; }
    static void close(HMENU h) { ::DestroyMenu(h); }
};
struct FontTraits {
    static HFONT invalid() { return nullptr; }
    static void close(HFONT h) { ::DeleteObject(h); }
};
struct BrushTraits {
    static HBRUSH invalid() { return nullptr; }
    static void close(HBRUSH h) { ::DeleteObject(h); }
};

struct FindHandleTraits {
    static HANDLE invalid() { return INVALID_HANDLE_VALUE; }
    static void close(HANDLE h) { ::FindClose(h); }
};
struct DcTraits {
    static HDC invalid() { return nullptr; }
    static void close(HDC h) { ::DeleteDC(h); }
};
struct GlobalTraits {
    static HGLOBAL invalid() { return nullptr; }
    static void close(HGLOBAL h) { ::GlobalFree(h); }
};
struct HookTraits {
    static HHOOK invalid() { return nullptr; }
    static void close(HHOOK h) { ::UnhookWindowsHookEx(h); }
};

using UniqueFile = Unique<HANDLE, FileHandleTraits>;
using UniqueFind = Unique<HANDLE, FindHandleTraits>;
using UniqueWindow = Unique<HWND, WindowTraits>;
using UniqueIcon = Unique<HICON, IconTraits>;
using UniqueMenu = Unique<HMENU, MenuTraits>;
using UniqueFont = Unique<HFONT, FontTraits>;
using UniqueBrush = Unique<HBRUSH, BrushTraits>;
using UniqueDc = Unique<HDC, DcTraits>; // a DC of our own (CreateDC), not a window's
using UniqueGlobal = Unique<HGLOBAL, GlobalTraits>;
using UniqueHook = Unique<HHOOK, HookTraits>;

// A window's DC (the screen's for null) for one scope, with `selected` (a font, say) selected into it till then.
class ScopedDc {
public:
    explicit ScopedDc(HWND window, HGDIOBJ selected = nullptr)
        : window_(window), dc_(::GetDC(window)), previous_(dc_ && selected ? ::SelectObject(dc_, selected) : nullptr) {}
    ScopedDc(const ScopedDc&) = delete;
    ScopedDc& operator=(const ScopedDc&) = delete;
    ~ScopedDc() {
        if (previous_ && previous_ != HGDI_ERROR) ::SelectObject(dc_, previous_);
        if (dc_) ::ReleaseDC(window_, dc_);
    }
    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HWND window_;
    HDC dc_;
    HGDIOBJ previous_;
};

// The clipboard, open for one scope.
class ClipboardLock {
public:
    explicit ClipboardLock(HWND owner) : open_(::OpenClipboard(owner) != FALSE) {}
    ClipboardLock(const ClipboardLock&) = delete;
    ClipboardLock& operator=(const ClipboardLock&) = delete;
    ~ClipboardLock() {
        if (open_) ::CloseClipboard();
    }
    explicit operator bool() const { return open_; }

private:
    bool open_;
};

} // namespace ww::win
