#include "ui/controls_win.h"

#include "platform/win32/dpi.h"

#include <algorithm>

namespace ww {

bool ControlTable::create(HWND parent, std::vector<ControlRow> rows) {
    rows_ = std::move(rows);
    for (const ControlRow& row : rows_) {
        *row.handle = win::createControl(parent, row.className, row.caption.c_str(), row.style, row.id, row.exStyle);
        if (!*row.handle) return false;
    }
    return true;
}

void ControlTable::place(UINT dpi) {
    std::vector<std::pair<FontSpec, win::UniqueFont>> fonts;
    const win::Twips tw(dpi);
    for (const ControlRow& row : rows_) {
        auto made = std::find_if(fonts.begin(), fonts.end(), [&](auto& f) { return f.first == row.font; });
        if (made == fonts.end()) {
            win::UniqueFont font = win::createFont(row.font, dpi);
            // Without a new font the controls keep the one they have: it must not be released under them.
            for (auto& [wanted, old] : fonts_)
                if (!font && wanted == row.font) font = std::move(old);
            made = fonts.emplace(fonts.end(), row.font, std::move(font));
        }
        win::place(*row.handle, tw, row.box);
        win::setFont(*row.handle, made->second.get());
    }
    fonts_ = std::move(fonts);
}

HFONT ControlTable::font(const FontSpec& wanted) const {
    for (const auto& [made, font] : fonts_)
        if (made == wanted) return font.get();
    return nullptr;
}

} // namespace ww
