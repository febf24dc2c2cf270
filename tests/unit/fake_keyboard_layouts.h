#pragma once
// Keyboard layouts for the planner, as Windows defines them: each key with its plain, Shift, AltGr and Shift+AltGr
// characters and which of them are dead keys. Letters and the blank sit on their usual keys unless a layout says
// otherwise.
#include "input/keystroke_plan.h"

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace ww::testing {

inline constexpr std::uint16_t kVkSharpS = 0xDB; // ß ? \ on the German layout

// Any scan code will do as long as it belongs to its key.
inline std::uint16_t fakeScan(std::uint16_t vk) {
    return static_cast<std::uint16_t>(0x100 + vk);
}

enum Level { Plain, Shifted, AltGr, ShiftAltGr };

struct FakeKey {
    std::uint16_t vk;
    std::wstring levels; // the characters of the levels in order; L'\0' where a level types nothing
};
using DeadKeys = std::set<std::pair<std::uint16_t, Level>>;

class FakeLayout final : public KeyboardLayout {
public:
    // `odd` answers VkKeyScan for characters on keys outside the table (Ctrl+Enter for a line feed).
    explicit FakeLayout(std::vector<FakeKey> keys, DeadKeys dead = {}, std::map<wchar_t, std::uint16_t> odd = {})
        : keys_(std::move(keys)), dead_(std::move(dead)), odd_(std::move(odd)) {
        for (wchar_t letter = L'A'; letter <= L'Z'; ++letter)
            if (!find(letter))
                keys_.push_back(
                    {static_cast<std::uint16_t>(letter), {static_cast<wchar_t>(letter - L'A' + L'a'), letter}});
        if (!find(L' ')) keys_.push_back({L' ', L" "});
    }

    // Like VkKeyScanEx: the first key and level, in table order, that carries the character, dead or not.
    std::uint16_t vkKeyScan(wchar_t ch) override {
        if (const auto it = odd_.find(ch); it != odd_.end()) return it->second;
        for (const FakeKey& key : keys_)
            for (std::size_t level = 0; level < key.levels.size(); ++level)
                if (key.levels[level] == ch) return static_cast<std::uint16_t>(kLevelStates[level] << 8 | key.vk);
        return 0xFFFF;
    }
    std::uint16_t scanCode(std::uint16_t vk) override { return fakeScan(vk); }
    std::optional<wchar_t> keyChar(std::uint16_t vk, std::uint8_t shiftState) override {
        const FakeKey* key = find(vk);
        for (std::size_t level = 0; key && level < key->levels.size(); ++level)
            if (kLevelStates[level] == shiftState && key->levels[level] != 0 &&
                !dead_.contains({vk, static_cast<Level>(level)}))
                return key->levels[level];
        return std::nullopt;
    }

private:
    static constexpr std::uint8_t kLevelStates[] = {0, 1, 6, 7}; // VkKeyScan shift states of the four levels

    const FakeKey* find(std::uint16_t vk) const {
        for (const FakeKey& key : keys_)
            if (key.vk == vk) return &key;
        return nullptr;
    }

    std::vector<FakeKey> keys_;
    DeadKeys dead_;
    std::map<wchar_t, std::uint16_t> odd_;
};

// No key for ß; a line feed is Ctrl+Enter, as Windows answers.
inline FakeLayout usLayout() {
    return FakeLayout({{'1', L"1!"},  {'2', L"2@"},  {'3', L"3#"},  {'4', L"4$"},   {'5', L"5%"},  {'6', L"6^"},
                       {'7', L"7&"},  {'8', L"8*"},  {'9', L"9("},  {'0', L"0)"},   {0xC0, L"`~"}, {0xBD, L"-_"},
                       {0xBB, L"=+"}, {0xDB, L"[{"}, {0xDD, L"]}"}, {0xDC, L"\\|"}, {0xBA, L";:"}, {0xDE, L"'\""},
                       {0xBC, L",<"}, {0xBE, L".>"}, {0xBF, L"/?"}},
                      {}, {{L'\n', 0x200 | vk::Return}});
}

// QWERTZ. AltGr for @ € µ ² ³ { [ ] } \ ~ |; dead ^ ´ `.
inline FakeLayout germanLayout() {
    return FakeLayout({{0xDC, L"^°"}, {'1', L"1!"},         {'2', L"2\"²"}, {'3', L"3§³"}, {'4', L"4$"},
                       {'5', L"5%"},  {'6', L"6&"},         {'7', L"7/{"},  {'8', L"8(["}, {'9', L"9)]"},
                       {'0', L"0=}"}, {kVkSharpS, L"ß?\\"}, {0xDD, L"´`"},  {'Q', L"qQ@"}, {'E', L"eE€"},
                       {'M', L"mMµ"}, {0xBA, L"üÜ"},        {0xBB, L"+*~"}, {0xC0, L"öÖ"}, {0xDE, L"äÄ"},
                       {0xBF, L"#'"}, {0xE2, L"<>|"},       {0xBC, L",;"},  {0xBE, L".:"}, {0xBD, L"-_"}},
                      {{0xDC, Plain}, {0xDD, Plain}, {0xDD, Shifted}});
}

// Swiss German. AltGr for @ # € ¦ ¬ | ¢ [ ] { } \; dead ^ ` ¨, and ´ and ~ dead on the AltGr level of keys whose
// plain character is live.
inline FakeLayout swissLayout() {
    return FakeLayout({{0xBF, L"§°"},  {'1', L"1+¦"},   {'2', L"2\"@"}, {'3', L"3*#"},  {'4', L"4ç"},  {'5', L"5%"},
                       {'6', L"6&¬"},  {'7', L"7/|"},   {'8', L"8(¢"},  {'9', L"9)"},   {'0', L"0="},  {0xDB, L"'?´"},
                       {0xDD, L"^`~"}, {'E', L"eE€"},   {0xBA, L"üè["}, {0xC0, L"¨!]"}, {0xDE, L"öé"}, {0xDC, L"äà{"},
                       {0xDF, L"$£}"}, {0xE2, L"<>\\"}, {0xBC, L",;"},  {0xBE, L".:"},  {0xBD, L"-_"}},
                      {{0xDB, AltGr}, {0xDD, Plain}, {0xDD, Shifted}, {0xDD, AltGr}, {0xC0, Plain}});
}

// AZERTY: digits need Shift. AltGr for ~ # { [ | ` \ ^ @ ] } € ¤, of which ~ and ` are dead; dead ^ ¨ of their own.
inline FakeLayout frenchLayout() {
    return FakeLayout({{0xDE, L"²"},   {'1', L"&1"},  {'2', L"é2~"},  {'3', L"\"3#"}, {'4', L"'4{"}, {'5', L"(5["},
                       {'6', L"-6|"},  {'7', L"è7`"}, {'8', L"_8\\"}, {'9', L"ç9^"},  {'0', L"à0@"}, {0xDB, L")°]"},
                       {0xBB, L"=+}"}, {0xDD, L"^¨"}, {0xBA, L"$£¤"}, {'E', L"eE€"},  {0xC0, L"ù%"}, {0xDC, L"*µ"},
                       {0xBC, L",?"},  {0xBE, L";."}, {0xBF, L":/"},  {0xDF, L"!§"},  {0xE2, L"<>"}},
                      {{'2', AltGr}, {'7', AltGr}, {0xDD, Plain}, {0xDD, Shifted}});
}

// US-International: ' " ` ~ dead, and ^ dead on the Shift level of the live 6; AltGr for accented letters and more.
inline FakeLayout usInternationalLayout() {
    return FakeLayout({{0xC0, L"`~"},   {'1', L"1!¡¹"},   {'2', L"2@²"},   {'3', L"3#³"},  {'4', L"4$¤£"},
                       {'5', L"5%€"},   {'6', L"6^¼"},    {'7', L"7&½"},   {'8', L"8*¾"},  {'9', L"9(‘"},
                       {'0', L"0)’"},   {0xBD, L"-_¥"},   {0xBB, L"=+×÷"}, {'Q', L"qQäÄ"}, {'E', L"eEéÉ"},
                       {'S', L"sSß§"},  {'N', L"nNñÑ"},   {0xDB, L"[{«"},  {0xDD, L"]}»"}, {0xDC, L"\\|¬¦"},
                       {0xBA, L";:¶°"}, {0xDE, L"'\"´¨"}, {0xBC, L",<çÇ"}, {0xBE, L".>"},  {0xBF, L"/?¿"}},
                      {{0xC0, Plain}, {0xC0, Shifted}, {'6', Shifted}, {0xDE, Plain}, {0xDE, Shifted}});
}

} // namespace ww::testing
