#include "help/form5_win.h"

#include "platform/win32/dpi.h"

#include <algorithm>

namespace ww {

namespace {

// Size of `text` wrapped at word boundaries to `width` pixels in `font`.
SIZE wrappedSize(HWND control, HFONT font, const wchar_t* text, int width, UINT flags) {
    RECT r{0, 0, width, 0};
    if (const win::ScopedDc dc(control); dc) {
        const win::ScopedSelect selected(dc.get(), font);
        DrawTextW(dc.get(), text, -1, &r, flags | DT_WORDBREAK | DT_CALCRECT);
    }
    return {r.right, r.bottom};
}

// Height in twips that the caption needs inside a push button's frame and text margin (4 pixels at 96 dpi). Some
// systems centre the caption as measured but draw it wrapped once more inside its measured width, which can take a
// word onto another line below; that last line must still show.
int captionHeight(HWND window, HFONT font, const Form5Button& button, const win::Twips& tw) {
    const int margin = tw(60);
    const SIZE wrapped = wrappedSize(window, font, button.caption, tw(button.box.width) - 2 * margin, DT_CENTER);
    const SIZE drawn = wrappedSize(window, font, button.caption, wrapped.cx, DT_CENTER);
    const int pixels = 2 * std::max(drawn.cy, wrapped.cy) - wrapped.cy + 2 * margin;
    return static_cast<int>((pixels * 1440LL + tw.dpi() - 1) / tw.dpi());
}

// Whether the topic text needs more lines than its box shows, as the box itself wraps it.
bool tallerThanBox(HWND box) {
    RECT format{};
    SendMessageW(box, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
    TEXTMETRICW tm{};
    if (const win::ScopedDc dc(box); dc) {
        const win::ScopedSelect font(dc.get(), reinterpret_cast<HFONT>(SendMessageW(box, WM_GETFONT, 0, 0)));
        GetTextMetricsW(dc.get(), &tm);
    }
    return SendMessageW(box, EM_GETLINECOUNT, 0, 0) * tm.tmHeight > format.bottom - format.top;
}

// Lines break after any blank, also inside a run of blanks, never inside a word (a wide run of blanks would otherwise
// leave no break but one in the middle of the next word).
int CALLBACK breakAfterBlanks(LPWSTR text, int current, int length, int action) {
    switch (action) {
    case WB_ISDELIMITER:
        return current < length && text[current] == L' ';
    case WB_LEFT:
        while (current > 0 && text[current - 1] != L' ')
            --current;
        return current;
    case WB_RIGHT:
        while (current < length && text[current] != L' ')
            ++current;
        return current < length ? current + 1 : length;
    }
    return 0;
}

} // namespace

win::UniqueFont createHelpFont(HWND window, const HelpFont& font) {
    return win::createFont(window, font.face, font.centiPoints, font.bold);
}

// Sizable, but nothing in it moves or grows; without a task-bar button a minimized window would be hard to find.
Form5::Form5(WindowHost& host)
    : SecondaryWindow(
          host, {.className = L"WortwerkForm5",
                 .title = kForm5Title,
                 .style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MAXIMIZEBOX | WS_CLIPCHILDREN,
                 .width = kForm5Width,
                 .height = kForm5Height,
                 .topmost = true,
                 .replacesMainWindow = true}) {}

void Form5::opened() {
    SetFocus(command_[0]); // as in a dialog: the first button has the focus, Tab moves on
}

bool Form5::onCreate() {
    const auto& buttons = form5Buttons();
    for (std::size_t i = 0; i < buttons.size(); ++i)
        command_[i] = win::createControl(hwnd(), L"BUTTON", buttons[i].caption,
                                         WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON | BS_MULTILINE, buttons[i].id);
    for (std::size_t i = 0; i < label1_.size(); ++i)
        label1_[i] = createTopic(i, false);
    return true;
}

// Hidden until their button is clicked; read-only text that wraps at word boundaries and shows "&" as it is. A text
// taller than its box scrolls, and the keyboard reaches it with Tab.
HWND Form5::createTopic(std::size_t i, bool scrolls) {
    DWORD style = ES_MULTILINE | ES_READONLY;
    if (scrolls) style |= WS_VSCROLL | WS_TABSTOP;
    if (topics_.visible(static_cast<int>(i))) style |= WS_VISIBLE;
    HWND box = win::createControl(hwnd(), L"EDIT", helpTopics()[i].text, style, kLabel1FirstId + static_cast<int>(i));
    SendMessageW(box, EM_SETWORDBREAKPROC, 0, reinterpret_cast<LPARAM>(&breakAfterBlanks));
    return box;
}

// The box gets a scroll bar exactly when its text needs one at this DPI and font, made anew when that changes.
void Form5::placeTopic(std::size_t i, const win::Twips& tw, HFONT font) {
    for (int pass = 0; pass < 2; ++pass) {
        win::place(label1_[i], tw, helpTopics()[i].box);
        win::setFont(label1_[i], font);
        const bool scrolls = GetWindowLongW(label1_[i], GWL_STYLE) & WS_VSCROLL;
        const bool needed = tallerThanBox(label1_[i]);
        if (needed == scrolls) return;
        if (HWND box = createTopic(i, needed)) {
            DestroyWindow(label1_[i]);
            label1_[i] = box;
        }
    }
}

void Form5::layout() {
    const win::Twips tw(hwnd());
    const auto& buttons = form5Buttons();
    std::array<win::UniqueFont, 6> buttonFonts;
    std::array<int, 6> heights{};
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        buttonFonts[i] = createHelpFont(hwnd(), buttons[i].font);
        heights[i] = captionHeight(hwnd(), buttonFonts[i].get(), buttons[i], tw);
    }
    const auto boxes = form5ButtonBoxes(heights);
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        win::place(command_[i], tw, boxes[i]);
        win::setFont(command_[i], buttonFonts[i].get());
    }
    auto textFont = createHelpFont(hwnd(), kHelpTextFont);
    for (std::size_t i = 0; i < label1_.size(); ++i)
        placeTopic(i, tw, textFont.get());
    // The controls use the new fonts now; the old ones can go.
    buttonFonts_ = std::move(buttonFonts);
    textFont_ = std::move(textFont);
}

void Form5::OnCommand(int id) {
    const Form5Button* button = form5ButtonById(id);
    if (!button) return;
    if (button->topic == kCloseHelp) {
        close();
        return;
    }
    topics_.show(button->topic);
    for (int i = 0; i < kHelpTopicCount; ++i)
        ShowWindow(label1_[static_cast<std::size_t>(i)], topics_.visible(i) ? SW_SHOW : SW_HIDE);
}

LRESULT Form5::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_COMMAND:
        if (LOWORD(wp) == IDCANCEL)
            close();
        else if (HIWORD(wp) == BN_CLICKED)
            OnCommand(LOWORD(wp));
        return 0;
    }
    return SecondaryWindow::handleMessage(msg, wp, lp);
}

} // namespace ww
