#pragma once
// `Form7`, the overview: all 45 assignments in view, one line per key with its prefix, in a list that fills the
// window. Also home of the list rules the pick list shares.
#include "platform/twips.h"
#include "store/file_store.h"
#include "store/text_codec.h"

#include <string>
#include <vector>

namespace ww {

inline constexpr const wchar_t* kForm7Title = L"Tastenbelegung";
inline constexpr int kForm7ClientWidth = 2460; // twips
inline constexpr int kForm7ClientHeight = 6345;
inline constexpr const wchar_t* kForm7FontFace = L"Courier New";
inline constexpr int kForm7FontCentiPoints = 825;
inline constexpr int kOverviewEntries = 45; // 36 keys, then keypad Z1..Z9

// The list of the overview and of the pick list: at (1, 1) twips, 150 twips narrower and 300 twips lower than the
// window's outer size (title bar and borders included), but never past the client area, whatever the frame's
// thickness; never negative when the window is dragged very small.
TwipsRect listLayout(int outerWidthTwips, int outerHeightTwips, int clientWidthTwips, int clientHeightTwips);

// Prefix of overview entry 0..44: "1 = " .. "9 = ", "0 = ", "A = " .. "Z = ", "Z1 = " .. "Z9 = ".
std::wstring overviewPrefix(int entry);

// The overview's 45 lines: prefix and stored line of tipp.dat's 36 keys, then of tipps.dat's 9 shortcuts.
std::vector<std::wstring> readOverview(FileStore& files, const TextCodec& codec, std::vector<std::wstring>* problems);

} // namespace ww
