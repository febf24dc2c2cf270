#include "engine/engine.h"

namespace ww {
namespace {

using namespace std::string_view_literals;

constexpr std::uint16_t kFreshPress = 0x8001; // down now and pressed since the previous query
constexpr std::wstring_view kBackspace = L"{BACKSPACE}";
constexpr std::wstring_view kFeedback = L"OK";
// "NUM " and a NUL: no key name can equal it, so keypad presses never type a key text.
constexpr std::wstring_view kPadLabel = L"NUM \0"sv;

} // namespace

Engine::Engine(KeyState& keys, KeystrokePlayer& player, Timer& timer1, Timer& timer2, const AssignmentTable& table)
    : keys_(keys), player_(player), timer1_(timer1), timer2_(timer2), table_(table) {}

// A WM_TIMER already queued when its timer was killed may still arrive; it must not act for a stopped timer.
void Engine::onTimer1Tick() {
    if (!timer1_.enabled()) return;
    if (keypressed(kPadZeroCode, kPadLabel)) {
        timer1_.setEnabled(false);
        play(kBackspace);
        // Pressing O and K could make the scan starting now see them freshly down, when the system handles
        // injected keys late, and type K's text unasked.
        player_.playCharacters(kFeedback);
        timer2_.setEnabled(true);
    }
    // Runs in the arming tick too: keypad 0 and a digit pressed together both take effect.
    for (int k = 1; k <= kShortcutCount; ++k) {
        if (keypressed(kPadZeroCode + k, kPadLabel)) {
            play(kBackspace);
            play(table_.padshortcuts[k]);
        }
    }
}

void Engine::onTimer2Tick() {
    if (!timer2_.enabled()) return;
    for (int code = kScanFirstCode; code <= kScanLastCode; ++code) {
        // The codes 48..90 are digits, capitals and punctuation: already their own upper case.
        const wchar_t label = static_cast<wchar_t>(code);
        if (keypressed(code, std::wstring_view(&label, 1))) {
            timer2_.setEnabled(false);
            timer1_.setEnabled(true);
            return;
        }
    }
}

void Engine::activate() {
    timer1_.setEnabled(true);
}

// Ending the armed state too keeps the menu ("aktiviren" offered) and the engine (nothing running) in agreement.
void Engine::deactivate() {
    timer1_.setEnabled(false);
    timer2_.setEnabled(false);
}

bool Engine::keypressed(int code, std::wstring_view label) {
    if (keys_.asyncKeyState(code) != kFreshPress) return false;
    Text1.assign(label);
    for (int index = 0; index < kKeyCount; ++index) {
        const wchar_t name = keyName(index);
        if (Text1 == std::wstring_view(&name, 1)) {
            erasefeedback();
            play(table_.keytexts[index]);
        }
    }
    return true;
}

void Engine::erasefeedback() {
    play(kBackspace);
    play(kBackspace);
    play(kBackspace);
}

// An empty entry types nothing; the player is not bothered with it.
void Engine::play(std::wstring_view keys) {
    if (!keys.empty()) player_.play(keys);
}

} // namespace ww
