#pragma once
// What every window of the program shares: its host, the DPI it is laid out for, the end of the Windows session and
// the message about file problems it met while loading.
#include "platform/win32/window.h"
#include "ui/controls_win.h"
#include "ui/window_host.h"

#include <string>
#include <vector>

namespace ww {

// The file problems message: its first line, the problems one a line, then its closing sentences.
struct ProblemsMessage {
    const wchar_t* intro = L"";
    const wchar_t* outro = L"";
    UINT flags = MB_OK | MB_ICONWARNING;
};

class FormWindow : public win::Window {
public:
    explicit FormWindow(WindowHost& host, const ProblemsMessage& problems = {})
        : host_(host), problemsMessage_(problems) {}

protected:
    // Creates the window with the hand icon and counts it as loaded; false if it could not be created.
    bool createForm(const wchar_t* className, DWORD exStyle, const wchar_t* title, DWORD style, HWND owner);
    LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void onDestroyed() override;

    // The window's controls, created at WM_CREATE.
    virtual std::vector<ControlRow> controlTable() { return {}; }
    // Once the controls exist; false fails the creation.
    virtual bool onCreate() { return true; }
    // Fonts made and controls placed for `dpi_`: after creation and after each DPI change.
    virtual void layout() { controls_.place(dpi_); }
    // Log-off or shut-down: the window goes.
    virtual void endSession() = 0;
    // Shows `problems_`, if any, once the current message has been handled.
    void showProblemsLater();

    WindowHost& host_;
    UINT dpi_ = 96;
    ControlTable controls_;
    std::vector<std::wstring> problems_;

private:
    ProblemsMessage problemsMessage_;
    bool loaded_ = false;
};

} // namespace ww
