#include "store/text_codec.h"

#include <array>

namespace ww {

namespace {

// Bytes 0x80..0x9F of Windows-1252. The five bytes the code page leaves undefined map to the C1 control of the
// same number, so every byte survives a decode and encode unchanged.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

constexpr char kUnmappable = '?';

bool isHighSurrogate(wchar_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool isLowSurrogate(wchar_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

char encodeOne(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
        return static_cast<char>(c);
    }
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == c) {
            return static_cast<char>(0x80 + i);
        }
    }
    return kUnmappable;
}

} // namespace

std::wstring Windows1252Codec::decode(std::string_view bytes) const {
    std::wstring text;
    text.reserve(bytes.size());
    for (char b : bytes) {
        const auto byte = static_cast<unsigned char>(b);
        text.push_back(byte >= 0x80 && byte <= 0x9F ? static_cast<wchar_t>(kHighControls[byte - 0x80])
                                                    : static_cast<wchar_t>(byte));
    }
    return text;
}

std::string Windows1252Codec::encode(std::wstring_view text) const {
    std::string bytes;
    bytes.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        // Where wchar_t is UTF-16, a surrogate pair is one character and becomes one '?'.
        if (isHighSurrogate(text[i]) && i + 1 < text.size() && isLowSurrogate(text[i + 1])) {
            bytes.push_back(kUnmappable);
            ++i;
            continue;
        }
        bytes.push_back(encodeOne(static_cast<char32_t>(text[i])));
    }
    return bytes;
}

} // namespace ww
