#include "platform/win32/dpi.h"

#include "platform/win32/window.h"

namespace ww::win {

UINT dpiOf(HWND window) {
    UINT dpi = window ? GetDpiForWindow(window) : 0;
    if (dpi == 0) dpi = GetDpiForSystem();
    return dpi ? dpi : 96;
}

HWND createControl(HWND parent, const wchar_t* className, const wchar_t* text, DWORD style, int id, DWORD exStyle) {
    return CreateWindowExW(exStyle, className, text, WS_CHILD | style, 0, 0, 0, 0, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance(), nullptr);
}

void place(HWND control, const Twips& tw, const TwipsRect& r) {
    MoveWindow(control, tw(r.left), tw(r.top), tw(r.width), tw(r.height), TRUE);
}

void setClientSize(HWND window, int widthTwips, int heightTwips, bool centre) {
    const Twips tw(window);
    RECT r{0, 0, tw(widthTwips), tw(heightTwips)};
    AdjustWindowRectExForDpi(&r, static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE)), FALSE,
                             static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE)), tw.dpi());
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
    int x = 0, y = 0;
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    if (centre && GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &mi)) {
        x = mi.rcWork.left + (mi.rcWork.right - mi.rcWork.left - width) / 2;
        y = mi.rcWork.top + (mi.rcWork.bottom - mi.rcWork.top - height) / 2;
    } else {
        flags |= SWP_NOMOVE;
    }
    SetWindowPos(window, nullptr, x, y, width, height, flags);
}

UniqueFont createFont(HWND window, const wchar_t* face, int centiPoints, bool bold) {
    LOGFONTW lf{};
    lf.lfHeight = fontHeightForCentiPoints(centiPoints, dpiOf(window));
    lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = CLEARTYPE_QUALITY;
    lstrcpynW(lf.lfFaceName, face, LF_FACESIZE);
    return UniqueFont(CreateFontIndirectW(&lf));
}

UniqueFont createMessageFont(HWND window, bool bold) {
    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = sizeof ncm;
    if (!SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0, dpiOf(window)))
        return createFont(window, L"Segoe UI", 900, bold);
    if (bold) ncm.lfMessageFont.lfWeight = FW_BOLD;
    return UniqueFont(CreateFontIndirectW(&ncm.lfMessageFont));
}

void setFont(HWND control, HFONT font) {
    if (control && font) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

void setTopmost(HWND window, bool on) {
    SetWindowPos(window, on ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

} // namespace ww::win
