#include "app/app_win.h"

#include "help/form5_win.h"
#include "help/frm_splash_win.h"
#include "platform/win32/message_box.h"
#include "shell/commands.h"
#include "shell/form1_win.h"
#include "ui/messages.h"
#include "windows/form2_win.h"
#include "windows/lists_win.h"

#include <algorithm>

namespace ww {

namespace {

// kReleaseRetired goes to the owner window: a thread message would be lost while a message box runs its own loop.
LRESULT CALLBACK ownerProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == kReleaseRetired) {
        if (auto* app = reinterpret_cast<App*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA))) app->releaseRetired();
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

// The menu's commands that open a window.
struct WindowCommand {
    unsigned command;
    void (*open)(App& app);
};
constexpr WindowCommand kWindowCommands[] = {
    {CmdMnMsgShow, [](App& app) { app.openOrShow<Form2>(); }},
    {CmdHilf, [](App& app) { app.openOrShow<Form5>(); }},
    {CmdZwisch, [](App& app) { app.openOrShow<Form6>(); }},
    // An open overview reads the files again: they may have changed since it opened.
    {CmdTabean,
     [](App& app) {
         app.assignmentFilesChanged();
         app.openOrShow<Form7>();
     }},
};

} // namespace

App::App() = default;
App::~App() = default;

HWND App::owner() {
    if (!owner_) {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = ownerProc;
        wc.hInstance = win::instance();
        wc.lpszClassName = L"WortwerkOwner";
        RegisterClassExW(&wc);
        owner_.reset(CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, win::instance(),
                                     nullptr));
        if (owner_) SetWindowLongPtrW(owner_.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    return owner_.get();
}

Form1* App::mainWindow() const {
    return form1_ && form1_->hwnd() ? form1_.get() : nullptr;
}

void App::bringBackMainWindow() {
    if (mainWindow()) return;
    auto form = std::make_unique<Form1>(*this);
    if (!form->load()) return;
    form1_ = std::move(form);
}

void App::replaceMainWindow() {
    if (Form1* form = mainWindow()) form->unload();
}

void App::assignmentFilesChanged() {
    if (Form7* overview = find<Form7>()) overview->reload();
}

void App::open(unsigned command) {
    for (const WindowCommand& c : kWindowCommands)
        if (c.command == command) c.open(*this);
}

void App::checkFirstStart() {
    if (firstStart_.check(files_)) openOrShow<FrmSplash>();
}

void App::destroyed(win::Window& window) {
    retire(&window);
    if (--loaded_ <= 0) PostQuitMessage(0);
}

// The object goes once the message that destroyed its window has been handled.
void App::retire(win::Window* window) {
    if (form1_.get() == window) retired_.push_back(std::move(form1_));
    auto it = std::find_if(secondaries_.begin(), secondaries_.end(), [&](auto& w) { return w.get() == window; });
    if (it != secondaries_.end()) {
        retired_.push_back(std::move(*it));
        secondaries_.erase(it);
    }
    PostMessageW(owner(), kReleaseRetired, 0, 0);
}

// Never created, or destroyed during creation (then it is retired already).
std::nullptr_t App::failedToOpen(SecondaryWindow* window) {
    retire(window);
    win::messageBox(nullptr, L"Wortwerk konnte das Fenster nicht öffnen. Bitte versuchen Sie es noch einmal.",
                    L"Wortwerk", MB_OK | MB_ICONWARNING);
    return nullptr;
}

HWND App::dialogWindowFor(HWND target) const {
    if (!target) return nullptr;
    HWND root = GetAncestor(target, GA_ROOT);
    for (auto& w : secondaries_)
        if (w->hwnd() == root) return root;
    return nullptr;
}

void App::loaded() {
    ++loaded_;
}

void App::releaseRetired() {
    retired_.clear();
}

int App::run(int showCommand) {
    bringBackMainWindow();
    Form1* form = mainWindow();
    if (!form) {
        win::messageBox(nullptr, L"Wortwerk konnte sein Hauptfenster nicht anlegen und wird beendet.", L"Wortwerk",
                        MB_OK | MB_ICONERROR);
        return 1;
    }
    // Only the program start shows the main window; later loads stay hidden.
    form->show(showCommand == SW_HIDE ? SW_SHOWNORMAL : showCommand);

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (HWND dialog = dialogWindowFor(msg.hwnd); dialog && IsDialogMessageW(dialog, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

} // namespace ww
