#pragma once
// A window's controls as a table: each row names the control's class, ID, caption, style, box in twips and font.
// One routine creates them all and one places them at the window's DPI, again after every DPI change.
#include "platform/twips.h"
#include "platform/win32/handles.h"

#include <string>
#include <utility>
#include <vector>

namespace ww {

struct ControlRow {
    HWND* handle; // where the window keeps the control
    const wchar_t* className;
    int id;
    std::wstring caption;
    DWORD style; // WS_CHILD is added
    TwipsRect box;
    FontSpec font;
    DWORD exStyle = 0;
};

class ControlTable {
public:
    // Creates every control in table order (which is the Tab order); false if one could not be created.
    bool create(HWND parent, std::vector<ControlRow> rows);
    // Each control at its box with its font, both for `dpi`; the fonts used before are released only afterwards.
    void place(UINT dpi);
    // The font of that description as placed last.
    HFONT font(const FontSpec& wanted) const;

private:
    std::vector<ControlRow> rows_;
    std::vector<std::pair<FontSpec, win::UniqueFont>> fonts_;
};

} // namespace ww
