#include "store/notation.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace ww {
namespace {

std::vector<KeyAction> parsed(std::wstring_view keys) {
    auto result = parseKeystrokes(keys);
    if (const auto* failure = std::get_if<ParseError>(&result)) {
        ADD_FAILURE() << "unexpected parse error at " << failure->position << " in " << std::wstring(keys);
        return {};
    }
    return std::get<std::vector<KeyAction>>(std::move(result));
}

ParseError parseError(std::wstring_view keys) {
    auto result = parseKeystrokes(keys);
    if (!std::holds_alternative<ParseError>(result)) {
        ADD_FAILURE() << "expected a parse error for " << std::wstring(keys);
        return {};
    }
    return std::get<ParseError>(result);
}

KeyAction ch(wchar_t c, std::uint8_t modifiers = ModNone) {
    return {true, c, NamedKey::Enter, modifiers};
}
KeyAction key(NamedKey k, std::uint8_t modifiers = ModNone) {
    return {false, 0, k, modifiers};
}

using Actions = std::vector<KeyAction>;

TEST(EncodeText, WorkedExamples) {
    EXPECT_EQ(encodeText(L"Name###Straße###Wohnort###Tel."), L"Name~Straße~Wohnort~Tel.");
    EXPECT_EQ(encodeText(L"a+b"), L"a{+}b");
    EXPECT_EQ(encodeText(L"100%"), L"100{%}");
    EXPECT_EQ(encodeText(L"(1)"), L"{(}1{)}");
    EXPECT_EQ(encodeText(L"{x}"), L"{{}x{}}");
    EXPECT_EQ(encodeText(L"1~2"), L"1{~}2");
}

TEST(EncodeText, NumberSignRunsAreCutInThreesFromTheLeft) {
    EXPECT_EQ(encodeText(L"###"), L"~");
    EXPECT_EQ(encodeText(L"####"), L"~#");
    EXPECT_EQ(encodeText(L"#####"), L"~##");
    EXPECT_EQ(encodeText(L"######"), L"~~");
    EXPECT_EQ(encodeText(L"##"), L"##");
    EXPECT_EQ(encodeText(L"a##b#c###"), L"a##b#c~");
}

TEST(EncodeText, BracesEverySpecialCharacterAndNothingElse) {
    EXPECT_EQ(encodeText(L""), L"");
    EXPECT_EQ(encodeText(L"{}+^%~()[]"), L"{{}{}}{+}{^}{%}{~}{(}{)}{[}{]}");
    EXPECT_EQ(encodeText(L"{BACKSPACE}"), L"{{}BACKSPACE{}}");
    EXPECT_EQ(encodeText(L"  ÄÖÜ äöü ß @€|<>\\\"'  "), L"  ÄÖÜ äöü ß @€|<>\\\"'  ");
    EXPECT_EQ(encodeText(L"*** Noch nicht benutzt ***"), L"*** Noch nicht benutzt ***");
}

TEST(TranslateShortcut, WorkedExamples) {
    EXPECT_EQ(translateShortcut(L"strgf"), L"^f");
    EXPECT_EQ(translateShortcut(L"stringf"), L"^f");
    EXPECT_EQ(translateShortcut(L"string + f"), L"^f");
    EXPECT_EQ(translateShortcut(L"string + F9"), L"^{F9}");
    EXPECT_EQ(translateShortcut(L"strgf9"), L"^{F9}");
    EXPECT_EQ(translateShortcut(L"alt + x"), L"%x");
    EXPECT_EQ(translateShortcut(L"umschalt + a"), L"+a");
    EXPECT_EQ(translateShortcut(L"um + a"), L"+a");
    EXPECT_EQ(translateShortcut(L"alt + f4"), L"%{F4}");
    EXPECT_EQ(translateShortcut(L"F10"), L"{F10}");
    EXPECT_EQ(translateShortcut(L"*** Noch nicht benutzt ***"), L"***nochnichtbenutzt***");
}

TEST(TranslateShortcut, EdgeCases) {
    EXPECT_EQ(translateShortcut(L"STRG + F"), translateShortcut(L"strg + f"));
    EXPECT_EQ(translateShortcut(L"halt"), L"h%");
    EXPECT_EQ(translateShortcut(L"summe"), L"s+me");
    EXPECT_EQ(translateShortcut(L"f13"), L"{F1}3");
    EXPECT_EQ(translateShortcut(L"f0"), L"f0");
    EXPECT_EQ(translateShortcut(L"alt + umschalt + x"), L"%+x");
    EXPECT_EQ(translateShortcut(L""), L"");
    EXPECT_EQ(translateShortcut(L" + + "), L"");
    EXPECT_EQ(translateShortcut(L"f11f12f1"), L"{F11}{F12}{F1}");
    EXPECT_EQ(translateShortcut(L"str"), L"^");
    EXPECT_EQ(translateShortcut(L"ALT ÄÖÜ"), L"%äöü");
    // Whatever else the user wrote passes through with its notation meaning.
    EXPECT_EQ(translateShortcut(L"x~{TAB}"), L"x~{tab}");
}

TEST(ParseKeystrokes, PlainCharactersAndEnter) {
    EXPECT_EQ(parsed(L""), Actions{});
    EXPECT_EQ(parsed(L"aB ß"), (Actions{ch(L'a'), ch(L'B'), ch(L' '), ch(L'ß')}));
    EXPECT_EQ(parsed(L"x~y"), (Actions{ch(L'x'), key(NamedKey::Enter), ch(L'y')}));
    EXPECT_EQ(parsed(L"[]"), (Actions{ch(L'['), ch(L']')}));
}

TEST(ParseKeystrokes, BracedCharactersAreLiteral) {
    EXPECT_EQ(parsed(L"{{}{}}{+}{^}{%}{~}{(}{)}{[}{]}"), (Actions{ch(L'{'), ch(L'}'), ch(L'+'), ch(L'^'), ch(L'%'),
                                                                  ch(L'~'), ch(L'('), ch(L')'), ch(L'['), ch(L']')}));
    EXPECT_EQ(parsed(L"{a}{ }"), (Actions{ch(L'a'), ch(L' ')}));
    EXPECT_EQ(parsed(L"+{~}"), (Actions{ch(L'~', ModShift)}));
}

TEST(ParseKeystrokes, NamedKeysIgnoreCase) {
    EXPECT_EQ(parsed(L"{BACKSPACE}{backspace}{BackSpace}"),
              (Actions{key(NamedKey::Backspace), key(NamedKey::Backspace), key(NamedKey::Backspace)}));
    EXPECT_EQ(parsed(L"{ENTER}{TAB}{ESC}{DEL}{DELETE}{INS}{INSERT}"),
              (Actions{key(NamedKey::Enter), key(NamedKey::Tab), key(NamedKey::Escape), key(NamedKey::Delete),
                       key(NamedKey::Delete), key(NamedKey::Insert), key(NamedKey::Insert)}));
    EXPECT_EQ(parsed(L"{home}{END}{PgUp}{PGDN}{up}{DOWN}{Left}{RIGHT}"),
              (Actions{key(NamedKey::Home), key(NamedKey::End), key(NamedKey::PageUp), key(NamedKey::PageDown),
                       key(NamedKey::Up), key(NamedKey::Down), key(NamedKey::Left), key(NamedKey::Right)}));
    const std::wstring functionKeys = L"{F1}{F2}{F3}{F4}{F5}{F6}{F7}{F8}{F9}{F10}{F11}{f12}";
    Actions expected;
    for (auto k : {NamedKey::F1, NamedKey::F2, NamedKey::F3, NamedKey::F4, NamedKey::F5, NamedKey::F6, NamedKey::F7,
                   NamedKey::F8, NamedKey::F9, NamedKey::F10, NamedKey::F11, NamedKey::F12}) {
        expected.push_back(key(k));
    }
    EXPECT_EQ(parsed(functionKeys), expected);
}

TEST(ParseKeystrokes, ModifiersCoverOnlyTheNextItem) {
    EXPECT_EQ(parsed(L"+ab"), (Actions{ch(L'a', ModShift), ch(L'b')}));
    EXPECT_EQ(parsed(L"^%x"), (Actions{ch(L'x', ModCtrl | ModAlt)}));
    EXPECT_EQ(parsed(L"%+^{F4}y"), (Actions{key(NamedKey::F4, ModAlt | ModShift | ModCtrl), ch(L'y')}));
    EXPECT_EQ(parsed(L"^{F9}"), (Actions{key(NamedKey::F9, ModCtrl)}));
    EXPECT_EQ(parsed(L"+~"), (Actions{key(NamedKey::Enter, ModShift)}));
    EXPECT_EQ(parsed(L"++a"), (Actions{ch(L'a', ModShift)}));
}

TEST(ParseKeystrokes, GroupsHoldTheirModifiersOverEveryItem) {
    EXPECT_EQ(parsed(L"+(ab)c"), (Actions{ch(L'a', ModShift), ch(L'b', ModShift), ch(L'c')}));
    EXPECT_EQ(parsed(L"^(a%(b{TAB})c)d"), (Actions{ch(L'a', ModCtrl), ch(L'b', ModCtrl | ModAlt),
                                                   key(NamedKey::Tab, ModCtrl | ModAlt), ch(L'c', ModCtrl), ch(L'd')}));
    EXPECT_EQ(parsed(L"(a+b)"), (Actions{ch(L'a'), ch(L'b', ModShift)}));
    EXPECT_EQ(parsed(L"()x"), (Actions{ch(L'x')}));
}

TEST(ParseKeystrokes, ReportsEveryKindOfErrorWithItsPosition) {
    struct Case {
        const wchar_t* keys;
        std::size_t position;
        const wchar_t* says;
    };
    const Case cases[] = {
        {L"ab{F1", 2, L"„{“ wird nicht geschlossen"},
        {L"a{", 1, L"„{“ wird nicht geschlossen"},
        {L"ab}", 2, L"„}“ gehört zu keiner"},
        {L"a{{}}", 4, L"„}“ gehört zu keiner"}, // "{{}" is a literal, the last "}" is stray
        {L"x(ab", 1, L"„(“ wird nicht geschlossen"},
        {L"((a)", 0, L"„(“ wird nicht geschlossen"},
        {L"a)b", 1, L"„)“ gehört zu keiner"},
        {L"{NOSUCHKEY}", 0, L"„{NOSUCHKEY}“ ist kein bekannter Tastenname"},
        {L"x{F13}", 1, L"„{F13}“ ist kein bekannter Tastenname"},
        {L"{}", 0, L"steht nichts"},
        {L"a{}b", 1, L"steht nichts"},
        {L"ab^", 2, L"Nach „^“ fehlt die Taste"},
        {L"x+%", 1, L"Nach „+“ fehlt die Taste"},
        {L"(a%)", 2, L"Nach „%“ fehlt die Taste"},
    };
    for (const auto& c : cases) {
        const auto failure = parseError(c.keys);
        EXPECT_EQ(failure.position, c.position) << c.keys;
        EXPECT_NE(failure.message.find(c.says), std::wstring::npos) << c.keys << L": " << failure.message;
    }
}

Actions typed(std::wstring_view text) {
    Actions actions;
    for (wchar_t c : text) {
        actions.push_back(c == L'\n' ? key(NamedKey::Enter) : ch(c));
    }
    return actions;
}

TEST(ParseKeystrokes, PlaysWhatTheProgramHandsOver) {
    EXPECT_EQ(parsed(L"{BACKSPACE}"), (Actions{key(NamedKey::Backspace)}));
    EXPECT_EQ(parsed(L"OK"), typed(L"OK"));
    EXPECT_EQ(parsed(encodeText(L"Name###Straße###Wohnort###Tel.")), typed(L"Name\nStraße\nWohnort\nTel."));
    EXPECT_EQ(parsed(encodeText(L"{}+^%~()[]")), typed(L"{}+^%~()[]"));
    EXPECT_EQ(parsed(encodeText(L"{BACKSPACE}")), typed(L"{BACKSPACE}"));
    EXPECT_EQ(parsed(encodeText(L" a###")), typed(L" a\n"));

    EXPECT_EQ(parsed(translateShortcut(L"strgf")), (Actions{ch(L'f', ModCtrl)}));
    EXPECT_EQ(parsed(translateShortcut(L"string + F9")), (Actions{key(NamedKey::F9, ModCtrl)}));
    EXPECT_EQ(parsed(translateShortcut(L"alt + x")), (Actions{ch(L'x', ModAlt)}));
    EXPECT_EQ(parsed(translateShortcut(L"um + a")), (Actions{ch(L'a', ModShift)}));
    EXPECT_EQ(parsed(translateShortcut(L"alt + f4")), (Actions{key(NamedKey::F4, ModAlt)}));
    EXPECT_EQ(parsed(translateShortcut(L"F10")), (Actions{key(NamedKey::F10)}));
    EXPECT_EQ(parsed(translateShortcut(L"alt + umschalt + x")), (Actions{ch(L'x', ModAlt | ModShift)}));
    EXPECT_EQ(parsed(translateShortcut(L"*** Noch nicht benutzt ***")), typed(L"***nochnichtbenutzt***"));
    EXPECT_EQ(parsed(translateShortcut(L"x + y z")), typed(L"xyz")) << "no blank or plus sign is ever typed";
    EXPECT_EQ(parsed(translateShortcut(L"")), Actions{});
}

// Reference for the text encoding: a run of n number signs types n / 3 Enters followed by n % 3 signs.
Actions expectedTyping(const std::wstring& text) {
    Actions actions;
    for (std::size_t i = 0; i < text.size();) {
        if (text[i] != L'#') {
            actions.push_back(ch(text[i++]));
            continue;
        }
        std::size_t run = 0;
        while (i < text.size() && text[i] == L'#') {
            ++run;
            ++i;
        }
        actions.insert(actions.end(), run / 3, key(NamedKey::Enter));
        actions.insert(actions.end(), run % 3, ch(L'#'));
    }
    return actions;
}

TEST(EncodeText, EveryStoredTextIsTypedExactlyAsWritten) {
    const std::wstring pool = L"aZmQ äöüÄÖÜß####{}+^%~()[]";
    std::mt19937 random(20240607);
    for (int round = 0; round < 3000; ++round) {
        std::wstring text;
        const int length = std::uniform_int_distribution<int>(0, 40)(random);
        for (int i = 0; i < length; ++i) {
            if (random() % 4 == 0) {
                text += static_cast<wchar_t>(std::uniform_int_distribution<int>(0x20, 0xFF)(random));
            } else {
                text += pool[random() % pool.size()];
            }
        }
        const auto keys = encodeText(text);
        ASSERT_EQ(parsed(keys), expectedTyping(text)) << "text of length " << text.size() << " round " << round;
    }
}

} // namespace
} // namespace ww
