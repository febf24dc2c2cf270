#include "platform/win32/win_keyboard.h"

namespace ww::win {
namespace {

struct HeldModifier {
    int vk;
    std::uint8_t bit;
};

constexpr HeldModifier kHeldModifiers[] = {
    {VK_LSHIFT, ww::HeldLShift},  {VK_RSHIFT, ww::HeldRShift}, {VK_LCONTROL, ww::HeldLCtrl},
    {VK_RCONTROL, ww::HeldRCtrl}, {VK_LMENU, ww::HeldLAlt},    {VK_RMENU, ww::HeldRAlt},
    {VK_LWIN, ww::HeldLWin},      {VK_RWIN, ww::HeldRWin},
};

} // namespace

std::uint16_t Win32KeyboardLayout::vkKeyScan(wchar_t ch) {
    return static_cast<std::uint16_t>(VkKeyScanExW(ch, layout_));
}

std::uint16_t Win32KeyboardLayout::scanCode(std::uint16_t vk) {
    return static_cast<std::uint16_t>(MapVirtualKeyExW(vk, MAPVK_VK_TO_VSC, layout_));
}

// Asks with a key-state array of our own, so the user's held keys do not count, and with the flag that leaves the
// system's dead-key state alone (Windows 10 1607 and later), so a dead key the user has pressed stays pending.
// MapVirtualKeyEx is no help: it knows only the unshifted level, and a dead key often sits on the Shift level
// alone (the circumflex of US-International).
std::optional<wchar_t> Win32KeyboardLayout::keyChar(std::uint16_t vk, std::uint8_t shiftState) {
    constexpr UINT kKeepKeyboardState = 0x4;
    BYTE keys[256] = {};
    if (shiftState & 1) keys[VK_SHIFT] = keys[VK_LSHIFT] = 0x80;
    if (shiftState & 2) keys[VK_CONTROL] = keys[VK_LCONTROL] = 0x80;
    if (shiftState & 4) keys[VK_MENU] = keys[VK_LMENU] = 0x80;
    const UINT scan = MapVirtualKeyExW(vk, MAPVK_VK_TO_VSC, layout_);
    wchar_t typed[8] = {};
    const int count = ToUnicodeEx(vk, scan, keys, typed, 8, kKeepKeyboardState, layout_);
    if (count < 0) {
        // A system that ignores the flag now holds our dead key: the same key again types both and clears it.
        ToUnicodeEx(vk, scan, keys, typed, 8, kKeepKeyboardState, layout_);
        return std::nullopt;
    }
    if (count != 1) return std::nullopt;
    return typed[0];
}

HKL foregroundKeyboardLayout() {
    // No foreground window gives thread 0, which is our own thread's layout.
    return GetKeyboardLayout(GetWindowThreadProcessId(GetForegroundWindow(), nullptr));
}

ww::KeyboardState currentKeyboardState() {
    ww::KeyboardState state;
    for (const HeldModifier& m : kHeldModifiers)
        if (GetAsyncKeyState(m.vk) & 0x8000) state.held |= m.bit;
    // Our thread's view of the toggle may lag behind; either way the text stays right, only keys or Unicode
    // characters are chosen differently.
    state.capsLock = (GetKeyState(VK_CAPITAL) & 1) != 0;
    return state;
}

std::vector<INPUT> toInputs(std::span<const ww::KeyEvent> events) {
    std::vector<INPUT> inputs(events.size());
    for (std::size_t i = 0; i < events.size(); ++i) {
        const ww::KeyEvent& e = events[i];
        INPUT& in = inputs[i];
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = e.vk;
        in.ki.wScan = e.scan;
        in.ki.dwFlags = (e.keyUp ? KEYEVENTF_KEYUP : 0) | (e.extended ? KEYEVENTF_EXTENDEDKEY : 0) |
                        (e.unicode ? KEYEVENTF_UNICODE : 0);
    }
    return inputs;
}

ww::KeyboardLayout& Win32Keyboard::layout() {
    layout_ = Win32KeyboardLayout(foregroundKeyboardLayout());
    return layout_;
}

std::size_t SendInputSink::send(std::span<const ww::KeyEvent> events) {
    std::vector<INPUT> inputs = toInputs(events);
    return SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

} // namespace ww::win
