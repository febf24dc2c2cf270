#pragma once
// How file text becomes records, checked without the program's own splitting logic.
#include "store/assignments.h"

#include "fuzz_check.h"

#include <algorithm>
#include <string>
#include <vector>

namespace ww::fuzzing {

inline bool isLineEnd(wchar_t c) {
    return c == L'\r' || c == L'\n';
}

// The records of a text: one per line (CR LF, LF or CR), none holding a line end, the lines past `count` dropped
// and the missing ones filled with the default text.
inline std::vector<std::wstring> checkedRecords(const std::wstring& text, int count) {
    std::size_t lines = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!isLineEnd(text[i])) continue;
        ++lines;
        if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ++i;
    }
    if (!text.empty() && !isLineEnd(text.back())) ++lines;
    const std::vector<std::wstring> all = splitRecords(text, static_cast<int>(lines) + 1);
    std::wstring joined, stripped = text;
    std::erase_if(stripped, isLineEnd);
    for (std::size_t i = 0; i < all.size(); ++i) {
        if (std::ranges::any_of(all[i], isLineEnd)) fail("a record holds a line end");
        if (i < lines) joined += all[i];
        if (i == lines && all[i] != kDefaultText) fail("the record past the text's lines is not the default");
    }
    if (joined != stripped) fail("records do not give back the text");

    std::vector<std::wstring> records = splitRecords(text, count);
    if (records.size() != static_cast<std::size_t>(std::max(count, 0))) fail("wrong number of records");
    for (std::size_t i = 0; i < records.size(); ++i)
        if (records[i] != (i < all.size() ? all[i] : std::wstring(kDefaultText))) fail("records differ by count");
    return records;
}

} // namespace ww::fuzzing
