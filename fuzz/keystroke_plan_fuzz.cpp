// The keystroke planner with arbitrary actions on a test layout with fuzzed keys, held modifiers, Caps Lock and call
// limits, and the player sending them into a system that may take only part of a call.
#include "input/keystroke_plan.h"

#include "fuzz_check.h"
#include "plan_invariants.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <string>
#include <vector>

namespace {

using namespace ww;

// Mostly Latin-1 (where the layouts' keys are), sometimes any UTF-16 unit, a lone surrogate half, or, where
// wchar_t has 32 bits, a character outside the Basic Plane.
wchar_t consumeChar(FuzzedDataProvider& in) {
    const int kind = in.ConsumeIntegralInRange(0, 7);
    if (kind == 7 && sizeof(wchar_t) == 4) return static_cast<wchar_t>(in.ConsumeIntegralInRange(0x10000, 0x10FFFF));
    if (kind == 6) return static_cast<wchar_t>(0xD800 + in.ConsumeIntegralInRange(0, 0x7FF));
    return static_cast<wchar_t>(kind == 5 ? in.ConsumeIntegral<std::uint16_t>() : in.ConsumeIntegral<std::uint8_t>());
}

// Keys in front of the layout's own: any characters on their levels, some of them dead, on any key but a modifier,
// the mask code or a key of the extended block (no layout puts a character there); and odd answers of VkKeyScan.
testing::FakeLayout fuzzedLayout(FuzzedDataProvider& in) {
    testing::FakeLayout layout = testing::germanLayout();
    for (int n = in.ConsumeIntegralInRange(0, 8); n > 0; --n) {
        std::uint16_t key = in.ConsumeIntegral<std::uint8_t>();
        if (testing::isModifierVk(key) || testing::isExtendedVk(key) || key == vk::Mask) key = 'Q';
        std::wstring levels;
        for (int level = in.ConsumeIntegralInRange(1, 4); level > 0; --level)
            levels += consumeChar(in);
        layout.keys.insert(layout.keys.begin(), {key, levels});
        if (in.ConsumeBool()) layout.dead += levels.back();
    }
    for (int n = in.ConsumeIntegralInRange(0, 4); n > 0; --n)
        layout.odd[consumeChar(in)] = in.ConsumeIntegral<std::uint16_t>();
    return layout;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const KeyboardState state{in.ConsumeIntegral<std::uint8_t>(), in.ConsumeBool()};
    const auto limit = in.ConsumeIntegralInRange<std::size_t>(1, 48);
    const auto cutCall = in.ConsumeIntegralInRange<std::size_t>(0, 3);
    const auto cut = in.ConsumeIntegral<std::uint8_t>();
    testing::FakeLayout layout = fuzzedLayout(in);
    // Characters without modifiers arrive as they are (one outside the Basic Plane as its two UTF-16 units),
    // whatever keys the layout offers (dead ones never pressed).
    std::vector<KeyAction> actions;
    std::wstring units;
    bool plain = true;
    while (in.remaining_bytes() > 0 && actions.size() < 2000) {
        const auto b = in.ConsumeIntegral<std::uint8_t>();
        KeyAction a;
        a.modifiers = (b & 0x10) ? static_cast<std::uint8_t>(b >> 5) : std::uint8_t{ModNone};
        a.isChar = (b & 0x0F) != 0x0F;
        if (a.isChar)
            a.ch = consumeChar(in);
        else
            a.key = static_cast<NamedKey>(in.ConsumeIntegralInRange(0, static_cast<int>(NamedKey::F12)));
        actions.push_back(a);
        plain = plain && a.isChar && a.modifiers == ModNone;
        const auto c = static_cast<std::uint32_t>(a.ch);
        if (c <= 0xFFFF)
            units += a.ch;
        else
            units += {static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10)), static_cast<wchar_t>(0xDC00 + (c & 0x3FF))};
    }
    for (const std::size_t max : {limit, kMaxEventsPerCall}) {
        const std::vector<KeyCall> calls = planKeystrokes(actions, layout, state.capsLock, max);
        if (plain && fuzzing::received(calls, layout) != units) fuzzing::fail("characters did not arrive as they are");
        const std::string problem = fuzzing::checkSentPlan(calls, actions, layout, state, max, cutCall, cut);
        if (!problem.empty()) fuzzing::fail("limit " + std::to_string(max) + ": " + problem);
    }
    return 0;
}
