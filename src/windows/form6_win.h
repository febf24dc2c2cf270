#pragma once
// `Form6`: the clipboard pick list. It replaces the main window while open and brings it back when it closes.
#include "windows/list_window_win.h"

namespace ww {

class Form6 final : public ListWindow {
public:
    explicit Form6(WindowHost& host);

protected:
    bool fill() override;
    LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    win::UniqueFont listFont() override;

private:
    void OnSelChange();
};

} // namespace ww
