#include "input/notation.h"

#include "notation_checks.h"

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

// Worked examples and edge cases; anything else passes through with its notation meaning.
TEST(TranslateShortcut, WorkedExamplesAndEdgeCases) {
    const std::pair<const wchar_t*, const wchar_t*> examples[] = {
        {L"stringf", L"^f"},          {L"string + F9", L"^{F9}"},
        {L"um + a", L"+a"},           {L"alt + f4", L"%{F4}"},
        {L"F10", L"{F10}"},           {L"*** Noch nicht benutzt ***", L"***nochnichtbenutzt***"},
        {L"summe", L"s+me"},          {L"halt", L"h%"},
        {L"f13", L"{F1}3"},           {L"f11f12f1", L"{F11}{F12}{F1}"},
        {L"strg + strg + c", L"^^c"}, {L"ALT ÀÄÖÜ×Þ ŠŒŽŸ", L"%àäöü×þšœžÿ"},
        {L"x~{TAB}", L"x~{tab}"}};
    for (const auto& [in, out] : examples)
        EXPECT_EQ(translateShortcut(in), out) << in;
}

TEST(ParseKeystrokes, EveryItemKind) {
    using enum NamedKey;
    const struct {
        const wchar_t* keys;
        Actions actions;
    } cases[] = {
        {L"aB ß[]x~", {ch(L'a'), ch(L'B'), ch(L' '), ch(L'ß'), ch(L'['), ch(L']'), ch(L'x'), key(Enter)}},
        {L"{{}{}}{+}{^}{%}{~}{(}{)}{a}",
         {ch(L'{'), ch(L'}'), ch(L'+'), ch(L'^'), ch(L'%'), ch(L'~'), ch(L'('), ch(L')'), ch(L'a')}},
        {L"{BACKSPACE}{ENTER}{Tab}{ESC}{DEL}{delete}{INS}{INSERT}{home}{END}{PgUp}{PGDN}{up}{DOWN}{Left}{RIGHT}",
         {key(Backspace), key(Enter), key(Tab), key(Escape), key(Delete), key(Delete), key(Insert), key(Insert),
          key(Home), key(End), key(PageUp), key(PageDown), key(Up), key(Down), key(Left), key(Right)}},
        {L"{F1}{F2}{F3}{F4}{F5}{F6}{F7}{F8}{F9}{F10}{F11}{f12}",
         {key(F1), key(F2), key(F3), key(F4), key(F5), key(F6), key(F7), key(F8), key(F9), key(F10), key(F11),
          key(F12)}},
        // Modifiers cover the next item only; several in a row are held together.
        {L"+ab^%x", {ch(L'a', ModShift), ch(L'b'), ch(L'x', ModCtrl | ModAlt)}},
        {L"%+^{F4}+~++{~}", {key(F4, ModAlt | ModShift | ModCtrl), key(Enter, ModShift), ch(L'~', ModShift)}},
        // A group holds its modifiers over every item; nesting adds modifiers; the group takes the modifier.
        {L"^(a%(b{TAB})c)d",
         {ch(L'a', ModCtrl), ch(L'b', ModCtrl | ModAlt), key(Tab, ModCtrl | ModAlt), ch(L'c', ModCtrl), ch(L'd')}},
        {L"(a+b)+()x", {ch(L'a'), ch(L'b', ModShift), ch(L'x')}},
        // A braced surrogate pair is one character: both units get the modifiers.
        {L"+{\xD83D\xDE00}a", {ch(0xD83D, ModShift), ch(0xDE00, ModShift), ch(L'a')}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(std::get<Actions>(parseKeystrokes(c.keys)), c.actions) << c.keys;
}

TEST(ParseKeystrokes, ReportsEveryKindOfErrorWithItsPosition) {
    const struct {
        const wchar_t* keys;
        std::size_t position;
        const wchar_t* says;
    } cases[] = {
        {L"ab{F1", 2, L"„{“ wird nicht geschlossen"},
        {L"a{{}}", 4, L"„}“ gehört zu keiner"}, // "{{}" is a literal, the last "}" is stray
        {L"x(ab", 1, L"„(“ wird nicht geschlossen"},
        {L"a)b", 1, L"„)“ gehört zu keiner"},
        {L"x{F13}", 1, L"„{F13}“ ist kein bekannter Tastenname"},
        {L"a{}b", 1, L"steht nichts"},
        {L"ab^", 2, L"Nach „^“ fehlt die Taste"},
        {L"(a%)", 2, L"Nach „%“ fehlt die Taste"},
    };
    for (const auto& c : cases) {
        const auto failure = std::get<ParseError>(parseKeystrokes(c.keys));
        EXPECT_EQ(failure.position, c.position) << c.keys;
        EXPECT_NE(failure.message.find(c.says), std::wstring::npos) << c.keys << L": " << failure.message;
    }
}

// Any stored text parses back into itself, "###" as Enter (notation_checks.h, shared with the fuzz target).
TEST(EncodeText, ParsesBackIntoTheTextWithNumberSignsInThreesAsEnter) {
    for (const wchar_t* text : {L"a#b##c###d####e#######", L"{}+^%~()[] äß"})
        fuzzing::checkedTextParse(text, encodeText(text));
}

} // namespace
} // namespace ww
