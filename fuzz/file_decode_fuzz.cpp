// A file's bytes as text: the code page, UTF-8 with and without the mark, UTF-16 with its mark, the records they
// split into; and the keystroke notation from the same bytes (text encoding, shortcut translation and the parser). How
// any actions are planned and sent is fuzz/keystroke_plan_fuzz.cpp's.
#include "input/notation.h"
#include "store/text_codec.h"

#include "fuzz_check.h"
#include "notation_checks.h"
#include "record_checks.h"

#include <cstdint>
#include <string>
#include <string_view>

using namespace ww;
using fuzzing::fail;

namespace {

// UTF-8 of UTF-16 units (a pair is one code point), written independently of the program's decoder to check it.
std::string utf8(std::wstring_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        auto c = static_cast<std::uint32_t>(text[i]);
        const auto next = i + 1 < text.size() ? static_cast<std::uint32_t>(text[i + 1]) : 0;
        if (c >= 0xD800 && c <= 0xDBFF && next >= 0xDC00 && next <= 0xDFFF)
            c = 0x10000 + ((c - 0xD800) << 10) + (next - 0xDC00), ++i;
        // One to four bytes: a lead byte that counts the continuation bytes, then six bits in each of them.
        const int more = c < 0x80 ? 0 : c < 0x800 ? 1 : c < 0x10000 ? 2 : 3;
        out += static_cast<char>((more ? (0xFF00 >> (more + 1)) & 0xFF : 0) | c >> 6 * more);
        for (int k = more - 1; k >= 0; --k)
            out += static_cast<char>(0x80 | ((c >> 6 * k) & 0x3F));
    }
    return out;
}

// The bytes as UTF-16 units, as a Windows program holds text; an odd last byte is one unit.
std::wstring utf16Units(std::string_view bytes, bool bigEndian) {
    std::wstring text;
    for (std::size_t i = 0; i < bytes.size(); i += 2) {
        const unsigned first = static_cast<unsigned char>(bytes[i]);
        const unsigned second = i + 1 < bytes.size() ? static_cast<unsigned char>(bytes[i + 1]) : 0;
        text += static_cast<wchar_t>(bigEndian ? first << 8 | second : second << 8 | first);
    }
    return text;
}

} // namespace

// Every byte survives the code page; UTF-8 is taken only when it is valid (or marked) and then reads back to the
// same bytes, as does marked UTF-16 unless it is reported damaged; what the code page lacks is named and nothing else
// is lost.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Windows1252Codec codec;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::wstring ansi = codec.decode(bytes);
    if (ansi.size() != bytes.size() || codec.encode(ansi) != bytes) fail("a byte does not survive the code page");
    if (!codec.unencodable(ansi).empty()) fail("a code-page character named as unencodable");

    std::wstring damage;
    const std::wstring text = decodeFileText(codec, bytes, &damage);
    constexpr std::string_view kMark = "\xEF\xBB\xBF";
    if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")) {
        // Whole UTF-16 reads back to its bytes; a half character or a lone surrogate half is reported.
        const bool big = bytes[0] == '\xFE';
        if (damage.empty() != (bytes.size() % 2 == 0 && text == utf16Units(bytes.substr(2), big)))
            fail("UTF-16 does not read back to its bytes, or damage is reported wrongly");
    } else if (!damage.empty()) {
        fail("damage reported outside UTF-16");
    } else if (bytes.starts_with(kMark)) {
        if (text.find(L'\uFFFD') == std::wstring::npos && utf8(text) != bytes.substr(kMark.size()))
            fail("marked UTF-8 does not read back to its bytes");
    } else if (text != ansi && utf8(text) != bytes) {
        fail("text read as UTF-8 does not read back to its bytes");
    }

    const std::wstring lacking = codec.unencodable(text);
    std::wstring kept = text;
    std::erase_if(kept, [&](wchar_t c) { return lacking.find(c) != std::wstring::npos; });
    if (codec.decode(codec.encode(kept)) != kept) fail("an encodable character is lost");
    if (codec.encode(lacking).find_first_not_of('?') != std::string::npos) fail("an unencodable character encodes");

    fuzzing::checkedRecords(text, size > 0 ? data[0] % 40 : 36);

    // The same bytes as UTF-16 units, any of them, read as keystrokes.
    const std::wstring keys = utf16Units(bytes, false);
    fuzzing::checkedParse(keys);
    fuzzing::checkedTextParse(keys, encodeText(keys));
    const std::wstring shortcut = translateShortcut(keys);
    if (shortcut.find(L' ') != std::wstring::npos) fail("a blank left in a shortcut");
    fuzzing::checkedParse(shortcut);
    return 0;
}
