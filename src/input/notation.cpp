#include "input/notation.h"

#include "base/utf16.h"

#include <array>
#include <optional>
#include <utility>

namespace ww {

namespace {

constexpr std::wstring_view kSpecialCharacters = L"{}+^%~()[]";

bool isSpecial(wchar_t c) {
    return kSpecialCharacters.find(c) != std::wstring_view::npos;
}

// Lower case as the ANSI code page knows it: ASCII, Latin-1 and the four Windows-1252 letters above 0xFF. Not
// locale-dependent, so a shortcut translates the same everywhere.
wchar_t toLower(wchar_t c) {
    if ((c >= L'A' && c <= L'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) {
        return static_cast<wchar_t>(c + 0x20);
    }
    switch (c) {
    case 0x0160:
        return 0x0161; // Š
    case 0x0152:
        return 0x0153; // Œ
    case 0x017D:
        return 0x017E; // Ž
    case 0x0178:
        return 0x00FF; // Ÿ
    default:
        return c;
    }
}

// Every occurrence, left to right, without overlaps; inserted text is not scanned again.
void replaceEvery(std::wstring& text, std::wstring_view from, std::wstring_view to) {
    for (std::size_t pos = text.find(from); pos != std::wstring::npos; pos = text.find(from, pos + to.size())) {
        text.replace(pos, from.size(), to);
    }
}

struct KeyName {
    std::wstring_view name;
    NamedKey key;
};

constexpr std::array<KeyName, 28> kKeyNames = {{
    {L"BACKSPACE", NamedKey::Backspace},
    {L"ENTER", NamedKey::Enter},
    {L"TAB", NamedKey::Tab},
    {L"ESC", NamedKey::Escape},
    {L"DEL", NamedKey::Delete},
    {L"DELETE", NamedKey::Delete},
    {L"INS", NamedKey::Insert},
    {L"INSERT", NamedKey::Insert},
    {L"HOME", NamedKey::Home},
    {L"END", NamedKey::End},
    {L"PGUP", NamedKey::PageUp},
    {L"PGDN", NamedKey::PageDown},
    {L"UP", NamedKey::Up},
    {L"DOWN", NamedKey::Down},
    {L"LEFT", NamedKey::Left},
    {L"RIGHT", NamedKey::Right},
    {L"F1", NamedKey::F1},
    {L"F2", NamedKey::F2},
    {L"F3", NamedKey::F3},
    {L"F4", NamedKey::F4},
    {L"F5", NamedKey::F5},
    {L"F6", NamedKey::F6},
    {L"F7", NamedKey::F7},
    {L"F8", NamedKey::F8},
    {L"F9", NamedKey::F9},
    {L"F10", NamedKey::F10},
    {L"F11", NamedKey::F11},
    {L"F12", NamedKey::F12},
}};

std::optional<NamedKey> findKeyName(std::wstring_view name) {
    for (const auto& entry : kKeyNames) {
        if (entry.name.size() != name.size()) {
            continue;
        }
        bool same = true;
        for (std::size_t i = 0; i < name.size() && same; ++i) {
            const wchar_t c = name[i];
            same = (c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - 0x20) : c) == entry.name[i];
        }
        if (same) {
            return entry.key;
        }
    }
    return std::nullopt;
}

std::uint8_t modifierOf(wchar_t c) {
    switch (c) {
    case L'+':
        return ModShift;
    case L'^':
        return ModCtrl;
    case L'%':
        return ModAlt;
    default:
        return ModNone;
    }
}

KeyAction charAction(wchar_t c, std::uint8_t modifiers) {
    return {true, c, NamedKey::Enter, modifiers};
}
KeyAction keyAction(NamedKey key, std::uint8_t modifiers) {
    return {false, 0, key, modifiers};
}

ParseError error(std::size_t position, std::wstring message) {
    return {position, std::move(message)};
}

class Parser {
public:
    explicit Parser(std::wstring_view keys) : keys_(keys) {}

