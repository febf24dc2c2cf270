#pragma once
// What the overview and the pick list share: one list box `List1` that fills the window by the list layout rule,
// the topmost band, and a task-bar button of their own (both can be minimized, and a minimized window without one
// could not be reached again).
#include "platform/win32/handles.h"
#include "ui/secondary_win.h"

#include <string>
#include <vector>

namespace ww {

class ListWindow : public SecondaryWindow {
protected:
    using SecondaryWindow::SecondaryWindow;
    // Creates the window, fills `List1` with `lines` and shows it with that client size; false (and no window) if
    // that failed. Read problems collected in `problems_` are shown to the user once the window is up.
    bool openList(const wchar_t* className, const wchar_t* title, const std::vector<std::wstring>& lines,
                  int clientWidthTwips, int clientHeightTwips, bool centre);
    // Puts `lines` in place of the list's entries, keeping its scroll position and selection. If that fails the
    // user is told and the window closes: do not touch the object afterwards.
    void showLines(const std::vector<std::wstring>& lines);
    LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void layout() override;
    virtual win::UniqueFont listFont() = 0;

    HWND List1 = nullptr;
    std::vector<std::wstring> problems_;

private:
    bool OnCreate();
    void OnSize(WPARAM kind);
    void OnShowProblems();

    win::UniqueFont font_;
};

inline constexpr int kList1Id = 100;

} // namespace ww
