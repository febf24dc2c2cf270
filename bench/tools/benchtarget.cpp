// Benchmark target and key prober.
//   benchtarget window LOG TEXT [sink]
//                                 a window "WW Bench Target" with a multi-line edit that records, in memory, the
//                                 wall-clock time (ns since 1970, comparable with `date +%s%N`) at which each
//                                 key message arrives and when the edit has handled it. Commands by message:
//                                 WM_APP+1 writes the record to LOG and empties it, WM_APP+2 writes the edit's
//                                 text (UTF-8) to TEXT, WM_APP+3 empties edit and record, WM_APP+4 returns the
//                                 text length. With "sink" the characters are kept in memory instead of being
//                                 handed to the edit, which leaves out the edit control's own cost.
//   benchtarget probe N VK HOLD GAP  presses VK by SendInput N times, held HOLD ms, GAP ms apart, printing the
//                                 time before each press: the cost of the injection path alone.
//   benchtarget burst CHARS [CHUNK PAUSE]  sends CHARS letters in one SendInput call (or in calls of CHUNK letters,
//                                 PAUSE ms apart), printing the start and end time and the number of events sent.
//   benchtarget poll VK MS TOTAL  prints every non-zero GetAsyncKeyState(VK), polled on a MS timer for TOTAL ms.
//   benchtarget ticks KEYS MS SECONDS [FIRST]  the engine's polling pattern alone (KEYS queries of the codes from
//                                 FIRST, default 48, per MS tick), for CPU use.
#include <windows.h>
#include <commctrl.h>

#include "../../src/platform/win32/handles.h"

#include <algorithm>
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
    bool sink = false; // characters go into `sinkText` instead of the edit: the input path without the edit's cost
    std::wstring sinkText;
};
Target g;

bool isKeyMessage(UINT msg) {
    return msg == WM_KEYDOWN || msg == WM_KEYUP || msg == WM_CHAR || msg == WM_SYSKEYDOWN || msg == WM_SYSKEYUP;
}

void sinkChar(wchar_t ch) {
    if (ch == L'\b') {
        if (!g.sinkText.empty()) g.sinkText.pop_back();
    } else if (ch == L'\r') {
        g.sinkText += L"\r\n";
    } else {
        g.sinkText += ch;
    }
}

LRESULT CALLBACK editProc(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
    if (!isKeyMessage(msg)) return DefSubclassProc(w, msg, wp, lp);
    const std::int64_t arrived = nowNs();
    LRESULT r = 0;
    if (!g.sink) {
        r = DefSubclassProc(w, msg, wp, lp);
    } else if (msg == WM_CHAR) {
        sinkChar(static_cast<wchar_t>(wp));
    }
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
    if (g.sink) return g.sinkText;
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
                                 WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL, 0,
                                 0, 0, 0, w, nullptr, GetModuleHandleW(nullptr), nullptr);
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
        g.sinkText.clear();
        g.events.clear();
        return 0;
    case kTextLength:
        return static_cast<LRESULT>(editText().size());
    case WM_DESTROY:
        RemoveWindowSubclass(g.edit, editProc, 1);
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(w, msg, wp, lp);
}

