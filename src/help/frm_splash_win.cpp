#include "help/frm_splash_win.h"

#include "help/form5_win.h"
#include "platform/win32/dpi.h"

namespace ww {

namespace {

constexpr int kText1Id = 111;
constexpr int kCommand1Id = 101;

COLORREF colour(HelpColour c) {
    return RGB(c.r, c.g, c.b);
}

} // namespace

// No title bar, no system menu: a fixed dialog border only.
FrmSplash::FrmSplash(WindowHost& host)
    : SecondaryWindow(host, {.className = L"WortwerkFrmSplash",
                             .title = L"",
                             .style = WS_POPUP | WS_DLGFRAME | WS_CLIPCHILDREN,
                             .exStyle = WS_EX_DLGMODALFRAME,
                             .width = kSplashWidth,
                             .height = kSplashHeight,
                             .topmost = true,
                             .replacesMainWindow = true}) {}

void FrmSplash::opened() {
    timer1_.attach(hwnd());
    timer1_.setEnabled(true);
}

bool FrmSplash::onCreate() {
    frameBrush_.reset(CreateSolidBrush(colour(kFrameColour)));
    lblCompanyProduct_ = win::createControl(hwnd(), L"STATIC", kSplashHeading, WS_VISIBLE | SS_CENTER | SS_NOPREFIX, 0);
    text1_ =
        win::createControl(hwnd(), L"EDIT", L"", WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY, kText1Id);
    command1_ =
        win::createControl(hwnd(), L"BUTTON", kSplashButton, WS_TABSTOP | BS_PUSHBUTTON | BS_MULTILINE, kCommand1Id);
    return true;
}

void FrmSplash::layout() {
    const win::Twips tw(hwnd());
    auto headingFont = createHelpFont(hwnd(), kHeadingFont);
    auto typingFont = createHelpFont(hwnd(), kTypingFont);
    auto buttonFont = createHelpFont(hwnd(), kSplashButtonFont);
    win::place(lblCompanyProduct_, tw, inFrame1(kHeadingBox));
    win::place(text1_, tw, inFrame1(kText1));
    win::place(command1_, tw, kSplashCommand1);
    win::setFont(lblCompanyProduct_, headingFont.get());
    win::setFont(text1_, typingFont.get());
    win::setFont(command1_, buttonFont.get());
    // The controls use the new fonts now; the old ones can go.
    headingFont_ = std::move(headingFont);
    typingFont_ = std::move(typingFont);
    buttonFont_ = std::move(buttonFont);
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
    const win::Twips tw(hwnd());
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
        if (typing_.buttonVisible() && (LOWORD(wp) == kCommand1Id || LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL))
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
