#pragma once
// Libraries from the system folder only, and functions that not every supported Windows has, looked up at run time.
#include "platform/win32/handles.h"

namespace ww::win {

using UniqueModule = Unique<HMODULE, NullHandleTraits<HMODULE, ::FreeLibrary>>;

// The function `name` of `module` as a pointer of type F; null when this Windows lacks it.
template <typename F> F systemFunction(HMODULE module, const char* name) {
    return module ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

// Loads `name` from the system folder, never a file of that name beside the program or in the current folder.
// Null on failure, with the failing call's error in `*code`.
UniqueModule loadSystemLibrary(const wchar_t* name, DWORD* code);

// Lets the program load libraries from the system folder only, where Windows offers that (Windows 8 and later,
// Windows 7 with update KB2533623); elsewhere the search stays as it was.
void restrictLibrarySearch();

} // namespace ww::win
