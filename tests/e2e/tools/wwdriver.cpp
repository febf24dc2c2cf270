// Console test driver for the end-to-end tests: finds windows by title, class or a control's text, reads and
// clicks their controls, sends window messages and inspects the Wine tray and taskbar. Prints results on stdout;
// exit 1 = not found/false.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <cwchar>
#include <string>
#include <vector>

namespace {

struct Found {
    const wchar_t* title; // nullptr = any
    const wchar_t* cls;   // nullptr = any
    std::vector<HWND> hits;
};

BOOL CALLBACK collectTop(HWND w, LPARAM lp) {
    auto* f = reinterpret_cast<Found*>(lp);
    wchar_t cls[256] = {}, text[512] = {};
    GetClassNameW(w, cls, 256);
    GetWindowTextW(w, text, 512);
    if ((!f->title || wcscmp(text, f->title) == 0) && (!f->cls || wcscmp(cls, f->cls) == 0)) f->hits.push_back(w);
    return TRUE;
}

std::vector<HWND> topWindows(const wchar_t* title, const wchar_t* cls) {
    Found f{title, cls, {}};
    EnumWindows(collectTop, reinterpret_cast<LPARAM>(&f));
    return f.hits;
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

std::wstring textOf(HWND w) {
    DWORD_PTR len = 0;
    if (!SendMessageTimeoutW(w, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &len)) return {};
    std::wstring s(len + 1, L'\0');
    DWORD_PTR got = 0;
    SendMessageTimeoutW(w, WM_GETTEXT, len + 1, reinterpret_cast<LPARAM>(s.data()), SMTO_ABORTIFHUNG, 5000, &got);
    s.resize(got);
    return s;
}

// Windows are given as a title, as "class:NAME", or as "child:TEXT" for an untitled window by a control's text.
HWND findTop(const wchar_t* what) {
    if (wcsncmp(what, L"child:", 6) == 0) {
        for (HWND top : topWindows(nullptr, nullptr))
            for (HWND c : children(top))
                if (textOf(c) == what + 6) return top;
        return nullptr;
    }
    auto hits = wcsncmp(what, L"class:", 6) == 0 ? topWindows(nullptr, what + 6) : topWindows(what, nullptr);
    return hits.empty() ? nullptr : hits.front();
}

std::wstring classOf(HWND w) {
    wchar_t cls[256] = {};
    GetClassNameW(w, cls, 256);
    return cls;
}

// Prints UTF-8 so that shell scripts can compare umlauts.
void out(const std::wstring& s) {
    int n = WideCharToMultiByte(CP_UTF8, 0, s.c_str(), static_cast<int>(s.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(n, '\0');
    WideCharToMultiByte(CP_UTF8, 0, s.c_str(), static_cast<int>(s.size()), bytes.data(), n, nullptr, nullptr);
    fwrite(bytes.data(), 1, bytes.size(), stdout);
    fputc('\n', stdout);
}

HWND shellTray() {
    return FindWindowW(L"Shell_TrayWnd", nullptr);
}

// Tray icons, countable in Wine's standalone tray (no virtual desktop): one child window per icon.
// Returns -1 inside a virtual desktop, whose tray draws its icons without windows.
int trayCount() {
    HWND taskbar = shellTray();
    if (taskbar && IsWindowVisible(taskbar)) return -1;
    HWND standalone = FindWindowW(L"__winex11_standalone_tray", nullptr);
    if (!standalone) return 0; // created with the first icon
    int n = 0;
    for (HWND c : children(standalone))
        if (classOf(c) == L"__winex11_tray_icon" && IsWindowVisible(c)) ++n;
    return n;
}

// Visible window buttons of Wine's taskbar (the first visible button is "Start").
int taskbarButtons() {
    HWND tray = shellTray();
    if (!tray) return -1;
    int n = 0;
    for (HWND c : children(tray))
        if (classOf(c) == L"Button" && IsWindowVisible(c)) ++n;
    return n > 0 ? n - 1 : 0;
}

HWND findChild(HWND top, const wchar_t* what) {
    // "class:NAME[:index]" or a control text
    if (wcsncmp(what, L"class:", 6) == 0) {
        std::wstring rest = what + 6;
        int index = 0;
        if (auto colon = rest.find(L':'); colon != std::wstring::npos) {
            index = _wtoi(rest.c_str() + colon + 1);
            rest.resize(colon);
        }
        for (HWND c : children(top))
            if (classOf(c) == rest && index-- == 0) return c;
        return nullptr;
    }
    if (wcsncmp(what, L"id:", 3) == 0) return GetDlgItem(top, _wtoi(what + 3));
    for (HWND c : children(top))
        if (textOf(c) == what) return c;
    return nullptr;
}

int usage() {
    fputs("usage: wwdriver "
          "active|tray-icon-rect|find|wait|gone|rect|text|visible|exstyle|children|child-text|click|close|post|send|\n"
          "       foreground|tray-count|tray-tips|tray-delete|taskbar-buttons|broadcast-taskbar-created|sleep ...\n",
          stderr);
    return 2;
}

UINT messageNumber(const wchar_t* s) {
    if (wcsncmp(s, L"reg:", 4) == 0) return RegisterWindowMessageW(s + 4);
    return static_cast<UINT>(wcstoul(s, nullptr, 0));
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    _setmode(_fileno(stdout), _O_BINARY); // texts keep their CR LF exactly
    if (argc < 2) return usage();
    std::wstring cmd = argv[1];
    auto arg = [&](int i) -> const wchar_t* { return i < argc ? argv[i] : nullptr; };

    if (cmd == L"tray-count") {
        printf("%d\n", trayCount());
        return 0;
    }
    if (cmd == L"tray-icon-rect") { // screen rectangle of the first icon in Wine's standalone tray
        HWND standalone = FindWindowW(L"__winex11_standalone_tray", nullptr);
        for (HWND c : standalone ? children(standalone) : std::vector<HWND>{}) {
            RECT r;
            if (classOf(c) == L"__winex11_tray_icon" && IsWindowVisible(c) && GetWindowRect(c, &r)) {
                printf("%ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
                return 0;
            }
        }
        return 1;
    }
    if (cmd == L"taskbar-buttons") {
        printf("%d\n", taskbarButtons());
        return 0;
    }
    if (cmd == L"tray-tips") { // text of the tooltip currently shown (hover an icon first)
        for (HWND tt : topWindows(nullptr, L"tooltips_class32"))
            if (IsWindowVisible(tt)) out(textOf(tt));
        return 0;
    }
    if (cmd == L"broadcast-taskbar-created") {
        UINT msg = RegisterWindowMessageW(L"TaskbarCreated");
        DWORD_PTR r = 0;
        SendMessageTimeoutW(HWND_BROADCAST, msg, 0, 0, SMTO_ABORTIFHUNG, 5000, &r);
        return 0;
    }
    if (cmd == L"active") { // class and title of the foreground window
        HWND f = GetForegroundWindow();
        out(f ? classOf(f) + L"\t" + textOf(f) : L"");
        return 0;
    }
    if (cmd == L"sleep" && arg(2)) {
        Sleep(_wtoi(arg(2)));
        return 0;
    }
    if (!arg(2)) return usage();

    if (cmd == L"rect") { // rect TITLE|class:NAME: screen rectangle of the first visible match
        auto hits = wcsncmp(arg(2), L"class:", 6) == 0 ? topWindows(nullptr, arg(2) + 6) : topWindows(arg(2), nullptr);
        for (HWND h : hits) {
            RECT r;
            if (IsWindowVisible(h) && GetWindowRect(h, &r)) {
                printf("%ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
                return 0;
            }
        }
        return 1;
    }
    if (cmd == L"count") { // count TITLE: how many top-level windows carry this title (hidden ones included)
        auto hits = wcsncmp(arg(2), L"class:", 6) == 0 ? topWindows(nullptr, arg(2) + 6) : topWindows(arg(2), nullptr);
        printf("%zu\n", hits.size());
        return 0;
    }
    if (cmd == L"wait" || cmd == L"gone") { // wait TITLE [seconds]: until the window exists / no longer exists
        int ms = arg(3) ? _wtoi(arg(3)) * 1000 : 10000;
        for (int waited = 0;; waited += 50) {
            bool there = findTop(arg(2)) != nullptr;
            if (there == (cmd == L"wait")) return 0;
            if (waited >= ms) return 1;
            Sleep(50);
        }
    }

    HWND w = findTop(arg(2));
    if (!w) {
        fwprintf(stderr, L"no window %ls\n", arg(2));
        return 1;
    }
    if (cmd == L"find") {
        printf("%p\n", static_cast<void*>(w));
        return 0;
    }
    if (cmd == L"text") {
        out(textOf(w));
        return 0;
    }
    if (cmd == L"visible") {
        bool v = IsWindowVisible(w);
        puts(v ? "1" : "0");
        return v ? 0 : 1;
    }
    if (cmd == L"exstyle") {
        printf("0x%lx\n", static_cast<unsigned long>(GetWindowLongPtrW(w, GWL_EXSTYLE)));
        return 0;
    }
    if (cmd == L"children") {
        for (HWND c : children(w)) {
            std::wstring line = classOf(c) + L"\t" + std::to_wstring(GetDlgCtrlID(c)) + L"\t" +
                                (IsWindowVisible(c) ? L"1" : L"0") + L"\t" + textOf(c);
            out(line);
        }
        return 0;
    }
    if (cmd == L"foreground") {
        bool ok = SetForegroundWindow(w);
        return ok ? 0 : 1;
    }
    if (cmd == L"tray-delete" && arg(3)) { // removes a window's icon, as an Explorer restart would
        NOTIFYICONDATAW n{};
        n.cbSize = sizeof n;
        n.hWnd = w;
        n.uID = static_cast<UINT>(_wtoi(arg(3)));
        return Shell_NotifyIconW(NIM_DELETE, &n) ? 0 : 1;
    }
    if (cmd == L"close") {
        PostMessageW(w, WM_CLOSE, 0, 0);
        return 0;
    }
    if ((cmd == L"post" || cmd == L"send") && arg(3)) { // post TITLE MSG [WPARAM] [LPARAM]
        UINT msg = messageNumber(arg(3));
        WPARAM wp = arg(4) ? wcstoull(arg(4), nullptr, 0) : 0;
        LPARAM lp = arg(5) ? static_cast<LPARAM>(wcstoll(arg(5), nullptr, 0)) : 0;
        if (cmd == L"post") return PostMessageW(w, msg, wp, lp) ? 0 : 1;
        DWORD_PTR r = 0;
        if (!SendMessageTimeoutW(w, msg, wp, lp, SMTO_ABORTIFHUNG, 10000, &r)) {
            fwprintf(stderr, L"no answer from %ls (error %lu)\n", arg(2), GetLastError());
            return 1;
        }
        printf("%lld\n", static_cast<long long>(r));
        return 0;
    }
    if (cmd == L"set-text" && arg(3) && arg(4)) { // set-text TITLE CONTROL TEXT
        HWND c = findChild(w, arg(3));
        if (!c) return 1;
        DWORD_PTR r = 0;
        SendMessageTimeoutW(c, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(arg(4)), SMTO_ABORTIFHUNG, 5000, &r);
        return 0;
    }
    if ((cmd == L"child-text" || cmd == L"click") && arg(3)) {
        HWND c = findChild(w, arg(3));
        if (!c) {
            fwprintf(stderr, L"no control %ls\n", arg(3));
            return 1;
        }
        if (cmd == L"child-text") {
            out(textOf(c));
            return 0;
        }
        PostMessageW(c, BM_CLICK, 0, 0);
        return 0;
    }
    return usage();
}
