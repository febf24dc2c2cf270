#pragma once
// `Form6`, the pick list: the 36 key texts as stored; selecting one puts it on the clipboard for programs that
// refuse synthetic keystrokes. Its list follows the overview's layout rule (windows/form7.h).
#include "store/file_store.h"
#include "store/text_codec.h"

#include <optional>
#include <string>
#include <vector>

namespace ww {

inline constexpr const wchar_t* kForm6Title = L"so geht's auch";
inline constexpr int kForm6ClientWidth = 1605; // twips
inline constexpr int kForm6ClientHeight = 5250;

// The 36 lines of tipp.dat in key order, exactly as stored; read as the overview reads its files.
std::vector<std::wstring> readPickList(FileStore& files, const TextCodec& codec, std::vector<std::wstring>* problems);

// What selecting list entry `selection` copies: the stored line itself ("###" stays three characters). Nothing for
// no selection (-1) or an index outside the list.
std::optional<std::wstring> clipboardText(const std::vector<std::wstring>& lines, int selection);

} // namespace ww
