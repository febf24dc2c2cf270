#include "shell/form1_win.h"

#include "../res/resource.h"
#include "ui/messages.h"
#include "platform/win32/dpi.h"
#include "platform/win32/message_box.h"
#include "shell/commands.h"
#include "ui/control_ids.h"

namespace ww {

namespace {

constexpr int kClientWidth = 6900; // twips
constexpr int kClientHeight = 2250;

// The face's decoration: narrow coloured bars beside the hand.
constexpr COLORREF kBarColours[] = {RGB(192, 0, 0), RGB(255, 192, 0), RGB(0, 128, 0), RGB(0, 64, 192),
                                    RGB(128, 0, 128)};

// Shown at log-on, when other programs fight for the front: it must not end up unseen behind them.
constexpr ProblemsMessage kProblems{
    L"Wortwerk kann seine Tastenbelegung nicht vollständig laden:\n",
    L"\n\nDie betroffenen Tasten bleiben bis zum nächsten Start leer. Ihre Dateien wurden nicht verändert.",
    MB_OK | MB_ICONWARNING | MB_TOPMOST};

} // namespace

Form1::Form1(WindowHost& host) : FormWindow(host, kProblems) {}

Form1::~Form1() {
    // The icon must not outlive the window that receives its notifications.
    tray_.remove();
}

// Created hidden and owned by the invisible owner window: no task-bar button, no Alt+Tab entry.
bool Form1::load() {
    return createForm(L"WortwerkForm1", WS_EX_TOOLWINDOW, kForm1Caption, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU,
                      host_.owner());
}

std::vector<ControlRow> Form1::controlTable() {
    return {{&label1_,
             L"STATIC",
             ids::id(L"Form1.Label1"),
             kForm1Hint,
             WS_VISIBLE | SS_LEFT,
             {1650, 450, 4950, 1350},
             {nullptr, 0, true}}};
}

bool Form1::onCreate() {
    taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
    // Run as administrator, the program would otherwise never hear of a restarted (unelevated) Explorer.
    if (taskbarCreated_) ChangeWindowMessageFilterEx(hwnd(), taskbarCreated_, MSGFLT_ALLOW, nullptr);
    tray_.setup(hwnd(), 1, kTrayCallback, nullptr, L"Wortwerk");
    loadIcons();
    tray_.add(); // a missing task bar is not an error: "TaskbarCreated" adds the icon later

    table_ = loadTable(host_.files(), host_.codec(), &problems_);
    showProblemsLater();

    for (win::WindowTimer* timer : {&timer1_, &timer2_, &timer4_})
        timer->attach(hwnd());
    timer1_.setEnabled(true); // Timer2 stays off until keypad 0 arms the engine
    timer4_.setEnabled(true);
    return true;
}

void Form1::show(int command) {
    if (!hwnd()) return;
    ShowWindow(hwnd(), command);
    SetForegroundWindow(hwnd());
}

void Form1::unload() {
    OnClose(CloseReason::OwnCommand);
}

void Form1::onDestroyed() {
    for (win::WindowTimer* timer : {&timer1_, &timer2_, &timer4_})
        timer->attach(nullptr);
    FormWindow::onDestroyed();
}

void Form1::OnClose(CloseReason reason) {
    CloseDecision d = closeQuery(reason);
    if (d.hide) ShowWindow(hwnd(), SW_HIDE);
    if (d.deleteIcon) tray_.remove();
    if (d.unload) DestroyWindow(hwnd());
}

void Form1::OnTimer(UINT_PTR id) {
    switch (id) {
    case 1:
        engine_.onTimer1Tick();
        break;
    case 2:
        engine_.onTimer2Tick();
        break;
    case 4:
        // The first-start check runs once per load, on this first tick; a message box about the files goes first
        // (unloading the main window would take it away unread).
        if (!IsWindowEnabled(hwnd())) break;
        timer4_.setEnabled(false);
        host_.checkFirstStart();
        break;
    }
}

void Form1::OnTrayNotify(UINT code) {
    switch (decodeTrayNotification(code)) {
    case TrayAction::ShowMainWindow:
        show(SW_SHOWNORMAL);
        break;
    case TrayAction::OpenMenu:
        OnShowMenu();
        break;
    case TrayAction::None:
        break;
    }
}

void Form1::OnShowMenu() {
    win::UniqueMenu menu(CreatePopupMenu());
    if (!menu) return;
    for (const MenuItem& item : mnBar_.visibleItems())
        AppendMenuW(menu.get(), MF_STRING, item.command, item.caption);
    POINT at{};
    GetCursorPos(&at);
    // Without the foreground the menu would not close when the user clicks elsewhere or presses Esc.
    SetForegroundWindow(hwnd());
    TrackPopupMenuEx(menu.get(), TPM_RIGHTBUTTON, at.x, at.y, hwnd(), nullptr);
    PostMessageW(hwnd(), WM_NULL, 0, 0);
}

void Form1::OnCommand(UINT id) {
    switch (id) {
    case CmdInfo:
        win::messageBox(hwnd(), kInfoText, kInfoTitle, MB_OK);
        break;
    case CmdMnNix:
        mnBar_.activate();
        engine_.activate();
        break;
    case CmdMnBeep:
        mnBar_.deactivate();
        engine_.deactivate();
        break;
    case CmdMnExit:
        tray_.remove();
        unload();
        break;
    default: // the commands that open a window
        host_.open(id);
    }
}

// The icons at the sizes the shell and the face want at the current DPI; the tray gets the small one.
void Form1::loadIcons() {
    auto load = [](int size) {
        return win::UniqueIcon(static_cast<HICON>(
            LoadImageW(win::instance(), MAKEINTRESOURCEW(IDI_HAND_ICON), IMAGE_ICON, size, size, 0)));
    };
    icon_ = load(win::systemMetric(SM_CXICON, dpi_));
    smallIcon_ = load(win::systemMetric(SM_CXSMICON, dpi_));
    tray_.setIcon(smallIcon_ ? smallIcon_.get() : icon_.get());
}

void Form1::layout() {
    win::setClientSize(hwnd(), dpi_, kClientWidth, kClientHeight, false);
    FormWindow::layout();
}

void Form1::OnPaint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd(), &ps);
    const win::Twips tw(dpi_);
    for (int i = 0; i < 5; ++i) {
        RECT bar{tw(210 + i * 120), tw(210), tw(270 + i * 120), tw(kClientHeight - 210)};
        win::UniqueBrush brush(CreateSolidBrush(kBarColours[i]));
        FillRect(dc, &bar, brush.get());
    }
    if (icon_) DrawIconEx(dc, tw(960), tw(450), icon_.get(), tw(480), tw(480), 0, nullptr, DI_NORMAL);
    EndPaint(hwnd(), &ps);
}

LRESULT Form1::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_TIMER:
        OnTimer(wp);
        return 0;
    case kTrayCallback:
        OnTrayNotify(LOWORD(lp));
        return 0;
    case WM_COMMAND:
        OnCommand(LOWORD(wp));
        return 0;
    case WM_CLOSE:
        OnClose(CloseReason::CloseBox); // close box, system menu and task manager only hide
        return 0;
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_DPICHANGED: // the icons, too, at the new size
        FormWindow::handleMessage(msg, wp, lp);
        loadIcons();
        return 0;
    }
    if (msg == taskbarCreated_ && taskbarCreated_ != 0) {
        // Explorer restarted (perhaps at another DPI): without this the program would run on unreachable.
        loadIcons();
        tray_.add();
        return 0;
    }
    return FormWindow::handleMessage(msg, wp, lp);
}

} // namespace ww
