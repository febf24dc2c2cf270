#include "shell/tray_menu.h"

namespace ww {

namespace {
constexpr unsigned kLeftDoubleClick = 0x203;
constexpr unsigned kRightButtonUp = 0x205;
constexpr unsigned kRightDoubleClick = 0x206;

constexpr MenuItem kAllItems[] = {
    {CmdInfo, L"Info"},
    {CmdMnNix, L"Wortwerk aktiviren"},
    {CmdMnBeep, L"Wortwerk deaktiviren"},
    {CmdMnMsgShow, L"Tastenbelegung"},
    {CmdTabean, L"Tastenbelegung anzeigen"},
    {CmdZwisch, L"über die Zwischablage kopieren"},
    {CmdHilf, L"Hilfe"},
    {CmdMnExit, L"B E E N D E N"},
};
} // namespace

TrayAction decodeTrayNotification(unsigned code) {
    switch (code) {
    case kLeftDoubleClick:
    case kRightDoubleClick:
        return TrayAction::ShowMainWindow;
    case kRightButtonUp:
        return TrayAction::OpenMenu;
    default:
        return TrayAction::None;
    }
}

std::vector<MenuItem> TrayMenu::visibleItems() const {
    const MenuCommand hidden = mnBeep_ ? CmdMnNix : CmdMnBeep;
    std::vector<MenuItem> items;
    for (const MenuItem& item : kAllItems)
        if (item.command != hidden) items.push_back(item);
    return items;
}

} // namespace ww
