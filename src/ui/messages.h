#pragma once
// The program's private window messages, numbered in one place so that no two can meet.
#include <windows.h>

namespace ww {

inline constexpr UINT kTrayCallback = WM_APP + 1;   // the tray icon's notifications, never mistaken for mouse moves
inline constexpr UINT kShowProblems = WM_APP + 2;   // a window shows the file problems it met once it is up
inline constexpr UINT kReleaseRetired = WM_APP + 3; // to the owner: release window objects whose HWND is gone

} // namespace ww
