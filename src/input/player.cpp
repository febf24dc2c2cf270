#include "input/player.h"

#include <algorithm>

namespace ww {

void Player::play(std::span<const KeyAction> actions) {
    KeyboardLayout& layout = keyboard_.layout();
    sendAll(planKeystrokes(actions, layout, keyboard_.keyboardState().capsLock, maxEvents_), layout);
}

void Player::playCharacters(std::wstring_view text) {
    KeyboardLayout& layout = keyboard_.layout();
    sendAll(planCharacters(text, layout, maxEvents_), layout);
}

// The held modifiers are read right before each call: the user may let go or take hold while a long text is
// planned or sent, and a key pressed again for the user who has let go would stay down.
void Player::sendAll(const std::vector<KeyCall>& calls, KeyboardLayout& layout) {
    for (const KeyCall& call : calls) {
        const std::uint8_t held = keyboard_.keyboardState().held;
        const KeyCall whole = withHeldLifted(call, held, layout);
        const std::size_t sent = sink_.send(whole);
        if (sent != whole.size()) {
            // Blocked (another desktop, a higher-integrity window) or cut short: typing on would garble the text.
            const auto taken = std::span(whole).first(std::min(sent, whole.size()));
            const KeyCall repair = afterCutShort(taken, held, layout);
            if (!repair.empty())
                sink_.send(repair); // best effort: if this is blocked too, there is nothing left to try
            return;
        }
    }
}

} // namespace ww
