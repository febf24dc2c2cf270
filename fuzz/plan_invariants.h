#pragma once
// What every keystroke plan must hold, whatever it types: checked by replaying its calls on a model keyboard that
// knows nothing of how the planner builds them.
#include "input/keystroke_plan.h"
#include "input/player.h"

#include "fake_keyboard.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace ww::fuzzing {

// The virtual keys of the HeldKey bits, in bit order.
inline constexpr std::array<std::uint16_t, 8> kHeldVks{vk::LShift, vk::RShift, vk::LControl, vk::RControl,
                                                       vk::LMenu,  vk::RMenu,  vk::LWin,     vk::RWin};

inline bool isModifierVk(std::uint16_t key) {
    return (key >= vk::LShift && key <= vk::RMenu) || key == vk::LWin || key == vk::RWin || key == 0x10 ||
           key == 0x11 || key == 0x12;
}
inline bool isMenuOpener(std::uint16_t key) {
    return key == vk::LMenu || key == vk::RMenu || key == vk::LWin || key == vk::RWin;
}

// The keys a plan types with: one per action, two for a character outside the Basic Plane (a surrogate pair).
inline std::size_t expectedStrokes(std::span<const KeyAction> actions) {
    std::size_t n = 0;
    for (const KeyAction& a : actions)
        n += a.isChar && static_cast<std::uint32_t>(a.ch) > 0xFFFF ? 2 : 1;
    return n;
}

// The keys down at one time: a handful, so a flat list (the check runs millions of times).
class KeySet {
public:
    bool contains(std::uint32_t key) const { return std::ranges::find(keys_, key) != keys_.end(); }
    bool insert(std::uint32_t key) {
        if (contains(key)) return false;
        keys_.push_back(key);
        return true;
    }
    bool erase(std::uint32_t key) {
        const auto it = std::ranges::find(keys_, key);
        if (it == keys_.end()) return false;
        *it = keys_.back();
        keys_.pop_back();
        return true;
    }
    void clear() { keys_.clear(); }
    bool empty() const { return keys_.empty(); }
    bool sameAs(const KeySet& other) const {
        return keys_.size() == other.keys_.size() &&
               std::ranges::all_of(keys_, [&](std::uint32_t key) { return other.contains(key); });
    }
    const std::vector<std::uint32_t>& keys() const { return keys_; }

private:
    std::vector<std::uint32_t> keys_;
};

