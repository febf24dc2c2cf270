#pragma once
// What the main window does when something asks it to unload.
namespace ww {

enum class CloseReason {
    CloseBox = 0,    // the window's close box or system menu
    OwnCommand = 1,  // the program's own unload (exit, opening a window that replaces the main window)
    EndSession = 2,  // log-off or shutdown
    TaskManager = 3, // another program asked us to close
};

struct CloseDecision {
    bool hide = true;        // the window is hidden in every case
    bool deleteIcon = false; // the tray icon goes only when the window really unloads
    bool unload = false;
};

// Only our own command and the end of the session unload; anything else just hides, so the program stays
// reachable through its icon.
constexpr CloseDecision closeQuery(CloseReason reason) {
    bool unload = reason == CloseReason::OwnCommand || reason == CloseReason::EndSession;
    return CloseDecision{true, unload, unload};
}

} // namespace ww
