#include "app/app_win.h"
#include "help/form5_win.h"
#include "shell/form1_win.h"
#include "windows/lists_win.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <string>

namespace ww {
namespace {

// The windows as the program opens them, in a fresh current folder (their files are read and created there).
class ProgramWindows : public ::testing::Test {
protected:
    ProgramWindows() {
        std::filesystem::create_directories(folder_);
        std::filesystem::current_path(folder_);
    }
    ~ProgramWindows() override {
        if (metrics_.cbSize) SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof metrics_, &metrics_, 0);
        std::filesystem::current_path(previous_);
        std::filesystem::remove_all(folder_);
    }
    App app_;
    NONCLIENTMETRICSW metrics_{}; // the system's, when a test changes them

private:
    std::filesystem::path previous_ = std::filesystem::current_path();
    std::filesystem::path folder_ = std::filesystem::temp_directory_path() / L"wortwerk-windows";
};

// Size of `text` as DrawTextW lays it out centred and wrapped in `width` pixels with the control's font.
SIZE measure(HWND control, const std::wstring& text, int width) {
    const win::ScopedDc dc(control, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    RECT r{0, 0, width, 0};
    DrawTextW(dc.get(), text.c_str(), static_cast<int>(text.size()), &r,
              DT_WORDBREAK | DT_CENTER | DT_CALCRECT | DT_NOPREFIX);
    return {r.right, r.bottom};
}

int fontHeight(HWND control) {
    auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    LOGFONTW lf{};
    return font && GetObjectW(font, sizeof lf, &lf) == sizeof lf ? lf.lfHeight : 0;
}

// The topics' texts are read to their end on the real window (tests/e2e/lifecycle_test.sh); the captions' fit only
// shows with the fonts measured here, the focus only with real activation.
TEST_F(ProgramWindows, HelpCaptionsFitTheirButtonsWithoutOverlapAndTheFocusComesBack) {
    Form5 help(app_);
    ASSERT_TRUE(help.open());
    LONG above = 0; // bottom of the button above, in the window's client coordinates
    for (const Form5Button& button : form5Buttons()) {
        HWND control = GetDlgItem(help.hwnd(), button.id());
        RECT frame{};
        GetClientRect(control, &frame);
        const int width = frame.right - 8, height = frame.bottom - 8; // a push button's frame and text margin
        const SIZE wrapped = measure(control, button.caption, width);
        // Centred as measured, but drawn wrapped once more inside that measured width (so Wine draws it).
        const SIZE drawn = measure(control, button.caption, wrapped.cx);
        EXPECT_LE(wrapped.cx, width) << button.name;
        EXPECT_LE((height - wrapped.cy) / 2 + drawn.cy, height) << button.name;
        GetWindowRect(control, &frame);
        MapWindowPoints(nullptr, help.hwnd(), reinterpret_cast<POINT*>(&frame), 2);
        EXPECT_LT(above, frame.top) << button.name << " overlaps the button above";
        above = frame.bottom;
    }
    RECT client{};
    GetClientRect(help.hwnd(), &client);
    EXPECT_LE(above, client.bottom);

    // Activated again, the window gives the focus back to its control.
    HWND button = GetDlgItem(help.hwnd(), form5Buttons()[2].id());
    SetFocus(button);
    win::UniqueWindow other(
        CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr));
    SetActiveWindow(other.get());
    ASSERT_NE(GetFocus(), button);
    SetActiveWindow(help.hwnd());
    EXPECT_EQ(GetFocus(), button);
}

// The overview's list on frames and captions as thick as on today's systems (Wine draws thin ones).
TEST_F(ProgramWindows, OverviewListStaysInsideTheWindowOnThickFrames) {
    metrics_.cbSize = sizeof metrics_;
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics_, &metrics_, 0));
    NONCLIENTMETRICSW thick = metrics_;
    thick.iBorderWidth = 5;
    thick.iPaddedBorderWidth = 4;
    thick.iCaptionHeight = 22;
    ASSERT_TRUE(SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof thick, &thick, 0));
    Form7 overview(app_);
    ASSERT_TRUE(overview.open());
    RECT client{}, list{};
    GetClientRect(overview.hwnd(), &client);
    GetWindowRect(GetDlgItem(overview.hwnd(), ids::id(L"List1")), &list);
    MapWindowPoints(nullptr, overview.hwnd(), reinterpret_cast<POINT*>(&list), 2);
    EXPECT_LE(list.right, client.right);
    EXPECT_LE(list.bottom, client.bottom);
}

TEST_F(ProgramWindows, AnotherMonitorsDpiRedrawsTheWholeMainWindowAtTheNewScale) {
    Form1 form(app_);
    ASSERT_TRUE(form.load());
    ShowWindow(form.hwnd(), SW_SHOWNOACTIVATE); // a hidden window has nothing to redraw
    HWND label = FindWindowExW(form.hwnd(), nullptr, L"Static", nullptr);
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
    EXPECT_NEAR(fontHeight(label), heightBefore * 3 / 2, 1);
    EXPECT_EQ(client.right, MulDiv(460, 144, 96));
}

} // namespace
} // namespace ww
