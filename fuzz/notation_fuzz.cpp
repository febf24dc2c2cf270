// The keystroke notation from arbitrary strings: text encoding, shortcut translation and the parser. How any actions
// are planned and sent is fuzz/keystroke_plan_fuzz.cpp's.
#include "input/notation.h"

#include "fuzz_text.h"
#include "notation_checks.h"

#include <cstdint>
#include <string>

using namespace ww;

// The input is the text as UTF-16 units.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::wstring text = fuzzing::utf16Units({reinterpret_cast<const char*>(data), size});
    fuzzing::checkedParse(text);
    fuzzing::checkedTextParse(text, encodeText(text));
    const std::wstring shortcut = translateShortcut(text);
    if (shortcut.find(L' ') != std::wstring::npos) fuzzing::fail("a blank left in a shortcut");
    fuzzing::checkedParse(shortcut);
    return 0;
}
