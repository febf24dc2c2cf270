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

// Handles for which null means "none", released by `Close`; and those for which INVALID_HANDLE_VALUE does.
template <typename H, auto Close> struct NullHandleTraits {
    static H invalid() { return nullptr; }
    static void close(H h) { Close(h); }
};
template <auto Close> struct InvalidHandleTraits {
    static HANDLE invalid() { return INVALID_HANDLE_VALUE; }
    static void close(HANDLE h) { Close(h); }
};

using UniqueFile = Unique<HANDLE, InvalidHandleTraits<::CloseHandle>>;
using UniqueFind = Unique<HANDLE, InvalidHandleTraits<::FindClose>>;
using UniqueWindow = Unique<HWND, NullHandleTraits<HWND, ::DestroyWindow>>;
using UniqueIcon = Unique<HICON, NullHandleTraits<HICON, ::DestroyIcon>>;
using UniqueMenu = Unique<HMENU, NullHandleTraits<HMENU, ::DestroyMenu>>;
using UniqueFont = Unique<HFONT, NullHandleTraits<HFONT, ::DeleteObject>>;
using UniqueBrush = Unique<HBRUSH, NullHandleTraits<HBRUSH, ::DeleteObject>>;
using UniqueDc = Unique<HDC, NullHandleTraits<HDC, ::DeleteDC>>; // a DC of our own (CreateDC), not a window's
using UniqueGlobal = Unique<HGLOBAL, NullHandleTraits<HGLOBAL, ::GlobalFree>>;
using UniqueHook = Unique<HHOOK, NullHandleTraits<HHOOK, ::UnhookWindowsHookEx>>;

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
