#include "windows/form7.h"

#include "store/assignments.h"

#include <algorithm>

namespace ww {

// The margins were meant for thin frames; on thicker ones the client area is the limit.
TwipsRect listLayout(int outerWidthTwips, int outerHeightTwips, int clientWidthTwips, int clientHeightTwips) {
    const int width = std::min(outerWidthTwips - 150, clientWidthTwips - 1);
    const int height = std::min(outerHeightTwips - 300, clientHeightTwips - 1);
    return {1, 1, std::max(width, 0), std::max(height, 0)};
}

std::wstring overviewPrefix(int entry) {
    const std::wstring name = assignmentName(entry);
    return name.empty() ? name : name + L" = ";
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
