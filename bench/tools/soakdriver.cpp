// Long-run driver for the running wortwerk.exe, as a user would work it for weeks, with SendInput from this Wine
// process (no X round trip per key):
//   soakdriver counts                 the program's USER/GDI objects, handles and private bytes, one line
//   soakdriver run TEXTS N CYCLES     N expansions into a window of its own, then CYCLES open/close cycles of the
//                                     tray menu, editor, overview, pick list and help; counts sampled throughout.
// TEXTS is a UTF-8 file of "KEY<TAB>stored text" lines, the texts of tipp.dat for the keys to use. Every fourth
// expansion the user holds Shift, Ctrl or Alt during the key; after each expansion no modifier may be down.
#include "soak_counts.h"

#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr wchar_t kMainClass[] = L"WortwerkForm1";
constexpr UINT kCmdEditor = 104, kCmdOverview = 105, kCmdPickList = 106, kCmdHelp = 107;

struct Assignment {
    wchar_t key;
    std::wstring typed; // what the key types: "###" is Enter
};

HWND g_edit = nullptr;
long g_altMenus = 0; // Alt+key reached the window's menu handling, as it should while Alt is held
long g_loneAlts = 0; // a lone Alt release would have opened the menu bar

std::string utf8(const std::wstring& s) {
    std::string out(static_cast<std::size_t>(WideCharToMultiByte(CP_UTF8, 0, s.data(), static_cast<int>(s.size()),
                                                                 nullptr, 0, nullptr, nullptr)),
                    '\0');
    WideCharToMultiByte(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), out.data(), static_cast<int>(out.size()),
                        nullptr, nullptr);
    return out;
}

std::wstring wide(const std::string& s) {
    std::wstring out(
        static_cast<std::size_t>(MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0)),
        L'\0');
    MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), out.data(), static_cast<int>(out.size()));
    return out;
}

// Handles our own window's messages while waiting.
void pump(DWORD ms) {
    const ULONGLONG end = GetTickCount64() + ms;
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        const ULONGLONG now = GetTickCount64();
        if (now >= end) return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(std::min<ULONGLONG>(end - now, 5)),
                                  QS_ALLINPUT);
    }
}

template <typename Pred> bool waitUntil(Pred pred, DWORD ms) {
    const ULONGLONG end = GetTickCount64() + ms;
    for (;;) {
        if (pred()) return true;
        if (GetTickCount64() >= end) return false;
        pump(5);
    }
}

void key(WORD vk, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &in, sizeof in);
}

// Held until `done` or long enough for the program's 50 ms poll to see it down, then waits up to `waitMs` more.
template <typename Pred> bool press(WORD vk, Pred done, DWORD holdMs, DWORD waitMs) {
    key(vk, false);
    const bool early = waitUntil(done, holdMs);
    key(vk, true);
    return early || waitUntil(done, waitMs);
}

void press(WORD vk, DWORD holdMs) {
    press(
        vk, [] { return false; }, holdMs, 0);
}

// Text and caret at its end, where the next key goes.
void setText(const std::wstring& text) {
    SetWindowTextW(g_edit, text.c_str());
    SendMessageW(g_edit, EM_SETSEL, text.size(), text.size());
}

std::wstring editText() {
    std::wstring s(static_cast<std::size_t>(GetWindowTextLengthW(g_edit)) + 1, L'\0');
    s.resize(static_cast<std::size_t>(GetWindowTextW(g_edit, s.data(), static_cast<int>(s.size()))));
    return s;
}

// Alt+key and a lone Alt end here instead of in a menu (whose loop would hold this thread): counted, and the
// window stays as it is. Wine sends Alt+key to the focused edit and a lone Alt to the top-level window.
bool keyMenu(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg != WM_SYSCOMMAND || (wp & 0xFFF0) != SC_KEYMENU) return false;
    ++(lp ? g_altMenus : g_loneAlts);
    return true;
}

LRESULT CALLBACK targetProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    return keyMenu(msg, wp, lp) ? 0 : DefWindowProcW(w, msg, wp, lp);
}

LRESULT CALLBACK editHook(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    if (keyMenu(msg, wp, lp)) return 0;
    return CallWindowProcW(reinterpret_cast<WNDPROC>(GetWindowLongPtrW(w, GWLP_USERDATA)), w, msg, wp, lp);
}

