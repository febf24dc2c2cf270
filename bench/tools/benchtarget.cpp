// Benchmark target and key prober.
//   benchtarget window LOG TEXT   a window "WW Bench Target" with a multi-line edit that records, in memory, the
//                                 wall-clock time (ns since 1970, comparable with `date +%s%N`) at which each
//                                 key message arrives and when the edit has handled it. Commands by message:
//                                 WM_APP+1 writes the record to LOG and empties it, WM_APP+2 writes the edit's
//                                 text (UTF-8) to TEXT, WM_APP+3 empties edit and record, WM_APP+4 returns the
//                                 text length.
//   benchtarget probe N VK GAP    sends VK down+up by SendInput N times, GAP ms apart, printing the time before
//                                 each call: the cost of the injection path alone.
//   benchtarget burst CHARS       sends CHARS letters in one SendInput call, printing its start and end time.
#include <windows.h>
#include <commctrl.h>

#include "../../src/platform/win32/handles.h"

#include <cstdint>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

constexpr wchar_t kTitle[] = L"WW Bench Target";
constexpr UINT kDumpLog = WM_APP + 1;
constexpr UINT kDumpText = WM_APP + 2;
constexpr UINT kClear = WM_APP + 3;
constexpr UINT kTextLength = WM_APP + 4;

struct FileTraits {
    static FILE* invalid() { return nullptr; }
    static void close(FILE* f) { fclose(f); }
};
using UniqueCFile = ww::win::Unique<FILE*, FileTraits>;

std::int64_t nowNs() {
    FILETIME ft;
    GetSystemTimePreciseAsFileTime(&ft);
    const std::int64_t ticks = (static_cast<std::int64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    return (ticks - 116444736000000000LL) * 100; // 100 ns units since 1601 -> ns since 1970
}

struct Event {
    std::int64_t arrived;
    std::int64_t handled;
    UINT msg;
    WPARAM wp;
};

struct Target {
    std::wstring logPath;
    std::wstring textPath;
    HWND edit = nullptr;
    std::vector<Event> events;
};
Target g;

bool isKeyMessage(UINT msg) {
    return msg == WM_KEYDOWN || msg == WM_KEYUP || msg == WM_CHAR || msg == WM_SYSKEYDOWN || msg == WM_SYSKEYUP;
}

LRESULT CALLBACK editProc(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
    if (!isKeyMessage(msg)) return DefSubclassProc(w, msg, wp, lp);
    const std::int64_t arrived = nowNs();
    const LRESULT r = DefSubclassProc(w, msg, wp, lp);
    g.events.push_back({arrived, nowNs(), msg, wp});
    return r;
}

LRESULT dumpLog() {
    UniqueCFile f(_wfopen(g.logPath.c_str(), L"wb"));
    if (!f) return -1;
    for (const Event& e : g.events)
        fprintf(f.get(), "%lld %lld %u %llu\n", static_cast<long long>(e.arrived), static_cast<long long>(e.handled),
                e.msg, static_cast<unsigned long long>(e.wp));
    const auto n = static_cast<LRESULT>(g.events.size());
    g.events.clear();
    return n;
}

std::wstring editText() {
    std::wstring s(static_cast<std::size_t>(GetWindowTextLengthW(g.edit)) + 1, L'\0');
    s.resize(static_cast<std::size_t>(GetWindowTextW(g.edit, s.data(), static_cast<int>(s.size()))));
    return s;
}

LRESULT dumpText() {
    const std::wstring s = editText();
    const int n = WideCharToMultiByte(CP_UTF8, 0, s.c_str(), static_cast<int>(s.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, s.c_str(), static_cast<int>(s.size()), bytes.data(), n, nullptr, nullptr);
    UniqueCFile f(_wfopen(g.textPath.c_str(), L"wb"));
    if (!f || fwrite(bytes.data(), 1, bytes.size(), f.get()) != bytes.size()) return -1;
    return static_cast<LRESULT>(s.size());
}

LRESULT CALLBACK mainProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CREATE:
        g.edit = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                                 WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL,
                                 0, 0, 0, 0, w, nullptr, GetModuleHandleW(nullptr), nullptr);
        if (!g.edit || !SetWindowSubclass(g.edit, editProc, 1, 0)) return -1;
        SendMessageW(g.edit, EM_SETLIMITTEXT, 0, 0); // the 30,000-character default would cut long texts
        return 0;
    case WM_SIZE:
        MoveWindow(g.edit, 0, 0, LOWORD(lp), HIWORD(lp), TRUE);
        return 0;
    case WM_SETFOCUS:
        SetFocus(g.edit);
        return 0;
    case kDumpLog:
        return dumpLog();
    case kDumpText:
        return dumpText();
    case kClear:
        SetWindowTextW(g.edit, L"");
        g.events.clear();
        return 0;
    case kTextLength:
        return GetWindowTextLengthW(g.edit);
    case WM_DESTROY:
        RemoveWindowSubclass(g.edit, editProc, 1);
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(w, msg, wp, lp);
}

int runWindow(const wchar_t* logPath, const wchar_t* textPath) {
    g.logPath = logPath;
    g.textPath = textPath;
    g.events.reserve(200000);
    WNDCLASSW wc{};
    wc.lpfnWndProc = mainProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = L"WwBenchTarget";
    if (!RegisterClassW(&wc)) return 1;
    ww::win::UniqueWindow w(CreateWindowExW(0, wc.lpszClassName, kTitle, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50,
                                            640, 400, nullptr, nullptr, wc.hInstance, nullptr));
    if (!w) return 1;
    SetForegroundWindow(w.get());
    MSG m;
    while (GetMessageW(&m, nullptr, 0, 0) > 0) {
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
    w.release(); // destroyed by the message loop's end
    return 0;
}

INPUT key(WORD vk, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return in;
}

int runProbe(int count, WORD vk, DWORD gapMs) {
    for (int i = 0; i < count; ++i) {
        INPUT pair[2] = {key(vk, false), key(vk, true)};
        const std::int64_t t = nowNs();
        if (SendInput(2, pair, sizeof(INPUT)) != 2) return 1;
        printf("%lld\n", static_cast<long long>(t));
        fflush(stdout);
        Sleep(gapMs);
    }
    return 0;
}

int runBurst(int chars) {
    std::vector<INPUT> inputs;
    for (int i = 0; i < chars; ++i) {
        const WORD vk = static_cast<WORD>('A' + i % 26);
        inputs.push_back(key(vk, false));
        inputs.push_back(key(vk, true));
    }
    const std::int64_t start = nowNs();
    const UINT sent = SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    const std::int64_t end = nowNs();
    printf("%lld %lld %u\n", static_cast<long long>(start), static_cast<long long>(end), sent);
    return sent == inputs.size() ? 0 : 1;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring mode = argc > 1 ? argv[1] : L"";
    if (mode == L"window" && argc == 4) return runWindow(argv[2], argv[3]);
    if (mode == L"probe" && argc == 5)
        return runProbe(_wtoi(argv[2]), static_cast<WORD>(wcstoul(argv[3], nullptr, 0)), _wtoi(argv[4]));
    if (mode == L"burst" && argc == 3) return runBurst(_wtoi(argv[2]));
    fputs("usage: benchtarget window LOG TEXT | probe N VK GAPMS | burst CHARS\n", stderr);
    return 2;
}
