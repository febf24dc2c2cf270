#include "input/notation.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ww {
namespace {

using Actions = std::vector<KeyAction>;

KeyAction ch(wchar_t c, std::uint8_t modifiers = ModNone) {
    return {true, c, NamedKey::Enter, modifiers};
}
KeyAction key(NamedKey k, std::uint8_t modifiers = ModNone) {
    return {false, 0, k, modifiers};
}

// The last example: anything else passes through with its notation meaning.
TEST(TranslateShortcut, WorkedExamplesAndEdgeCases) {
    const struct {
        const wchar_t* in;
        const wchar_t* out;
    } examples[] = {{L"strgf", L"^f"},
                    {L"stringf", L"^f"},
                    {L"string + f", L"^f"},
                    {L"string + F9", L"^{F9}"},
                    {L"umschalt + a", L"+a"},
                    {L"um + a", L"+a"},
                    {L"alt + f4", L"%{F4}"},
                    {L"F10", L"{F10}"},
                    {L"*** Noch nicht benutzt ***", L"***nochnichtbenutzt***"},
                    {L"STRG + F", L"^f"},
                    {L"halt", L"h%"},
                    {L"summe", L"s+me"},
                    {L"f13", L"{F1}3"},
                    {L"f0", L"f0"},
                    {L"alt + umschalt + x", L"%+x"},
                    {L" + + ", L""},
                    {L"strg + strg + c", L"^^c"},
                    {L"f11f12f1", L"{F11}{F12}{F1}"},
                    {L"str", L"^"},
                    {L"ALT ÀÄÖÜ×Þ ŠŒŽŸ", L"%àäöü×þšœžÿ"},
                    {L"x~{TAB}", L"x~{tab}"}};
    for (const auto& e : examples)
        EXPECT_EQ(translateShortcut(e.in), e.out) << e.in;
}

TEST(ParseKeystrokes, EveryItemKind) {
    using enum NamedKey;
    const struct {
        const wchar_t* keys;
        Actions actions;
    } cases[] = {
        {L"", {}},
        {L"aB ß[]", {ch(L'a'), ch(L'B'), ch(L' '), ch(L'ß'), ch(L'['), ch(L']')}},
        {L"x~", {ch(L'x'), key(Enter)}},
        {L"{{}{}}{+}{^}{%}{~}{(}{)}{a}",
         {ch(L'{'), ch(L'}'), ch(L'+'), ch(L'^'), ch(L'%'), ch(L'~'), ch(L'('), ch(L')'), ch(L'a')}},
        {L"{BACKSPACE}{backspace}{ENTER}{Tab}{ESC}{DEL}{delete}{INS}{INSERT}",
         {key(Backspace), key(Backspace), key(Enter), key(Tab), key(Escape), key(Delete), key(Delete), key(Insert),
          key(Insert)}},
        {L"{home}{END}{PgUp}{PGDN}{up}{DOWN}{Left}{RIGHT}",
         {key(Home), key(End), key(PageUp), key(PageDown), key(Up), key(Down), key(Left), key(Right)}},
        {L"{F1}{F2}{F3}{F4}{F5}{F6}{F7}{F8}{F9}{F10}{F11}{f12}",
         {key(F1), key(F2), key(F3), key(F4), key(F5), key(F6), key(F7), key(F8), key(F9), key(F10), key(F11),
          key(F12)}},
        // Modifiers cover the next item only; several in a row are held together.
        {L"+ab^%x", {ch(L'a', ModShift), ch(L'b'), ch(L'x', ModCtrl | ModAlt)}},
        {L"%+^{F4}+~++{~}", {key(F4, ModAlt | ModShift | ModCtrl), key(Enter, ModShift), ch(L'~', ModShift)}},
        // A group holds its modifiers over every item; nesting adds modifiers.
        {L"+(ab)c", {ch(L'a', ModShift), ch(L'b', ModShift), ch(L'c')}},
        {L"^(a%(b{TAB})c)d",
         {ch(L'a', ModCtrl), ch(L'b', ModCtrl | ModAlt), key(Tab, ModCtrl | ModAlt), ch(L'c', ModCtrl), ch(L'd')}},
        {L"(a+b)+()x", {ch(L'a'), ch(L'b', ModShift), ch(L'x')}}, // the group takes the modifier
        // A braced surrogate pair is one character: both units get the modifiers.
        {L"+{\xD83D\xDE00}a", {ch(0xD83D, ModShift), ch(0xDE00, ModShift), ch(L'a')}},
    };
    for (const auto& c : cases) {
        const auto result = parseKeystrokes(c.keys);
        const auto* actions = std::get_if<Actions>(&result);
        ASSERT_NE(actions, nullptr) << c.keys;
        EXPECT_EQ(*actions, c.actions) << c.keys;
    }
}

TEST(ParseKeystrokes, ReportsEveryKindOfErrorWithItsPosition) {
    const struct {
        const wchar_t* keys;
        std::size_t position;
        const wchar_t* says;
    } cases[] = {
        {L"ab{F1", 2, L"„{“ wird nicht geschlossen"},
        {L"a{", 1, L"„{“ wird nicht geschlossen"},
        {L"ab}", 2, L"„}“ gehört zu keiner"},
        {L"a{{}}", 4, L"„}“ gehört zu keiner"}, // "{{}" is a literal, the last "}" is stray
        {L"x(ab", 1, L"„(“ wird nicht geschlossen"},
        {L"((a)", 0, L"„(“ wird nicht geschlossen"},
        {L"a)b", 1, L"„)“ gehört zu keiner"},
        {L"{NOSUCHKEY}", 0, L"„{NOSUCHKEY}“ ist kein bekannter Tastenname"},
        {L"x{F13}", 1, L"„{F13}“ ist kein bekannter Tastenname"},
        {L"a{}b", 1, L"steht nichts"},
        {L"ab^", 2, L"Nach „^“ fehlt die Taste"},
        {L"x+%", 1, L"Nach „+“ fehlt die Taste"},
        {L"(a%)", 2, L"Nach „%“ fehlt die Taste"},
    };
    for (const auto& c : cases) {
        const auto result = parseKeystrokes(c.keys);
        const auto* failure = std::get_if<ParseError>(&result);
        ASSERT_NE(failure, nullptr) << c.keys;
        EXPECT_EQ(failure->position, c.position) << c.keys;
        EXPECT_NE(failure->message.find(c.says), std::wstring::npos) << c.keys << L": " << failure->message;
    }
}

// Any stored text parses back into itself (fuzz/notation_checks.h); here the exact notation written.
TEST(EncodeText, NumberSignsInThreesAreEnterAndTheNotationsSignsAreBraced) {
    EXPECT_EQ(encodeText(L"a#b##c###d####e#######"), L"a#b##c~d~#e~~#");
    EXPECT_EQ(encodeText(L"{}+^%~()[] äß"), L"{{}{}}{+}{^}{%}{~}{(}{)}{[}{]} äß");
}

} // namespace
} // namespace ww
