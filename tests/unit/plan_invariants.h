#pragma once
// What every keystroke plan must hold, whatever it types: checked by replaying its calls on a model keyboard that
// knows nothing of how the planner builds them. Used by the unit tests and the fuzz targets alike.
#include "fake_keyboard.h"

#include <algorithm>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace ww::fuzzing {

// The keys a plan types with: one per action, two for a character outside the Basic Plane (a surrogate pair).
inline std::size_t expectedStrokes(std::span<const KeyAction> actions) {
    std::size_t n = 0;
    for (const KeyAction& a : actions)
        n += a.isChar && static_cast<std::uint32_t>(a.ch) > 0xFFFF ? 2 : 1;
    return n;
}

// What the receiving window types from the calls, reading keys through the layout as Windows does. A key typed with
// Ctrl or Alt down, or a dead key, types nothing here: the receiver might take the first for a shortcut and waits
// with the second for the next key.
inline std::wstring received(const std::vector<KeyCall>& calls, KeyboardLayout& layout) {
    std::wstring text;
    int shift = 0, other = 0; // modifier keys down
    for (const KeyEvent& e : testing::flat(calls)) {
        if (!e.unicode && testing::isModifierVk(e.vk)) {
            (e.vk == vk::LShift || e.vk == vk::RShift ? shift : other) += e.keyUp ? -1 : 1;
        } else if (!e.keyUp && other == 0 && !(e.unicode && shift)) {
            const auto ch = e.unicode ? std::optional<wchar_t>(e.scan) : layout.keyChar(e.vk, shift ? 1 : 0);
            if (ch) text += *ch;
        }
    }
    return text;
}

// Replays `calls` on a keyboard where the user holds the modifiers `held` (HeldKey bits) and returns what is wrong
// with them, or an empty string. The rules:
// - no key goes down while down or up while up, and nothing is typed while a key the user holds is still down;
// - every key pressed in a call is up again at its end, except the user's held modifiers, which are down after the
//   last call exactly as before the first;
// - no Alt or Win key goes up with no other key pressed since it went down (Windows would open a menu), the user's
//   own release afterwards included;
// - each key event carries its key's extended flag;
// - a call has at most `maxEvents` events unless it types one action alone;
// - exactly `strokes` keys are typed (see expectedStrokes; kAnyStrokes for a send cut short), and no actions give
//   no calls.
inline constexpr std::size_t kAnyStrokes = SIZE_MAX;
inline std::string checkPlan(const std::vector<KeyCall>& calls, std::uint8_t held, std::size_t maxEvents,
                             std::size_t strokes) {
    if (strokes == 0) return calls.empty() ? "" : "calls for no actions";
    if (calls.empty()) return strokes == kAnyStrokes ? "" : "no calls";
    // The keys down at one time are a handful: flat lists (the check runs millions of times).
    std::vector<std::uint32_t> user, down, userDown, lone; // lone: an Alt or Win down with nothing pressed since
    for (std::size_t bit = 0; bit < testing::kHeldVks.size(); ++bit)
        if (held & (1u << bit)) user.push_back(testing::kHeldVks[bit]);
    for (std::uint32_t key : user)
        if (testing::isMenuOpener(static_cast<std::uint16_t>(key))) lone.push_back(key);
    down = userDown = user;
    std::size_t typed = 0;
    const auto check = [&](const KeyCall& call) -> const char* {
        std::size_t actions = 0;
        bool afterHighHalf = false; // the low half of a surrogate pair right after its high half is the same action
        for (const KeyEvent& e : call) {
            const std::uint32_t key = e.unicode ? 0x10000u + e.scan : std::uint32_t{e.vk};
            if (!e.unicode && e.extended != testing::isExtendedVk(e.vk)) return "a wrong extended flag";
            if (e.keyUp) {
                if (std::erase(down, key) == 0) return "the release of a key while up";
                if (std::erase(lone, key) != 0) return "a lone release of Alt or Win";
                std::erase(userDown, key);
            } else {
                if (std::ranges::count(down, key) != 0) return "a second press of a key";
                down.push_back(key);
                lone.clear();
                if (!e.unicode && testing::isMenuOpener(e.vk)) lone.push_back(key);
                if (e.unicode || (!testing::isModifierVk(e.vk) && e.vk != vk::Mask)) {
                    if (!userDown.empty()) return "typing while the user's modifier is down";
                    ++typed;
                    actions += afterHighHalf && e.unicode && e.scan >= 0xDC00 && e.scan <= 0xDFFF ? 0 : 1;
                }
            }
            afterHighHalf = e.unicode && e.keyUp && e.scan >= 0xD800 && e.scan <= 0xDBFF;
        }
        for (std::uint32_t key : down)
            if (std::ranges::count(user, key) == 0) return "a key left down";
        userDown = down; // the user's keys pressed again: typing under them from here on would be wrong
        if (call.size() > maxEvents && actions > 1) return "more events than the limit for several actions";
        return call.empty() ? "an empty call" : nullptr;
    };
    for (std::size_t c = 0; c < calls.size(); ++c)
        if (const char* problem = check(calls[c])) return problem + (" in call " + std::to_string(c));
    if (!std::ranges::is_permutation(down, user)) return "the user's modifiers are not down as before";
    if (!lone.empty()) return "the user's release would be a lone Alt or Win";
    if (strokes != kAnyStrokes && typed != strokes)
        return std::to_string(typed) + " strokes typed, " + std::to_string(strokes) + " expected";
    return {};
}

// checkPlan for the planner's calls `planned` of `actions` (its limit `maxEvents` kept), then for what the real
// player sends of them into the loop-back keyboard, where the user holds `state.held` throughout and the system
// takes only `cut` events of call `cutCall`. With nothing held or cut, the player sends the plan as it is; after a
// cut, the taken part and its repair count as one call and nothing may follow them. `sent` gets what was sent.
inline std::string checkSentPlan(const std::vector<KeyCall>& planned, std::span<const KeyAction> actions,
                                 KeyboardLayout& layout, KeyboardState state, std::size_t maxEvents,
                                 std::size_t cutCall = SIZE_MAX, std::size_t cut = SIZE_MAX,
                                 std::vector<KeyCall>* sent = nullptr) {
    const std::size_t strokes = expectedStrokes(actions);
    std::string problem = checkPlan(planned, 0, maxEvents, strokes);
    if (!problem.empty()) return "as planned: " + problem;
    testing::FakeKeyboard keys{layout};
    keys.hold(state.held);
    keys.capsLock = state.capsLock;
    bool cutShort = false;
    keys.accept = [&](std::size_t call, std::size_t size) {
        cutShort |= call == cutCall && cut < size;
        return call == cutCall ? cut : size;
    };
    Player(keys, keys, maxEvents).play(actions);
    std::vector<KeyCall>& calls = keys.calls;
    if (sent) *sent = calls;
    if (!cutShort && state.held == 0 && calls != planned) return "the player did not send the plan";
    if (cutShort) {
        if (calls.size() > cutCall + 2) return "keys sent after a call was cut short";
        if (calls.size() == cutCall + 2) {
            calls[cutCall].insert(calls[cutCall].end(), calls.back().begin(), calls.back().end());
            calls.pop_back();
        }
        if (calls.back().empty()) calls.pop_back(); // nothing went in and nothing was left to undo
    }
    problem = checkPlan(calls, state.held, SIZE_MAX, cutShort ? kAnyStrokes : strokes);
    return problem.empty() ? problem : "as sent: " + problem;
}

} // namespace ww::fuzzing
