#include "platform/win32/win_timer.h"

namespace ww::win {

void WindowTimer::setEnabled(bool on) {
    if (!hwnd_) return;
    if (on) {
        if (enabled_) return; // re-enabling must not restart the running interval
        enabled_ = SetTimer(hwnd_, id_, interval_, nullptr) != 0;
    } else if (enabled_) {
        KillTimer(hwnd_, id_);
        enabled_ = false;
    }
}

} // namespace ww::win
