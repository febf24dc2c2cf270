#include "input/keystroke_plan.h"

#include "base/utf16.h"

#include <array>
#include <initializer_list>
#include <unordered_map>

namespace ww {
namespace {

struct ModifierKey {
    HeldKey bit;
    std::uint16_t vk;
    bool extended;
};

// Press order; releases go in reverse.
constexpr std::array<ModifierKey, 8> kModifierKeys{{
    {HeldLShift, vk::LShift, false},
    {HeldRShift, vk::RShift, false},
    {HeldLCtrl, vk::LControl, false},
    {HeldRCtrl, vk::RControl, true},
    {HeldLAlt, vk::LMenu, false},
    {HeldRAlt, vk::RMenu, true},
    {HeldLWin, vk::LWin, true},
    {HeldRWin, vk::RWin, true},
}};

constexpr std::uint8_t kMenuOpeners = HeldLAlt | HeldRAlt | HeldLWin | HeldRWin;

constexpr std::uint8_t kStateShift = 1; // VkKeyScan shift-state bit

struct NamedVk {
    std::uint16_t vk;
    bool extended;
};

// The keys of NamedKey before F1, in its order; F1 to F24 follow in both.
constexpr NamedVk kNamedVks[] = {{vk::Back, false},  {vk::Return, false}, {vk::Tab, false}, {vk::Escape, false},
                                 {vk::Delete, true}, {vk::Insert, true},  {vk::Home, true}, {vk::End, true},
                                 {vk::Prior, true},  {vk::Next, true},    {vk::Up, true},   {vk::Down, true},
                                 {vk::Left, true},   {vk::Right, true}};
static_assert(std::size(kNamedVks) == static_cast<std::size_t>(NamedKey::F1));

NamedVk namedVk(NamedKey key) {
    const auto index = static_cast<std::size_t>(key);
    if (index < std::size(kNamedVks)) return kNamedVks[index];
    return {static_cast<std::uint16_t>(vk::F1 + (index - std::size(kNamedVks))), false};
}

std::uint8_t notationModifiers(std::uint8_t modifiers) {
    std::uint8_t keys = 0;
    if (modifiers & ModShift) keys |= HeldLShift;
    if (modifiers & ModCtrl) keys |= HeldLCtrl;
    if (modifiers & ModAlt) keys |= HeldLAlt;
    return keys;
}

// Only where wchar_t has 32 bits; on Windows such characters arrive as two surrogate units.
bool outsideBasicPlane(std::uint32_t ch) {
    return ch > 0xFFFF;
}

struct LayoutKey {
    std::uint16_t vk;
    std::uint8_t modifiers; // HeldKey bits the character needs
};

// The HeldKey bit of a modifier key's event; 0 for every other event.
std::uint8_t modifierBit(const KeyEvent& e) {
    for (const ModifierKey& m : kModifierKeys)
        if (!e.unicode && m.vk == e.vk) return m.bit;
    return 0;
}

// Appends key events with the layout's scan codes.
struct EventWriter {
    KeyboardLayout& layout;
    KeyCall& out;

    void event(std::uint16_t key, bool up, bool extended) {
        out.push_back({key, layout.scanCode(key), up, extended, false});
    }
    void tap(std::uint16_t key, bool extended) {
        event(key, false, extended);
        event(key, true, extended);
    }
    void maskTap() { tap(vk::Mask, false); }
    void press(std::uint8_t keys) {
        for (const ModifierKey& m : kModifierKeys)
            if (keys & m.bit) event(m.vk, false, m.extended);
    }
    void release(std::uint8_t keys) {
        for (auto it = kModifierKeys.rbegin(); it != kModifierKeys.rend(); ++it)
            if (keys & it->bit) event(it->vk, true, it->extended);
    }
};

class Planner {
public:
    Planner(KeyboardLayout& layout, bool capsLock, std::size_t maxEvents, bool charactersOnly)
        : layout_(layout), capsLock_(capsLock), maxEvents_(maxEvents), charactersOnly_(charactersOnly) {}

    std::vector<KeyCall> plan(std::span<const KeyAction> actions) {
        for (std::size_t i = 0; i < actions.size(); ++i) {
            const KeyAction& action = actions[i];
            if (!action.isChar) {
                namedKey(action);
            } else if (i + 1 < actions.size() && isSurrogatePair(action, actions[i + 1])) {
                unicode(action.modifiers,
                        {static_cast<std::uint16_t>(action.ch), static_cast<std::uint16_t>(actions[i + 1].ch)});
                ++i;
            } else {
                character(action);
            }
            closeGroup();
        }
        return std::move(calls_);
    }

private:
    static bool isSurrogatePair(const KeyAction& first, const KeyAction& second) {
        return isHighSurrogate(first.ch) && second.isChar && isLowSurrogate(second.ch) &&
               second.modifiers == first.modifiers;
    }

    void namedKey(const KeyAction& action) {
        const std::uint8_t modifiers = notationModifiers(action.modifiers);
        const NamedVk key = namedVk(action.key);
        write_.press(modifiers);
        write_.tap(key.vk, key.extended);
        write_.release(modifiers);
    }

    void character(const KeyAction& action) {
        const std::uint8_t modifiers = notationModifiers(action.modifiers);
        const std::optional<LayoutKey> key = charactersOnly_ ? std::nullopt : layoutKey(action.ch);
        // Caps Lock inverts what a plain key types; a text character then goes as itself. A shortcut (with
        // modifiers) still presses its key, as the user's own fingers would.
        const bool capsAffected = capsLock_ && modifiers == 0 && key;
        if (!key || capsAffected) {
            const auto ch = static_cast<std::uint32_t>(action.ch);
            if (outsideBasicPlane(ch)) {
                const std::uint32_t v = ch - 0x10000;
                unicode(action.modifiers, {static_cast<std::uint16_t>(0xD800 + (v >> 10)),
                                           static_cast<std::uint16_t>(0xDC00 + (v & 0x3FF))});
            } else {
                unicode(action.modifiers, {static_cast<std::uint16_t>(ch)});
            }
            return;
        }
        const std::uint8_t all = modifiers | key->modifiers;
        write_.press(all);
        write_.tap(key->vk, false);
        write_.release(all);
    }

