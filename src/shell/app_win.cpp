#include "shell/app_win.h"

#include "platform/win32/message_box.h"
#include "platform/win32/window.h"
#include "shell/form1_win.h"
#include "windows/form7_win.h"

#include <algorithm>

namespace ww {

namespace {
// Posted to the owner window: release window objects whose HWND was destroyed inside their own handlers.
// (A thread message would be lost while a message box runs its own loop.)
constexpr UINT kReleaseRetired = WM_APP + 100;

LRESULT CALLBACK ownerProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == kReleaseRetired) {
        App::get().releaseRetired();
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}
} // namespace

App& App::get() {
    static App app;
    return app;
}

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
    }
    return owner_.get();
}

Form1* App::mainWindow() const {
    return form1_ && form1_->hwnd() ? form1_.get() : nullptr;
}

void App::bringBackMainWindow() {
    if (mainWindow()) return;
    auto form = std::make_unique<Form1>();
    if (!form->load()) return;
    form1_ = std::move(form);
}

void App::assignmentFilesChanged() {
    if (Form7* overview = find<Form7>()) overview->reload();
}

void App::unloadMainWindow() {
    if (Form1* form = mainWindow()) form->unload();
}

void App::mainWindowDestroyed() {
    if (form1_) retiredForms_.push_back(std::move(form1_));
    retireLater();
    windowUnloaded();
}

void App::secondaryDestroyed(SecondaryWindow* window) {
    auto it = std::find_if(secondaries_.begin(), secondaries_.end(), [&](auto& w) { return w.get() == window; });
    if (it != secondaries_.end()) {
        retiredSecondaries_.push_back(std::move(*it));
        secondaries_.erase(it);
    }
    retireLater();
    windowUnloaded();
}

void App::reportOpenFailure(SecondaryWindow* window) {
    // Never created, or destroyed during creation (then it is retired already).
    auto it = std::find_if(secondaries_.begin(), secondaries_.end(), [&](auto& w) { return w.get() == window; });
    if (it != secondaries_.end()) {
        retiredSecondaries_.push_back(std::move(*it));
        secondaries_.erase(it);
        retireLater();
    }
    win::messageBox(nullptr, L"Wortwerk konnte das Fenster nicht öffnen. Bitte versuchen Sie es noch einmal.",
                    L"Wortwerk", MB_OK | MB_ICONWARNING);
}

void App::retireLater() {
    PostMessageW(owner(), kReleaseRetired, 0, 0);
}

HWND App::dialogWindowFor(HWND target) const {
    if (!target) return nullptr;
    HWND root = GetAncestor(target, GA_ROOT);
    for (auto& w : secondaries_)
        if (w->hwnd() == root && w->wantsDialogKeys()) return root;
    return nullptr;
}

void App::windowLoaded() {
    ++loaded_;
}

void App::windowUnloaded() {
    if (--loaded_ <= 0) PostQuitMessage(0);
}

void App::releaseRetired() {
    retiredForms_.clear();
    retiredSecondaries_.clear();
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
    releaseRetired();
    secondaries_.clear();
    form1_.reset();
    return static_cast<int>(msg.wParam);
}

} // namespace ww
