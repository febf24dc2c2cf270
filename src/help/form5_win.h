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
    std::vector<ControlRow> controlTable() override;
    bool onCreate() override;
    void layout() override;

private:
    DWORD topicStyle(std::size_t i, bool scrolls) const;
    void placeTopic(std::size_t i, const win::Twips& tw, HFONT font);
    void OnCommand(int id);

    std::array<HWND, 6> command_{}; // in the order of form5Buttons()
    std::array<HWND, kHelpTopicCount> label1_{};
    HelpTopicView topics_;
};

} // namespace ww
