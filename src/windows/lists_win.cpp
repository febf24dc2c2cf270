#include "windows/lists_win.h"

#include "platform/clipboard.h"
#include "platform/win32/dpi.h"
#include "platform/win32/message_box.h"
#include "platform/win32/win_clipboard.h"
#include "ui/control_ids.h"
#include "windows/form6.h"
#include "windows/form7.h"

namespace ww {

ListWindow::ListWindow(WindowHost& host, const OpenSpec& opening, const FontSpec& font, ReadLines read)
    : SecondaryWindow(host, opening,
                      {L"Wortwerk konnte nicht alle Texte lesen:\n",
                       L"\n\nDie Liste zeigt an ihrer Stelle „*** Noch nicht benutzt ***“. Ihre Dateien wurden nicht "
                       L"verändert."}),
      font_(font), read_(read) {}

// The system places the pick list; the overview is centred.
Form6::Form6(WindowHost& host)
    : ListWindow(host,
                 {L"WortwerkForm6", kForm6Title, WS_OVERLAPPEDWINDOW, 0, kForm6ClientWidth, kForm6ClientHeight,
                  SystemPlaced | Topmost | TaskbarButton | ReplacesMainWindow},
                 FontSpec{}, readPickList) {}

Form7::Form7(WindowHost& host)
    : ListWindow(host,
                 {L"WortwerkForm7", kForm7Title, WS_OVERLAPPEDWINDOW, 0, kForm7ClientWidth, kForm7ClientHeight,
                  Topmost | TaskbarButton},
                 {kForm7FontFace, kForm7FontCentiPoints}, readOverview) {}

// False if the list could not take every line: it would no longer match them.
bool ListWindow::addLines() {
    for (const auto& line : lines_) {
        const LRESULT added = SendMessageW(list1_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
        if (added == LB_ERR || added == LB_ERRSPACE) return false;
    }
    return true;
}

// The load step: the files read once; the list shows them until the window is closed or reloads.
bool ListWindow::fill() {
    lines_ = read_(host_.files(), host_.codec(), &problems_);
    return addLines();
}

void ListWindow::reload() {
    problems_.clear();
    lines_ = read_(host_.files(), host_.codec(), &problems_);
    const LRESULT top = SendMessageW(list1_, LB_GETTOPINDEX, 0, 0);
    const LRESULT selected = SendMessageW(list1_, LB_GETCURSEL, 0, 0);
    SendMessageW(list1_, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list1_, LB_RESETCONTENT, 0, 0);
    const bool complete = addLines();
    if (selected != LB_ERR) SendMessageW(list1_, LB_SETCURSEL, static_cast<WPARAM>(selected), 0);
    SendMessageW(list1_, LB_SETTOPINDEX, static_cast<WPARAM>(top), 0);
    SendMessageW(list1_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list1_, nullptr, TRUE);
    if (!complete) {
        win::messageBox(hwnd(),
                        L"Wortwerk konnte die Liste nicht neu füllen und schließt das Fenster. Bitte öffnen Sie "
                        L"es noch einmal.",
                        L"Wortwerk", MB_OK | MB_ICONWARNING);
        close();
        return;
    }
    showProblemsLater();
}

// Single selection, unsorted, whole rows, a vertical scroll bar only; placed by the list layout rule.
std::vector<ControlRow> ListWindow::controlTable() {
    constexpr DWORD style = WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY;
    return {{&list1_, L"LISTBOX", ids::id(L"List1"), L"", style, TwipsRect{}, font_, WS_EX_CLIENTEDGE}};
}

void ListWindow::layout() {
    SecondaryWindow::layout();
    OnSize(SIZE_RESTORED);
}

// The list layout rule, from the window's outer and client size at its DPI. A minimized window keeps its list as it
// was. The client size is rounded down, so that the list never reaches past it by a rounding pixel.
void ListWindow::OnSize(WPARAM kind) {
    RECT outer{}, client{};
    if (kind == SIZE_MINIMIZED || !GetWindowRect(hwnd(), &outer) || !GetClientRect(hwnd(), &client)) return;
    const win::Twips tw(dpi_);
    const auto dpi = static_cast<int>(tw.dpi());
    auto twips = [&](LONG pixels) { return mulDivRounded(static_cast<int>(pixels), 1440, dpi); };
    auto twipsDown = [&](LONG pixels) { return static_cast<int>(pixels * 1440LL / dpi); };
    win::place(list1_, tw,
               listLayout(twips(outer.right - outer.left), twips(outer.bottom - outer.top), twipsDown(client.right),
                          twipsDown(client.bottom)));
}

LRESULT ListWindow::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_SIZE:
        OnSize(wp);
        return 0;
    }
    return SecondaryWindow::handleMessage(msg, wp, lp);
}

// Every selection change, by mouse or keyboard, copies the line. A clipboard that stays busy is left as it was, with a
// beep.
LRESULT Form6::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg != WM_COMMAND) return ListWindow::handleMessage(msg, wp, lp);
    if (LOWORD(wp) != ids::id(L"List1") || HIWORD(wp) != LBN_SELCHANGE) return 0;
    const auto text = clipboardText(lines_, static_cast<int>(SendMessageW(list1_, LB_GETCURSEL, 0, 0)));
    win::Win32Clipboard clipboard(hwnd());
    if (text && putText(clipboard, *text) != CopyResult::Copied) MessageBeep(MB_ICONWARNING);
    return 0;
}

} // namespace ww
