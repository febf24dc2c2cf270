#pragma once
// Properties of the keystroke notation that hold for any string, shared by the targets.
#include "input/notation.h"

#include "fuzz_check.h"

#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace ww::fuzzing {

// A parse yields actions made of the string's own characters and known keys, or an error that points into the
// string and says something.
inline std::optional<std::vector<KeyAction>> checkedParse(std::wstring_view keys) {
    ParseResult result = parseKeystrokes(keys);
    if (auto* error = std::get_if<ParseError>(&result)) {
        if (error->position >= keys.size()) fail("parse error past the end of the keys");
        if (error->message.size() < 10) fail("parse error without a clear message");
        return std::nullopt;
    }
    auto actions = std::get<std::vector<KeyAction>>(std::move(result));
    if (actions.size() > keys.size()) fail("more actions than characters");
    for (const KeyAction& a : actions) {
        if (a.modifiers > (ModShift | ModCtrl | ModAlt)) fail("unknown modifier bits");
        if (a.isChar && keys.find(a.ch) == std::wstring_view::npos) fail("a character the keys do not hold");
        if (!a.isChar && a.key > NamedKey::F12) fail("unknown named key");
    }
    return actions;
}

// What a stored text must type: each character itself, "###" as Enter, nothing held.
inline std::vector<KeyAction> textActions(std::wstring_view text) {
    std::vector<KeyAction> actions;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text.substr(i, 3) == L"###") {
            actions.push_back({false, 0, NamedKey::Enter, ModNone});
            i += 2;
        } else {
            actions.push_back({true, text[i], NamedKey::Enter, ModNone});
        }
    }
    return actions;
}

// An encoded text always parses, into exactly the text.
inline std::vector<KeyAction> checkedTextParse(std::wstring_view text, std::wstring_view encoded) {
    auto actions = checkedParse(encoded);
    if (!actions) fail("an encoded text does not parse");
    if (*actions != textActions(text)) fail("an encoded text parses into something else");
    return std::move(*actions);
}

} // namespace ww::fuzzing
