#include "windows/list_window_win.h"

#include "platform/win32/dpi.h"
#include "platform/win32/message_box.h"
#include "windows/form7.h"

namespace ww {

// False if the list could not take every line: it would no longer match them.
bool ListWindow::addLines() {
    for (const auto& line : lines_) {
        const LRESULT added = SendMessageW(List1, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
        if (added == LB_ERR || added == LB_ERRSPACE) return false;
    }
    return true;
}

bool ListWindow::fill() {
    return addLines();
}

void ListWindow::showLines() {
    const LRESULT top = SendMessageW(List1, LB_GETTOPINDEX, 0, 0);
    const LRESULT selected = SendMessageW(List1, LB_GETCURSEL, 0, 0);
    SendMessageW(List1, WM_SETREDRAW, FALSE, 0);
    SendMessageW(List1, LB_RESETCONTENT, 0, 0);
    const bool complete = addLines();
    if (selected != LB_ERR) SendMessageW(List1, LB_SETCURSEL, static_cast<WPARAM>(selected), 0);
    SendMessageW(List1, LB_SETTOPINDEX, static_cast<WPARAM>(top), 0);
    SendMessageW(List1, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(List1, nullptr, TRUE);
    if (!complete) { // the list would no longer match its lines
        win::messageBox(hwnd(),
                        L"Wortwerk konnte die Liste nicht neu füllen und schließt das Fenster. Bitte öffnen Sie "
                        L"es noch einmal.",
                        L"Wortwerk", MB_OK | MB_ICONWARNING);
        close();
        return;
    }
    showProblemsLater();
}

// Single selection, unsorted, whole rows, a vertical scroll bar only.
bool ListWindow::onCreate() {
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

ProblemsMessage ListWindow::problemsMessage() const {
    return {L"Wortwerk konnte nicht alle Texte lesen:\n",
            L"\n\nDie Liste zeigt an ihrer Stelle „*** Noch nicht benutzt ***“. Ihre Dateien wurden nicht verändert."};
}

LRESULT ListWindow::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_SIZE:
        OnSize(wp);
        return 0;
    }
    return SecondaryWindow::handleMessage(msg, wp, lp);
}

} // namespace ww
