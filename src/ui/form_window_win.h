#pragma once
// What every window of the program shares: its host, the DPI it is laid out for, the end of the Windows session and
// the message about file problems it met while loading.
#include "platform/win32/window.h"
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
    explicit FormWindow(WindowHost& host) : host_(host) {}

protected:
    // Creates the window with the hand icon and counts it as loaded; false if it could not be created.
    bool createForm(const wchar_t* className, DWORD exStyle, const wchar_t* title, DWORD style, HWND owner,
                    int width = 0, int height = 0);
    LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void onDestroyed() override;

    // At WM_CREATE: the window's own controls; false fails the creation.
    virtual bool onCreate() { return true; }
    // Fonts made and controls placed for `dpi_`: after creation and after each DPI change.
    virtual void layout() {}
    // After a DPI change has been laid out.
    virtual void dpiChanged() {}
    // Log-off or shut-down: the window goes.
    virtual void endSession() = 0;
    virtual ProblemsMessage problemsMessage() const { return {}; }
    // Shows `problems_`, if any, once the current message has been handled.
    void showProblemsLater();

    WindowHost& host_;
    UINT dpi_ = 96;
    std::vector<std::wstring> problems_;

private:
    bool loaded_ = false;
};

} // namespace ww
