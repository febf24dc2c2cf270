#include "store/text_codec.h"

#include "base/utf16.h"

#include <algorithm>
#include <array>
#include <optional>
#include <set>

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

bool isSurrogate(char32_t c) {
    return c >= 0xD800 && c <= 0xDFFF;
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

// The program's text is UTF-16, as wchar_t is on Windows; where wchar_t is wider it holds the same units.
void appendCodePoint(std::wstring& text, char32_t code) {
    if (code >= 0x10000) {
        code -= 0x10000;
        text.push_back(static_cast<wchar_t>(0xD800 + (code >> 10)));
        text.push_back(static_cast<wchar_t>(0xDC00 + (code & 0x3FF)));
        return;
    }
    text.push_back(static_cast<wchar_t>(code));
}

struct Utf8Step {
    std::size_t length; // bytes taken: the whole sequence, or the valid start of a broken one (at least 1)
    char32_t code;
    bool valid;
};

// The UTF-8 sequence at the start of `bytes`. Overlong forms, surrogates and code points past U+10FFFF are
// invalid, as in the standard.
Utf8Step utf8Step(std::string_view bytes) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned lead = byte(0);
    if (lead < 0x80) return {1, lead, true};
    std::size_t length = 0;
    unsigned low = 0x80, high = 0xBF; // the range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : low;
        high = lead == 0xED ? 0x9F : high;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : low;
        high = lead == 0xF4 ? 0x8F : high;
    } else {
        return {1, 0, false};
    }
    char32_t code = lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        if (i >= bytes.size() || byte(i) < low || byte(i) > high) return {i, 0, false};
        code = (code << 6) | (byte(i) & 0x3F);
        low = 0x80;
        high = 0xBF;
    }
    return {length, code, true};
}

// Broken sequences make the whole text invalid when `strict`, otherwise each becomes U+FFFD.
std::optional<std::wstring> decodeUtf8(std::string_view bytes, bool strict) {
    std::wstring text;
    text.reserve(bytes.size());
    while (!bytes.empty()) {
        const Utf8Step step = utf8Step(bytes);
        if (!step.valid && strict) return std::nullopt;
        appendCodePoint(text, step.valid ? step.code : 0xFFFD);
        bytes.remove_prefix(step.length);
    }
    return text;
}

// UTF-16 after its mark. A pair is checked as one code point and kept as its two units.
std::wstring decodeUtf16(std::string_view bytes, bool bigEndian, std::wstring* damage) {
    const auto unit = [&](std::size_t i) -> char32_t {
        const auto first = static_cast<unsigned char>(bytes[2 * i]),
                   second = static_cast<unsigned char>(bytes[2 * i + 1]);
        return bigEndian ? (first << 8 | second) : (second << 8 | first);
    };
    const std::size_t units = bytes.size() / 2;
    std::wstring text;
    text.reserve(units);
    bool lone = false;
    for (std::size_t i = 0; i < units; ++i) {
        const char32_t c = unit(i);
        const char32_t next = i + 1 < units ? unit(i + 1) : 0;
        if (c >= 0xD800 && c <= 0xDBFF && next >= 0xDC00 && next <= 0xDFFF) {
            appendCodePoint(text, 0x10000 + ((c - 0xD800) << 10) + (next - 0xDC00));
            ++i;
        } else {
            lone = lone || isSurrogate(c);
            appendCodePoint(text, isSurrogate(c) ? 0xFFFD : c);
        }
    }
    if (damage && (lone || bytes.size() % 2)) {
        *damage = L"Sie ist als UTF-16 gespeichert und beschädigt.";
        if (bytes.size() % 2) *damage += L" Am Ende fehlt die Hälfte eines Zeichens.";
        if (lone) *damage += L" Ein Zeichen ist unvollständig und erscheint als „\uFFFD“.";
        *damage += L" Alles andere wurde gelesen.";
    }
    return text;
}

} // namespace

std::wstring decodeFileText(const TextCodec& ansi, std::string_view bytes, std::wstring* damage) {
    if (damage) damage->clear();
    constexpr std::string_view kMark = "\xEF\xBB\xBF", kLittleEndian = "\xFF\xFE", kBigEndian = "\xFE\xFF";
    if (bytes.starts_with(kMark)) return *decodeUtf8(bytes.substr(kMark.size()), false);
    if (bytes.starts_with(kLittleEndian) || bytes.starts_with(kBigEndian))
        return decodeUtf16(bytes.substr(2), bytes.starts_with(kBigEndian), damage);
    // Plain ASCII reads the same either way; an ANSI umlaut on its own is never valid UTF-8.
    const bool ascii = std::ranges::all_of(bytes, [](char b) { return static_cast<unsigned char>(b) < 0x80; });
    if (!ascii) {
        if (auto text = decodeUtf8(bytes, true)) return std::move(*text);
    }
    return ansi.decode(bytes);
}

std::wstring charactersWhere(std::wstring_view text, const std::function<bool(std::wstring_view)>& lacks) {
    std::wstring found;
    std::set<std::wstring_view> seen;
    for (std::size_t i = 0; i < text.size();) {
        const bool pair = isHighSurrogate(text[i]) && i + 1 < text.size() && isLowSurrogate(text[i + 1]);
        const std::wstring_view character = text.substr(i, pair ? 2 : 1);
        i += character.size();
        if (lacks(character) && seen.insert(character).second) found += character;
    }
    return found;
}

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
        // A surrogate pair is one character and becomes one '?'.
        if (isHighSurrogate(text[i]) && i + 1 < text.size() && isLowSurrogate(text[i + 1])) {
            bytes.push_back(kUnmappable);
            ++i;
            continue;
        }
        bytes.push_back(encodeOne(static_cast<char32_t>(text[i])));
    }
    return bytes;
}

std::wstring Windows1252Codec::unencodable(std::wstring_view text) const {
    return charactersWhere(text, [](std::wstring_view character) {
        return character.size() > 1 ||
               (character[0] != L'?' && encodeOne(static_cast<char32_t>(character[0])) == kUnmappable);
    });
}

} // namespace ww
