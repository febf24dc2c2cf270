#include "windows/form2_win.h"

#include "platform/win32/dpi.h"
#include "platform/win32/message_box.h"
#include "ui/control_ids.h"
#include "windows/sheet_win.h"

#include <commctrl.h>

namespace ww {

namespace {

bool isButton(int id) {
    return (id >= ids::id(L"Form2.Command1") && id < ids::id(L"Form2.Command1") + kSlotCount) ||
           (id >= ids::id(L"Form2.Command2") && id <= ids::id(L"Form2.Command4"));
}

constexpr ProblemsMessage kProblems{
    L"Wortwerk kann die Tastenbelegung nicht vollständig lesen:\n",
    L"\n\nDie betroffenen Tasten zeigen den Text „*** Noch nicht benutzt ***“. Wenn Sie speichern, wird die Datei "
    L"mit den angezeigten Texten überschrieben."};

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
    const win::ScopedDc dc(label, reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)));
    if (!dc) return;
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
    : SecondaryWindow(host,
                      {L"WortwerkForm2", kForm2Title, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 0,
                       form2_layout::kClientWidth, form2_layout::kClientHeight, TaskbarButton | ReplacesMainWindow},
                      kProblems),
      model_(programWordStep) {}

bool Form2::fill() {
    model_.load(host_.files(), host_.codec(), &problems_);
    for (int slot = 0; slot < kSlotCount; ++slot)
        SetWindowTextW(text1_[slot], model_.field(slot).c_str());
    hidefields();
    return true;
}

void Form2::opened() {
    timer1_.attach(hwnd());
    timer1_.setEnabled(true);
}

// The 45 key buttons, the six words, the 45 fields (one shown at a time, in the same place) and the three buttons,
// in Tab order, all in the classic dialog font at 8.25 pt.
std::vector<ControlRow> Form2::controlTable() {
    constexpr FontSpec font{L"MS Shell Dlg 2", 825};
    constexpr DWORD big = WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON | BS_MULTILINE;
    std::vector<ControlRow> rows;
    for (int slot = 0; slot < kSlotCount; ++slot)
        rows.push_back({&command1_[slot], L"BUTTON", ids::id(L"Form2.Command1") + slot, slotCaption(slot),
                        WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, form2_layout::keyButton(slot), font});
    for (int word = 0; word < kWordCount; ++word)
        rows.push_back({&label1_[word], L"STATIC", ids::id(L"Form2.Label1") + word, kWords[word],
                        WS_VISIBLE | SS_LEFTNOWORDWRAP | SS_NOPREFIX, form2_layout::word(word), font});
    for (int slot = 0; slot < kSlotCount; ++slot)
        rows.push_back({&text1_[slot], L"EDIT", ids::id(L"Form2.Text1") + slot, L"",
                        WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, form2_layout::kTextField, font, WS_EX_CLIENTEDGE});
    rows.push_back(
        {&command2_, L"BUTTON", ids::id(L"Form2.Command2"), kSpeichernCaption, big, form2_layout::kSpeichern, font});
    rows.push_back(
        {&command4_, L"BUTTON", ids::id(L"Form2.Command4"), kAusdruckenCaption, big, form2_layout::kAusdrucken, font});
    rows.push_back(
        {&command3_, L"BUTTON", ids::id(L"Form2.Command3"), kErledigtCaption, big, form2_layout::kErledigt, font});
    return rows;
}

bool Form2::onCreate() {
    for (HWND field : text1_) {
        SendMessageW(field, EM_SETLIMITTEXT, 0, 0);
        SetWindowSubclass(field, fieldProc, 0, 0);
    }
    return true;
}

void Form2::layout() {
    SecondaryWindow::layout();
    for (HWND word : label1_)
        widenToText(word);
}

void Form2::hidefields() {
    for (HWND field : text1_)
        ShowWindow(field, SW_HIDE);
}

void Form2::enablekeys() {
    for (HWND key : command1_)
        EnableWindow(key, TRUE);
}

void Form2::dimwords() {
    for (HWND word : label1_)
        EnableWindow(word, FALSE);
}

void Form2::readFields() {
    for (int slot = 0; slot < kSlotCount; ++slot)
        model_.takeShownText(slot, windowText(text1_[slot]));
}

// After a save a field may read differently (the default text for an empty one, "###" for a line break); only
// those are rewritten, so the caret of the others stays put.
void Form2::showFieldTexts() {
    for (int slot = 0; slot < kSlotCount; ++slot)
        if (windowText(text1_[slot]) != model_.field(slot)) SetWindowTextW(text1_[slot], model_.field(slot).c_str());
}

void Form2::OnKeyButton(int slot) {
    hidefields();
    ShowWindow(text1_[slot], SW_SHOW);
    enablekeys();
    EnableWindow(command1_[slot], FALSE);
    SetFocus(text1_[slot]);
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
        captions.push_back(windowText(command1_[slot]));
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
        if (model_.wordEnabled(word)) EnableWindow(label1_[word], TRUE);
}

void Form2::OnCommand(int id) {
    if (id >= ids::id(L"Form2.Command1") && id < ids::id(L"Form2.Command1") + kSlotCount)
        return OnKeyButton(id - ids::id(L"Form2.Command1"));
    switch (id) {
    case ids::id(L"Form2.Command2"):
        return OnSpeichern();
    case ids::id(L"Form2.Command3"):
        return OnCloseRequest(CloseRequest::Erledigt);
    case ids::id(L"Form2.Command4"):
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
        if (wp == timer1_.id()) OnTimer();
        return 0;
    case WM_DESTROY:
        timer1_.setEnabled(false);
        timer1_.attach(nullptr);
        break;
    }
    return SecondaryWindow::handleMessage(msg, wp, lp);
}

} // namespace ww
