#include "shell/close_query.h"
#include "shell/tray_menu.h"

#include <gtest/gtest.h>

namespace ww {
namespace {

TEST(TrayMenu, NotificationCodes) {
    EXPECT_EQ(decodeTrayNotification(0x203), TrayAction::ShowMainWindow); // left double-click
    EXPECT_EQ(decodeTrayNotification(0x206), TrayAction::ShowMainWindow); // right double-click
    EXPECT_EQ(decodeTrayNotification(0x205), TrayAction::OpenMenu);       // right button released
    for (unsigned code : {0x200u, 0x201u, 0x202u, 0x204u, 0x207u, 0x400u, 0u})
        EXPECT_EQ(decodeTrayNotification(code), TrayAction::None) << code;
}

// Of "aktiviren" and "deaktiviren", the one offered (second in the menu) changes the state.
TEST(TrayMenu, ActivateAndDeactivateSwapTheirItems) {
    TrayMenu menu;
    const auto second = [&] { return menu.visibleItems().at(1).command; };
    EXPECT_EQ(second(), CmdMnBeep) << "after a load: deaktiviren";
    menu.deactivate();
    EXPECT_EQ(second(), CmdMnNix);
    menu.activate();
    EXPECT_EQ(second(), CmdMnBeep);
}

// Only the program's own unload and the end of the session unload the main window, and then its icon goes too.
TEST(CloseQuery, EveryReasonHidesOnlyOwnUnloadAndEndOfSessionDeleteTheIconAndUnload) {
    for (const auto& [reason, unloads] : {std::pair{CloseReason::CloseBox, false},
                                          {CloseReason::OwnCommand, true},
                                          {CloseReason::EndSession, true},
                                          {CloseReason::TaskManager, false}}) {
        const CloseDecision d = closeQuery(reason);
        EXPECT_TRUE(d.hide && d.deleteIcon == unloads && d.unload == unloads) << static_cast<int>(reason);
    }
}

} // namespace
} // namespace ww
