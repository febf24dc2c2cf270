#pragma once
// The overview `Form7` and the pick list `Form6`. They share one list box `List1` that fills the window by the list
// layout rule, the topmost band, and a task-bar button of their own (both can be minimized, and a minimized window
// without one could not be reached again).
#include "ui/secondary_win.h"

#include <string>
#include <vector>

namespace ww {

class ListWindow : public SecondaryWindow {
public:
    // The files have new contents: the open list shows them, scrolled and selected as the user left it. If that
    // fails the user is told and the window closes: do not touch the object afterwards.
    void reload();

protected:
    // The list's lines from the files; read problems are appended to the last argument.
    using ReadLines = std::vector<std::wstring> (*)(FileStore&, const TextCodec&, std::vector<std::wstring>*);
    ListWindow(WindowHost& host, const OpenSpec& opening, const FontSpec& font, ReadLines read);
    bool fill() override;
    LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    std::vector<ControlRow> controlTable() override;
    void layout() override;

    HWND list1_ = nullptr;
    std::vector<std::wstring> lines_;

private:
    bool addLines();
    void OnSize(WPARAM kind);

    FontSpec font_;
    ReadLines read_;
};

// `Form6`: the clipboard pick list. It replaces the main window while open and brings it back when it closes.
class Form6 final : public ListWindow {
public:
    explicit Form6(WindowHost& host);

protected:
    LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
};

// `Form7`: the overview. Belongs to no other window, so it outlives the main window's unloads and Exit.
class Form7 final : public ListWindow {
public:
    explicit Form7(WindowHost& host);
};

} // namespace ww
