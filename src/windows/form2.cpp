#include "windows/form2.h"

#include "store/assignments.h"
#include "base/utf16.h"

#include <algorithm>

namespace ww {

// Slots are numbered as the assignments are.
static_assert(kFirstPadSlot == kKeyCount);

namespace {

constexpr std::wstring_view kLineBreakNotation = L"###";

bool isPadSlot(int slot) {
    return slot >= kFirstPadSlot && slot < kSlotCount;
}

std::wstring unstorableMessage(const std::vector<std::wstring>& lines) {
    std::wstring text = L"Diese Einträge enthalten Zeichen, die Wortwerk in seinen Dateien nicht speichern kann:\n";
    for (const auto& line : lines)
        text += L"\n" + line;
    return text + L"\n\nBitte ändern Sie diese Einträge. Es wurde nichts gespeichert; alle Einträge bleiben im "
                  L"Fenster erhalten.";
}

} // namespace

std::wstring slotCaption(int slot) {
    if (slot >= 0 && slot <= 9) return std::wstring(L"&") + keyName(slot);
    if (slot >= 10 && slot < kFirstPadSlot) return std::wstring(L"&") + static_cast<wchar_t>(L'a' + (slot - 10));
    return assignmentName(slot);
}

namespace form2_layout {

TwipsRect keyButton(int slot) {
    if (isPadSlot(slot)) return {600 * (slot - kFirstPadSlot), 3360, 375, 375};
    const int row = std::clamp(slot, 0, kFirstPadSlot - 1) / 10;
    return {120 + 480 * (slot - 10 * row), 120 + 480 * row, 375, 375};
}

TwipsRect word(int index) {
    constexpr int lefts[kWordCount] = {600, 1200, 2160, 2640, 3120, 3600};
    constexpr int widths[kWordCount] = {495, 855, 375, 375, 375, 735};
    const auto i = static_cast<std::size_t>(std::clamp(index, 0, kWordCount - 1));
    return {lefts[i], 2160, widths[i], 255};
}

} // namespace form2_layout

std::wstring lineBreaksAsHashes(std::wstring_view text) {
    std::wstring out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\r' || text[i] == L'\n') {
            if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ++i;
            out += kLineBreakNotation;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::wstring pastedText(std::wstring_view clipboard) {
    if (clipboard.ends_with(L"\r\n"))
        clipboard.remove_suffix(2);
    else if (clipboard.ends_with(L'\r') || clipboard.ends_with(L'\n'))
        clipboard.remove_suffix(1);
    return lineBreaksAsHashes(clipboard);
}

void Form2Model::load(FileStore& files, const TextCodec& codec, std::vector<std::wstring>* problems) {
    changed_ = false;
    const struct {
        const char* name;
        int first;
        int count;
    } parts[] = {{kKeyTextFile, 0, kKeyCount}, {kShortcutFile, kFirstPadSlot, kShortcutCount}};
    for (const auto& part : parts) {
        const auto records = readForWindow(files, codec, part.name, part.count, problems);
        for (int i = 0; i < part.count; ++i) {
            const auto slot = static_cast<std::size_t>(part.first + i);
            fields_[slot] = saved_[slot] = records[static_cast<std::size_t>(i)];
        }
    }
}

void Form2Model::takeShownText(int slot, std::wstring shown) {
    auto& field = fields_.at(static_cast<std::size_t>(slot));
    if (shown != std::wstring_view(field).substr(0, field.find(L'\0'))) field = std::move(shown);
}

void Form2Model::checkchanges() {
    for (std::size_t slot = 0; slot < fields_.size(); ++slot)
        if (fields_[slot] != saved_[slot]) changed_ = true;
}

SaveOutcome Form2Model::save(FileStore& files, const TextCodec& codec) {
    std::array<std::wstring, kSlotCount> texts;
    std::vector<std::wstring> unstorable;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        auto& text = texts[static_cast<std::size_t>(slot)];
        text = lineBreaksAsHashes(field(slot));
        const std::wstring lacking = codec.unencodable(text);
        if (lacking.empty()) continue;
        std::wstring line = L"Taste " + assignmentName(slot) + L":";
        for (std::size_t i = 0; i < lacking.size(); ++i) {
            const std::size_t length = isHighSurrogate(lacking[i]) && i + 1 < lacking.size() ? 2 : 1;
            line += L" „" + lacking.substr(i, length) + L"“";
            i += length - 1;
        }
        unstorable.push_back(line);
    }
    if (!unstorable.empty()) return {false, L"Speichern nicht möglich", unstorableMessage(unstorable)};

    std::vector<std::wstring> keys(texts.begin(), texts.begin() + kFirstPadSlot);
    std::vector<std::wstring> shortcuts(texts.begin() + kFirstPadSlot, texts.end());
    std::wstring error;
    if (!saveAssignments(files, codec, keys, shortcuts, &error)) {
        return {false, L"Speichern fehlgeschlagen",
                error + L" Ihre Einträge bleiben im Fenster erhalten; bitte versuchen Sie es später noch einmal."};
    }
    for (int slot = 0; slot < kSlotCount; ++slot) {
        const auto& text = slot < kFirstPadSlot ? keys[static_cast<std::size_t>(slot)]
                                                : shortcuts[static_cast<std::size_t>(slot - kFirstPadSlot)];
        fields_[static_cast<std::size_t>(slot)] = saved_[static_cast<std::size_t>(slot)] = text;
    }
    changed_ = false;
    return {true, {}, {}};
}

CloseStep Form2Model::closeRequested(CloseRequest request) {
    if (request == CloseRequest::EndSession) return CloseStep::Close;
    checkchanges();
    return changed_ ? CloseStep::AskDatenkontrolle : CloseStep::Close;
}

std::vector<std::wstring> Form2Model::keyTexts() const {
    return {fields_.begin(), fields_.begin() + kFirstPadSlot};
}

void Form2Model::tick() {
    wordStep_ = (wordStep_ + 1) % kWordCount;
    ticked_ = true;
}

} // namespace ww
