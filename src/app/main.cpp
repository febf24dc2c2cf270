#include "app/app_win.h"
#include "platform/win32/system_library.h"

#include <windows.h>
#include <commctrl.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
    // Users start the program from folders such as Downloads: a library planted there must never be loaded.
    ww::win::restrictLibrarySearch();
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    ww::App app;
    return app.run(showCommand);
}
