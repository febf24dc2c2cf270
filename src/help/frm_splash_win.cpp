#include "help/frm_splash_win.h"

#include "platform/win32/dpi.h"
#include "ui/control_ids.h"

namespace ww {

namespace {

COLORREF colour(HelpColour c) {
    return RGB(c.r, c.g, c.b);
}

} // namespace

// No title bar, no system menu: a fixed dialog border only.
FrmSplash::FrmSplash(WindowHost& host)
    : SecondaryWindow(host, {L"WortwerkFrmSplash", L"", WS_POPUP | WS_DLGFRAME | WS_CLIPCHILDREN, WS_EX_DLGMODALFRAME,
                             kSplashWidth, kSplashHeight, Topmost | ReplacesMainWindow}),
      frameBrush_(CreateSolidBrush(colour(kFrameColour))) {}

void FrmSplash::opened() {
    timer1_.attach(hwnd());
    timer1_.setEnabled(true);
}

// The button shows once the text is typed.
std::vector<ControlRow> FrmSplash::controlTable() {
    return {
        {&lblCompanyProduct_, L"STATIC", ids::id(L"frmSplash.lblCompanyProduct"), kSplashHeading,
         WS_VISIBLE | SS_CENTER | SS_NOPREFIX, inFrame1(kHeadingBox), kHeadingFont},
        {&text1_, L"EDIT", ids::id(L"frmSplash.Text1"), L"", WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY,
         inFrame1(kText1), kTypingFont},
        {&command1_, L"BUTTON", ids::id(L"frmSplash.Command1"), kSplashButton,
         WS_TABSTOP | BS_PUSHBUTTON | BS_MULTILINE, kSplashCommand1, kSplashButtonFont},
    };
}

void FrmSplash::layout() {
    SecondaryWindow::layout();
    InvalidateRect(hwnd(), nullptr, TRUE);
}

void FrmSplash::OnTimer() {
    const bool running = typing_.tick();
    SetWindowTextW(text1_, std::wstring(typing_.shown()).c_str());
    // Keep the newest character in view, should a wider substitute font need more lines than the box holds.
    const auto end = static_cast<WPARAM>(typing_.count());
    SendMessageW(text1_, EM_SETSEL, end, static_cast<LPARAM>(end));
    SendMessageW(text1_, EM_SCROLLCARET, 0, 0);
    if (running) return;
    timer1_.setEnabled(false);
    ShowWindow(command1_, SW_SHOW);
    SetFocus(command1_);
}

bool FrmSplash::OnEraseBackground(HDC dc) {
    RECT client;
    if (!GetClientRect(hwnd(), &client)) return false;
    FillRect(dc, &client, GetSysColorBrush(COLOR_3DDKSHADOW));
    const win::Twips tw(dpi_);
    RECT frame{tw(kFrame1.left), tw(kFrame1.top), tw(kFrame1.left + kFrame1.width), tw(kFrame1.top + kFrame1.height)};
    FillRect(dc, &frame, frameBrush_ ? frameBrush_.get() : GetSysColorBrush(COLOR_3DDKSHADOW));
    DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
    return true;
}

LRESULT FrmSplash::OnControlColour(HDC dc, HWND control) {
    if (control == command1_) return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_3DDKSHADOW));
    SetTextColor(dc, colour(control == text1_ ? kTypingColour : kHeadingColour));
    SetBkColor(dc, colour(kFrameColour));
    return reinterpret_cast<LRESULT>(frameBrush_.get());
}

LRESULT FrmSplash::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_TIMER:
        if (wp == timer1_.id()) OnTimer();
        return 0;
    case WM_COMMAND:
        // The button (and Enter or Esc for it) works only once it is there.
        if (typing_.buttonVisible() &&
            (LOWORD(wp) == ids::id(L"frmSplash.Command1") || LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL))
            close();
        return 0;
    case WM_ERASEBKGND:
        return OnEraseBackground(reinterpret_cast<HDC>(wp)) ? 1 : defaultProc(msg, wp, lp);
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        return OnControlColour(reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp));
    }
    return SecondaryWindow::handleMessage(msg, wp, lp);
}

} // namespace ww
