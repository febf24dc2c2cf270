#include "platform/win32/sendinput_player.h"

#include "store/notation.h"

#include <algorithm>
#include <variant>

namespace ww::win {
namespace {

UINT systemSendInput(std::span<INPUT> inputs) {
    return SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

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

// The top bit of the character mapping marks a dead key; asking this way leaves the keyboard state untouched.
bool Win32KeyboardLayout::isDeadKey(std::uint16_t vk) {
    return (MapVirtualKeyExW(vk, MAPVK_VK_TO_CHAR, layout_) & 0x80000000u) != 0;
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

SendInputPlayer::SendInputPlayer() : SendInputPlayer(systemSendInput) {}

SendInputPlayer::SendInputPlayer(Sender send, std::size_t maxEventsPerCall)
    : send_(std::move(send)), maxEvents_(maxEventsPerCall) {}

void SendInputPlayer::play(std::wstring_view keys) {
    const ww::ParseResult parsed = ww::parseKeystrokes(keys);
    if (std::holds_alternative<ww::ParseError>(parsed)) {
        MessageBeep(MB_ICONWARNING);
        return;
    }
    Win32KeyboardLayout layout(foregroundKeyboardLayout());
    sendAll(
        ww::planKeystrokes(std::get<std::vector<ww::KeyAction>>(parsed), layout, currentKeyboardState(), maxEvents_));
}

void SendInputPlayer::sendAll(const std::vector<ww::KeyCall>& calls) {
    for (const ww::KeyCall& call : calls) {
        std::vector<INPUT> inputs = toInputs(call);
        const UINT sent = send_(inputs);
        if (sent != inputs.size()) {
            // Blocked (another desktop, a higher-integrity window) or cut short: typing on would garble the text.
            releaseLeftDown(std::span(call).first(std::min<std::size_t>(sent, call.size())));
            return;
        }
    }
}

void SendInputPlayer::releaseLeftDown(std::span<const ww::KeyEvent> sent) {
    auto id = [](const ww::KeyEvent& e) { return e.unicode ? 0x10000u + e.scan : e.vk; };
    std::vector<ww::KeyEvent> down;
    for (const ww::KeyEvent& e : sent) {
        if (!e.keyUp) {
            down.push_back(e);
        } else {
            std::erase_if(down, [&](const ww::KeyEvent& d) { return id(d) == id(e); });
        }
    }
    if (down.empty()) return;
    std::vector<ww::KeyEvent> releases(down.rbegin(), down.rend());
    for (ww::KeyEvent& e : releases)
        e.keyUp = true;
    std::vector<INPUT> inputs = toInputs(releases);
    send_(inputs); // best effort: if this is blocked too, there is nothing left to try
}

} // namespace ww::win
