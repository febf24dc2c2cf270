#include "windows/list_box_win.h"

#include "platform/win32/dpi.h"
#include "platform/win32/message_box.h"
#include "windows/form7.h"

namespace ww::win {

HWND createList(HWND parent) {
    return createControl(parent, L"LISTBOX", L"", WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY, kList1Id,
                         WS_EX_CLIENTEDGE);
}

bool fillList(HWND list, const std::vector<std::wstring>& lines) {
    for (const auto& line : lines) {
        const LRESULT added = SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
        if (added == LB_ERR || added == LB_ERRSPACE) return false;
    }
    return true;
}

void placeList(HWND window, HWND list) {
    RECT outer{};
    if (!GetWindowRect(window, &outer)) return;
    const Twips tw(window);
    auto toTwips = [&](LONG pixels) {
        return mulDivRounded(static_cast<int>(pixels), 1440, static_cast<int>(tw.dpi()));
    };
    place(list, tw, listLayout(toTwips(outer.right - outer.left), toTwips(outer.bottom - outer.top)));
}

void showReadProblems(HWND owner, const std::vector<std::wstring>& problems) {
    std::wstring text = L"Wortwerk konnte nicht alle Texte lesen:\n";
    for (const auto& p : problems)
        text += L"\n" + p;
    text += L"\n\nDie Liste zeigt an ihrer Stelle „*** Noch nicht benutzt ***“. Ihre Dateien wurden nicht verändert.";
    messageBox(owner, text, L"Wortwerk", MB_OK | MB_ICONWARNING);
}

} // namespace ww::win
