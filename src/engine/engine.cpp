#include "engine/engine.h"

namespace ww {
namespace {

using namespace std::string_view_literals;

constexpr std::uint16_t kFreshPress = 0x8001; // down now and pressed since the previous query
constexpr KeyAction kBackspace[] = {{false, 0, NamedKey::Backspace, ModNone}};
constexpr std::wstring_view kFeedback = L"OK"; // typed as characters
// "NUM " and a NUL: no key name can equal it, so keypad presses never type a key text.
constexpr std::wstring_view kPadLabel = L"NUM \0"sv;

constexpr int kBackCode = 0x08;
// Keys that type, move the caret or the focus, besides the 36: mouse buttons, Ctrl+Break, Backspace, Tab, Clear,
// Enter, Pause, Esc, Space to Help (pages, arrows, Insert, Delete), the menu key, the keypad, F1-F24, the browser and
// launch keys, and the punctuation keys of every layout (with the extra key of European keyboards). Shift, Ctrl,
// Alt, the Windows keys and the lock keys change no text; VK_PACKET is the program's own "OK".
struct CodeRange {
    int first, last;
};
constexpr CodeRange kOtherKeys[] = {{0x01, 0x06}, {0x08, 0x09}, {0x0C, 0x0D}, {0x13, 0x13}, {0x1B, 0x1B},
                                    {0x20, 0x2F}, {0x5D, 0x5D}, {0x60, 0x87}, {0xA6, 0xAC}, {0xB4, 0xB7},
                                    {0xBA, 0xC2}, {0xDB, 0xDF}, {0xE2, 0xE2}};
// About a second of armed ticks: a late system has shown the arming tick's Backspaces by then. Should another
// program have taken their "pressed since" bit, the user's own Backspace counts again after that.
constexpr int kOwnKeyTicks = 100;

} // namespace

Engine::Engine(KeyState& keys, KeystrokePlayer& player, Timer& timer1, Timer& timer2, const AssignmentTable& table)
    : keys_(keys), player_(player), timer1_(timer1), timer2_(timer2), table_(table) {}

// A WM_TIMER already queued when its timer was killed may still arrive; it must not act for a stopped timer.
void Engine::onTimer1Tick() {
    if (!timer1_.enabled()) return;
    if (keypressed(kPadZeroCode, kPadLabel)) {
        timer1_.setEnabled(false);
        ownBackspacePending_ = true;
        armedTicks_ = 0;
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

// Another key first: once the user has typed, erased or moved past the "OK", the three Backspaces of an expansion
// would erase the user's own text, so the armed state ends with nothing typed. In a tick that sees both, the
// other key wins for the same reason.
void Engine::onTimer2Tick() {
    if (!timer2_.enabled()) return;
    if (++armedTicks_ > kOwnKeyTicks) ownBackspacePending_ = false;
    if (otherkeypressed()) return endArmed();
    for (int code = kScanFirstCode; code <= kScanLastCode; ++code) {
        // The codes 48..90 are digits, capitals and punctuation: already their own upper case.
        const wchar_t label = static_cast<wchar_t>(code);
        if (keypressed(code, std::wstring_view(&label, 1))) return endArmed();
    }
}

void Engine::endArmed() {
    timer2_.setEnabled(false);
    timer1_.setEnabled(true);
}

// The arming tick's own Backspaces show in the key state sooner or later, as one fresh press or "pressed since"
// (two sent before the next query read as one); that one is not the user's.
bool Engine::otherkeypressed() {
    for (const CodeRange& range : kOtherKeys) {
        for (int code = range.first; code <= range.last; ++code) {
            const std::uint16_t state = keys_.asyncKeyState(code);
            if (code == kBackCode && ownBackspacePending_ && (state & 1)) {
                ownBackspacePending_ = false;
                continue;
            }
            if (state == kFreshPress) return true;
        }
    }
    return false;
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
    for (int index = 0; index < kKeyCount; ++index) {
        const wchar_t name = keyName(index);
        if (label == std::wstring_view(&name, 1)) {
            erasefeedback();
            play(table_.keytexts[index]);
        }
    }
    return true;
}

void Engine::erasefeedback() {
    for (int i = 0; i < 3; ++i)
        play(kBackspace);
}

// An empty entry types nothing; the player is not bothered with it.
void Engine::play(std::span<const KeyAction> actions) {
    if (!actions.empty()) player_.play(actions);
}

} // namespace ww
