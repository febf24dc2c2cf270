#pragma once
// Text from fuzz input, shared by the targets.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace ww::fuzzing {

// Mostly Latin-1 (where the layouts' keys are), sometimes any UTF-16 unit, a lone surrogate half, or, where
// wchar_t has 32 bits, a character outside the Basic Plane.
inline wchar_t consumeChar(FuzzedDataProvider& in) {
    switch (in.ConsumeIntegralInRange(0, 7)) {
    case 5:
        return static_cast<wchar_t>(in.ConsumeIntegral<std::uint16_t>());
    case 6:
        return static_cast<wchar_t>(0xD800 + in.ConsumeIntegralInRange(0, 0x7FF));
    case 7:
        if constexpr (sizeof(wchar_t) == 4) return static_cast<wchar_t>(in.ConsumeIntegralInRange(0x10000, 0x10FFFF));
        [[fallthrough]];
    default:
        return static_cast<wchar_t>(in.ConsumeIntegral<std::uint8_t>());
    }
}

// The bytes as UTF-16 units, little-endian, as a Windows program holds text; an odd last byte is one unit.
inline std::wstring utf16Units(std::string_view bytes) {
    std::wstring text;
    for (std::size_t i = 0; i < bytes.size(); i += 2) {
        unsigned unit = static_cast<unsigned char>(bytes[i]);
        if (i + 1 < bytes.size()) unit |= static_cast<unsigned>(static_cast<unsigned char>(bytes[i + 1])) << 8;
        text.push_back(static_cast<wchar_t>(unit));
    }
    return text;
}

// UTF-8 of UTF-16 units (a pair is one code point), written independently of the program's decoder to check it.
inline std::string utf8(std::wstring_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        auto c = static_cast<std::uint32_t>(text[i]);
        const auto next = i + 1 < text.size() ? static_cast<std::uint32_t>(text[i + 1]) : 0;
        if (c >= 0xD800 && c <= 0xDBFF && next >= 0xDC00 && next <= 0xDFFF)
            c = 0x10000 + ((c - 0xD800) << 10) + (next - 0xDC00), ++i;
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

// UTF-16 of code points (wchar_t of 32 bits), little- or big-endian, written independently of the program's decoder.
inline std::string utf16(std::wstring_view text, bool bigEndian) {
    std::string out;
    const auto unit = [&](std::uint32_t u) {
        const char high = static_cast<char>(u >> 8), low = static_cast<char>(u & 0xFF);
        out += bigEndian ? high : low;
        out += bigEndian ? low : high;
    };
    for (wchar_t w : text) {
        const auto c = static_cast<std::uint32_t>(w);
        if (c < 0x10000) {
            unit(c);
        } else {
            unit(0xD800 + ((c - 0x10000) >> 10));
            unit(0xDC00 + ((c - 0x10000) & 0x3FF));
        }
    }
    return out;
}

} // namespace ww::fuzzing
