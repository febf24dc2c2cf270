#include "platform/win32/sendinput_player.h"

#include "input/notation.h"

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

SendInputPlayer::SendInputPlayer() : SendInputPlayer(systemSendInput) {}

SendInputPlayer::SendInputPlayer(Sender send, StateReader readState, std::size_t maxEventsPerCall)
    : send_(std::move(send)), readState_(std::move(readState)), maxEvents_(maxEventsPerCall) {}

void SendInputPlayer::play(std::wstring_view keys) {
    const ww::ParseResult parsed = ww::parseKeystrokes(keys);
    if (std::holds_alternative<ww::ParseError>(parsed)) {
        MessageBeep(MB_ICONWARNING);
        return;
    }
    Win32KeyboardLayout layout(foregroundKeyboardLayout());
    const auto& actions = std::get<std::vector<ww::KeyAction>>(parsed);
    sendAll(ww::planKeystrokes(actions, layout, readState_().capsLock, maxEvents_), layout);
}

void SendInputPlayer::playCharacters(std::wstring_view text) {
    Win32KeyboardLayout layout(foregroundKeyboardLayout());
    sendAll(ww::planCharacters(text, layout, maxEvents_), layout);
}

// The held modifiers are read right before each call: the user may let go or take hold while a long text is
// planned or sent, and a key pressed again for the user who has let go would stay down.
void SendInputPlayer::sendAll(const std::vector<ww::KeyCall>& calls, ww::KeyboardLayout& layout) {
    for (const ww::KeyCall& call : calls) {
        const std::uint8_t held = readState_().held;
        const ww::KeyCall whole = ww::withHeldLifted(call, held, layout);
        std::vector<INPUT> inputs = toInputs(whole);
        const UINT sent = send_(inputs);
        if (sent != inputs.size()) {
            // Blocked (another desktop, a higher-integrity window) or cut short: typing on would garble the text.
            const auto taken = std::span(whole).first(std::min<std::size_t>(sent, whole.size()));
            std::vector<INPUT> repair = toInputs(ww::afterCutShort(taken, held, layout));
            if (!repair.empty()) send_(repair); // best effort: if this is blocked too, there is nothing left to try
            return;
        }
    }
}

} // namespace ww::win