// Replays `calls` on a keyboard where the user holds the modifiers `held` (HeldKey bits) and returns what is wrong
// with them, or an empty string. The rules:
// - no key goes down while down or up while up, and nothing is typed while a key the user holds is still down;
// - every key pressed in a call is up again at its end, except the user's held modifiers, which are down after the
//   last call exactly as before the first;
// - no Alt or Win key goes up with no other key pressed since it went down (Windows would open a menu), the user's
//   own release afterwards included;
// - a call has at most `maxEvents` events unless it holds one action alone (or only the release or the
//   restoring of the user's modifiers);
// - exactly `strokes` keys are typed (see expectedStrokes; kAnyStrokes for a send cut short), and no actions give
//   no calls.
inline constexpr std::size_t kAnyStrokes = SIZE_MAX;
inline std::string checkPlan(const std::vector<KeyCall>& calls, std::uint8_t held, std::size_t maxEvents,
                             std::size_t strokes) {
    const auto id = [](const KeyEvent& e) { return e.unicode ? 0x10000u + e.scan : std::uint32_t{e.vk}; };
    const auto where = [](std::size_t c) { return " in call " + std::to_string(c); };
    KeySet userKeys;
    for (std::size_t bit = 0; bit < kHeldVks.size(); ++bit)
        if (held & (1u << bit)) userKeys.insert(kHeldVks[bit]);
    if (strokes == 0) return calls.empty() ? std::string() : "calls for no actions";
    if (calls.empty()) return strokes == kAnyStrokes ? "" : "no calls for " + std::to_string(strokes) + " strokes";

    KeySet down = userKeys, userDown = userKeys, lone;
    for (std::uint32_t key : userKeys.keys())
        if (isMenuOpener(static_cast<std::uint16_t>(key))) lone.insert(key);
    std::size_t typed = 0;
    for (std::size_t c = 0; c < calls.size(); ++c) {
        const KeyCall& call = calls[c];
        if (call.empty()) return "empty call" + where(c);
        KeySet userPressed;
        std::size_t units = 0;
        bool releasesUser = false;
        const KeyEvent* previous = nullptr;
        for (const KeyEvent& e : call) {
            const std::uint32_t key = id(e);
            if (e.unicode != (e.vk == 0)) return "Unicode flag and key code disagree" + where(c);
            if (e.keyUp) {
                if (!down.erase(key)) return "release of key " + std::to_string(key) + " while up" + where(c);
                if (lone.erase(key)) return "lone release of Alt or Win " + std::to_string(key) + where(c);
                releasesUser |= userDown.erase(key);
                previous = &e;
                continue;
            }
            if (!down.insert(key)) return "second press of key " + std::to_string(key) + where(c);
            if (userKeys.contains(key)) userPressed.insert(key);
            lone.clear();
            if (isMenuOpener(e.vk) && !e.unicode) lone.insert(key);
            if (!e.unicode && (isModifierVk(e.vk) || e.vk == vk::Mask)) {
                previous = &e;
                continue;
            }
            if (!userDown.empty()) return "typed while the user's modifier is down" + where(c);
            ++typed;
            // The low half of a surrogate pair right after its high half belongs to the same action.
            const bool secondHalf = e.unicode && e.scan >= 0xDC00 && e.scan <= 0xDFFF && previous &&
                                    previous->unicode && previous->keyUp && previous->scan >= 0xD800 &&
                                    previous->scan <= 0xDBFF;
            if (!secondHalf) ++units;
            previous = &e;
        }
        // Keys from earlier calls were checked at their end: whatever is down now was pressed here or is the
        // user's and was never released.
        bool restoresUser = false;
        for (std::uint32_t key : down.keys()) {
            if (!userKeys.contains(key)) return "key " + std::to_string(key) + " left down" + where(c);
            if (userPressed.contains(key)) {
                restoresUser = true;
                userDown.insert(key); // typing under it from here on would be wrong
            }
        }
        units += (releasesUser ? 1 : 0) + (restoresUser ? 1 : 0);
        if (call.size() > maxEvents && units > 1)
            return std::to_string(call.size()) + " events over the limit of " + std::to_string(maxEvents) + " for " +
                   std::to_string(units) + " actions" + where(c);
    }
    if (!down.sameAs(userKeys)) return "the user's modifiers are not down as before";
    if (!lone.empty()) return "the user's release would be a lone Alt or Win";
    if (strokes != kAnyStrokes && typed != strokes)
        return std::to_string(typed) + " strokes typed, " + std::to_string(strokes) + " expected";
    return {};
}

// checkPlan for the planner's calls `planned` of `actions` (its limit kept), then for what the real player sends of
// them into the loop-back keyboard, where the user holds `state.held` throughout and the system takes only `cut`
// events of call `cutCall`: the taken part and its repair count as one call, and nothing may follow them.
inline std::string checkSentPlan(const std::vector<KeyCall>& planned, std::span<const KeyAction> actions,
                                 KeyboardLayout& layout, KeyboardState state, std::size_t maxEvents,
                                 std::size_t cutCall = SIZE_MAX, std::size_t cut = SIZE_MAX) {
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
    std::vector<KeyCall> sent = std::move(keys.calls);
    if (cutShort) {
        if (sent.size() > cutCall + 2) return "keys sent after a call was cut short";
        for (; sent.size() == cutCall + 2; sent.pop_back())
            sent[cutCall].insert(sent[cutCall].end(), sent.back().begin(), sent.back().end());
        if (sent.back().empty()) sent.pop_back(); // nothing went in and nothing was left to undo
    }
    problem = checkPlan(sent, state.held, SIZE_MAX, cutShort ? kAnyStrokes : strokes);
    return problem.empty() ? problem : "as sent: " + problem;
}

} // namespace ww::fuzzing
