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

// Converts twips to pixels at one DPI.
class Twips {
public:
    explicit Twips(UINT dpi) : dpi_(dpi) {}
    int operator()(int twips) const { return mulDivRounded(twips, static_cast<int>(dpi_), 1440); }
    UINT dpi() const { return dpi_; }

private:
    UINT dpi_;
};

HWND createControl(HWND parent, const wchar_t* className, const wchar_t* text, DWORD style, int id, DWORD exStyle = 0);
void place(HWND control, const Twips& tw, const TwipsRect& r);
// Sizes the window so that its client area is width x height twips at `dpi`; with `centre`, centres it on its
// monitor's work area.
void setClientSize(HWND window, UINT dpi, int widthTwips, int heightTwips, bool centre);
// The font at `dpi`.
UniqueFont createFont(const FontSpec& font, UINT dpi);
void setFont(HWND control, HFONT font);
// Topmost band in or out, without moving or sizing.
void setTopmost(HWND window, bool on);

} // namespace ww::win
