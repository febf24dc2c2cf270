#pragma once
// `Form1`: the hidden resident main window. Its load adds the tray icon, builds the assignment table and starts
// the engine's timers; its face only tells the user to use the icon.
#include "engine/engine.h"
#include "platform/win32/handles.h"
#include "platform/win32/tray_icon.h"
#include "platform/win32/win_keyboard.h"
#include "platform/win32/win_timer.h"
#include "shell/close_query.h"
#include "shell/tray_menu.h"
#include "store/assignments.h"
#include "ui/form_window_win.h"

namespace ww {

inline constexpr const wchar_t* kForm1Caption = L"Wortwerk V.2.0";
inline constexpr const wchar_t* kForm1Hint = L"Bitte benutzen Sie die rechte Maustaste über dem Symbol (ganz rechts "
                                             L"unten auf dem Bildschirm) .      D A N K E ! ! !";
class Form1 final : public FormWindow {
public:
    explicit Form1(WindowHost& host);
    ~Form1() override;

    bool load();            // the start-up sequence; false if the window could not be created
    void show(int command); // the face with caption and hint
    void unload();          // the program's own unload: icon deleted, window gone

protected:
    LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void onDestroyed() override;
    bool onCreate() override;
    std::vector<ControlRow> controlTable() override;
    void layout() override;
    void endSession() override { OnClose(CloseReason::EndSession); }

private:
    void OnTimer(UINT_PTR id);
    void OnTrayNotify(UINT code);
    void OnShowMenu();
    void OnCommand(UINT id);
    void OnClose(CloseReason reason);
    void OnPaint();
    void loadIcons();

    win::UniqueIcon icon_;
    win::UniqueIcon smallIcon_;
    HWND label1_ = nullptr;
    win::TrayIcon tray_;
    TrayMenu mnBar_;
    UINT taskbarCreated_ = 0;

    AssignmentTable table_;
    win::AsyncKeyState keys_;
    win::SendInputSink sink_;
    win::Win32Keyboard keyboard_;
    Player player_{sink_, keyboard_};
    win::WindowTimer timer1_{1, 50};
    win::WindowTimer timer2_{2, 1};
    win::WindowTimer timer4_{4, 1};
    Engine engine_{keys_, player_, timer1_, timer2_, table_};
};

} // namespace ww
