#include "shell/close_query.h"
#include "shell/tray_menu.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ww {
namespace {

std::vector<std::wstring> captions(const TrayMenu& menu) {
    std::vector<std::wstring> out;
    for (const MenuItem& item : menu.visibleItems())
        out.emplace_back(item.caption);
    return out;
}

TEST(TrayMenu, NotificationCodes) {
    EXPECT_EQ(decodeTrayNotification(0x203), TrayAction::ShowMainWindow); // left double-click
    EXPECT_EQ(decodeTrayNotification(0x206), TrayAction::ShowMainWindow); // right double-click
    EXPECT_EQ(decodeTrayNotification(0x205), TrayAction::OpenMenu);       // right button released
    for (unsigned code : {0x200u, 0x201u, 0x202u, 0x204u, 0x207u, 0x400u, 0u})
        EXPECT_EQ(decodeTrayNotification(code), TrayAction::None) << code;
}

TEST(TrayMenu, ActivateAndDeactivateSwapTheirItems) {
    TrayMenu menu;
    const std::vector<std::wstring> afterLoad{L"Info",
                                              L"Wortwerk deaktiviren",
                                              L"Tastenbelegung",
                                              L"Tastenbelegung anzeigen",
                                              L"über die Zwischablage kopieren",
                                              L"Hilfe",
                                              L"B E E N D E N"};
    EXPECT_EQ(captions(menu), afterLoad);

    menu.deactivate();
    std::vector<std::wstring> off = afterLoad;
    off[1] = L"Wortwerk aktiviren";
    EXPECT_EQ(captions(menu), off);
    menu.activate();
    EXPECT_EQ(captions(menu), afterLoad);
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
