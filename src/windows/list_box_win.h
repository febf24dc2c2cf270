#pragma once
// `List1` of the overview and of the pick list: the same control, filled the same way, placed by the same rule.
#include <windows.h>

#include <string>
#include <vector>

namespace ww::win {

inline constexpr int kList1Id = 100;

// Single selection, unsorted, whole rows, a vertical scroll bar only; notifies selection changes.
HWND createList(HWND parent);
// Appends the lines in order; false if one could not be added (the list would no longer match its lines).
bool fillList(HWND list, const std::vector<std::wstring>& lines);
// The list layout rule, from the window's outer size at its DPI.
void placeList(HWND window, HWND list);
// Tells the user which file could not be read; the list shows the default text in its place.
void showReadProblems(HWND owner, const std::vector<std::wstring>& problems);

} // namespace ww::win
