// Console test driver for the end-to-end tests: finds windows by title, class or a control's text, reads and
// clicks their controls, sends window messages and inspects the Wine tray and taskbar. Prints results on stdout;
// exit 1 = not found/false.
#include "platform/win32/handles.h"
#include "process_counts.h"
#include "ui/control_ids.h"

#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <fcntl.h>
#include <io.h>
#include <string>
#include <vector>

namespace {

// SendMessage that gives up on a hung window; `ok` (may be null) says whether the message was delivered.
LRESULT sendTo(HWND w, UINT msg, WPARAM wp = 0, LPARAM lp = 0, bool* ok = nullptr) {
    DWORD_PTR result = 0;
    const bool sent = SendMessageTimeoutW(w, msg, wp, lp, SMTO_ABORTIFHUNG, 10000, &result) != 0;
    if (ok) *ok = sent;
    return sent ? static_cast<LRESULT>(result) : -1;
}

std::wstring textOf(HWND w) {
    const LRESULT length = sendTo(w, WM_GETTEXTLENGTH);
    if (length < 0) return {};
    std::wstring s(static_cast<std::size_t>(length) + 1, L'\0');
    s.resize(static_cast<std::size_t>(std::max<LRESULT>(sendTo(w, WM_GETTEXT, s.size(), LPARAM(s.data())), 0)));
    return s;
}

std::wstring classOf(HWND w) {
    wchar_t cls[256] = {};
    GetClassNameW(w, cls, 256);
    return cls;
}

std::vector<HWND> children(HWND parent) {
    std::vector<HWND> out;
    EnumChildWindows(
        parent,
        [](HWND w, LPARAM lp) -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(lp)->push_back(w);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&out));
    return out;
}

// Top-level windows with this title, or of class NAME for "class:NAME"; every one for null.
std::vector<HWND> topWindows(const wchar_t* what) {
    struct Query {
        const wchar_t* what;
        std::vector<HWND> hits;
    } query{what, {}};
    EnumWindows(
        [](HWND w, LPARAM lp) -> BOOL {
            auto* q = reinterpret_cast<Query*>(lp);
            wchar_t title[512] = {};
            GetWindowTextW(w, title, 512); // the caption as known, without asking the window
            if (!q->what ||
                (wcsncmp(q->what, L"class:", 6) == 0 ? classOf(w) == q->what + 6 : wcscmp(title, q->what) == 0))
                q->hits.push_back(w);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&query));
    return query.hits;
}

// A window as topWindows takes it, "child:TEXT" for an untitled window by a control's text, or "broadcast".
HWND findTop(const wchar_t* what) {
    if (wcscmp(what, L"broadcast") == 0) return HWND_BROADCAST;
    if (wcsncmp(what, L"child:", 6) == 0) {
        for (HWND top : topWindows(nullptr))
            for (HWND c : children(top))
                if (textOf(c) == what + 6) return top;
        return nullptr;
    }
    const auto hits = topWindows(what);
    return hits.empty() ? nullptr : hits.front();
}

// A control as "class:NAME[:index]", "id:NUMBER", "id:NAME" as the program names it ("Form2.Text1+23") or its text.
HWND findChild(HWND top, const wchar_t* what) {
    if (wcsncmp(what, L"id:", 3) == 0)
        return GetDlgItem(top, iswdigit(what[3]) ? _wtoi(what + 3) : ww::ids::controlId(what + 3));
    std::wstring cls;
    int index = 0;
    if (wcsncmp(what, L"class:", 6) == 0) {
        cls = what + 6;
        if (auto colon = cls.find(L':'); colon != std::wstring::npos) {
            index = _wtoi(cls.c_str() + colon + 1);
            cls.resize(colon);
        }
    }
    for (HWND c : children(top))
        if (cls.empty() ? textOf(c) == what : classOf(c) == cls && index-- == 0) return c;
    return nullptr;
}

