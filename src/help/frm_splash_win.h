#pragma once
// `frmSplash`: the first-start notice. It types a short introduction, then offers its one button; every way of
// closing it brings the main window back.
#include "help/frm_splash.h"
#include "platform/win32/win_timer.h"
#include "ui/secondary_win.h"

namespace ww {

class FrmSplash final : public SecondaryWindow {
public:
    explicit FrmSplash(WindowHost& host);

protected:
    void opened() override;
    void onClosing() override { timer1_.setEnabled(false); }
    LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    std::vector<ControlRow> controlTable() override;
    void layout() override;

private:
    void OnTimer();
    bool OnEraseBackground(HDC dc);
    LRESULT OnControlColour(HDC dc, HWND control);

    HWND lblCompanyProduct_ = nullptr;
    HWND text1_ = nullptr; // the typing area
    HWND command1_ = nullptr;
    win::WindowTimer timer1_{1, kSplashTypingMs};
    SplashTyping typing_;
    win::UniqueBrush frameBrush_;
};

} // namespace ww