int runWindow(const wchar_t* logPath, const wchar_t* textPath, bool sink) {
    g.sink = sink;
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
    ww::win::UniqueWindow w(CreateWindowExW(0, wc.lpszClassName, kTitle, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 640,
                                            400, nullptr, nullptr, wc.hInstance, nullptr));
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

int runProbe(int count, WORD vk, DWORD holdMs, DWORD gapMs) {
    for (int i = 0; i < count; ++i) {
        INPUT down = key(vk, false);
        INPUT up = key(vk, true);
        const std::int64_t t = nowNs();
        if (SendInput(1, &down, sizeof(INPUT)) != 1) return 1;
        Sleep(holdMs);
        if (SendInput(1, &up, sizeof(INPUT)) != 1) return 1;
        printf("%lld\n", static_cast<long long>(t));
        fflush(stdout);
        Sleep(gapMs);
    }
    return 0;
}

// All letters in one SendInput call, or in calls of `chunk` letters with `pauseMs` between them (pacing).
int runBurst(int chars, int chunk, DWORD pauseMs) {
    std::vector<INPUT> inputs;
    for (int i = 0; i < chars; ++i) {
        const WORD vk = static_cast<WORD>('A' + i % 26);
        inputs.push_back(key(vk, false));
        inputs.push_back(key(vk, true));
    }
    const std::size_t step = chunk > 0 ? static_cast<std::size_t>(chunk) * 2 : inputs.size();
    const std::int64_t start = nowNs();
    UINT sent = 0;
    for (std::size_t at = 0; at < inputs.size(); at += step) {
        const auto n = static_cast<UINT>(std::min(step, inputs.size() - at));
        if (at > 0 && pauseMs > 0) Sleep(pauseMs);
        sent += SendInput(n, inputs.data() + at, sizeof(INPUT));
    }
    const std::int64_t end = nowNs();
    printf("%lld %lld %u\n", static_cast<long long>(start), static_cast<long long>(end), sent);
    return sent == inputs.size() ? 0 : 1;
}

// Polls on a thread timer, as the engine does, and prints every non-zero key state.
int runPoll(WORD vk, UINT intervalMs, DWORD totalMs) {
    const UINT_PTR timer = SetTimer(nullptr, 0, intervalMs, nullptr);
    if (!timer) return 1;
    const ULONGLONG end = GetTickCount64() + totalMs;
    MSG m;
    while (GetTickCount64() < end && GetMessageW(&m, nullptr, 0, 0) > 0) {
        if (m.message != WM_TIMER) continue;
        const auto state = static_cast<unsigned short>(GetAsyncKeyState(vk));
        if (state) printf("%lld 0x%04x\n", static_cast<long long>(nowNs()), state);
    }
    KillTimer(nullptr, timer);
    return 0;
}

// The engine's polling pattern without the engine: `keys` queries of the codes from `first` upwards on every tick of
// a window timer, for `seconds`. Its CPU time, read from outside, splits the engine's cost into wake-ups and queries.
int runTicks(int keys, UINT intervalMs, DWORD seconds, int first) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"WwBenchTicks";
    if (!RegisterClassW(&wc)) return 1;
    ww::win::UniqueWindow w(
        CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, wc.hInstance, nullptr));
    if (!w || !SetTimer(w.get(), 1, intervalMs, nullptr)) return 1;
    const ULONGLONG end = GetTickCount64() + seconds * 1000ULL;
    unsigned long long ticks = 0, pressed = 0;
    MSG m;
    while (GetTickCount64() < end && GetMessageW(&m, nullptr, 0, 0) > 0) {
        if (m.message != WM_TIMER) continue;
        ++ticks;
        for (int k = 0; k < keys; ++k)
            if (static_cast<unsigned short>(GetAsyncKeyState(first + k)) == 0x8001) ++pressed;
    }
    KillTimer(w.get(), 1);
    printf("%llu ticks, %llu presses\n", ticks, pressed);
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring mode = argc > 1 ? argv[1] : L"";
    if (mode == L"window" && (argc == 4 || argc == 5))
        return runWindow(argv[2], argv[3], argc == 5 && wcscmp(argv[4], L"sink") == 0);
    if (mode == L"probe" && argc == 6)
        return runProbe(_wtoi(argv[2]), static_cast<WORD>(wcstoul(argv[3], nullptr, 0)), _wtoi(argv[4]),
                        _wtoi(argv[5]));
    if (mode == L"poll" && argc == 5)
        return runPoll(static_cast<WORD>(wcstoul(argv[2], nullptr, 0)), _wtoi(argv[3]), _wtoi(argv[4]));
    if (mode == L"ticks" && (argc == 5 || argc == 6))
        return runTicks(_wtoi(argv[2]), _wtoi(argv[3]), _wtoi(argv[4]),
                        argc == 6 ? static_cast<int>(wcstol(argv[5], nullptr, 0)) : 48);
    if (mode == L"burst" && (argc == 3 || argc == 5))
        return runBurst(_wtoi(argv[2]), argc == 5 ? _wtoi(argv[3]) : 0, argc == 5 ? _wtoi(argv[4]) : 0);
    fputs("usage: benchtarget window LOG TEXT [sink] | probe N VK HOLDMS GAPMS | burst CHARS [CHUNK PAUSEMS]\n"
          "       | poll VK MS TOTAL | ticks KEYS MS SECONDS [FIRST]\n",
          stderr);
    return 2;
}