    void unicode(std::uint8_t notation, std::initializer_list<std::uint16_t> units) {
        const std::uint8_t modifiers = notationModifiers(notation);
        write_.press(modifiers);
        for (std::uint16_t unit : units) {
            group_.push_back({0, unit, false, false, true});
            group_.push_back({0, unit, true, false, true});
        }
        write_.release(modifiers);
    }

    std::optional<LayoutKey> layoutKey(wchar_t ch) {
        const auto known = keys_.find(ch);
        if (known != keys_.end()) return known->second;
        return keys_[ch] = askLayout(ch);
    }

    // The layout's key for a character, or nothing when it must go as a Unicode character: no key; a shift state
    // with Ctrl or Alt (AltGr is Ctrl+Alt, which receivers may take for a shortcut, and Wine types nothing for
    // injected Ctrl+Alt keys); or a key that does not type exactly this character, such as a dead key.
    std::optional<LayoutKey> askLayout(wchar_t ch) {
        if (outsideBasicPlane(static_cast<std::uint32_t>(ch)) || isHighSurrogate(ch) || isLowSurrogate(ch)) return {};
        const std::uint16_t scan = layout_.vkKeyScan(ch);
        if (scan == 0xFFFF) return {};
        const auto key = static_cast<std::uint16_t>(scan & 0xFF);
        const auto shiftState = static_cast<std::uint8_t>(scan >> 8);
        if (key == 0 || (shiftState & ~kStateShift) != 0) return {};
        if (layout_.keyChar(key, shiftState) != ch) return {};
        return LayoutKey{key, static_cast<std::uint8_t>(shiftState != 0 ? HeldLShift : 0)};
    }

    // A group is the smallest unit that may not be split: it leaves no key down that it pressed.
    void closeGroup() {
        if (group_.empty()) return;
        if (calls_.empty() || calls_.back().size() + group_.size() > maxEvents_) calls_.emplace_back();
        calls_.back().insert(calls_.back().end(), group_.begin(), group_.end());
        group_.clear();
    }

    KeyboardLayout& layout_;
    bool capsLock_;
    std::size_t maxEvents_;
    bool charactersOnly_;
    KeyCall group_;
    EventWriter write_{layout_, group_};
    std::vector<KeyCall> calls_;
    std::unordered_map<wchar_t, std::optional<LayoutKey>> keys_; // the layout's answers, asked once per character
};

} // namespace

std::vector<KeyCall> planKeystrokes(std::span<const KeyAction> actions, KeyboardLayout& layout, bool capsLock,
                                    std::size_t maxEventsPerCall) {
    return Planner(layout, capsLock, maxEventsPerCall, false).plan(actions);
}

std::vector<KeyCall> planCharacters(std::wstring_view text, KeyboardLayout& layout, std::size_t maxEventsPerCall) {
    std::vector<KeyAction> actions;
    for (wchar_t ch : text)
        actions.push_back({true, ch});
    return Planner(layout, false, maxEventsPerCall, true).plan(actions);
}

// The user's modifiers would change what the keys type, so they are up while the call types. A lone Alt or Win
// release would open the menu bar or the Start menu: the mask tap comes between.
KeyCall withHeldLifted(std::span<const KeyEvent> call, std::uint8_t held, KeyboardLayout& layout) {
    KeyCall whole;
    EventWriter write{layout, whole};
    if (held & kMenuOpeners) write.maskTap();
    write.release(held);
    whole.insert(whole.end(), call.begin(), call.end());
    write.press(held);
    if (held & kMenuOpeners) write.maskTap();
    return whole;
}

// The taken part is replayed on the user's keys: what is down after it and is not the user's was pressed by us.
KeyCall afterCutShort(std::span<const KeyEvent> taken, std::uint8_t held, KeyboardLayout& layout) {
    auto id = [](const KeyEvent& e) { return e.unicode ? 0x10000u + e.scan : std::uint32_t{e.vk}; };
    KeyCall down;
    EventWriter{layout, down}.press(held);
    for (const KeyEvent& e : taken) {
        std::erase_if(down, [&](const KeyEvent& d) { return id(d) == id(e); });
        if (!e.keyUp) down.push_back(e);
    }
    std::uint8_t lifted = held;
    bool releasesMenuOpener = false;
    KeyCall releases;
    for (auto it = down.rbegin(); it != down.rend(); ++it) {
        const std::uint8_t bit = modifierBit(*it);
        if (bit & held) {
            lifted &= static_cast<std::uint8_t>(~bit);
            continue;
        }
        releasesMenuOpener |= (bit & kMenuOpeners) != 0;
        releases.push_back({it->vk, it->scan, true, it->extended, it->unicode});
    }
    KeyCall repair;
    EventWriter write{layout, repair};
    if (releasesMenuOpener) write.maskTap();
    repair.insert(repair.end(), releases.begin(), releases.end());
    write.press(lifted);
    // The user's own release of Alt or Win comes later: it must not follow their press with nothing between.
    bool menuArmed = false;
    for (const std::span<const KeyEvent> part : {taken, std::span<const KeyEvent>(repair)})
        for (const KeyEvent& e : part)
            if (!e.keyUp) menuArmed = (modifierBit(e) & kMenuOpeners) != 0;
    if (menuArmed) write.maskTap();
    return repair;
}

} // namespace ww
