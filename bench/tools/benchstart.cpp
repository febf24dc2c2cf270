// Start-up timer: launches wortwerk.exe with a given current directory and polls Wine's standalone tray every
// ~2 ms until a new icon window is there; then terminates the copy and waits for its icon to go. Prints one line
// per run: "run N icon_ms X window_ms Y gone_ms Z desktop_stall_ms S" (window: the main window exists; gone: the
// icon has left the tray after the kill; -1: not seen in time).
#include <windows.h>

#include "../../src/platform/win32/handles.h"

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

struct KernelHandleTraits {
    static HANDLE invalid() { return nullptr; }
    static void close(HANDLE h) { CloseHandle(h); }
};
using UniqueHandle = ww::win::Unique<HANDLE, KernelHandleTraits>;

constexpr DWORD kPollMs = 2;
constexpr double kTimeoutMs = 20000;

double nowMs() {
    static const LARGE_INTEGER freq = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER c;
    QueryPerformanceCounter(&c);
    return static_cast<double>(c.QuadPart) * 1000.0 / static_cast<double>(freq.QuadPart);
}

// Wine without a virtual desktop shows each icon as a visible child "__winex11_tray_icon" of the standalone tray.
int trayIcons() {
    HWND tray = FindWindowW(L"__winex11_standalone_tray", nullptr);
    if (!tray) return 0;
    int n = 0;
    for (HWND c = FindWindowExW(tray, nullptr, L"__winex11_tray_icon", nullptr); c;
         c = FindWindowExW(tray, c, L"__winex11_tray_icon", nullptr))
        if (IsWindowVisible(c)) ++n;
    return n;
}

bool mainWindowThere() {
    return FindWindowW(L"WortwerkForm1", nullptr) != nullptr;
}

// Waits until the icon count is back at `count` (a terminated copy's icon is removed by the tray, not by it).
double waitForIcons(int count) {
    const double start = nowMs();
    while (trayIcons() != count) {
        if (nowMs() - start > kTimeoutMs) return -1;
        Sleep(kPollMs);
    }
    return nowMs() - start;
}

// After a TerminateProcess Wine's desktop thread stalls for about 2 s, and a copy started meanwhile waits for it
// in its first window; measuring the stall here keeps it out of the next run.
double waitForDesktop() {
    const double start = nowMs();
    DWORD_PTR r = 0;
    if (!SendMessageTimeoutW(GetDesktopWindow(), WM_NULL, 0, 0, SMTO_NORMAL, 10000, &r)) return -1;
    return nowMs() - start;
}

struct Run {
    double iconMs = -1;
    double windowMs = -1;
    double goneMs = -1;
    double desktopMs = -1;
};

bool startOnce(const std::wstring& exe, const std::wstring& dir, Run& run) {
    const int before = trayIcons();
    std::wstring cmdline = L"\"" + exe + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    const double t0 = nowMs();
    if (!CreateProcessW(exe.c_str(), cmdline.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &si, &pi)) {
        fprintf(stderr, "CreateProcess failed: %lu\n", GetLastError());
        return false;
    }
    UniqueHandle process(pi.hProcess);
    UniqueHandle thread(pi.hThread);
    for (;;) {
        const double t = nowMs() - t0;
        if (run.windowMs < 0 && mainWindowThere()) run.windowMs = t;
        if (trayIcons() > before) {
            run.iconMs = t;
            break;
        }
        if (t > kTimeoutMs || WaitForSingleObject(process.get(), 0) == WAIT_OBJECT_0) break;
        Sleep(kPollMs);
    }
    if (!TerminateProcess(process.get(), 0)) fprintf(stderr, "TerminateProcess failed: %lu\n", GetLastError());
    if (WaitForSingleObject(process.get(), 10000) != WAIT_OBJECT_0) fprintf(stderr, "copy did not end\n");
    run.goneMs = waitForIcons(before);
    run.desktopMs = waitForDesktop();
    return true;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 4) {
        fputs("usage: benchstart EXE DIR RUNS\n", stderr);
        return 2;
    }
    const int runs = _wtoi(argv[3]);

    for (int i = 1; i <= runs; ++i) {
        Run run;
        if (!startOnce(argv[1], argv[2], run)) return 1;
        printf("run %d icon_ms %.1f window_ms %.1f gone_ms %.1f desktop_stall_ms %.1f\n", i, run.iconMs, run.windowMs,
               run.goneMs, run.desktopMs);
        fflush(stdout);
        Sleep(200); // let the tray and the server settle before the next launch
    }
    return 0;
}
