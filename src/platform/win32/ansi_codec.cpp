#include "platform/win32/ansi_codec.h"

#include "base/utf16.h"

#include <windows.h>

#include <climits>

namespace ww::win {

namespace {

// True if the code page has no byte sequence of its own for `text` and would write the default character.
bool usesDefaultChar(std::wstring_view text) {
    if (text.size() > INT_MAX) return true;
    BOOL usedDefault = FALSE;
    const int length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), static_cast<int>(text.size()),
                                           nullptr, 0, nullptr, &usedDefault);
    return length <= 0 || usedDefault;
}

} // namespace

std::wstring AnsiCodec::decode(std::string_view bytes) const {
    if (bytes.empty() || bytes.size() > INT_MAX) return {};
    const int size = static_cast<int>(bytes.size());
    const int length = MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, nullptr, 0);
    if (length <= 0) return {};
    std::wstring text(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, text.data(), length);
    return text;
}

std::string AnsiCodec::encode(std::wstring_view text) const {
    if (text.empty() || text.size() > INT_MAX) return {};
    const int size = static_cast<int>(text.size());
    // UTF-8 as the ANSI code page (a Windows option) refuses the best-fit flag.
    const DWORD flags = GetACP() == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
    const int length = WideCharToMultiByte(CP_ACP, flags, text.data(), size, nullptr, 0, nullptr, nullptr);
    if (length <= 0) return {};
    std::string bytes(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, flags, text.data(), size, bytes.data(), length, nullptr, nullptr);
    return bytes;
}

std::wstring AnsiCodec::unencodable(std::wstring_view text) const {
    // UTF-8 as the ANSI code page holds every character but a lone surrogate (and refuses lpUsedDefaultChar).
    if (GetACP() == CP_UTF8) {
        return charactersWhere(
            text, [](std::wstring_view c) { return c.size() == 1 && (isHighSurrogate(c[0]) || isLowSurrogate(c[0])); });
    }
    if (text.empty() || !usesDefaultChar(text)) return {};
    return charactersWhere(text, usesDefaultChar);
}

} // namespace ww::win
