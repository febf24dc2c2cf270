// Both assignment files from arbitrary bytes, present, missing or unreadable, loaded into the table the way the main
// window does; then a save of what was read.
#include "store/assignments.h"
#include "store/text_codec.h"

#include "memory_store.h"
#include "notation_checks.h"
#include "record_checks.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using namespace ww;
using fuzzing::fail;
using Records = std::vector<std::wstring>;

const Windows1252Codec kCodec;
const std::vector<KeyAction> kDefaultTyped = fuzzing::textActions(kDefaultText);
const std::vector<KeyAction> kDefaultShortcut = *fuzzing::checkedParse(L"***nochnichtbenutzt***");

// A save of the records writes exactly one CR LF line each, empty ones as the default text; reading the file back
// gives them as the code page keeps them. (A file that happens to be valid UTF-8 reads as such: not checked.)
void checkSaveRoundTrip(Records keys, Records shortcuts) {
    MemoryStore store;
    std::wstring error;
    if (!saveAssignments(store, kCodec, keys, shortcuts, &error)) fail("a save into memory failed");
    for (const auto& [name, fields] : {std::pair{kKeyTextFile, &keys}, std::pair{kShortcutFile, &shortcuts}}) {
        const std::string& bytes = store.files[name];
        if (std::ranges::count(bytes, '\n') != static_cast<std::ptrdiff_t>(fields->size()) || !bytes.ends_with("\r\n"))
            fail("a saved file has the wrong lines");
        const Records back = readRecords(store, kCodec, name, static_cast<int>(fields->size()));
        for (std::size_t i = 0; i < back.size(); ++i) {
            if ((*fields)[i].empty()) fail("an empty field saved");
            if (kCodec.encode(back[i]) != kCodec.encode((*fields)[i]) &&
                decodeFileText(kCodec, bytes) == kCodec.decode(bytes))
                fail("a saved record reads back differently");
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    // Which files are missing or unreadable and whether to save, then tipps.dat's bytes, then tipp.dat's.
    const auto flags = in.ConsumeIntegral<std::uint8_t>();
    const std::string shortcutBytes = in.ConsumeRandomLengthString(4096);
    const std::string keyBytes = in.ConsumeRemainingBytesAsString();

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
    const AssignmentTable table = loadTable(store, kCodec, &problems);

    std::size_t expectedProblems = 0;
    Records keys, shortcuts;
    for (const auto& f : files) {
        const bool loaded = !f.missing && !f.unreadable;
        expectedProblems += f.unreadable ? 1 : 0;
        const std::string want = f.missing && !f.unreadable ? defaultFileBytes(kCodec, f.count) : f.bytes;
        if (!f.unreadable && store.files[f.name] != want) fail(std::string("load changed or did not create ") + f.name);
        std::wstring damage;
        const Records records =
            fuzzing::checkedRecords(loaded ? decodeFileText(kCodec, f.bytes, &damage) : std::wstring(), f.count);
        expectedProblems += damage.empty() ? 0 : 1; // a damaged file is read all the same, and reported
        // Records the file lacks are the default text, whose key text and shortcut are known; only the others need
        // the parser (which keeps the run fast: most files are short).
        for (int i = 0; i < f.count; ++i) {
            const std::wstring& record = records[static_cast<std::size_t>(i)];
            const bool unused = record == kDefaultText;
            if (f.count == kKeyCount) {
                const auto& keytext = table.keytexts[static_cast<std::size_t>(i)];
                if (!loaded && !keytext.empty()) fail("a key text from a file that was not read");
                if (loaded && unused && keytext != kDefaultTyped) fail("the default text encoded wrongly");
                if (loaded && !unused && keytext != fuzzing::checkedTextParse(record, encodeText(record)))
                    fail("a key text loaded wrongly");
            } else {
                const auto& shortcut = table.padshortcuts[static_cast<std::size_t>(i + 1)];
                if (!loaded && !shortcut.empty()) fail("a shortcut from a file that was not read");
                if (loaded && unused && shortcut != kDefaultShortcut) fail("the default shortcut wrongly");
                if (loaded && !unused) {
                    // One that cannot be played is reported and leaves its key empty.
                    const auto actions = fuzzing::checkedParse(translateShortcut(record));
                    expectedProblems += actions ? 0 : 1;
                    if (shortcut != actions.value_or(std::vector<KeyAction>{})) fail("a shortcut loaded wrongly");
                }
            }
        }
        (f.count == kKeyCount ? keys : shortcuts) = records;
    }
    if (problems.size() != expectedProblems) fail("problems reported: " + std::to_string(problems.size()));
    for (std::size_t i = kKeyCount; i < table.keytexts.size(); ++i)
        if (!table.keytexts[i].empty()) fail("a key text past the 36 keys");
    if (!table.padshortcuts[0].empty() || !table.padshortcuts[10].empty()) fail("a shortcut outside keypad 1..9");

    if (flags & 16) checkSaveRoundTrip(std::move(keys), std::move(shortcuts));
    return 0;
}
