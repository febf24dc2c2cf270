#pragma once
// Command numbers of the main window's menu, carried by WM_COMMAND (also the test driver's way in).
namespace ww {

enum MenuCommand : unsigned {
    CmdInfo = 101,   // `info`
    CmdMnNix = 102,  // `mnNix`: "Wortwerk aktiviren"
    CmdMnBeep = 103, // `mnBeep`: "Wortwerk deaktiviren"
    CmdMnMsgShow = 104,
    CmdTabean = 105,
    CmdZwisch = 106,
    CmdHilf = 107,
    CmdMnExit = 108,
};

} // namespace ww
