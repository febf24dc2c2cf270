// Console test driver for the end-to-end tests: finds windows by title or class and controls by text, class or ID,
// reads and clicks them, sends window messages and inspects the Wine tray and taskbar. Prints results on stdout;
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
#include <type_traits>
#include <vector>

namespace {

using soak::windowsIn;

// SendMessage that gives up on a hung window; `ok` (may be null) says whether the message was delivered.
LRESULT sendTo(HWND w, UINT msg, WPARAM wp = 0, LPARAM lp = 0, bool* ok = nullptr) {
    DWORD_PTR result = 0;
    const bool sent = SendMessageTimeoutW(w, msg, wp, lp, SMTO_ABORTIFHUNG, 10000, &result) != 0;
    if (ok) *ok = sent;
    return sent ? static_cast<LRESULT>(result) : -1;
}

// A window's text as it answers, or with ITEM that entry of a list box.
std::wstring textOf(HWND w, int item = -1) {
    const bool entry = item >= 0;
    const LRESULT length = sendTo(w, entry ? LB_GETTEXTLEN : WM_GETTEXTLENGTH, entry ? item : 0);
    if (length < 0) return {};
    std::wstring s(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT got = sendTo(w, entry ? LB_GETTEXT : WM_GETTEXT, entry ? item : s.size(), LPARAM(s.data()));
    s.resize(static_cast<std::size_t>(std::max<LRESULT>(got, 0)));
    return s;
}

std::wstring classOf(HWND w) {
    wchar_t cls[256] = {};
    GetClassNameW(w, cls, 256);
    return cls;
}

// Windows under PARENT (top-level ones for null) of class NAME for "class:NAME", else with that caption as the system
// keeps it (read without asking the window, which may be busy); only the visible ones if asked.
std::vector<HWND> matching(HWND parent, std::wstring_view what, bool visibleOnly = false) {
    auto found = windowsIn(parent);
    std::erase_if(found, [&](HWND w) {
        wchar_t caption[512] = {};
        GetWindowTextW(w, caption, 512);
        return (what.starts_with(L"class:") ? classOf(w) != what.substr(6) : what != caption) ||
               (visibleOnly && !IsWindowVisible(w));
    });
    return found;
}

// A control as "id:NUMBER", "id:NAME" as the program names it ("Form2.Text1+23"), "class:NAME" or its caption.
HWND findChild(HWND top, std::wstring_view what) {
    if (what.starts_with(L"id:"))
        return GetDlgItem(top, iswdigit(what[3]) ? _wtoi(what.data() + 3) : ww::ids::controlId(what.substr(3)));
    const auto found = matching(top, what);
    return found.empty() ? nullptr : found.front();
}

bool iconCall(DWORD message, HWND w, const wchar_t* uid) {
    NOTIFYICONDATAW icon{};
    icon.cbSize = sizeof icon;
    icon.hWnd = w;
    icon.uID = static_cast<UINT>(_wtoi(uid));
    return Shell_NotifyIconW(message, &icon);
}

// One line of numbers and texts, apart by SEP, in UTF-8 so that shell scripts can compare umlauts. Returns 0.
template <typename... Parts> int print(const wchar_t* sep, const Parts&... parts) {
    std::wstring line;
    const wchar_t* gap = L"";
    auto add = [&](const auto& part) {
        if constexpr (std::is_arithmetic_v<std::decay_t<decltype(part)>>)
            line += gap + std::to_wstring(part);
        else
            line += gap + std::wstring(part);
        gap = sep;
    };
    (add(parts), ...);
    std::string bytes(WideCharToMultiByte(CP_UTF8, 0, line.c_str(), -1, nullptr, 0, nullptr, nullptr), '\0');
    WideCharToMultiByte(CP_UTF8, 0, line.c_str(), -1, bytes.data(), static_cast<int>(bytes.size()), nullptr, nullptr);
    puts(bytes.c_str());
    return 0;
}

int printRect(HWND w) {
    RECT r;
    return GetWindowRect(w, &r) ? print(L" ", r.left, r.top, r.right, r.bottom) : 1;
}

int holdFor(const wchar_t* seconds) {
    puts("held");
    fflush(stdout);
    Sleep(static_cast<DWORD>(_wtoi(seconds) * 1000));
    return 0;
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

    if (cmd == L"tray-icons") { // screen rectangle of each icon in the standalone tray (no virtual desktop); 1: none
        HWND tray = FindWindowW(L"__winex11_standalone_tray", nullptr);
        const auto icons = tray ? matching(tray, L"class:__winex11_tray_icon", true) : std::vector<HWND>{};
        for (HWND icon : icons)
            printRect(icon);
        return icons.empty() ? 1 : 0;
    }
    if (cmd == L"taskbar-buttons") { // window buttons of Wine's taskbar (its first button is "Start"); -1 for none
        HWND bar = FindWindowW(L"Shell_TrayWnd", nullptr);
        return print(L"", bar ? std::max(std::ssize(matching(bar, L"class:Button", true)) - 1, std::ptrdiff_t{0}) : -1);
    }
    if (cmd == L"tray-tips") { // text of the tooltip shown now (hover an icon first)
        for (HWND tip : matching(nullptr, L"class:tooltips_class32", true))
            print(L"", textOf(tip));
        return 0;
    }
    if (cmd == L"active") { // class and title of the foreground window
        HWND f = GetForegroundWindow();
        return f ? print(L"\t", classOf(f), textOf(f)) : print(L"", L""); // an empty line for none
    }
    if (!arg(2)) return usage();
    if (cmd == L"hold-clipboard") { // hold-clipboard SECONDS: keeps the clipboard open, as a busy program may
        const ww::win::ClipboardLock clipboard(nullptr);
        return clipboard ? holdFor(arg(2)) : 1;
    }
    if (cmd == L"hold-file" && arg(3)) { // hold-file PATH SECONDS: keeps the file open without sharing
        const ww::win::UniqueFile file(
            CreateFileW(arg(2), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        return file ? holdFor(arg(3)) : 1;
    }

    // Commands on every window of that title or class ("broadcast" for a message to all top-level windows).
    const auto all = wcscmp(arg(2), L"broadcast") == 0 ? std::vector{HWND_BROADCAST} : matching(nullptr, arg(2));
    if (cmd == L"state") { // state WINDOW: "COUNT ICONS VISIBLE": how many, hidden ones included; how many have
        // their icon in the tray (a modify that changes nothing succeeds only for an icon the tray holds, also in
        // the virtual desktop, where icons have no windows to count); how many are visible
        return print(L" ", all.size(), std::ranges::count_if(all, [](HWND w) { return iconCall(NIM_MODIFY, w, L"1"); }),
                     std::ranges::count_if(all, [](HWND w) { return IsWindowVisible(w) != 0; }));
    }
    if (cmd == L"rect") { // rect WINDOW: screen rectangle of the first visible one
        for (HWND w : all)
            if (IsWindowVisible(w)) return printRect(w);
        return 1;
    }
    if (cmd == L"wait" || cmd == L"gone") { // wait WINDOW [SECONDS]: until it exists / no longer exists
        const int ms = arg(3) ? _wtoi(arg(3)) * 1000 : 10000;
        for (int waited = 0; matching(nullptr, arg(2)).empty() == (cmd == L"wait"); waited += 50) {
            if (waited >= ms) return 1;
            Sleep(50);
        }
        return 0;
    }

    // Commands on the first window.
    if (all.empty()) {
        fwprintf(stderr, L"no window %ls\n", arg(2));
        return 1;
    }
    HWND w = all.front();
    RECT r{};
    if (cmd == L"exstyle") return print(L"", GetWindowLongPtrW(w, GWL_EXSTYLE));
    if (cmd == L"children") { // class, ID, visible and text of every control, one a line
        for (HWND c : windowsIn(w))
            print(L"\t", classOf(c), GetDlgCtrlID(c), IsWindowVisible(c) != 0, textOf(c));
        return 0;
    }
    if (cmd == L"counts") { // counts WINDOW: "windows gdi_table handles" of the process that owns it
        const DWORD pid = soak::ownerOf(w);
        const ww::win::Unique<HANDLE, ww::win::NullHandleTraits<HANDLE, ::CloseHandle>> process(
            OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid));
        if (!process) return 1;
        return print(L" ", soak::windowsOf(pid), soak::gdiTableEntries(process.get()), soak::systemHandleEntries(pid));
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
        return ok ? print(L"", result) : 1;
    }
    if (cmd == L"focus") { // focus WINDOW [CONTROL]: ID of the focused control in its thread; or whether CONTROL has it
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        if (!GetGUIThreadInfo(GetWindowThreadProcessId(w, nullptr), &info) || !info.hwndFocus) return 1;
        if (arg(3)) return info.hwndFocus == findChild(w, arg(3)) ? 0 : 1;
        return print(L"", GetDlgCtrlID(info.hwndFocus));
    }
    if (cmd == L"move" && arg(4)) // move WINDOW X Y: outer top-left corner in screen pixels
        return SetWindowPos(w, nullptr, _wtoi(arg(3)), _wtoi(arg(4)), 0, 0, SWP_NOSIZE | SWP_NOZORDER) ? 0 : 1;

    // Commands on the window itself or, with CONTROL, on that control.
    HWND c = arg(3) ? findChild(w, arg(3)) : w;
    if (!c) {
        fwprintf(stderr, L"no control %ls\n", arg(3));
        return 1;
    }
    if (cmd == L"text") return print(L"", textOf(c)); // text WINDOW [CONTROL]
    if (cmd == L"text-end") { // text-end WINDOW CONTROL: a multi-line edit scrolled to its end; "LAST HEIGHT": the
        // bottom of its last text line and the height of its client area, in its pixels
        sendTo(c, WM_VSCROLL, SB_BOTTOM);
        const LRESULT lines = sendTo(c, EM_GETLINECOUNT);
        auto top = [&](LRESULT line) {
            return static_cast<short>(
                HIWORD(sendTo(c, EM_POSFROMCHAR, static_cast<WPARAM>(sendTo(c, EM_LINEINDEX, line)))));
        };
        if (lines < 2 || !GetClientRect(c, &r)) return 1;
        return print(L" ", 2 * top(lines - 1) - top(lines - 2), r.bottom);
    }
    if (cmd == L"control-state") // control-state WINDOW CONTROL: "VISIBLE ENABLED" as 0/1
        return print(L" ", IsWindowVisible(c) != 0, IsWindowEnabled(c) != 0);
    if (cmd == L"center" && GetWindowRect(c, &r)) // center WINDOW CONTROL: screen "X Y" of its middle
        return print(L" ", (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    if (cmd == L"click") return PostMessageW(c, BM_CLICK, 0, 0) ? 0 : 1;
    if (cmd == L"set-text" && arg(4)) { // set-text WINDOW CONTROL TEXT
        sendTo(c, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(arg(4)));
        return 0;
    }
    if (cmd == L"list") { // list WINDOW CONTROL: every entry of a list box, one a line
        for (int i = 0, n = static_cast<int>(sendTo(c, LB_GETCOUNT)); i < n; ++i)
            print(L"", textOf(c, i));
        return 0;
    }
    if (cmd == L"list-sel") return print(L"", sendTo(c, LB_GETCURSEL)); // list-sel WINDOW CONTROL: -1 for none
    if (cmd == L"list-item-pos" && arg(4)) { // list-item-pos WINDOW CONTROL INDEX: screen point on a visible entry
        const int index = _wtoi(arg(4));
        const auto height = static_cast<int>(sendTo(c, LB_GETITEMHEIGHT));
        const auto first = static_cast<int>(sendTo(c, LB_GETTOPINDEX));
        GetClientRect(c, &r);
        POINT p{r.right / 2, (index - first) * height + height / 2};
        return index >= first && p.y < r.bottom && ClientToScreen(c, &p) ? print(L" ", p.x, p.y) : 1;
    }
    return usage();
}
