#pragma once
// German (QWERTZ) and US keyboard layouts with the VkKeyScanEx, scan code and dead-key answers of the real ones,
// for the keys the tests type.
#include "platform/keystroke_plan.h"

#include <cstdint>
#include <map>
#include <set>

namespace ww::testing {

inline constexpr std::uint16_t kShift = 0x100;
inline constexpr std::uint16_t kAltGr = 0x600; // Ctrl+Alt in VkKeyScan's shift state

class TableLayout : public KeyboardLayout {
public:
    std::uint16_t vkKeyScan(wchar_t ch) override {
        auto it = chars_.find(ch);
        return it == chars_.end() ? 0xFFFF : it->second;
    }
    std::uint16_t scanCode(std::uint16_t vk) override {
        auto it = scans_.find(vk);
        return it == scans_.end() ? 0 : it->second;
    }
    bool isDeadKey(std::uint16_t vk) override { return dead_.contains(vk); }

protected:
    TableLayout() {
        // Keys at the same place on both layouts.
        const char* row1 = "QWERTYUIOP";
        const char* row2 = "ASDFGHJKL";
        const char* row3 = "ZXCVBNM";
        for (int i = 0; row1[i]; ++i)
            scans_[static_cast<std::uint16_t>(row1[i])] = static_cast<std::uint16_t>(0x10 + i);
        for (int i = 0; row2[i]; ++i)
            scans_[static_cast<std::uint16_t>(row2[i])] = static_cast<std::uint16_t>(0x1E + i);
        for (int i = 0; row3[i]; ++i)
            scans_[static_cast<std::uint16_t>(row3[i])] = static_cast<std::uint16_t>(0x2C + i);
        for (int d = 1; d <= 9; ++d)
            scans_[static_cast<std::uint16_t>('0' + d)] = static_cast<std::uint16_t>(1 + d);
        scans_['0'] = 0x0B;
        for (int f = 0; f < 10; ++f)
            scans_[static_cast<std::uint16_t>(vk::F1 + f)] = static_cast<std::uint16_t>(0x3B + f);
        scans_[vk::F1 + 10] = 0x57;
        scans_[vk::F1 + 11] = 0x58;
        scans_[vk::Back] = 0x0E;
        scans_[vk::Tab] = 0x0F;
        scans_[vk::Return] = 0x1C;
        scans_[vk::Escape] = 0x01;
        scans_[0x20] = 0x39;
        scans_[vk::Insert] = 0x52;
        scans_[vk::Delete] = 0x53;
        scans_[vk::Home] = 0x47;
        scans_[vk::End] = 0x4F;
        scans_[vk::Prior] = 0x49;
        scans_[vk::Next] = 0x51;
        scans_[vk::Up] = 0x48;
        scans_[vk::Left] = 0x4B;
        scans_[vk::Right] = 0x4D;
        scans_[vk::Down] = 0x50;
        scans_[vk::LShift] = 0x2A;
        scans_[vk::RShift] = 0x36;
        scans_[vk::LControl] = 0x1D;
        scans_[vk::RControl] = 0x1D;
        scans_[vk::LMenu] = 0x38;
        scans_[vk::RMenu] = 0x38;
        scans_[vk::LWin] = 0x5B;
        scans_[vk::RWin] = 0x5C;
        for (wchar_t c = L'a'; c <= L'z'; ++c) {
            chars_[c] = static_cast<std::uint16_t>(c - L'a' + 'A');
            chars_[static_cast<wchar_t>(c - L'a' + L'A')] = static_cast<std::uint16_t>(kShift | (c - L'a' + 'A'));
        }
        for (wchar_t c = L'0'; c <= L'9'; ++c)
            chars_[c] = static_cast<std::uint16_t>(c);
        chars_[L' '] = 0x20;
        chars_[L'\r'] = vk::Return;
        chars_[L'\t'] = vk::Tab;
        chars_[L'\n'] = 0x200 | vk::Return; // Ctrl+Enter, as Windows answers
    }

    std::map<wchar_t, std::uint16_t> chars_;
    std::map<std::uint16_t, std::uint16_t> scans_;
    std::set<std::uint16_t> dead_;
};

class GermanLayout : public TableLayout {
public:
    static constexpr std::uint16_t kVkSharpS = 0xDB; // ß ? backslash
    static constexpr std::uint16_t kVkUUmlaut = 0xBA;
    static constexpr std::uint16_t kVkCircumflex = 0xDC; // dead ^, °
    static constexpr std::uint16_t kVkAcute = 0xDD;      // dead ´, `
    static constexpr std::uint16_t kVkPlus = 0xBB;       // + * ~

    GermanLayout() {
        // QWERTZ: Y and Z trade places.
        chars_[L'y'] = 'Z';
        chars_[L'Y'] = kShift | 'Z';
        chars_[L'z'] = 'Y';
        chars_[L'Z'] = kShift | 'Y';
        scans_['Z'] = 0x15;
        scans_['Y'] = 0x2C;
        chars_[L'@'] = kAltGr | 'Q';
        chars_[L'{'] = kAltGr | '7';
        chars_[L'['] = kAltGr | '8';
        chars_[L']'] = kAltGr | '9';
        chars_[L'}'] = kAltGr | '0';
        chars_[L'\\'] = kAltGr | kVkSharpS;
        chars_[L'ß'] = kVkSharpS;
        chars_[L'?'] = kShift | kVkSharpS;
        chars_[L'ü'] = kVkUUmlaut;
        chars_[L'Ü'] = kShift | kVkUUmlaut;
        chars_[L'+'] = kVkPlus;
        chars_[L'*'] = kShift | kVkPlus;
        chars_[L'~'] = kAltGr | kVkPlus;
        chars_[L'^'] = kVkCircumflex;
        chars_[L'°'] = kShift | kVkCircumflex;
        chars_[L'´'] = kVkAcute;
        chars_[L'`'] = kShift | kVkAcute;
        chars_[L'!'] = kShift | '1';
        chars_[L'%'] = kShift | '5';
        chars_[L'('] = kShift | '8';
        chars_[L')'] = kShift | '9';
        scans_[kVkSharpS] = 0x0C;
        scans_[kVkAcute] = 0x0D;
        scans_[kVkUUmlaut] = 0x1A;
        scans_[kVkPlus] = 0x1B;
        scans_[kVkCircumflex] = 0x29;
        dead_ = {kVkCircumflex, kVkAcute};
    }
};

class UsLayout : public TableLayout {
public:
    UsLayout() {
        chars_[L'@'] = kShift | '2';
        chars_[L'!'] = kShift | '1';
        chars_[L'^'] = kShift | '6';
        chars_[L'%'] = kShift | '5';
        chars_[L'('] = kShift | '9';
        chars_[L')'] = kShift | '0';
        chars_[L'{'] = kShift | 0xDB;
        chars_[L'['] = 0xDB;
        chars_[L'\\'] = 0xDC;
        chars_[L'+'] = kShift | 0xBB;
        chars_[L'~'] = kShift | 0xC0;
        scans_[0xDB] = 0x1A;
        scans_[0xDC] = 0x2B;
        scans_[0xBB] = 0x0D;
        scans_[0xC0] = 0x29;
    }
};

} // namespace ww::testing
