#include "platform/win32/system_library.h"

#include <string>

namespace ww::win {

UniqueModule loadSystemLibrary(const wchar_t* name, DWORD* code) {
    HMODULE module = LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    DWORD error = module ? ERROR_SUCCESS : GetLastError();
    if (!module && error == ERROR_INVALID_PARAMETER) {
        // Windows 7 without update KB2533623 knows no search flags: name the file in the system folder instead.
        wchar_t folder[MAX_PATH];
        const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
        error = length == 0 ? GetLastError() : ERROR_BUFFER_OVERFLOW;
        if (length > 0 && length < MAX_PATH) {
            const std::wstring path = std::wstring(folder, length) + L"\\" + name;
            // The library's own dependencies are then looked for in the system folder first, too.
            module = LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
            error = module ? ERROR_SUCCESS : GetLastError();
        }
    }
    if (!module) *code = error;
    return UniqueModule(module);
}

void restrictLibrarySearch() {
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
    const auto setDirectories =
        systemFunction<SetDefaultDllDirectoriesFn>(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories");
    // Without it the standard search stays; the printer spooler comes from the system folder either way.
    if (setDirectories) setDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

} // namespace ww::win
