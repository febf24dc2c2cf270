#include "help/frm_splash.h"
#include "shell/close_query.h"
#include "shell/tray_menu.h"
#include "memory_store.h"

#include <gtest/gtest.h>

#include <string>

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

TEST(FrmSplash, TypingStepAddsOneCharacterPerTickAndShowsTheButtonAfterTheLast) {
    SplashTyping typing(L"ab\r\nc");
    for (const std::wstring_view shown : {L"a", L"ab", L"ab\r", L"ab\r\n"}) {
        EXPECT_TRUE(typing.tick()) << "the timer runs on";
        EXPECT_EQ(typing.shown(), shown);
        EXPECT_FALSE(typing.buttonVisible());
    }
    EXPECT_FALSE(typing.tick());
    EXPECT_TRUE(typing.buttonVisible());
    EXPECT_FALSE(typing.tick()); // a late tick changes nothing
    EXPECT_EQ(typing.shown(), L"ab\r\nc");
}

// The notice comes once per run without a marker, also when none can be written, and never with one.
TEST(FirstStart, TheNoticeComesOncePerRunWithoutAMarkerAndAnyMarkerStopsIt) {
    MemoryStore marked(MemoryStore::Files{{"1.dat", ""}}), fresh, unwritable;
    unwritable.blocked = {"1.dat"};
    EXPECT_FALSE(FirstStart().check(marked));
    for (MemoryStore* files : {&fresh, &unwritable}) {
        FirstStart run;
        EXPECT_TRUE(run.check(*files));
        EXPECT_FALSE(run.check(*files)) << "the next load of the main window";
    }
    EXPECT_TRUE(fresh.files.contains("1.dat"));
    EXPECT_EQ(marked.files, (MemoryStore::Files{{"1.dat", ""}}));
}

} // namespace
} // namespace ww
