#pragma once
// What another process holds, counted in ways that work under Wine 8 (where GetGuiResources is a stub and
// GetProcessHandleCount says 0): its windows one by one, the used entries of its GDI handle table read from its
// memory, and its entries in the system's handle list. The window walks serve the e2e driver as well.
#include <windows.h>
#include <winternl.h>

#include <algorithm>
#include <vector>

namespace soak {

// Top-level windows for null, else every window inside PARENT (children of children too).
inline std::vector<HWND> windowsIn(HWND parent) {
    std::vector<HWND> found;
    const WNDENUMPROC add = [](HWND w, LPARAM lp) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(lp)->push_back(w);
        return TRUE;
    };
    const auto lp = reinterpret_cast<LPARAM>(&found);
    parent ? EnumChildWindows(parent, add, lp) : EnumWindows(add, lp);
    return found;
}

inline DWORD ownerOf(HWND w) {
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    return pid;
}

// Its top-level windows with everything inside them, and its message-only windows (which no enumeration lists).
inline long windowsOf(DWORD pid) {
    long n = 0;
    for (HWND w : windowsIn(nullptr))
        if (ownerOf(w) == pid) n += 1 + static_cast<long>(windowsIn(w).size());
    for (HWND w = nullptr; (w = FindWindowExW(HWND_MESSAGE, w, nullptr, nullptr));)
        if (ownerOf(w) == pid) ++n;
    return n;
}

// Wine keeps each process's GDI objects in a table that the PEB points to (GdiSharedHandleTable, at 0xF8 in a
// 64-bit PEB): 65536 entries of 24 bytes, the object type at byte 14, 0 for a free entry.
inline long gdiTableEntries(HANDLE process) {
    struct Entry {
        unsigned char before[14], type, after[9];
    };
    PROCESS_BASIC_INFORMATION basic{};
    const Entry* table = nullptr;
    std::vector<Entry> entries(0x10000);
    const bool read = NtQueryInformationProcess(process, ProcessBasicInformation, &basic, sizeof basic, nullptr) == 0 &&
                      ReadProcessMemory(process, reinterpret_cast<const char*>(basic.PebBaseAddress) + 0xF8, &table,
                                        sizeof table, nullptr) &&
                      ReadProcessMemory(process, table, entries.data(), entries.size() * sizeof(Entry), nullptr);
    return read ? static_cast<long>(std::ranges::count_if(entries, [](const Entry& e) { return e.type != 0; })) : -1;
}

// One record per open handle of every process, each with its owner.
inline long systemHandleEntries(DWORD pid) {
    for (ULONG size = 1 << 20;; size *= 2) {
        std::vector<unsigned char> buffer(size);
        const NTSTATUS status = NtQuerySystemInformation(SystemHandleInformation, buffer.data(), size, nullptr);
        if (status == static_cast<NTSTATUS>(0xC0000004)) continue; // STATUS_INFO_LENGTH_MISMATCH: more than fit
        if (status != 0) return -1;
        const auto& info = *reinterpret_cast<const SYSTEM_HANDLE_INFORMATION*>(buffer.data());
        return static_cast<long>(std::count_if(info.Handle, info.Handle + info.Count,
                                               [&](const SYSTEM_HANDLE_ENTRY& e) { return e.OwnerPid == pid; }));
    }
}

} // namespace soak
