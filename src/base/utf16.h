#pragma once
// Halves of a character outside the Basic Multilingual Plane, as UTF-16 (and so wchar_t on Windows) stores it.
namespace ww {

constexpr bool isHighSurrogate(wchar_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
constexpr bool isLowSurrogate(wchar_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

} // namespace ww
