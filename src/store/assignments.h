#pragma once
// The two assignment files (tipp.dat: 36 key texts, tipps.dat: 9 keypad shortcuts) and the table built from them.
#include "input/notation.h"
#include "store/file_store.h"
#include "store/text_codec.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace ww {

inline constexpr std::wstring_view kDefaultText = L"*** Noch nicht benutzt ***";
inline constexpr const char* kKeyTextFile = "tipp.dat";
inline constexpr const char* kShortcutFile = "tipps.dat";
inline constexpr int kKeyCount = 36;     // "1".."9", "0", "A".."Z"
inline constexpr int kShortcutCount = 9; // keypad 1..9, shown as Z1..Z9

// Key name of table index 0..35: '1'..'9', '0', 'A'..'Z'.
wchar_t keyName(int index);
// The assignment 0..44 as the user names it: "1".."9", "0", "A".."Z", then the keypad's "Z1".."Z9"; empty outside.
std::wstring assignmentName(int index);

// In-memory table, rebuilt at each load of the main window: what each key plays, parsed once. Indexes outside 0..35
// and 1..9, and entries that cannot be played, stay empty.
struct AssignmentTable {
    std::array<std::vector<KeyAction>, 41> keytexts;     // key texts, index 0..35 in key order
    std::array<std::vector<KeyAction>, 11> padshortcuts; // shortcuts, index k for keypad k (1..9)
};

// Splits decoded file text into exactly `count` records. CR LF, lone LF and lone CR all end a line; lines past
// `count` are ignored and records the file lacks read as the default text.
std::vector<std::wstring> splitRecords(std::wstring_view text, int count);

// Finishes a save of both files that the program was stopped in (see finishReplacement), so that they come from
// the same save. Every reader below calls it before reading.
void finishInterruptedSave(FileStore& files);

// The records of one file as stored (no encoding), for the main window's table, the editor, the overview and the
// pick list: always exactly `count` texts, those the file lacks as the default text. A file that cannot be read
// gives `count` default texts and `problem` (may be null) the German sentence for a message. A damaged file (see
// decodeFileText) gives what it holds and `damage` (may be null) the sentence. Both are otherwise cleared. UTF-8
// and UTF-16 files are read as such (see decodeFileText).
std::vector<std::wstring> readRecords(FileStore& files, const TextCodec& codec, const std::string& name, int count,
                                      std::wstring* problem = nullptr, std::wstring* damage = nullptr);

// The same for the windows that show or edit the records: a missing file reads as defaults without complaint (the
// main window creates it), any other failure and any damage is appended to `problems` (may be null).
std::vector<std::wstring> readForWindow(FileStore& files, const TextCodec& codec, const std::string& name, int count,
                                        std::vector<std::wstring>* problems);

// Builds the table the way the main window does at each load: tipps.dat first, then tipp.dat. A missing file is
// created with its default lines and leaves its half empty for this load. Problems (a file that cannot be read
// or created: that half then stays empty and the file untouched; a record that cannot be played: that key stays
// empty) are appended to `problems` (may be null) as German sentences. A damaged file fills its half with what it
// holds and is reported the same way.
AssignmentTable loadTable(FileStore& files, const TextCodec& codec, std::vector<std::wstring>* problems);

// The editor's save: tipp.dat and tipps.dat, each written as a whole (36 and 9 CR LF lines), as one replacement
// (see replaceFiles): on failure both files keep their previous bytes and `error` says why, in German. The fields
// are first brought to exactly 36 and 9 entries in place, empty ones set to the default text.
[[nodiscard]] bool saveAssignments(FileStore& files, const TextCodec& codec, std::vector<std::wstring>& keyTexts,
                                   std::vector<std::wstring>& shortcuts, std::wstring* error);

// Contents of a default file: `count` lines of the default text, CR LF ended.
std::string defaultFileBytes(const TextCodec& codec, int count);

} // namespace ww
