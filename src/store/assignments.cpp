#include "store/assignments.h"

#include <algorithm>
#include <variant>

namespace ww {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

std::string fileBytes(const TextCodec& codec, const std::vector<std::wstring>& records) {
    std::string bytes;
    for (const auto& record : records) {
        bytes += codec.encode(record);
        bytes += kLineEnd;
    }
    return bytes;
}

// One half of the table: a missing file is created with its defaults and leaves the half empty for this load; a
// file that cannot be read or created is left alone and reported.
template <typename Store>
void loadHalf(FileStore& files, const TextCodec& codec, const std::string& name, int count,
              std::vector<std::wstring>* problems, Store store) {
    std::wstring error;
    if (!files.exists(name)) {
        if (!createNew(files, name, defaultFileBytes(codec, count), &error) && problems) {
            problems->push_back(error);
        }
        return;
    }
    std::wstring damage;
    const auto records = readRecords(files, codec, name, count, &error, &damage);
    if (problems) {
        for (const auto& problem : {error, damage})
            if (!problem.empty()) problems->push_back(problem);
    }
    if (!error.empty()) return;
    for (int i = 0; i < count; ++i) {
        store(i, records[static_cast<std::size_t>(i)]);
    }
}

// The actions of a record, or none and a problem that names the key ("Z3", "A") when they cannot be played.
std::vector<KeyAction> playable(std::wstring_view keys, const std::wstring& key, const std::wstring& record,
                                std::wstring_view what, std::vector<std::wstring>* problems) {
    ParseResult parsed = parseKeystrokes(keys);
    if (auto* actions = std::get_if<std::vector<KeyAction>>(&parsed)) return std::move(*actions);
    if (problems) problems->push_back(key + L": „" + record + L"“ " + std::wstring(what));
    return {};
}

// Exactly `count` fields; an empty one gets the default text, so no empty line is ever written.
void completeFields(std::vector<std::wstring>& fields, int count) {
    fields.resize(static_cast<std::size_t>(count));
    for (auto& field : fields) {
        if (field.empty()) {
            field = kDefaultText;
        }
    }
}

} // namespace

wchar_t keyName(int index) {
    constexpr std::wstring_view kNames = L"1234567890ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    static_assert(kNames.size() == kKeyCount);
    return index >= 0 && index < kKeyCount ? kNames[static_cast<std::size_t>(index)] : L'\0';
}

std::wstring assignmentName(int index) {
    if (index >= kKeyCount && index < kKeyCount + kShortcutCount) return L"Z" + std::to_wstring(index - kKeyCount + 1);
    return index >= 0 && index < kKeyCount ? std::wstring(1, keyName(index)) : std::wstring();
}

std::vector<std::wstring> splitRecords(std::wstring_view text, int count) {
    count = std::max(count, 0);
    std::vector<std::wstring> records;
    std::size_t pos = 0;
    while (pos < text.size() && records.size() < static_cast<std::size_t>(count)) {
        const std::size_t end = std::min(text.find_first_of(L"\r\n", pos), text.size());
        records.emplace_back(text.substr(pos, end - pos));
        pos = end;
        if (pos < text.size()) {
            pos += (text[pos] == L'\r' && pos + 1 < text.size() && text[pos + 1] == L'\n') ? 2 : 1;
        }
    }
    records.resize(static_cast<std::size_t>(count), std::wstring(kDefaultText));
    return records;
}

void finishInterruptedSave(FileStore& files) {
    const std::string names[] = {kKeyTextFile, kShortcutFile}; // in the order saveAssignments() writes them
    finishReplacement(files, names);
}

std::vector<std::wstring> readRecords(FileStore& files, const TextCodec& codec, const std::string& name, int count,
                                      std::wstring* problem, std::wstring* damage) {
    finishInterruptedSave(files);
    std::wstring error, broken;
    const auto bytes = files.readAll(name, &error);
    if (!bytes && error.empty()) error = fileError(FileAction::Read, name, L"Unbekannter Fehler.");
    if (problem) *problem = bytes ? std::wstring() : error;
    auto records = splitRecords(bytes ? decodeFileText(codec, *bytes, &broken) : std::wstring(), count);
    if (damage) *damage = broken.empty() ? std::wstring() : fileError(FileAction::ReadPart, name, broken);
    return records;
}

std::vector<std::wstring> readForWindow(FileStore& files, const TextCodec& codec, const std::string& name, int count,
                                        std::vector<std::wstring>* problems) {
    std::wstring problem, damage;
    auto records = readRecords(files, codec, name, count, &problem, &damage);
    // A deleted file is no problem: the main window creates it again at its next load.
    if (!problem.empty() && problems && files.exists(name)) problems->push_back(problem);
    if (!damage.empty() && problems) problems->push_back(damage);
    return records;
}

AssignmentTable loadTable(FileStore& files, const TextCodec& codec, std::vector<std::wstring>* problems) {
    finishInterruptedSave(files); // before a missing file is created anew
    AssignmentTable table;
    loadHalf(files, codec, kShortcutFile, kShortcutCount, problems, [&](int i, const std::wstring& record) {
        table.padshortcuts[static_cast<std::size_t>(i + 1)] =
            playable(translateShortcut(record), assignmentName(kKeyCount + i), record,
                     L"ist kein gültiges Tastenkürzel.", problems);
    });
    loadHalf(files, codec, kKeyTextFile, kKeyCount, problems, [&](int i, const std::wstring& record) {
        table.keytexts[static_cast<std::size_t>(i)] =
            playable(encodeText(record), assignmentName(i), record, L"kann nicht getippt werden.", problems);
    });
    return table;
}

bool saveAssignments(FileStore& files, const TextCodec& codec, std::vector<std::wstring>& keyTexts,
                     std::vector<std::wstring>& shortcuts, std::wstring* error) {
    completeFields(keyTexts, kKeyCount);
    completeFields(shortcuts, kShortcutCount);
    const FileContent contents[] = {{kKeyTextFile, fileBytes(codec, keyTexts)},
                                    {kShortcutFile, fileBytes(codec, shortcuts)}};
    return replaceFiles(files, contents, error);
}

std::string defaultFileBytes(const TextCodec& codec, int count) {
    return fileBytes(codec, std::vector<std::wstring>(static_cast<std::size_t>(count), std::wstring(kDefaultText)));
}

} // namespace ww
