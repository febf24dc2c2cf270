#pragma once
// All a soak counts of another process: besides the leak figures of the e2e header, USER and GDI objects and private
// memory. Wine 8 answers only part of the usual calls (GetGuiResources is a stub, PrivateUsage stays 0), so private
// memory falls back to the commit charge (PagefileUsage).
#include "../../tests/e2e/tools/process_counts.h"

#include <psapi.h>

#include <cstdio>
#include <string>

namespace soak {

struct ProcessCounts {
    long userObjects = -1; // GetGuiResources; -1 where the system does not implement it
    long gdiObjects = -1;
    long windows = -1;    // top-level, child and message-only windows of the process
    long gdiEntries = -1; // used entries of the process's GDI handle table
    long handles = -1;    // GetProcessHandleCount, or the process's entries in the system handle list
    long long privateBytes = -1;
    bool privateFromCommit = false; // PagefileUsage stood in for PrivateUsage
};

inline long guiResources(HANDLE process, DWORD which) {
    SetLastError(ERROR_SUCCESS);
    const DWORD n = GetGuiResources(process, which);
    return n == 0 && GetLastError() == ERROR_CALL_NOT_IMPLEMENTED ? -1 : static_cast<long>(n);
}

inline ProcessCounts measure(DWORD pid) {
    ProcessCounts c;
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
    if (!process) return c;
    c.userObjects = guiResources(process, GR_USEROBJECTS);
    c.gdiObjects = guiResources(process, GR_GDIOBJECTS);
    c.windows = windowsOf(pid);
    c.gdiEntries = gdiTableEntries(process);
    DWORD handles = 0;
    c.handles =
        GetProcessHandleCount(process, &handles) && handles > 0 ? static_cast<long>(handles) : systemHandleEntries(pid);
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof memory;
    if (GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory)) {
        c.privateFromCommit = memory.PrivateUsage == 0;
        c.privateBytes = static_cast<long long>(c.privateFromCommit ? memory.PagefileUsage : memory.PrivateUsage);
    }
    CloseHandle(process);
    return c;
}

inline std::string figure(long long n) {
    return n < 0 ? "n/a" : std::to_string(n);
}

// One line, "name=value" pairs, for the scripts.
inline void print(const char* label, const ProcessCounts& c) {
    printf("%s user=%s gdi=%s windows=%s gdi_table=%s handles=%s private=%s%s\n", label, figure(c.userObjects).c_str(),
           figure(c.gdiObjects).c_str(), figure(c.windows).c_str(), figure(c.gdiEntries).c_str(),
           figure(c.handles).c_str(), figure(c.privateBytes).c_str(),
           c.privateFromCommit ? " private_source=commit" : "");
    fflush(stdout);
}

} // namespace soak