HWND createTarget() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = targetProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"WwSoakTarget";
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    RegisterClassW(&wc);
    HWND top = CreateWindowExW(0, wc.lpszClassName, L"WW Soak Target", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 300, 300, 500,
                               300, nullptr, nullptr, wc.hInstance, nullptr);
    g_edit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL, 0, 0,
                             480, 260, top, nullptr, wc.hInstance, nullptr);
    SetWindowLongPtrW(g_edit, GWLP_USERDATA, GetWindowLongPtrW(g_edit, GWLP_WNDPROC));
    SetWindowLongPtrW(g_edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(editHook));
    return top;
}

void toFront(HWND top) {
    if (GetForegroundWindow() != top) {
        SetForegroundWindow(top);
        waitUntil([&] { return GetForegroundWindow() == top; }, 2000);
        pump(100);
    }
    if (GetFocus() != g_edit) SetFocus(g_edit);
}

// Wine keeps a Num Lock of its own, off in a new session: keypad 0 would then type nothing and the program's
// Backspace would take a real character. Our thread's view of the toggle is current once it has handled its input.
bool numLockOn() {
    for (int attempt = 0; attempt < 3; ++attempt) {
        pump(20);
        if (GetKeyState(VK_NUMLOCK) & 1) return true;
        press(VK_NUMLOCK, 30);
        pump(100);
    }
    return false;
}

std::vector<Assignment> readTexts(const wchar_t* path) {
    std::vector<Assignment> texts;
    std::ifstream in(path, std::ios::binary);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.size() < 2 || line[1] != '\t') continue;
        std::wstring typed = wide(line.substr(2));
        for (std::size_t at; (at = typed.find(L"###")) != std::wstring::npos;)
            typed.replace(at, 3, L"\r\n");
        texts.push_back({static_cast<wchar_t>(line[0]), typed});
    }
    return texts;
}

struct Tally {
    long done = 0, wrong = 0, triggerRetries = 0, keyRetries = 0, numLockFixes = 0, modifierChecks = 0,
         modifierFails = 0, heldChecks = 0, heldFails = 0;
};

constexpr WORD kModifiers[] = {VK_SHIFT, VK_LSHIFT, VK_RSHIFT, VK_CONTROL, VK_LCONTROL, VK_RCONTROL,
                               VK_MENU,  VK_LMENU,  VK_RMENU,  VK_LWIN,    VK_RWIN};

std::string modifiersDown() {
    std::string down;
    for (WORD vk : kModifiers)
        if (GetAsyncKeyState(vk) & 0x8000) down += " 0x" + std::to_string(vk);
    return down;
}

// One expansion: keypad 0, then the key (with `held` down around it, if any). Each press the program's poll
// missed is given again, with the text put back as it was.
void expandOnce(const Assignment& a, WORD held, Tally& t) {
    if (held || GetWindowTextLengthW(g_edit) > 3000) setText(L"");
    const std::wstring base = editText();
    if (!(GetKeyState(VK_NUMLOCK) & 1)) {
        ++t.numLockFixes;
        numLockOn();
    }
    bool armed = false;
    for (int attempt = 0; attempt < 4 && !armed; ++attempt) {
        if (attempt) {
            ++t.triggerRetries;
            setText(base);
        }
        armed = press(
            VK_NUMPAD0, [&] { return editText() == base + L"OK"; }, 90, 800);
    }
    if (held) key(held, false);
    const std::wstring want = base + a.typed;
    const DWORD wait = 3000 + 5 * static_cast<DWORD>(a.typed.size());
    bool typed = false;
    for (int attempt = 0; armed && attempt < 4 && !typed; ++attempt) {
        if (attempt) {
            ++t.keyRetries;
            setText(base + L"OK");
        }
        typed = press(
            static_cast<WORD>(a.key), [&] { return editText() == want; }, 70, wait);
    }
    if (held) {
        ++t.heldChecks;
        if (!(GetAsyncKeyState(held) & 0x8000)) {
            ++t.heldFails;
            printf("held key 0x%x not down again after expansion %ld\n", held, t.done);
        }
        key(held, true);
        pump(70); // past Wine's 50 ms key-state cache, which the check above has just filled
    }
    ++t.modifierChecks;
    const std::string down = modifiersDown();
    if (!down.empty()) {
        ++t.modifierFails;
        printf("modifiers down after expansion %ld:%s\n", t.done, down.c_str());
        for (WORD vk : kModifiers)
            if (GetAsyncKeyState(vk) & 0x8000) key(vk, true);
    }
    if (!typed && ++t.wrong <= 5)
        printf("expansion %ld of key %c: got [%s], want [%s]\n", t.done, static_cast<char>(a.key),
               utf8(editText()).c_str(), utf8(want).c_str());
    ++t.done;
}