// Icons in Wine's standalone tray (no virtual desktop), where each icon is a window of its own.
std::vector<HWND> standaloneIcons() {
    std::vector<HWND> icons;
    if (HWND tray = FindWindowW(L"__winex11_standalone_tray", nullptr))
        for (HWND c : children(tray))
            if (classOf(c) == L"__winex11_tray_icon" && IsWindowVisible(c)) icons.push_back(c);
    return icons;
}

bool iconCall(DWORD message, HWND w, const wchar_t* uid) {
    NOTIFYICONDATAW icon{};
    icon.cbSize = sizeof icon;
    icon.hWnd = w;
    icon.uID = static_cast<UINT>(_wtoi(uid));
    return Shell_NotifyIconW(message, &icon);
}

// Prints UTF-8 so that shell scripts can compare umlauts.
void out(const std::wstring& s) {
    int n = WideCharToMultiByte(CP_UTF8, 0, s.c_str(), static_cast<int>(s.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(n, '\0');
    WideCharToMultiByte(CP_UTF8, 0, s.c_str(), static_cast<int>(s.size()), bytes.data(), n, nullptr, nullptr);
    fwrite(bytes.data(), 1, bytes.size(), stdout);
    fputc('\n', stdout);
}

int printPoint(LONG x, LONG y) {
    printf("%ld %ld\n", x, y);
    return 0;
}

int printRect(const RECT& r) {
    printf("%ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
    return 0;
}

void holdFor(const wchar_t* seconds) {
    puts("held");
    fflush(stdout);
    Sleep(static_cast<DWORD>(_wtoi(seconds) * 1000));
}

int usage() {
    fputs("usage: wwdriver COMMAND [WINDOW [CONTROL or other arguments]]; see wwdriver.cpp for the commands\n", stderr);
    return 2;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    _setmode(_fileno(stdout), _O_BINARY); // texts keep their CR LF exactly
    const std::wstring cmd = argc > 1 ? argv[1] : L"";
    auto arg = [&](int i) -> const wchar_t* { return i < argc ? argv[i] : nullptr; };
    HWND taskbar = FindWindowW(L"Shell_TrayWnd", nullptr);

    if (cmd == L"tray-icons") { // screen rectangle of each icon in the standalone tray, one a line; 1 for none
        RECT r;
        const auto icons = standaloneIcons();
        for (HWND icon : icons)
            if (GetWindowRect(icon, &r)) printRect(r);
        return icons.empty() ? 1 : 0;
    }
    if (cmd == L"taskbar-buttons") { // window buttons of Wine's taskbar (its first button is "Start"); -1 for none
        int n = 0;
        for (HWND c : taskbar ? children(taskbar) : std::vector<HWND>{})
            if (classOf(c) == L"Button" && IsWindowVisible(c)) ++n;
        printf("%d\n", taskbar ? std::max(n - 1, 0) : -1);
        return 0;
    }
    if (cmd == L"tray-tips") { // text of the tooltip shown now (hover an icon first)
        for (HWND tip : topWindows(L"class:tooltips_class32"))
            if (IsWindowVisible(tip)) out(textOf(tip));
        return 0;
    }
    if (cmd == L"active") { // class and title of the foreground window
        HWND f = GetForegroundWindow();
        out(f ? classOf(f) + L"\t" + textOf(f) : L"");
        return 0;
    }
    if (!arg(2)) return usage();
    if (cmd == L"hold-clipboard") { // hold-clipboard SECONDS: keeps the clipboard open, as a busy program may
        const ww::win::ClipboardLock clipboard(nullptr);
        if (clipboard) holdFor(arg(2));
        return clipboard ? 0 : 1;
    }
    if (cmd == L"hold-file" && arg(3)) { // hold-file PATH SECONDS: keeps the file open without sharing
        const ww::win::UniqueFile file(
            CreateFileW(arg(2), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        if (file) holdFor(arg(3));
        return file ? 0 : 1;
    }

    // Commands on every window of that title or class.
    const auto all = topWindows(arg(2));
    if (cmd == L"state") { // state WINDOW: "COUNT ICONS VISIBLE": how many, hidden ones included; how many have
        // their icon in the tray (a modify that changes nothing succeeds only for an icon the tray holds, also in
        // the virtual desktop, where icons have no windows to count); how many are visible
        const auto icons = std::ranges::count_if(all, [](HWND w) { return iconCall(NIM_MODIFY, w, L"1"); });
        printf("%zu %d %d\n", all.size(), static_cast<int>(icons),
               static_cast<int>(std::ranges::count_if(all, [](HWND w) { return IsWindowVisible(w) != 0; })));
        return 0;
    }
    if (cmd == L"rect") { // rect WINDOW: screen rectangle of the first visible one
        RECT r;
        for (HWND h : all)
            if (IsWindowVisible(h) && GetWindowRect(h, &r)) return printRect(r);
        return 1;
    }
    if (cmd == L"wait" || cmd == L"gone") { // wait WINDOW [SECONDS]: until it exists / no longer exists
        const int ms = arg(3) ? _wtoi(arg(3)) * 1000 : 10000;
        for (int waited = 0;; waited += 50) {
            if ((findTop(arg(2)) != nullptr) == (cmd == L"wait")) return 0;
            if (waited >= ms) return 1;
            Sleep(50);
        }
    }

    // Commands on the first window.
    HWND w = findTop(arg(2));
    if (!w) {
        fwprintf(stderr, L"no window %ls\n", arg(2));
        return 1;
    }
    RECT r{};
    if (cmd == L"exstyle") {
        printf("0x%lx\n", static_cast<unsigned long>(GetWindowLongPtrW(w, GWL_EXSTYLE)));
        return 0;
    }
    if (cmd == L"children") { // class, ID, visible and text of every control, one a line
        for (HWND c : children(w))
            out(classOf(c) + L"\t" + std::to_wstring(GetDlgCtrlID(c)) + L"\t" + (IsWindowVisible(c) ? L"1" : L"0") +
                L"\t" + textOf(c));
        return 0;
    }
    if (cmd == L"counts") { // counts WINDOW: "windows gdi_table handles" of the process that owns it
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        const std::string counts = soak::leakCounts(pid);
        if (!counts.empty()) puts(counts.c_str());
        return counts.empty() ? 1 : 0;
    }
    if (cmd == L"foreground") return SetForegroundWindow(w) ? 0 : 1;
    if (cmd == L"close") return PostMessageW(w, WM_CLOSE, 0, 0) ? 0 : 1;
    if (cmd == L"tray-delete" && arg(3)) return iconCall(NIM_DELETE, w, arg(3)) ? 0 : 1; // as Explorer restarting
    if ((cmd == L"post" || cmd == L"send") && arg(3)) { // post WINDOW MSG [WPARAM] [LPARAM]; MSG may be reg:NAME
        const UINT msg = wcsncmp(arg(3), L"reg:", 4) == 0 ? RegisterWindowMessageW(arg(3) + 4)
                                                          : static_cast<UINT>(wcstoul(arg(3), nullptr, 0));
        const WPARAM wp = arg(4) ? wcstoull(arg(4), nullptr, 0) : 0;
        const LPARAM lp = arg(5) ? static_cast<LPARAM>(wcstoll(arg(5), nullptr, 0)) : 0;
        if (cmd == L"post") return PostMessageW(w, msg, wp, lp) ? 0 : 1;
        bool ok = false;
        const LRESULT result = sendTo(w, msg, wp, lp, &ok);
        if (ok) printf("%lld\n", static_cast<long long>(result));
        return ok ? 0 : 1;
    }
    if (cmd == L"focus") { // focus WINDOW [CONTROL]: ID of the focused control in its thread; or whether CONTROL has it
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        if (!GetGUIThreadInfo(GetWindowThreadProcessId(w, nullptr), &info) || !info.hwndFocus) return 1;
        if (arg(3)) return info.hwndFocus == findChild(w, arg(3)) ? 0 : 1;
        printf("%d\n", GetDlgCtrlID(info.hwndFocus));
        return 0;
    }
    if (cmd == L"move" && arg(4)) // move WINDOW X Y: outer top-left corner in screen pixels
        return SetWindowPos(w, nullptr, _wtoi(arg(3)), _wtoi(arg(4)), 0, 0, SWP_NOSIZE | SWP_NOZORDER) ? 0 : 1;

    // Commands on the window itself or, with CONTROL, on that control.
    HWND c = arg(3) ? findChild(w, arg(3)) : w;
    if (!c) {
        fwprintf(stderr, L"no control %ls\n", arg(3));
        return 1;
    }
    if (cmd == L"text") { // text WINDOW [CONTROL]
        out(textOf(c));
        return 0;
    }
    if (cmd == L"text-end") { // text-end WINDOW CONTROL: a multi-line edit scrolled to its end; "LAST HEIGHT": the
        // bottom of its last text line and the height of its client area, in its pixels
        sendTo(c, WM_VSCROLL, SB_BOTTOM);
        const LRESULT lines = sendTo(c, EM_GETLINECOUNT);
        auto top = [&](LRESULT line) {
            return static_cast<short>(
                HIWORD(sendTo(c, EM_POSFROMCHAR, static_cast<WPARAM>(sendTo(c, EM_LINEINDEX, line)))));
        };
        if (lines < 2 || !GetClientRect(c, &r)) return 1;
        printf("%d %ld\n", 2 * top(lines - 1) - top(lines - 2), r.bottom);
        return 0;
    }
    if (cmd == L"control-state") { // control-state WINDOW CONTROL: "VISIBLE ENABLED" as 0/1
        printf("%d %d\n", IsWindowVisible(c) ? 1 : 0, IsWindowEnabled(c) ? 1 : 0);
        return 0;
    }
    if (cmd == L"center" && GetWindowRect(c, &r)) // center WINDOW CONTROL: screen "X Y" of its middle
        return printPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    if (cmd == L"click") return PostMessageW(c, BM_CLICK, 0, 0) ? 0 : 1;
    if (cmd == L"set-text" && arg(4)) { // set-text WINDOW CONTROL TEXT
        sendTo(c, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(arg(4)));
        return 0;
    }
    if (cmd == L"list") { // list WINDOW CONTROL: every entry of a list box, one a line
        const auto count = static_cast<int>(sendTo(c, LB_GETCOUNT));
        for (int i = 0; i < count; ++i) {
            std::wstring item(static_cast<std::size_t>(std::max<LRESULT>(sendTo(c, LB_GETTEXTLEN, i), 0)) + 1, L'\0');
            item.resize(static_cast<std::size_t>(std::max<LRESULT>(sendTo(c, LB_GETTEXT, i, LPARAM(item.data())), 0)));
            out(item);
        }
        return 0;
    }
    if (cmd == L"list-sel") { // list-sel WINDOW CONTROL: index of the selected entry, -1 for none
        printf("%d\n", static_cast<int>(sendTo(c, LB_GETCURSEL)));
        return 0;
    }
    if (cmd == L"list-item-pos" && arg(4)) { // list-item-pos WINDOW CONTROL INDEX: screen point on a visible entry
        const int index = _wtoi(arg(4));
        const auto height = static_cast<int>(sendTo(c, LB_GETITEMHEIGHT));
        const auto first = static_cast<int>(sendTo(c, LB_GETTOPINDEX));
        GetClientRect(c, &r);
        POINT p{r.right / 2, (index - first) * height + height / 2};
        return index >= first && p.y < r.bottom && ClientToScreen(c, &p) ? printPoint(p.x, p.y) : 1;
    }
    return usage();
}
