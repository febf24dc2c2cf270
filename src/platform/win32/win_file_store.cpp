#include "platform/win32/win_file_store.h"

#include "platform/win32/handles.h"

#include <windows.h>

#include <algorithm>

namespace ww::win {

namespace {

// File names are plain ASCII here; UTF-8 keeps any other name the same as on the native side.
std::wstring wide(const std::string& name) {
    if (name.empty()) return {};
    const int length =
        MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, name.data(), static_cast<int>(name.size()), nullptr, 0);
    if (length <= 0) return {};
    std::wstring result(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, name.data(), static_cast<int>(name.size()), result.data(),
                        length);
    return result;
}

bool fail(std::wstring* error, FileAction action, const std::string& name, DWORD code) {
    if (error) *error = fileError(action, name, systemMessage(code));
    return false;
}

bool because(std::wstring* reason, DWORD code) {
    if (reason) *reason = systemMessage(code);
    return false;
}

bool writeAll(HANDLE file, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 20));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0) return false;
        done += written;
    }
    return true;
}

// Like a file search without special attributes: folders, hidden and system files are not found, and a name
// with wildcards is no file name at all.
bool fileexists(const std::wstring& datei) {
    if (datei.empty() || datei.find_first_of(L"*?") != std::wstring::npos) return false;
    WIN32_FIND_DATAW data{};
    const UniqueFind found(FindFirstFileW(datei.c_str(), &data));
    if (!found) return false;
    return (data.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) == 0;
}

} // namespace

std::wstring systemMessage(unsigned long code) {
    wchar_t* text = nullptr;
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring message = length > 0 && text ? std::wstring(text, length) : std::wstring();
    LocalFree(text);
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' || message.back() == L' '))
        message.pop_back();
    if (message.empty()) message = L"Systemfehler " + std::to_wstring(code) + L".";
    return message;
}

bool Win32FileStore::exists(const std::string& name) const {
    return fileexists(wide(name));
}

std::optional<std::string> Win32FileStore::readAll(const std::string& name, std::wstring* error) const {
    const std::wstring path = wide(name);
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        fail(error, FileAction::Read, name, path.empty() ? ERROR_INVALID_NAME : GetLastError());
        return std::nullopt;
    }
    std::string bytes;
    char buffer[16384];
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr)) {
            fail(error, FileAction::Read, name, GetLastError());
            return std::nullopt;
        }
        if (got == 0) break;
        bytes.append(buffer, got);
    }
    return bytes;
}

bool Win32FileStore::writeFile(const std::string& name, const std::string& bytes, std::wstring* reason) {
    const std::wstring path = wide(name);
    if (path.empty()) return because(reason, ERROR_INVALID_NAME);
    UniqueFile file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return because(reason, GetLastError());
    if (!writeAll(file.get(), bytes) || !FlushFileBuffers(file.get())) return because(reason, GetLastError());
    if (!CloseHandle(file.release())) return because(reason, GetLastError());
    return true;
}

bool Win32FileStore::moveFile(const std::string& from, const std::string& to, bool replace, std::wstring* reason) {
    const std::wstring source = wide(from), target = wide(to);
    if (source.empty() || target.empty()) return because(reason, ERROR_INVALID_NAME);
    // Windows refuses to move over a read-only file but Wine does not; refuse the same way everywhere.
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (replace && attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        return because(reason, ERROR_ACCESS_DENIED);
    const DWORD flags = MOVEFILE_WRITE_THROUGH | (replace ? MOVEFILE_REPLACE_EXISTING : 0);
    return MoveFileExW(source.c_str(), target.c_str(), flags) || because(reason, GetLastError());
}

void Win32FileStore::removeFile(const std::string& name) {
    const std::wstring path = wide(name);
    if (!path.empty()) DeleteFileW(path.c_str());
}

} // namespace ww::win
