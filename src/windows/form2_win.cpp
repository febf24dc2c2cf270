#include "windows/form2_win.h"

#include "platform/win32/dpi.h"
#include "platform/win32/message_box.h"
#include "windows/sheet_win.h"

#include <commctrl.h>

namespace ww {

namespace {

// Control IDs; 1 and 2 are left to Enter and Esc, which the dialog keyboard handling sends as IDOK and IDCANCEL.
constexpr int kCommand1Id = 1000; // + slot
constexpr int kText1Id = 1100;    // + slot
constexpr int kLabel1Id = 1200;   // + word
constexpr int kCommand2Id = 1300;
constexpr int kCommand3Id = 1301;
constexpr int kCommand4Id = 1302;

bool isButton(int id) {
    return (id >= kCommand1Id && id < kCommand1Id + kSlotCount) || (id >= kCommand2Id && id <= kCommand4Id);
}

// The word light goes on where it stopped, for as long as the program runs.
int programWordStep = 0;

// The clipboard's Unicode text; empty when it holds none or another program has it open.
std::wstring clipboardUnicodeText(HWND owner) {
    const win::ClipboardLock clipboard(owner);
    HANDLE data = clipboard ? GetClipboardData(CF_UNICODETEXT) : nullptr;
    const auto* chars = data ? static_cast<const wchar_t*>(GlobalLock(data)) : nullptr;
    if (!chars) return {};
    std::wstring text = chars;
    GlobalUnlock(data);
    return text;
}

// Pasted text with line breaks keeps its lines as "###", which types as Enter, instead of being cut.
LRESULT CALLBACK fieldProc(HWND field, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR) {
    if (msg == WM_NCDESTROY) RemoveWindowSubclass(field, fieldProc, id);
    if (msg == WM_PASTE && IsClipboardFormatAvailable(CF_UNICODETEXT)) {
        const std::wstring text = clipboardUnicodeText(field);
        if (text.find_first_of(L"\r\n") != std::wstring::npos) {
            SendMessageW(field, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(pastedText(text).c_str()));
            return 0;
        }
    }
    return DefSubclassProc(field, msg, wp, lp);
}

std::wstring windowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

// A word wider in this font than its twips allow is widened rather than cut; the gaps between words leave room.
void widenToText(HWND label) {
    const win::ScopedDc dc(label);
    if (!dc) return;
    const win::ScopedSelect font(dc.get(), reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)));
    const std::wstring text = windowText(label);
    SIZE size{};
    const bool measured = GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &size);
    RECT r{};
    GetClientRect(label, &r);
    if (measured && size.cx > r.right)
        SetWindowPos(label, nullptr, 0, 0, size.cx, r.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace

// A task-bar button: while the editor is open there is no tray icon to reach the program by.
Form2::Form2(WindowHost& host)
    : SecondaryWindow(host, {.className = L"WortwerkForm2",
                             .title = kForm2Title,
                             .style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU,
                             .width = form2_layout::kClientWidth,
                             .height = form2_layout::kClientHeight,
                             .taskbarButton = true,
                             .replacesMainWindow = true}),
      model_(programWordStep) {}

bool Form2::fill() {
    model_.load(host_.files(), host_.codec(), &problems_);
    for (int slot = 0; slot < kSlotCount; ++slot)
        SetWindowTextW(Text1[slot], model_.field(slot).c_str());
    hidefields();
    return true;
}

void Form2::opened() {
    Timer1.attach(hwnd());
    Timer1.setEnabled(true);
}

bool Form2::onCreate() {
    const auto child = [this](const wchar_t* cls, const wchar_t* text, DWORD style, int id, DWORD ex = 0) {
        return win::createControl(hwnd(), cls, text, WS_VISIBLE | style, id, ex);
    };
    for (int slot = 0; slot < kSlotCount; ++slot)
        Command1[slot] = child(L"BUTTON", slotCaption(slot).c_str(), WS_TABSTOP | BS_PUSHBUTTON, kCommand1Id + slot);
    for (int word = 0; word < kWordCount; ++word)
        Label1[word] = child(L"STATIC", kWords[word], SS_LEFTNOWORDWRAP | SS_NOPREFIX, kLabel1Id + word);
    for (int slot = 0; slot < kSlotCount; ++slot) {
        Text1[slot] = child(L"EDIT", L"", WS_TABSTOP | ES_AUTOHSCROLL, kText1Id + slot, WS_EX_CLIENTEDGE);
        SendMessageW(Text1[slot], EM_SETLIMITTEXT, 0, 0);
        SetWindowSubclass(Text1[slot], fieldProc, 0, 0);
    }
    const DWORD big = WS_TABSTOP | BS_PUSHBUTTON | BS_MULTILINE;
    Command2 = child(L"BUTTON", kSpeichernCaption, big, kCommand2Id);
    Command4 = child(L"BUTTON", kAusdruckenCaption, big, kCommand4Id);
    Command3 = child(L"BUTTON", kErledigtCaption, big, kCommand3Id);
    return true;
}

void Form2::layout() {
    const win::Twips tw(hwnd());
    // The classic dialog font at 8.25 pt; the old one is released only once no control uses it any more.
    win::UniqueFont font = win::createFont(hwnd(), L"MS Shell Dlg 2", 825, false);
    const auto put = [&](HWND control, const TwipsRect& r) {
        win::setFont(control, font.get());
        win::place(control, tw, r);
    };
    for (int slot = 0; slot < kSlotCount; ++slot) {
        put(Command1[slot], form2_layout::keyButton(slot));
        put(Text1[slot], form2_layout::textField());
    }
    for (int word = 0; word < kWordCount; ++word) {
        put(Label1[word], form2_layout::word(word));
        widenToText(Label1[word]);
    }
    put(Command2, form2_layout::speichern());
    put(Command4, form2_layout::ausdrucken());
    put(Command3, form2_layout::erledigt());
    font_ = std::move(font);
}

void Form2::hidefields() {
    for (HWND field : Text1)
        ShowWindow(field, SW_HIDE);
}

void Form2::enablekeys() {
    for (HWND key : Command1)
        EnableWindow(key, TRUE);
}

void Form2::dimwords() {
    for (HWND word : Label1)
        EnableWindow(word, FALSE);
}

void Form2::readFields() {
    for (int slot = 0; slot < kSlotCount; ++slot)
        model_.takeShownText(slot, windowText(Text1[slot]));
}

// After a save a field may read differently (the default text for an empty one, "###" for a line break); only
// those are rewritten, so the caret of the others stays put.
void Form2::showFieldTexts() {
    for (int slot = 0; slot < kSlotCount; ++slot)
        if (windowText(Text1[slot]) != model_.field(slot)) SetWindowTextW(Text1[slot], model_.field(slot).c_str());
}

void Form2::OnKeyButton(int slot) {
    hidefields();
    ShowWindow(Text1[slot], SW_SHOW);
    enablekeys();
    EnableWindow(Command1[slot], FALSE);
    SetFocus(Text1[slot]);
}

void Form2::OnSpeichern() {
    readFields();
    const SaveOutcome outcome = model_.save(host_.files(), host_.codec());
    if (!outcome.saved) {
        win::messageBox(hwnd(), outcome.message, outcome.title.c_str(), MB_OK | MB_ICONWARNING);
        return;
    }
    showFieldTexts();
    host_.assignmentFilesChanged();
}

void Form2::OnAusdrucken() {
    readFields();
    std::vector<std::wstring> captions;
    for (int slot = 0; slot < kFirstPadSlot; ++slot)
        captions.push_back(windowText(Command1[slot]));
    const HCURSOR previous = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    std::wstring error;
    const bool printed = win::printOnDefaultPrinter(sheetLines(model_.keyTexts(), captions), &error);
    SetCursor(previous);
    if (!printed && !error.empty()) win::messageBox(hwnd(), error, L"Drucken nicht möglich", MB_OK | MB_ICONWARNING);
}

void Form2::OnCloseRequest(CloseRequest request) {
    if (closing()) return;
    readFields();
    if (model_.closeRequested(request) == CloseStep::AskDatenkontrolle &&
        win::messageBox(hwnd(), kDatenkontrolleText, kDatenkontrolleTitle, MB_YESNO | MB_DEFBUTTON1) != IDYES)
        return;
    close();
}

void Form2::OnTimer() {
    model_.tick();
    dimwords();
    for (int word = 0; word < kWordCount; ++word)
        if (model_.wordEnabled(word)) EnableWindow(Label1[word], TRUE);
}

ProblemsMessage Form2::problemsMessage() const {
    return {L"Wortwerk kann die Tastenbelegung nicht vollständig lesen:\n",
            L"\n\nDie betroffenen Tasten zeigen den Text „*** Noch nicht benutzt ***“. Wenn Sie speichern, wird die "
            L"Datei mit den angezeigten Texten überschrieben."};
}

void Form2::OnCommand(int id) {
    if (id >= kCommand1Id && id < kCommand1Id + kSlotCount) return OnKeyButton(id - kCommand1Id);
    switch (id) {
    case kCommand2Id:
        return OnSpeichern();
    case kCommand3Id:
        return OnCloseRequest(CloseRequest::Erledigt);
    case kCommand4Id:
        return OnAusdrucken();
    case IDOK: // Enter: a focused button is clicked; in a field Enter does nothing
        if (HWND focus = GetFocus(); focus && GetParent(focus) == hwnd() && isButton(GetDlgCtrlID(focus)))
            OnCommand(GetDlgCtrlID(focus));
        return;
    case IDCANCEL: // Esc, like the close box
        return OnCloseRequest(CloseRequest::CloseBox);
    }
}

LRESULT Form2::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_COMMAND:
        if (HIWORD(wp) == BN_CLICKED) OnCommand(LOWORD(wp));
        return 0;
    case WM_TIMER:
        if (wp == Timer1.id()) OnTimer();
        return 0;
    case WM_DESTROY:
        Timer1.setEnabled(false);
        Timer1.attach(nullptr);
        break;
    }
    return SecondaryWindow::handleMessage(msg, wp, lp);
}

} // namespace ww