DWORD programPid() {
    HWND main = FindWindowW(kMainClass, nullptr);
    DWORD pid = 0;
    if (main) GetWindowThreadProcessId(main, &pid);
    return pid;
}

HWND windowOf(DWORD pid, const wchar_t* cls) {
    for (HWND w = FindWindowExW(nullptr, nullptr, cls, nullptr); w; w = FindWindowExW(nullptr, w, cls, nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner == pid && IsWindowVisible(w)) return w;
    }
    return nullptr;
}

HWND mainWindow(DWORD pid) {
    for (HWND w = FindWindowExW(nullptr, nullptr, kMainClass, nullptr); w;
         w = FindWindowExW(nullptr, w, kMainClass, nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner == pid) return w;
    }
    return nullptr;
}

// Where the icon is: in Wine's standalone tray (no virtual desktop) each icon is a child window; in the virtual
// desktop's task bar a single icon sits at its right end.
bool trayIconRect(RECT* r) {
    if (HWND tray = FindWindowW(L"__winex11_standalone_tray", nullptr)) {
        for (HWND c = FindWindowExW(tray, nullptr, L"__winex11_tray_icon", nullptr); c;
             c = FindWindowExW(tray, c, L"__winex11_tray_icon", nullptr))
            if (IsWindowVisible(c) && GetWindowRect(c, r)) return true;
        return false;
    }
    HWND taskbar = FindWindowW(L"Shell_TrayWnd", nullptr);
    RECT bar;
    if (!taskbar || !GetWindowRect(taskbar, &bar)) return false;
    *r = {bar.right - 18, bar.top + 4, bar.right - 3, bar.top + 17};
    return true;
}

// The main window's icon is in the tray: a modify that changes nothing succeeds only for an icon the tray holds.
bool iconShown(HWND main) {
    NOTIFYICONDATAW icon{};
    icon.cbSize = sizeof icon;
    icon.hWnd = main;
    icon.uID = 1;
    return Shell_NotifyIconW(NIM_MODIFY, &icon);
}

// The main window is back, answers, and its icon is in the tray.
bool mainBack(DWORD pid) {
    HWND main = mainWindow(pid);
    DWORD_PTR r = 0;
    return main && SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &r) && iconShown(main);
}

// Right click on the icon, as the user opens the menu, then Esc.
bool menuCycle(DWORD pid) {
    RECT icon;
    if (!waitUntil([&] { return mainBack(pid) && trayIconRect(&icon); }, 5000)) return false;
    SetCursorPos((icon.left + icon.right) / 2, (icon.top + icon.bottom) / 2);
    pump(GetDoubleClickTime() + 50); // a click soon after the last one would be a double click
    INPUT click[2]{};
    click[0].type = click[1].type = INPUT_MOUSE;
    click[0].mi.dwFlags = MOUSEEVENTF_RIGHTDOWN;
    click[1].mi.dwFlags = MOUSEEVENTF_RIGHTUP;
    SendInput(2, click, sizeof click[0]);
    if (!waitUntil([&] { return windowOf(pid, L"#32768") != nullptr; }, 5000)) return false;
    press(VK_ESCAPE, 30);
    return waitUntil([&] { return windowOf(pid, L"#32768") == nullptr; }, 5000);
}

// Opens a window by its menu command, leaves it open `openMs` and closes it with the close box's message; the
// editor, the pick list and the help window unload the main window and bring it back when they close.
bool windowCycle(DWORD pid, UINT command, const wchar_t* cls, DWORD openMs) {
    if (!waitUntil([&] { return mainBack(pid); }, 10000)) return false;
    PostMessageW(mainWindow(pid), WM_COMMAND, command, 0);
    HWND w = nullptr;
    if (!waitUntil([&] { return (w = windowOf(pid, cls)) != nullptr; }, 10000)) return false;
    pump(openMs);
    PostMessageW(w, WM_CLOSE, 0, 0);
    return waitUntil([&] { return !IsWindow(w) && mainBack(pid); }, 10000);
}

struct Kind {
    const char* name;
    UINT command;
    const wchar_t* cls;
};
constexpr Kind kKinds[] = {{"menu", 0, nullptr},
                           {"editor", kCmdEditor, L"WortwerkForm2"},
                           {"overview", kCmdOverview, L"WortwerkForm7"},
                           {"picklist", kCmdPickList, L"WortwerkForm6"},
                           {"help", kCmdHelp, L"WortwerkForm5"}};

