#include "help/form5_win.h"

#include "platform/win32/dpi.h"
#include "ui/control_ids.h"

#include <algorithm>

namespace ww {

namespace {

// Size of `text` wrapped at word boundaries to `width` pixels in `font`.
SIZE wrappedSize(HWND control, HFONT font, const wchar_t* text, int width, UINT flags) {
    RECT r{0, 0, width, 0};
    if (const win::ScopedDc dc(control, font); dc)
        DrawTextW(dc.get(), text, -1, &r, flags | DT_WORDBREAK | DT_CALCRECT);
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
    if (const win::ScopedDc dc(box, reinterpret_cast<HFONT>(SendMessageW(box, WM_GETFONT, 0, 0))); dc)
        GetTextMetricsW(dc.get(), &tm);
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

// Sizable, but nothing in it moves or grows; without a task-bar button a minimized window would be hard to find.
Form5::Form5(WindowHost& host)
    : SecondaryWindow(host, {L"WortwerkForm5", kForm5Title,
                             WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MAXIMIZEBOX | WS_CLIPCHILDREN,
                             0, kForm5Width, kForm5Height, Topmost | ReplacesMainWindow}) {}

void Form5::opened() {
    SetFocus(command_[0]); // as in a dialog: the first button has the focus, Tab moves on
}

// The buttons from top to bottom, then the topic texts.
std::vector<ControlRow> Form5::controlTable() {
    std::vector<ControlRow> rows;
    const auto& buttons = form5Buttons();
    for (std::size_t i = 0; i < buttons.size(); ++i)
        rows.push_back({&command_[i], L"BUTTON", buttons[i].id(), buttons[i].caption,
                        WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON | BS_MULTILINE, buttons[i].box, buttons[i].font});
    for (std::size_t i = 0; i < label1_.size(); ++i)
        rows.push_back({&label1_[i], L"EDIT", ids::id(L"Form5.Label1") + static_cast<int>(i), helpTopics()[i].text,
                        topicStyle(i, false), helpTopics()[i].box, kHelpTextFont});
    return rows;
}

bool Form5::onCreate() {
    for (HWND box : label1_)
        SendMessageW(box, EM_SETWORDBREAKPROC, 0, reinterpret_cast<LPARAM>(&breakAfterBlanks));
    return true;
}

// Hidden until their button is clicked; read-only text that wraps at word boundaries and shows "&" as it is. A text
// taller than its box scrolls, and the keyboard reaches it with Tab.
DWORD Form5::topicStyle(std::size_t i, bool scrolls) const {
    DWORD style = ES_MULTILINE | ES_READONLY;
    if (scrolls) style |= WS_VSCROLL | WS_TABSTOP;
    if (topics_.visible(static_cast<int>(i))) style |= WS_VISIBLE;
    return style;
}

// The box gets a scroll bar exactly when its text needs one at this DPI and font, made anew when that changes.
void Form5::placeTopic(std::size_t i, const win::Twips& tw, HFONT font) {
    for (int pass = 0; pass < 2; ++pass) {
        win::place(label1_[i], tw, helpTopics()[i].box);
        win::setFont(label1_[i], font);
        const bool scrolls = GetWindowLongW(label1_[i], GWL_STYLE) & WS_VSCROLL;
        const bool needed = tallerThanBox(label1_[i]);
        if (needed == scrolls) return;
        if (HWND box = win::createControl(hwnd(), L"EDIT", helpTopics()[i].text, topicStyle(i, needed),
                                          GetDlgCtrlID(label1_[i]))) {
            SendMessageW(box, EM_SETWORDBREAKPROC, 0, reinterpret_cast<LPARAM>(&breakAfterBlanks));
            DestroyWindow(label1_[i]);
            label1_[i] = box;
        }
    }
}

// The designed boxes, then each button as high as its caption needs and each topic with a scroll bar if it needs one.
void Form5::layout() {
    SecondaryWindow::layout();
    const win::Twips tw(dpi_);
    const auto& buttons = form5Buttons();
    std::array<int, 6> heights{};
    for (std::size_t i = 0; i < buttons.size(); ++i)
        heights[i] = captionHeight(hwnd(), controls_.font(buttons[i].font), buttons[i], tw);
    const auto boxes = form5ButtonBoxes(heights);
    for (std::size_t i = 0; i < buttons.size(); ++i)
        win::place(command_[i], tw, boxes[i]);
    for (std::size_t i = 0; i < label1_.size(); ++i)
        placeTopic(i, tw, controls_.font(kHelpTextFont));
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
