#include "store/assignments.h"
#include "store/file_store.h"
#include "store/text_codec.h"
#include "fake_keyboard.h"
#include "memory_store.h"

#include <gtest/gtest.h>

#include <limits>

namespace ww {
namespace {

using namespace std::string_literals;
using Lines = std::vector<std::wstring>;
using Files = std::map<std::string, std::string>;
using testing::actions; // what the keys play: the parsed keystroke string

const Windows1252Codec kCodec;

// Every byte's round trip is fuzzed (fuzz/file_decode_fuzz.cpp); here which characters the bytes are.
TEST(Windows1252Codec, GermanLettersAndWhatTheCodePageLacks) {
    const std::string german = "Stra\337e \344\366\374 \304\326\334 \200\x81\237";
    EXPECT_EQ(kCodec.decode(german), L"Straße äöü ÄÖÜ €\u0081Ÿ");
    EXPECT_EQ(kCodec.encode(kCodec.decode(german)), german);
    // What the code page lacks becomes one '?' per character, a character outside the BMP (two UTF-16 units, the
    // first shared by both here) included, and is named once per character.
    const std::wstring lacking = L"Āx\u0080?\u4E2D\xD83D\xDE00Ā\u2192\uFFFD\xD83D\xDE01";
    EXPECT_EQ(kCodec.encode(lacking), "?x????????");
    EXPECT_EQ(kCodec.unencodable(lacking), L"Ā\u0080\u4E2D\xD83D\xDE00\u2192\uFFFD\xD83D\xDE01");
}

// Real bytes as editors save them: Windows-1252 (the program's own files), UTF-8 with and without the mark,
// Notepad's UTF-16 LE and BE. Pairs are written as two UTF-16 units, so they are checked where wchar_t has 32 bits.
TEST(DecodeFileText, Utf8OrUtf16WhenMarkedOrValidOtherwiseTheCodePage) {
    const struct {
        std::string bytes;
        std::wstring text;
        bool damaged = false;
    } cases[] = {
        {"Stra\337e \344\366\374 \304\326\334\r\n", L"Straße äöü ÄÖÜ\r\n"}, // ANSI German
        {"\344", L"ä"},                                                     // a lone ANSI umlaut is no UTF-8
        {"Stra\303\237e 0\r\nGr\303\274\303\237e \342\202\254\r\n", L"Straße 0\r\nGrüße €\r\n"},
        {"\357\273\277Stra\303\237e 0\r\n", L"Straße 0\r\n"}, // with the mark, which is dropped
        {"\357\273\277a\344b", L"a\uFFFDb"},                  // marked, yet broken: nothing guessed
        {"\360\237\230\200!", L"\xD83D\xDE00!"},              // outside the BMP: a surrogate pair
        // Not valid UTF-8: overlong, surrogate, past U+10FFFF, cut short at the end.
        {"\300\257", L"À¯"},
        {"\355\240\200", L"í\u00A0\u20AC"},
        {"\364\220\200\200", L"ô\u0090\u20AC\u20AC"},
        {"Stra\303", L"StraÃ"},
        // UTF-16 with its mark; a pair is one character; a half character at the end and a lone surrogate half are
        // damage, read as far as whole.
        {"\377\376S\0t\0r\0a\0\337\0e\0 \0\344\0\r\0\n\0=\330\0\336!\0"s, L"Straße ä\r\n\xD83D\xDE00!"},
        {"\376\377\0S\0\374\0\r\0\n\330=\336\0 \254"s, L"Sü\r\n\xD83D\xDE00€"},
        {"\377\376a\0b"s, L"a", true},
        {"\377\376\0\334a\0=\330"s, L"\uFFFDa\uFFFD", true},
        {"\376\377\330=\0a"s, L"\uFFFDa", true},
    };
    for (const auto& c : cases) {
        std::wstring damage = L"alt";
        EXPECT_EQ(decodeFileText(kCodec, c.bytes, &damage), c.text) << ::testing::PrintToString(c.bytes);
        EXPECT_EQ(damage.empty(), !c.damaged) << ::testing::PrintToString(c.bytes) << damage;
    }
}

// What a load makes of the files: a missing one is created with its defaults, its half empty for this load; one that
// can be neither read nor created is reported and left alone, its half empty.
TEST(LoadTable, MissingUnreadableAndDamagedFiles) {
    const struct {
        Files files;
        const wchar_t *key, *pad; // what key 1 and keypad 1 play
        std::size_t problems = 0;
        Files after = {}; // when the load changes the files
        std::set<std::string> blocked = {}, unreadable = {};
    } cases[] = {
        {{{"tipp.dat", "eins\r\n"}}, L"eins", L"", 0, {{"tipp.dat", "eins\r\n"}, {"tipps.dat", defaultLines(9)}}},
        {{}, L"", L"", 0, {{"tipp.dat", defaultLines(36)}, {"tipps.dat", defaultLines(9)}}},
        {{{"tipps.dat", "strgf\r\n"}}, L"", L"^f", 1, {}, {"tipp.dat"}},
        {{{"tipp.dat", "a"}, {"tipps.dat", "f1"}}, L"", L"", 2, {}, {}, {"tipp.dat", "tipps.dat"}},
        // Notepad's "Unicode" cut short by a byte gives each whole text and a message; so does a shortcut that
        // cannot be played, its key left empty.
        {{{"tipp.dat", "\377\376G\0r\0\374\0\337\0e\0\r\0x"s}, {"tipps.dat", "{x\r\n"}}, L"Grüße", L"", 2},
    };
    Lines problems;
    for (const auto& c : cases) {
        MemoryStore store(c.files);
        store.blocked = c.blocked;
        store.unreadable = c.unreadable;
        problems.clear();
        const AssignmentTable table = loadTable(store, kCodec, &problems);
        EXPECT_EQ(table.keytexts[0], actions(c.key)) << c.key;
        EXPECT_EQ(table.padshortcuts[1], actions(c.pad)) << c.key;
        EXPECT_EQ(problems.size(), c.problems) << c.key;
        EXPECT_EQ(store.files, c.after.empty() ? c.files : c.after);
    }
    EXPECT_EQ(problems.at(0), L"Z1: „{x“ ist kein gültiges Tastenkürzel.");
}

// Both files before a save: with and without a tipp.dat.
const Files kStarts[] = {{{"tipp.dat", "alt\r\n"}, {"tipps.dat", "strg + a\r\n"}}, {{"tipps.dat", "f2\r\n"}}};

// Saves 36 "neu" and 9 "f1".
bool save(MemoryStore& store, std::wstring* error = nullptr) {
    Lines keys(36, L"neu"), shortcuts(9, L"f1");
    return saveAssignments(store, kCodec, keys, shortcuts, error);
}

// A disk that fills up after any number of bytes, or a rename refused at any step, leaves both files byte for byte
// as they were and no scratch file behind; the error names the file. The program killed at any step of a save (a
// write cut or not begun), also of one whose rename fails and is undone, and then the next start's reading killed at
// any step of its own or unable to rename: once the files are read, both come from the same save and no scratch file
// is left.
TEST(SaveAssignments, FailingOrStoppedAnywhereKeepsBothFilesFromOneSave) {
    const auto killed = [](const auto& action) {
        try {
            action();
            return false;
        } catch (const MemoryStore::Stopped&) {
            return true;
        }
    };
    std::set<std::wstring> named;
    for (const Files& before : kStarts) {
        MemoryStore whole(before);
        ASSERT_TRUE(save(whole));
        const Files after = whole.files;
        const std::size_t needed = std::numeric_limits<std::size_t>::max() - whole.bytesLeft;
        for (std::size_t fault = 0; fault < needed + static_cast<std::size_t>(whole.moves); ++fault) {
            MemoryStore store(before);
            if (fault < needed)
                store.bytesLeft = fault;
            else
                store.refusedMoves = {static_cast<int>(fault - needed)};
            std::wstring error;
            EXPECT_FALSE(save(store, &error)) << fault;
            EXPECT_EQ(store.files, before) << fault;
            EXPECT_TRUE(error.ends_with(L"\n\nEs wurde nichts gespeichert.")) << error;
            named.insert(error.substr(0, error.find(L" konnte")));
        }
        for (const std::set<int>& refused : {std::set<int>{}, {1}, {1, 2}})
            for (int stop = 0, stopped = 1; stopped; ++stop)
                for (const bool partly : {false, true}) {
                    MemoryStore store(before);
                    store.refusedMoves = refused;
                    store.stopAt = stop;
                    store.partly = partly;
                    stopped = killed([&] { (void)save(store); });
                    for (int again = -1, readStopped = 1; readStopped; ++again) {
                        MemoryStore next(store.files);
                        next.stopAt = again;
                        next.refusedMoves = again < 0 ? std::set<int>{0, 1} : std::set<int>{};
                        readStopped = killed([&] { finishInterruptedSave(next); }) || again < 0;
                        next.stopAt = -1;
                        next.refusedMoves = {};
                        finishInterruptedSave(next);
                        EXPECT_TRUE(next.files == before || next.files == after)
                            << "stopped at " << stop << (partly ? " partly" : "") << ", renames refused "
                            << ::testing::PrintToString(refused) << ", next read stopped at " << again << ": "
                            << ::testing::PrintToString(next.files);
                    }
                }
    }
    EXPECT_EQ(named, (std::set<std::wstring>{L"Die Datei tipp.dat", L"Die Datei tipps.dat"}));
}

// Should even putting the old tipp.dat back fail, its copy stays and the error says where it is; an old tipp.dat
// that cannot be read is not replaced, and the error says why.
TEST(SaveAssignments, WhatCannotBeUndoneOrKeptIsNamed) {
    MemoryStore stuck(kStarts[0]), unreadable(kStarts[0]);
    stuck.refusedMoves = {1, 2};
    unreadable.unreadable = {"tipp.dat"};
    std::wstring error;
    EXPECT_FALSE(save(stuck, &error));
    EXPECT_EQ(stuck.files["tipp.dat.~alt"], "alt\r\n");
    EXPECT_EQ(stuck.files["tipps.dat"], "strg + a\r\n");
    EXPECT_TRUE(error.ends_with(L"Die Datei tipp.dat hat schon den neuen Inhalt; ihr alter Inhalt liegt in "
                                L"tipp.dat.~alt."))
        << error;
    EXPECT_FALSE(save(unreadable, &error));
    EXPECT_EQ(unreadable.files, kStarts[0]);
    EXPECT_NE(error.find(L"nicht sichern.\nDie Datei tipp.dat konnte nicht gelesen werden: "), std::wstring::npos)
        << error;
}

} // namespace
} // namespace ww