// Each window stays open a moment, the editor past a tick of its word light.
bool cycle(DWORD pid, const Kind& kind, DWORD openMs = 0) {
    if (!openMs) openMs = kind.command == kCmdEditor ? 600 : 100;
    return kind.command ? windowCycle(pid, kind.command, kind.cls, openMs) : menuCycle(pid);
}

int run(const wchar_t* textsPath, long expansions, long cycles) {
    const auto texts = readTexts(textsPath);
    const DWORD pid = programPid();
    if (texts.empty() || !pid) {
        fputs("no texts or no running program\n", stderr);
        return 2;
    }
    // Keys whose Ctrl combination an edit control does something with (select, copy, Backspace, Tab, Enter...)
    // are left out of the rounds with a held modifier.
    std::vector<Assignment> heldSafe;
    for (const auto& a : texts)
        if (std::wstring(L"ACHIJMVXZ").find(a.key) == std::wstring::npos) heldSafe.push_back(a);
    HWND top = createTarget();
    toFront(top);
    if (!numLockOn()) {
        puts("Num Lock could not be switched on");
        return 1;
    }
    const ULONGLONG warmStart = GetTickCount64();
    // One of everything first, so that what Wine and the program set up once does not count as growth.
    for (const Kind& kind : kKinds)
        if (!cycle(pid, kind, 1200)) printf("warm-up cycle of the %s failed\n", kind.name);
    toFront(top);
    Tally warm;
    for (std::size_t i = 0; i < texts.size(); ++i)
        expandOnce(texts[i], 0, warm);
    for (WORD held : {VK_LSHIFT, VK_LCONTROL, VK_LMENU})
        expandOnce(heldSafe.front(), held, warm);
    pump(500);
    printf("warm-up seconds=%.0f\n", static_cast<double>(GetTickCount64() - warmStart) / 1000.0);
    soak::print("before", soak::measure(pid));

    Tally t;
    const WORD rotation[] = {VK_LSHIFT, VK_LCONTROL, VK_LMENU};
    const long every = std::max(1L, expansions / 10);
    const ULONGLONG started = GetTickCount64();
    for (long i = 0; i < expansions; ++i) {
        toFront(top);
        const bool hold = i % 4 == 3;
        const auto& pool = hold ? heldSafe : texts;
        expandOnce(pool[static_cast<std::size_t>(i / 4) % pool.size()], hold ? rotation[(i / 4) % 3] : 0, t);
        if ((i + 1) % every == 0 && i + 1 < expansions)
            soak::print(("during " + std::to_string(i + 1)).c_str(), soak::measure(pid));
    }
    const double seconds = static_cast<double>(GetTickCount64() - started) / 1000.0;
    pump(500);
    soak::print("after-expansions", soak::measure(pid));
    printf("expansions %ld wrong=%ld trigger_retries=%ld key_retries=%ld num_lock_fixes=%ld seconds=%.0f\n", t.done,
           t.wrong, t.triggerRetries, t.keyRetries, t.numLockFixes, seconds);
    printf("modifier_checks run=%ld failed=%ld\nheld_restored run=%ld failed=%ld\nalt_keys menus=%ld lone_alt=%ld\n",
           t.modifierChecks, t.modifierFails, t.heldChecks, t.heldFails, g_altMenus, g_loneAlts);
    fflush(stdout);

    for (const Kind& kind : kKinds) {
        const ULONGLONG started = GetTickCount64();
        long ok = 0;
        for (long i = 0; i < cycles; ++i)
            if (cycle(pid, kind)) ++ok;
        pump(300);
        printf("cycles %s %ld ok=%ld seconds=%.0f\n", kind.name, cycles, ok,
               static_cast<double>(GetTickCount64() - started) / 1000.0);
        soak::print(("after-" + std::string(kind.name)).c_str(), soak::measure(pid));
    }
    DestroyWindow(top);
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring cmd = argc > 1 ? argv[1] : L"";
    if (cmd == L"counts") {
        const DWORD pid = programPid();
        if (!pid) return 1;
        soak::print("counts", soak::measure(pid));
        return 0;
    }
    if (cmd == L"run" && argc > 4) return run(argv[2], _wtol(argv[3]), _wtol(argv[4]));
    fputs("usage: soakdriver counts | run TEXTS EXPANSIONS CYCLES\n", stderr);
    return 2;
}
