#include "help/form5_win.h"

#include "platform/win32/dpi.h"
#include "shell/app_win.h"

namespace ww {

win::UniqueFont createHelpFont(HWND window, const HelpFont& font) {
    return win::createFont(window, font.face, font.centiPoints, font.bold);
}

bool Form5::open() {
    // Sizable, but nothing in it moves or grows; without a task-bar button a minimized window would be hard to find.
    if (!createSecondary(L"WortwerkForm5", 0, kForm5Title,
                         WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MAXIMIZEBOX | WS_CLIPCHILDREN))
        return false;
    win::setClientSize(hwnd(), kForm5Width, kForm5Height, true);
    win::setTopmost(hwnd(), true);
    ShowWindow(hwnd(), SW_SHOW);
    SetForegroundWindow(hwnd());
    SetFocus(command_[0]); // as in a dialog: the first button has the focus, Tab moves on
    return true;
}

void Form5::OnCreate() {
    const auto& buttons = form5Buttons();
    for (std::size_t i = 0; i < buttons.size(); ++i)
        command_[i] = win::createControl(hwnd(), L"BUTTON", buttons[i].caption,
                                         WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON | BS_MULTILINE, buttons[i].id);
    // Hidden until their button is clicked; they wrap at word boundaries and show "&" as it is.
    for (int i = 0; i < kHelpTopicCount; ++i)
        label1_[static_cast<std::size_t>(i)] =
            win::createControl(hwnd(), L"STATIC", helpTopics()[static_cast<std::size_t>(i)].text, SS_LEFT | SS_NOPREFIX,
                               kLabel1FirstId + i);
}

void Form5::layout() {
    const win::Twips tw(hwnd());
    const auto& buttons = form5Buttons();
    std::array<win::UniqueFont, 6> buttonFonts;
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        buttonFonts[i] = createHelpFont(hwnd(), buttons[i].font);
        win::place(command_[i], tw, buttons[i].box);
        win::setFont(command_[i], buttonFonts[i].get());
    }
    auto textFont = createHelpFont(hwnd(), kHelpTextFont);
    for (std::size_t i = 0; i < label1_.size(); ++i) {
        win::place(label1_[i], tw, helpTopics()[i].box);
        win::setFont(label1_[i], textFont.get());
    }
    // The controls use the new fonts now; the old ones can go.
    buttonFonts_ = std::move(buttonFonts);
    textFont_ = std::move(textFont);
}

void Form5::OnCommand(int id) {
    const Form5Button* button = form5ButtonById(id);
    if (!button) return;
    if (button->topic == kCloseHelp) {
        OnClose();
        return;
    }
    topics_.show(button->topic);
    for (int i = 0; i < kHelpTopicCount; ++i)
        ShowWindow(label1_[static_cast<std::size_t>(i)], topics_.visible(i) ? SW_SHOW : SW_HIDE);
}

// Every way out: close button, close box, Alt+F4, Esc, end of the session.
void Form5::OnClose() {
    if (closing_) return;
    closing_ = true;
    win::setTopmost(hwnd(), false);
    App::get().bringBackMainWindow();
    DestroyWindow(hwnd());
}

LRESULT Form5::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CREATE:
        OnCreate();
        return 0;
    case WM_COMMAND:
        if (LOWORD(wp) == IDCANCEL)
            OnClose();
        else if (HIWORD(wp) == BN_CLICKED)
            OnCommand(LOWORD(wp));
        return 0;
    case WM_CLOSE:
        OnClose();
        return 0;
    case WM_QUERYENDSESSION:
        return TRUE;
    case WM_ENDSESSION:
        if (wp) OnClose();
        return 0;
    }
    return SecondaryWindow::handleMessage(msg, wp, lp);
}

} // namespace ww