    ParseResult run() {
        for (std::size_t i = 0; i < keys_.size();) {
            const wchar_t c = keys_[i];
            if (const auto modifier = modifierOf(c)) {
                if (pending_ == ModNone) {
                    pendingAt_ = i;
                }
                pending_ |= modifier;
                ++i;
            } else if (c == L'(') {
                groups_.push_back({i, held()});
                pending_ = ModNone;
                ++i;
            } else if (c == L')') {
                if (pending_ != ModNone) {
                    return danglingModifier();
                }
                if (groups_.empty()) {
                    return error(i, L"Die Klammer „)“ gehört zu keiner öffnenden Klammer „(“.");
                }
                groups_.pop_back();
                ++i;
            } else if (c == L'{') {
                if (auto failure = braced(i)) {
                    return *failure;
                }
            } else if (c == L'}') {
                return error(i, L"Die geschweifte Klammer „}“ gehört zu keiner öffnenden Klammer „{“.");
            } else {
                emit(c == L'~' ? keyAction(NamedKey::Enter, ModNone) : charAction(c, ModNone));
                ++i;
            }
        }
        if (pending_ != ModNone) {
            return danglingModifier();
        }
        if (!groups_.empty()) {
            return error(groups_.back().open, L"Die Klammer „(“ wird nicht geschlossen.");
        }
        return std::move(actions_);
    }

private:
    struct Group {
        std::size_t open;
        std::uint8_t held;
    };

    std::uint8_t held() const {
        return static_cast<std::uint8_t>((groups_.empty() ? std::uint8_t{ModNone} : groups_.back().held) | pending_);
    }

    void emit(KeyAction action) {
        action.modifiers = held();
        actions_.push_back(action);
        pending_ = ModNone;
    }

    // "{x}" types x itself (a surrogate pair counts as one character); "{NAME}" presses a named key.
    std::optional<ParseError> braced(std::size_t& i) {
        const std::wstring_view rest = keys_.substr(i + 1);
        if (rest.size() >= 2 && rest[1] == L'}') {
            emit(charAction(rest[0], ModNone));
            i += 3;
            return std::nullopt;
        }
        if (rest.size() >= 3 && isHighSurrogate(rest[0]) && isLowSurrogate(rest[1]) && rest[2] == L'}') {
            const auto modifiers = held();
            emit(charAction(rest[0], ModNone));
            actions_.push_back(charAction(rest[1], modifiers));
            i += 4;
            return std::nullopt;
        }
        if (!rest.empty() && rest[0] == L'}') {
            return error(i, L"Zwischen „{“ und „}“ steht nichts.");
        }
        const std::size_t close = rest.find(L'}');
        if (close == std::wstring_view::npos) {
            return error(i, L"Die geschweifte Klammer „{“ wird nicht geschlossen.");
        }
        const std::wstring_view name = rest.substr(0, close);
        const auto key = findKeyName(name);
        if (!key) {
            return error(i, L"„{" + std::wstring(name) + L"}“ ist kein bekannter Tastenname.");
        }
        emit(keyAction(*key, ModNone));
        i += close + 2;
        return std::nullopt;
    }

    ParseError danglingModifier() const {
        return error(pendingAt_, L"Nach „" + std::wstring(1, keys_[pendingAt_]) +
                                     L"“ fehlt die Taste, die dabei gedrückt werden soll.");
    }

    std::wstring_view keys_;
    std::vector<KeyAction> actions_;
    std::vector<Group> groups_;
    std::uint8_t pending_ = ModNone;
    std::size_t pendingAt_ = 0;
};

} // namespace

std::wstring encodeText(std::wstring_view text) {
    std::wstring keys;
    keys.reserve(text.size() + text.size() / 2);
    for (std::size_t i = 0; i < text.size();) {
        if (text.substr(i, 3) == L"###") {
            keys += L'~';
            i += 3;
        } else if (isSpecial(text[i])) {
            keys += L'{';
            keys += text[i];
            keys += L'}';
            ++i;
        } else {
            keys += text[i];
            ++i;
        }
    }
    return keys;
}

std::wstring translateShortcut(std::wstring_view shortcut) {
    std::wstring keys;
    keys.reserve(shortcut.size());
    for (wchar_t c : shortcut) {
        if (c != L' ' && c != L'+') {
            keys += toLower(c);
        }
    }
    static constexpr std::pair<std::wstring_view, std::wstring_view> kWords[] = {
        {L"string", L"^"}, {L"strg", L"^"},    {L"str", L"^"},     {L"umschalt", L"+"}, {L"alt", L"%"},
        {L"um", L"+"},     {L"f10", L"{F10}"}, {L"f11", L"{F11}"}, {L"f12", L"{F12}"},  {L"f1", L"{F1}"},
        {L"f2", L"{F2}"},  {L"f3", L"{F3}"},   {L"f4", L"{F4}"},   {L"f5", L"{F5}"},    {L"f6", L"{F6}"},
        {L"f7", L"{F7}"},  {L"f8", L"{F8}"},   {L"f9", L"{F9}"},
    };
    for (const auto& [word, replacement] : kWords) {
        replaceEvery(keys, word, replacement);
    }
    return keys;
}

ParseResult parseKeystrokes(std::wstring_view keys) {
    return Parser(keys).run();
}

} // namespace ww
