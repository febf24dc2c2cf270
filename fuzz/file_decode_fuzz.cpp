// A file's bytes as text: the code page, UTF-8 with and without the mark, UTF-16 with its mark, and the records they
// split into.
#include "store/text_codec.h"

#include "fuzz_check.h"
#include "fuzz_text.h"
#include "record_checks.h"

#include <cstdint>
#include <string>
#include <string_view>

using namespace ww;
using fuzzing::fail;

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
        if (damage.empty() != (bytes.size() % 2 == 0 && fuzzing::utf16(text, big) == bytes.substr(2)))
            fail("UTF-16 does not read back to its bytes, or damage is reported wrongly");
    } else if (!damage.empty()) {
        fail("damage reported outside UTF-16");
    } else if (bytes.starts_with(kMark)) {
        if (text.find(L'\uFFFD') == std::wstring::npos && fuzzing::utf8(text) != bytes.substr(kMark.size()))
            fail("marked UTF-8 does not read back to its bytes");
    } else if (text != ansi && fuzzing::utf8(text) != bytes) {
        fail("text read as UTF-8 does not read back to its bytes");
    }

    const std::wstring lacking = codec.unencodable(text);
    std::wstring kept = text;
    std::erase_if(kept, [&](wchar_t c) { return lacking.find(c) != std::wstring::npos; });
    if (codec.decode(codec.encode(kept)) != kept) fail("an encodable character is lost");
    if (codec.encode(lacking).find_first_not_of('?') != std::string::npos) fail("an unencodable character encodes");

    fuzzing::checkedRecords(text, size > 0 ? data[0] % 40 : 36);
    return 0;
}
