#include "platform/win32/dpi.h"

#include "platform/win32/system_library.h"
#include "platform/win32/window.h"

namespace ww::win {

namespace {

// The per-monitor functions of Windows 10 1607 and later, looked up once. Older systems lack them; there the
// manifest makes the program system-DPI aware, so one DPI for the whole screen is right.
struct DpiFunctions {
    UINT(WINAPI* forWindow)(HWND);
    UINT(WINAPI* forSystem)();
    int(WINAPI* systemMetrics)(int, UINT);
    BOOL(WINAPI* adjustWindowRect)(RECT*, DWORD, BOOL, DWORD, UINT);
    BOOL(WINAPI* parametersInfo)(UINT, UINT, void*, UINT, UINT);
};

const DpiFunctions& dpiFunctions() {
    static const DpiFunctions functions = [] {
        const HMODULE user = GetModuleHandleW(L"user32.dll");
        DpiFunctions f{};
        f.forWindow = systemFunction<decltype(f.forWindow)>(user, "GetDpiForWindow");
        f.forSystem = systemFunction<decltype(f.forSystem)>(user, "GetDpiForSystem");
        f.systemMetrics = systemFunction<decltype(f.systemMetrics)>(user, "GetSystemMetricsForDpi");
        f.adjustWindowRect = systemFunction<decltype(f.adjustWindowRect)>(user, "AdjustWindowRectExForDpi");
        f.parametersInfo = systemFunction<decltype(f.parametersInfo)>(user, "SystemParametersInfoForDpi");
        return f;
    }();
    return functions;
}

UINT screenDpi() {
    const ScopedDc screen(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
    return dpi > 0 ? static_cast<UINT>(dpi) : 0;
}

// Grows the client rectangle `r` to the window rectangle for the window's styles at `dpi`.
void adjustWindowRect(HWND window, RECT* r, UINT dpi) {
    const auto style = static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE));
    const DpiFunctions& f = dpiFunctions();
    if (f.adjustWindowRect)
        f.adjustWindowRect(r, style, FALSE, exStyle, dpi);
    else
        AdjustWindowRectEx(r, style, FALSE, exStyle);
}

// The non-client metrics (message font, caption sizes) at `dpi`; false when the system gives none.
bool nonClientMetrics(NONCLIENTMETRICSW* ncm, UINT dpi) {
    *ncm = NONCLIENTMETRICSW{};
    ncm->cbSize = sizeof *ncm;
    const DpiFunctions& f = dpiFunctions();
    return (f.parametersInfo ? f.parametersInfo(SPI_GETNONCLIENTMETRICS, sizeof *ncm, ncm, 0, dpi)
                             : SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof *ncm, ncm, 0)) != FALSE;
}

} // namespace

UINT dpiOf(HWND window) {
    const DpiFunctions& f = dpiFunctions();
    UINT dpi = window && f.forWindow ? f.forWindow(window) : 0;
    if (dpi == 0) dpi = f.forSystem ? f.forSystem() : screenDpi();
    return dpi ? dpi : 96;
}

int systemMetric(int index, UINT dpi) {
    const DpiFunctions& f = dpiFunctions();
    return f.systemMetrics ? f.systemMetrics(index, dpi) : GetSystemMetrics(index);
}

HWND createControl(HWND parent, const wchar_t* className, const wchar_t* text, DWORD style, int id, DWORD exStyle) {
    return CreateWindowExW(exStyle, className, text, WS_CHILD | style, 0, 0, 0, 0, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance(), nullptr);
}

void place(HWND control, const Twips& tw, const TwipsRect& r) {
    MoveWindow(control, tw(r.left), tw(r.top), tw(r.width), tw(r.height), TRUE);
}

void setClientSize(HWND window, UINT dpi, int widthTwips, int heightTwips, bool centre) {
    const Twips tw(dpi);
    RECT r{0, 0, tw(widthTwips), tw(heightTwips)};
    adjustWindowRect(window, &r, tw.dpi());
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

UniqueFont createFont(const FontSpec& font, UINT dpi) {
    NONCLIENTMETRICSW ncm;
    if (!font.face && nonClientMetrics(&ncm, dpi)) {
        if (font.bold) ncm.lfMessageFont.lfWeight = FW_BOLD;
        return UniqueFont(CreateFontIndirectW(&ncm.lfMessageFont));
    }
    LOGFONTW lf{};
    lf.lfHeight = fontHeightForCentiPoints(font.face ? font.centiPoints : 900, dpi);
    lf.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = CLEARTYPE_QUALITY;
    lstrcpynW(lf.lfFaceName, font.face ? font.face : L"Segoe UI", LF_FACESIZE);
    return UniqueFont(CreateFontIndirectW(&lf));
}

void setFont(HWND control, HFONT font) {
    if (control && font) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

void setTopmost(HWND window, bool on) {
    SetWindowPos(window, on ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

} // namespace ww::win
