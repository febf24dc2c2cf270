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
    // Fills `List1` with `lines_`, as read into it (read problems in `problems_`) before the window opened.
    bool fill() override;
    // Puts `lines_` in place of the list's entries, keeping its scroll position and selection. If that fails the
    // user is told and the window closes: do not touch the object afterwards.
    void showLines();
    LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    bool onCreate() override;
    void layout() override;
    ProblemsMessage problemsMessage() const override;
    virtual win::UniqueFont listFont() = 0;

    HWND List1 = nullptr;
    std::vector<std::wstring> lines_;

private:
    bool addLines();
    void OnSize(WPARAM kind);

    win::UniqueFont font_;
};

inline constexpr int kList1Id = 100;

} // namespace ww
