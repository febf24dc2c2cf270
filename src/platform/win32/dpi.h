#pragma once
// Shared layout helpers for the program's windows: twips and point sizes at the window's DPI, placing controls,
// sizing and centring a window by its client area.
#include "platform/twips.h"
#include "platform/win32/handles.h"

namespace ww::win {

// The window's DPI; the screen's where Windows knows no DPI per monitor.
UINT dpiOf(HWND window);
// The system metric `index` at `dpi`.
int systemMetric(int index, UINT dpi);
// Grows the client rectangle `r` to the window rectangle for the window's styles at `dpi`.
void adjustWindowRect(HWND window, RECT* r, UINT dpi);
// The non-client metrics (message font, caption sizes) at `dpi`; false when the system gives none.
bool nonClientMetrics(NONCLIENTMETRICSW* ncm, UINT dpi);

// Converts twips for one window at its current DPI; make a new one after WM_DPICHANGED.
class Twips {
public:
    explicit Twips(HWND window) : dpi_(dpiOf(window)) {}
    int operator()(int twips) const { return twipsToPixels(twips, dpi_); }
    UINT dpi() const { return dpi_; }

private:
    UINT dpi_;
};

HWND createControl(HWND parent, const wchar_t* className, const wchar_t* text, DWORD style, int id, DWORD exStyle = 0);
void place(HWND control, const Twips& tw, const TwipsRect& r);
// Sizes the window so that its client area is width x height twips; with `centre`, centres it on its monitor's
// work area.
void setClientSize(HWND window, int widthTwips, int heightTwips, bool centre);
// A font of `face` at `centiPoints` (825 = 8.25 pt) for the window's DPI.
UniqueFont createFont(HWND window, const wchar_t* face, int centiPoints, bool bold);
// The system's message font at the window's DPI, as dialogs use it.
UniqueFont createMessageFont(HWND window, bool bold = false);
void setFont(HWND control, HFONT font);
// Topmost band in or out, without moving or sizing.
void setTopmost(HWND window, bool on);

} // namespace ww::win
