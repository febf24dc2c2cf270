// The keystroke planner with arbitrary actions, a fuzzed key table, held modifiers, Caps Lock and call limits, and the
// player sending them into a system that may take only part of a call.
#include "input/keystroke_plan.h"

#include "fuzz_check.h"
#include "fuzz_text.h"
#include "plan_invariants.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <vector>

namespace {

using namespace ww;

// A key table as VkKeyScan could answer it; a dead key types nothing on its own in any shift state.
class FuzzedLayout final : public KeyboardLayout {
public:
    FuzzedLayout(std::map<wchar_t, std::uint16_t> keys, std::set<std::uint16_t> dead)
        : keys_(std::move(keys)), dead_(std::move(dead)) {}
    std::uint16_t vkKeyScan(wchar_t ch) override {
        const auto it = keys_.find(ch);
        return it == keys_.end() ? 0xFFFF : it->second;
    }
    std::uint16_t scanCode(std::uint16_t key) override { return static_cast<std::uint16_t>(0x100 + key); }
    std::optional<wchar_t> keyChar(std::uint16_t key, std::uint8_t shiftState) override {
        if (dead_.contains(key)) return std::nullopt;
        for (const auto& [ch, scan] : keys_)
            if (scan == (shiftState << 8 | key)) return ch;
        return std::nullopt;
    }

private:
    std::map<wchar_t, std::uint16_t> keys_;
    std::set<std::uint16_t> dead_;
};

// Any key and shift state, but never a modifier key itself (no layout puts a character there) nor the code the
// planner taps to mask Alt and Win.
FuzzedLayout fuzzedLayout(FuzzedDataProvider& in, std::set<std::uint16_t>& dead) {
    std::map<wchar_t, std::uint16_t> keys;
    for (int n = in.ConsumeIntegralInRange(0, 24); n > 0; --n) {
        const wchar_t ch = fuzzing::consumeChar(in);
        auto scan = in.ConsumeIntegral<std::uint16_t>();
        const auto key = static_cast<std::uint16_t>(scan & 0xFF);
        if (fuzzing::isModifierVk(key) || key == vk::Mask) scan = static_cast<std::uint16_t>((scan & 0xFF00) | 'Q');
        keys[ch] = scan;
    }
    for (int n = in.ConsumeIntegralInRange(0, 4); n > 0; --n)
        dead.insert(in.ConsumeIntegral<std::uint8_t>());
    return FuzzedLayout(std::move(keys), dead);
}

std::vector<KeyAction> fuzzedActions(FuzzedDataProvider& in) {
    std::vector<KeyAction> actions;
    while (in.remaining_bytes() > 0 && actions.size() < 2000) {
        const auto b = in.ConsumeIntegral<std::uint8_t>();
        KeyAction a;
        a.modifiers = (b & 0x10) ? static_cast<std::uint8_t>(b >> 5) : std::uint8_t{ModNone};
        a.isChar = (b & 0x0F) != 0x0F;
        if (a.isChar)
            a.ch = fuzzing::consumeChar(in);
        else
            a.key = static_cast<NamedKey>(in.ConsumeIntegralInRange(0, static_cast<int>(NamedKey::F12)));
        actions.push_back(a);
    }
    return actions;
}

// A dead key would wait for the next key and change it: characters never go by one. (Named keys always press their
// own key, so only a plan without them can be checked this simply.)
void checkNoDeadKey(const std::vector<KeyCall>& calls, const std::set<std::uint16_t>& dead) {
    for (const KeyCall& call : calls)
        for (const KeyEvent& e : call)
            if (!e.unicode && dead.contains(e.vk) && !fuzzing::isModifierVk(e.vk) && e.vk != vk::Mask)
                fuzzing::fail("dead key " + std::to_string(e.vk) + " pressed for a character");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const KeyboardState state{in.ConsumeIntegral<std::uint8_t>(), in.ConsumeBool()};
    const auto limit = in.ConsumeIntegralInRange<std::size_t>(1, 48);
    const auto cutCall = in.ConsumeIntegralInRange<std::size_t>(0, 3);
    const auto cut = in.ConsumeIntegral<std::uint8_t>();
    std::set<std::uint16_t> dead;
    FuzzedLayout layout = fuzzedLayout(in, dead);
    const std::vector<KeyAction> actions = fuzzedActions(in);
    const bool charsOnly = std::ranges::all_of(actions, [](const KeyAction& a) { return a.isChar; });
    for (const std::size_t max : {limit, kMaxEventsPerCall}) {
        const std::vector<KeyCall> calls = planKeystrokes(actions, layout, state.capsLock, max);
        if (charsOnly) checkNoDeadKey(calls, dead);
        const std::string problem = fuzzing::checkSentPlan(calls, actions, layout, state, max, cutCall, cut);
        if (!problem.empty())
            fuzzing::fail("plan of " + std::to_string(actions.size()) + " actions, held " + std::to_string(state.held) +
                          ", limit " + std::to_string(max) + ", call " + std::to_string(cutCall) + " cut at " +
                          std::to_string(cut) + ": " + problem);
    }
    return 0;
}
