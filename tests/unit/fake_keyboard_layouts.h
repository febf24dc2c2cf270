#pragma once
// Keyboard layouts for the planner: letters, digits and the blank on their usual keys, plus what each layout adds.
#include "platform/keystroke_plan.h"

#include <map>
#include <set>
#include <utility>

namespace ww::testing {

inline constexpr std::uint16_t kShift = 0x100;
inline constexpr std::uint16_t kAltGr = 0x600;   // Ctrl+Alt in VkKeyScan's shift state
inline constexpr std::uint16_t kVkSharpS = 0xDB; // ß ? \ on the German layout

// Any scan code will do as long as it belongs to its key.
inline std::uint16_t fakeScan(std::uint16_t vk) {
    return static_cast<std::uint16_t>(0x100 + vk);
}

class FakeLayout final : public KeyboardLayout {
public:
    explicit FakeLayout(std::map<wchar_t, std::uint16_t> keys, std::set<std::uint16_t> dead = {})
        : keys_(std::move(keys)), dead_(std::move(dead)) {}

    std::uint16_t vkKeyScan(wchar_t ch) override {
        if (const auto it = keys_.find(ch); it != keys_.end()) return it->second;
        if (ch >= L'a' && ch <= L'z') return static_cast<std::uint16_t>(ch - L'a' + L'A');
        if (ch >= L'A' && ch <= L'Z') return static_cast<std::uint16_t>(kShift | ch);
        if ((ch >= L'0' && ch <= L'9') || ch == L' ') return static_cast<std::uint16_t>(ch);
        return 0xFFFF;
    }
    std::uint16_t scanCode(std::uint16_t vk) override { return fakeScan(vk); }
    bool isDeadKey(std::uint16_t vk) override { return dead_.contains(vk); }

private:
    std::map<wchar_t, std::uint16_t> keys_;
    std::set<std::uint16_t> dead_;
};

// QWERTZ: Y and Z trade places, AltGr for @ { } \, dead keys for ^ ´ `.
inline FakeLayout germanLayout() {
    return FakeLayout({{L'z', 'Y'},
                       {L'y', 'Z'},
                       {L'Z', kShift | 'Y'},
                       {L'ß', kVkSharpS},
                       {L'@', kAltGr | 'Q'},
                       {L'{', kAltGr | '7'},
                       {L'}', kAltGr | '0'},
                       {L'\\', kAltGr | kVkSharpS},
                       {L'^', 0xDC},
                       {L'´', 0xDD},
                       {L'`', kShift | 0xDD}},
                      {0xDC, 0xDD});
}

// No key for ß; a line feed is Ctrl+Enter, as Windows answers.
inline FakeLayout usLayout() {
    return FakeLayout({{L'@', kShift | '2'}, {L'\n', 0x200 | vk::Return}});
}

} // namespace ww::testing
