#include "windows/form7.h"

#include "store/assignments.h"

#include <algorithm>

namespace ww {

TwipsRect listLayout(int outerWidthTwips, int outerHeightTwips) {
    return {1, 1, std::max(outerWidthTwips - 150, 0), std::max(outerHeightTwips - 300, 0)};
}

std::wstring overviewPrefix(int entry) {
    if (entry >= 0 && entry < kKeyCount) return std::wstring(1, keyName(entry)) + L" = ";
    if (entry >= kKeyCount && entry < kOverviewEntries) return L"Z" + std::to_wstring(entry - kKeyCount + 1) + L" = ";
    return {};
}

std::vector<std::wstring> readOverview(FileStore& files, const TextCodec& codec, std::vector<std::wstring>* problems) {
    std::vector<std::wstring> lines = readForWindow(files, codec, kKeyTextFile, kKeyCount, problems);
    const auto shortcuts = readForWindow(files, codec, kShortcutFile, kShortcutCount, problems);
    lines.insert(lines.end(), shortcuts.begin(), shortcuts.end());
    for (int i = 0; i < kOverviewEntries; ++i)
        lines[static_cast<std::size_t>(i)].insert(0, overviewPrefix(i));
    return lines;
}

} // namespace ww
