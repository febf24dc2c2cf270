#include "app/app_win.h"
#include "shell/form1_win.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <string>

namespace ww {
namespace {

int fontHeight(HWND control) {
    auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    LOGFONTW lf{};
    return font && GetObjectW(font, sizeof lf, &lf) == sizeof lf ? lf.lfHeight : 0;
}

TEST(Form1, AnotherMonitorsDpiRedrawsTheWholeFaceAtTheNewScaleAndUnloadDeletesTheIcon) {
    // The main window creates its assignment files in the current folder.
    const auto previous = std::filesystem::current_path();
    const auto folder =
        std::filesystem::temp_directory_path() / ("wortwerk-form1-" + std::to_string(GetCurrentProcessId()));
    std::filesystem::create_directories(folder);
    std::filesystem::current_path(folder);
    {
        App app;
        Form1 form(app);
        ASSERT_TRUE(form.load());
        ShowWindow(form.hwnd(), SW_SHOWNOACTIVATE); // a hidden window has nothing to redraw
        HWND label = FindWindowExW(form.hwnd(), nullptr, L"Static", nullptr);
        ASSERT_NE(label, nullptr);
        const int heightBefore = fontHeight(label);
        ASSERT_NE(heightBefore, 0);

        RECT frame{};
        GetWindowRect(form.hwnd(), &frame);
        RECT suggested{frame.left, frame.top, frame.left + (frame.right - frame.left) * 3 / 2,
                       frame.top + (frame.bottom - frame.top) * 3 / 2};
        ValidateRect(form.hwnd(), nullptr);
        SendMessageW(form.hwnd(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));

        RECT client{}, update{};
        GetClientRect(form.hwnd(), &client);
        ASSERT_TRUE(GetUpdateRect(form.hwnd(), &update, FALSE));
        EXPECT_TRUE(EqualRect(&client, &update)) << "only part of the face would be redrawn";
        // The label holds a live font of the new scale (the old one is released only after the swap).
        const int heightAfter = fontHeight(label);
        EXPECT_NEAR(heightAfter, heightBefore * 3 / 2, 1);
        EXPECT_EQ(client.right, MulDiv(460, 144, 96));

        // The object lives on until the message loop releases it: the icon goes with the window.
        NOTIFYICONDATAW icon{};
        icon.cbSize = sizeof icon;
        icon.hWnd = form.hwnd();
        icon.uID = 1;
        ASSERT_TRUE(Shell_NotifyIconW(NIM_MODIFY, &icon)) << "no icon to begin with";
        form.unload();
        EXPECT_FALSE(Shell_NotifyIconW(NIM_MODIFY, &icon));
    }
    std::filesystem::current_path(previous);
    std::filesystem::remove_all(folder);
}

} // namespace
} // namespace ww
