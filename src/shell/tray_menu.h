#pragma once
// The tray icon's notifications and its popup menu, without Win32: which code does what, and which commands the
// menu offers.
#include "shell/commands.h"

#include <vector>

namespace ww {

enum class TrayAction { None, ShowMainWindow, OpenMenu };

// The icon's notification code is the number of the mouse message that happened over it.
TrayAction decodeTrayNotification(unsigned code);

struct MenuItem {
    MenuCommand command;
    const wchar_t* caption;
};

inline constexpr const wchar_t* kInfoTitle = L"Wortwerk Version 2.0";
inline constexpr const wchar_t* kInfoText = L"Fertiggestellt am 10.10.2000 von den Wortwerk-Entwicklern";

// `mnBar`: every command in menu order; of `mnNix` and `mnBeep` exactly one is offered.
class TrayMenu {
public:
    // The state after each load of the main window: the engine watches, "Wortwerk deaktiviren" is offered.
    TrayMenu() = default;

    std::vector<MenuItem> visibleItems() const;
    void activate() { mnBeep_ = true; }
    void deactivate() { mnBeep_ = false; }

private:
    bool mnBeep_ = true; // whether `mnBeep` is the one visible
};

} // namespace ww
