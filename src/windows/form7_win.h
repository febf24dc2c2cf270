#pragma once
// `Form7`: the overview window. Belongs to no other window, so it outlives the main window's unloads and Exit.
#include "windows/list_window_win.h"

namespace ww {

class Form7 final : public ListWindow {
public:
    explicit Form7(WindowHost& host);
    // The files have new contents: the open list shows them, scrolled and selected as the user left it.
    void reload();

protected:
    bool fill() override;
    win::UniqueFont listFont() override;
};

} // namespace ww
