#pragma once
// `Form5`: the help window. Opening it replaces the main window; every way of closing it brings the main window back.
#include "help/form5.h"
#include "platform/win32/dpi.h"
#include "ui/secondary_win.h"

#include <array>

namespace ww {

class Form5 final : public SecondaryWindow {
public:
    explicit Form5(WindowHost& host);

protected:
    void opened() override;
    LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    bool onCreate() override;
    void layout() override;

private:
    HWND createTopic(std::size_t i, bool scrolls);
    void placeTopic(std::size_t i, const win::Twips& tw, HFONT font);
    void OnCommand(int id);

    std::array<HWND, 6> command_{}; // in the order of form5Buttons()
    std::array<HWND, kHelpTopicCount> label1_{};
    HelpTopicView topics_;
    std::array<win::UniqueFont, 6> buttonFonts_;
    win::UniqueFont textFont_;
};

// A font of the help windows' tables at the window's DPI.
win::UniqueFont createHelpFont(HWND window, const HelpFont& font);

} // namespace ww
