// Both assignment files from arbitrary bytes, present, missing or unreadable, loaded into the table the way the main
// window does; then a save of what was read.
#include "store/assignments.h"
#include "store/text_codec.h"

#include "memory_store.h"
#include "notation_checks.h"
#include "record_checks.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <string>
#include <vector>

using namespace ww;
using fuzzing::fail;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    // Which files are missing or unreadable and whether to save, then tipps.dat's bytes, then tipp.dat's.
    const auto flags = in.ConsumeIntegral<std::uint8_t>();
    const std::string shortcutBytes = in.ConsumeRandomLengthString(4096);
    const std::string keyBytes = in.ConsumeRemainingBytesAsString();
    const Windows1252Codec codec;
    MemoryStore store;
    const struct {
        const char* name;
        const std::string& bytes;
        int count;
        bool missing, unreadable;
    } files[] = {
        {kShortcutFile, shortcutBytes, kShortcutCount, (flags & 1) != 0, (flags & 3) == 2},
        {kKeyTextFile, keyBytes, kKeyCount, (flags & 4) != 0, (flags & 12) == 8},
    };
    for (const auto& f : files) {
        if (!f.missing) store.files[f.name] = f.bytes;
        if (f.unreadable) store.unreadable.insert(f.name);
    }
    std::vector<std::wstring> problems;
    const AssignmentTable table = loadTable(store, codec, &problems);

    // A missing file is created and its half left empty; an unreadable one is reported and its half left empty; a
    // damaged one is read all the same, and reported; a shortcut that cannot be played is reported and left empty.
    std::size_t expectedProblems = 0;
    std::vector<std::wstring> records[2]; // tipps.dat's, tipp.dat's
    // What a save writes: each record as one CR LF line in the code page, an empty one as the default text.
    std::string saves[2];
    for (const auto& f : files) {
        const bool loaded = !f.missing && !f.unreadable, keys = f.count == kKeyCount;
        const std::string want = f.missing && !f.unreadable ? defaultFileBytes(codec, f.count) : f.bytes;
        if (!f.unreadable && store.files[f.name] != want) fail(std::string("load changed or did not create ") + f.name);
        std::wstring damage;
        records[keys] = fuzzing::checkedRecords(loaded ? decodeFileText(codec, f.bytes, &damage) : L"", f.count);
        expectedProblems += (f.unreadable ? 1 : 0) + (damage.empty() ? 0 : 1);
        for (std::size_t i = 0; i < records[keys].size(); ++i) {
            const std::wstring& record = records[keys][i];
            saves[keys] += codec.encode(record.empty() ? kDefaultText : record) + "\r\n";
            const auto actions = keys ? fuzzing::checkedTextParse(record, encodeText(record))
                                      : fuzzing::checkedParse(translateShortcut(record));
            expectedProblems += loaded && !actions ? 1 : 0;
            const auto& entry = keys ? table.keytexts[i] : table.padshortcuts[i + 1];
            if (entry != (loaded ? actions.value_or(std::vector<KeyAction>{}) : std::vector<KeyAction>{}))
                fail(std::string("a record loaded wrongly from ") + f.name);
        }
    }
    if (problems.size() != expectedProblems) fail("problems reported: " + std::to_string(problems.size()));
    for (std::size_t i = kKeyCount; i < table.keytexts.size(); ++i)
        if (!table.keytexts[i].empty()) fail("a key text past the 36 keys");
    if (!table.padshortcuts[0].empty() || !table.padshortcuts[10].empty()) fail("a shortcut outside keypad 1..9");
    if (!(flags & 16)) return 0;

    MemoryStore saved;
    std::wstring error;
    if (!saveAssignments(saved, codec, records[1], records[0], &error)) fail("a save into memory failed");
    if (saved.files[kShortcutFile] != saves[0] || saved.files[kKeyTextFile] != saves[1])
        fail("a saved file does not hold its records");
    return 0;
}
