#pragma once
// A window timer that the engine can switch on and off; its state is whether it runs.
#include "engine/engine.h"

#include <windows.h>

namespace ww::win {

class WindowTimer final : public ww::Timer {
public:
    WindowTimer(UINT_PTR id, UINT intervalMs) : id_(id), interval_(intervalMs) {}
    WindowTimer(const WindowTimer&) = delete;
    WindowTimer& operator=(const WindowTimer&) = delete;
    ~WindowTimer() override { setEnabled(false); }

    void attach(HWND hwnd) { hwnd_ = hwnd; }
    void setEnabled(bool on) override;
    bool enabled() const override { return enabled_; }
    UINT_PTR id() const { return id_; }

private:
    HWND hwnd_ = nullptr;
    UINT_PTR id_;
    UINT interval_;
    bool enabled_ = false;
};

class AsyncKeyState final : public ww::KeyState {
public:
    std::uint16_t asyncKeyState(int virtualKey) override {
        return static_cast<std::uint16_t>(GetAsyncKeyState(virtualKey));
    }
};

} // namespace ww::win
