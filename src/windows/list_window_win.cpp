#include "windows/list_window_win.h"

#include "platform/win32/dpi.h"
#include "platform/win32/message_box.h"
#include "windows/form7.h"

namespace ww {

namespace {
constexpr UINT kShowProblems = WM_APP + 3;
} // namespace

bool ListWindow::openList(const wchar_t* className, const wchar_t* title, const std::vector<std::wstring>& lines,
                          int clientWidthTwips, int clientHeightTwips, bool centre) {
    if (!createSecondary(className, 0, title, WS_OVERLAPPEDWINDOW, true)) return false;
    win::setTopmost(hwnd(), true);
    for (const auto& line : lines) {
        const LRESULT added = SendMessageW(List1, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
        if (added == LB_ERR || added == LB_ERRSPACE) { // the list would no longer match its lines
            DestroyWindow(hwnd());
            return false;
        }
    }
    win::setClientSize(hwnd(), clientWidthTwips, clientHeightTwips, centre);
    ShowWindow(hwnd(), SW_SHOWNORMAL);
    SetForegroundWindow(hwnd());
    if (!problems_.empty()) PostMessageW(hwnd(), kShowProblems, 0, 0);
    return true;
}

void ListWindow::showLines(const std::vector<std::wstring>& lines) {
    const LRESULT top = SendMessageW(List1, LB_GETTOPINDEX, 0, 0);
    const LRESULT selected = SendMessageW(List1, LB_GETCURSEL, 0, 0);
    SendMessageW(List1, WM_SETREDRAW, FALSE, 0);
    SendMessageW(List1, LB_RESETCONTENT, 0, 0);
    bool complete = true;
    for (const auto& line : lines) {
        const LRESULT added = SendMessageW(List1, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
        if (added == LB_ERR || added == LB_ERRSPACE) {
            complete = false;
            break;
        }
    }
    if (selected != LB_ERR) SendMessageW(List1, LB_SETCURSEL, static_cast<WPARAM>(selected), 0);
    SendMessageW(List1, LB_SETTOPINDEX, static_cast<WPARAM>(top), 0);
    SendMessageW(List1, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(List1, nullptr, TRUE);
    if (!complete) { // the list would no longer match its lines
        win::messageBox(hwnd(),
                        L"Wortwerk konnte die Liste nicht neu füllen und schließt das Fenster. Bitte öffnen Sie "
                        L"es noch einmal.",
                        L"Wortwerk", MB_OK | MB_ICONWARNING);
        DestroyWindow(hwnd());
        return;
    }
    if (!problems_.empty()) PostMessageW(hwnd(), kShowProblems, 0, 0);
}

// Single selection, unsorted, whole rows, a vertical scroll bar only.
bool ListWindow::OnCreate() {
    List1 = win::createControl(hwnd(), L"LISTBOX", L"", WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY, kList1Id,
                               WS_EX_CLIENTEDGE);
    return List1 != nullptr;
}

void ListWindow::layout() {
    auto font = listFont();
    win::setFont(List1, font.get());
    font_ = std::move(font);
    OnSize(SIZE_RESTORED);
}

// The list layout rule, from the window's outer and client size at its DPI. A minimized window keeps its list as it
// was. The client size is rounded down, so that the list never reaches past it by a rounding pixel.
void ListWindow::OnSize(WPARAM kind) {
    RECT outer{}, client{};
    if (kind == SIZE_MINIMIZED || !GetWindowRect(hwnd(), &outer) || !GetClientRect(hwnd(), &client)) return;
    const win::Twips tw(hwnd());
    const auto dpi = static_cast<int>(tw.dpi());
    auto twips = [&](LONG pixels) { return mulDivRounded(static_cast<int>(pixels), 1440, dpi); };
    auto twipsDown = [&](LONG pixels) { return static_cast<int>(pixels * 1440LL / dpi); };
    win::place(List1, tw,
               listLayout(twips(outer.right - outer.left), twips(outer.bottom - outer.top), twipsDown(client.right),
                          twipsDown(client.bottom)));
}

void ListWindow::OnShowProblems() {
    std::wstring text = L"Wortwerk konnte nicht alle Texte lesen:\n";
    for (const auto& p : problems_)
        text += L"\n" + p;
    text += L"\n\nDie Liste zeigt an ihrer Stelle „*** Noch nicht benutzt ***“. Ihre Dateien wurden nicht verändert.";
    win::messageBox(hwnd(), text, L"Wortwerk", MB_OK | MB_ICONWARNING);
}

LRESULT ListWindow::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CREATE:
        return OnCreate() ? 0 : -1;
    case WM_SIZE:
        OnSize(wp);
        return 0;
    case kShowProblems:
        OnShowProblems();
        return 0;
    case WM_ENDSESSION:
        // The session ends and the window goes with it.
        if (wp) DestroyWindow(hwnd());
        return 0;
    }
    return SecondaryWindow::handleMessage(msg, wp, lp);
}

} // namespace ww
