#include "windows/form6.h"

#include "store/assignments.h"
#include "windows/form7.h"

namespace ww {

std::vector<std::wstring> readPickList(FileStore& files, const TextCodec& codec, std::vector<std::wstring>* problems) {
    return readForWindow(files, codec, kKeyTextFile, kKeyCount, problems);
}

std::optional<std::wstring> clipboardText(const std::vector<std::wstring>& lines, int selection) {
    if (selection < 0 || static_cast<std::size_t>(selection) >= lines.size()) return std::nullopt;
    return lines[static_cast<std::size_t>(selection)];
}

} // namespace ww
