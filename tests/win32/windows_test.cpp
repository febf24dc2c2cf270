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
    std::filesystem::path folder_ =
        std::filesystem::temp_directory_path() / (L"wortwerk-windows-" + std::to_wstring(GetCurrentProcessId()));
};

// Size of `text` as DrawTextW lays it out in `width` pixels with the control's font; `lineHeight` gets the font's.
SIZE measure(HWND control, const std::wstring& text, int width, UINT flags, int* lineHeight = nullptr) {
    const win::ScopedDc dc(control, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    RECT r{0, 0, width, 0};
    DrawTextW(dc.get(), text.c_str(), static_cast<int>(text.size()), &r, flags | DT_CALCRECT | DT_NOPREFIX);
    TEXTMETRICW tm{};
    GetTextMetricsW(dc.get(), &tm);
    if (lineHeight) *lineHeight = tm.tmHeight;
    return {r.right, r.bottom};
}

int fontHeight(HWND control) {
    auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    LOGFONTW lf{};
    return font && GetObjectW(font, sizeof lf, &lf) == sizeof lf ? lf.lfHeight : 0;
}

std::wstring textOf(HWND control) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return text;
}

TEST_F(ProgramWindows, HelpTopicsReadToTheirEndAndCaptionsFitTheirButtons) {
    Form5 help(app_);
    ASSERT_TRUE(help.open());
    for (int i = 0; i < kHelpTopicCount; ++i) {
        HWND box = GetDlgItem(help.hwnd(), ids::id(L"Form5.Label1") + i);
        const std::wstring text = textOf(box);
        RECT client{};
        GetClientRect(box, &client);
        int lineHeight = 0;
        if (measure(box, text, client.right, DT_WORDBREAK | DT_EDITCONTROL, &lineHeight).cy <= client.bottom) continue;
        // Taller than its box as a label wraps it: the box wraps it itself and, scrolled to its end, shows its last
        // line.
        SendMessageW(box, WM_VSCROLL, SB_BOTTOM, 0);
        const LRESULT lines = SendMessageW(box, EM_GETLINECOUNT, 0, 0);
        if (lines < 2) {
            ADD_FAILURE() << "topic " << i << " cannot scroll";
            continue;
        }
        const LRESULT last = SendMessageW(box, EM_POSFROMCHAR, SendMessageW(box, EM_LINEINDEX, lines - 1, 0), 0);
        EXPECT_LE(static_cast<short>(HIWORD(last)) + lineHeight, client.bottom) << "topic " << i;
    }
    LONG above = 0; // bottom of the button above, in the window's client coordinates
    for (const Form5Button& button : form5Buttons()) {
        HWND control = GetDlgItem(help.hwnd(), button.id());
        RECT area{}, frame{};
        GetClientRect(control, &area);
        InflateRect(&area, -4, -4); // a push button's frame and text margin
        const int width = area.right - area.left, height = area.bottom - area.top;
        const UINT flags = DT_WORDBREAK | DT_CENTER;
        const SIZE wrapped = measure(control, button.caption, width, flags);
        // Centred as measured, but drawn wrapped once more inside that measured width (so Wine draws it).
        const SIZE drawn = measure(control, button.caption, wrapped.cx, flags);
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
}

TEST_F(ProgramWindows, HelpGivesTheFocusBackToItsControlWhenActivatedAgain) {
    Form5 help(app_);
    ASSERT_TRUE(help.open());
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

    RECT inside{};
    IntersectRect(&inside, &list, &client);
    EXPECT_TRUE(EqualRect(&inside, &list))
        << list.right << " x " << list.bottom << " in " << client.right << " x " << client.bottom;
}

TEST_F(ProgramWindows, AnotherMonitorsDpiRedrawsTheWholeMainWindowAtTheNewScaleAndUnloadDeletesTheIcon) {
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

    // The object lives on until the message loop releases it: the icon goes with the window.
    NOTIFYICONDATAW icon{};
    icon.cbSize = sizeof icon;
    icon.hWnd = form.hwnd();
    icon.uID = 1;
    ASSERT_TRUE(Shell_NotifyIconW(NIM_MODIFY, &icon)) << "no icon to begin with";
    form.unload();
    EXPECT_FALSE(Shell_NotifyIconW(NIM_MODIFY, &icon));
}

} // namespace
} // namespace ww
