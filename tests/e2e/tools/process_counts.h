#pragma once
// What another process holds, counted in ways that work under Wine 8 (where GetGuiResources is a stub and
// GetProcessHandleCount says 0): its windows one by one, the used entries of its GDI handle table read from its
// memory, and its entries in the system's handle list.
#include <windows.h>
#include <winternl.h>

#include <algorithm>
#include <string>
#include <vector>

namespace soak {

inline long windowsOf(DWORD pid) {
    struct Walk {
        DWORD pid;
        long n = 0;
        bool mine(HWND w) const {
            DWORD owner = 0;
            GetWindowThreadProcessId(w, &owner);
            return owner == pid;
        }
    } walk{pid};
    EnumWindows(
        [](HWND w, LPARAM lp) -> BOOL {
            auto& walk = *reinterpret_cast<Walk*>(lp);
            if (!walk.mine(w)) return TRUE;
            ++walk.n;
            EnumChildWindows(
                w,
                [](HWND, LPARAM lp) -> BOOL {
                    ++reinterpret_cast<Walk*>(lp)->n;
                    return TRUE;
                },
                lp);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&walk));
    for (HWND w = FindWindowExW(HWND_MESSAGE, nullptr, nullptr, nullptr); w;
         w = FindWindowExW(HWND_MESSAGE, w, nullptr, nullptr))
        if (walk.mine(w)) ++walk.n;
    return walk.n;
}

template <typename F> F ntdll(const char* name) {
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), name)));
}

// Wine keeps each process's GDI objects in a table that the PEB points to (GdiSharedHandleTable, at 0xF8 in a
// 64-bit PEB): 65536 entries of 24 bytes, the object type at byte 14, 0 for a free entry.
inline long gdiTableEntries(HANDLE process) {
    using QueryProcess = NTSTATUS(NTAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
    const auto query = ntdll<QueryProcess>("NtQueryInformationProcess");
    PROCESS_BASIC_INFORMATION basic{};
    ULONG length = 0;
    if (!query || query(process, ProcessBasicInformation, &basic, sizeof basic, &length) != 0) return -1;
    ULONG_PTR table = 0;
    SIZE_T got = 0;
    const auto* peb = reinterpret_cast<const unsigned char*>(basic.PebBaseAddress);
    if (!ReadProcessMemory(process, peb + 0xF8, &table, sizeof table, &got) || !table) return -1;
    constexpr std::size_t kEntries = 0x10000, kEntrySize = 24, kTypeOffset = 14;
    std::vector<unsigned char> entries(kEntries * kEntrySize);
    if (!ReadProcessMemory(process, reinterpret_cast<const void*>(table), entries.data(), entries.size(), &got))
        return -1;
    long used = 0;
    for (std::size_t i = 0; i < kEntries; ++i)
        if (entries[i * kEntrySize + kTypeOffset] != 0) ++used;
    return used;
}

// SystemHandleInformation (16): one record per open handle of every process, owner in the first 16 bits.
inline long systemHandleEntries(DWORD pid) {
    using QuerySystem = NTSTATUS(NTAPI*)(ULONG, PVOID, ULONG, PULONG);
    const auto query = ntdll<QuerySystem>("NtQuerySystemInformation");
    struct Entry {
        USHORT pid, backTrace;
        UCHAR type, flags;
        USHORT handle;
        PVOID object;
        ULONG access;
    };
    std::vector<unsigned char> buffer(1 << 20);
    for (int tries = 0; query && tries < 6; ++tries) {
        ULONG needed = 0;
        const NTSTATUS status = query(16, buffer.data(), static_cast<ULONG>(buffer.size()), &needed);
        if (status == static_cast<NTSTATUS>(0xC0000004)) { // STATUS_INFO_LENGTH_MISMATCH
            buffer.resize(std::max<std::size_t>(buffer.size() * 2, needed + 65536));
            continue;
        }
        if (status != 0) return -1;
        const ULONG count = *reinterpret_cast<const ULONG*>(buffer.data());
        const auto* entry = reinterpret_cast<const Entry*>(buffer.data() + sizeof(ULONG_PTR));
        long mine = 0;
        for (ULONG i = 0; i < count; ++i)
            if (entry[i].pid == static_cast<USHORT>(pid)) ++mine;
        return mine;
    }
    return -1;
}

// "windows gdi_table handles" of a process: the figures that show a leak under Wine.
inline std::string leakCounts(DWORD pid) {
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
    if (!process) return {};
    const std::string counts = std::to_string(windowsOf(pid)) + " " + std::to_string(gdiTableEntries(process)) + " " +
                               std::to_string(systemHandleEntries(pid));
    CloseHandle(process);
    return counts;
}

} // namespace soak
