#include "store/assignments.h"
#include "store/file_store.h"
#include "store/text_codec.h"
#include "fake_keyboard.h"
#include "memory_store.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <map>

namespace ww {
namespace {

using namespace std::string_literals;
using Lines = std::vector<std::wstring>;
using testing::actions; // the table holds what the keys play: the parsed keystroke string

const std::string kDefaultLine = "*** Noch nicht benutzt ***\r\n";

std::string repeat(const std::string& line, int times) {
    std::string out;
    while (times-- > 0)
        out += line;
    return out;
}

// Every byte's round trip is fuzzed (fuzz/file_decode_fuzz.cpp); here which characters the bytes are.
TEST(Windows1252Codec, GermanLettersAndWhatTheCodePageLacks) {
    const Windows1252Codec codec;
    EXPECT_EQ(codec.decode("Stra\337e \344\366\374 \304\326\334 \200\x81"), L"Straße äöü ÄÖÜ €\u0081");
    // What the code page lacks becomes one '?' per character, a character outside the BMP (two UTF-16 units, the
    // first shared by both here) included, and is named once per character.
    const std::wstring lacking = L"Āx\u0080?\u4E2D\xD83D\xDE00Ā\u2192\uFFFD\xD83D\xDE01";
    EXPECT_EQ(codec.encode(lacking), "?x????????");
    EXPECT_EQ(codec.unencodable(lacking), L"Ā\u0080\u4E2D\xD83D\xDE00\u2192\uFFFD\xD83D\xDE01");
}

// Real bytes as editors save them: Windows-1252 (the program's own files), UTF-8 with and without the mark,
// Notepad's UTF-16 LE and BE ("Unicode", "Unicode big endian").
TEST(DecodeFileText, Utf8OrUtf16WhenMarkedOrValidOtherwiseTheCodePage) {
    const struct {
        std::string bytes;
        std::wstring text;
        bool damaged = false;
    } cases[] = {
        {"Stra\337e \344\366\374 \304\326\334\r\n", L"Straße äöü ÄÖÜ\r\n"}, // ANSI German
        {"\344", L"ä"},                                                     // a lone ANSI umlaut is no UTF-8
        {"\303\244", L"ä"},                                                 // the same letter in UTF-8
        {"Stra\303\237e 0\r\nGr\303\274\303\237e \342\202\254\r\n", L"Straße 0\r\nGrüße €\r\n"},
        {"\357\273\277Stra\303\237e 0\r\n", L"Straße 0\r\n"}, // with the mark, which is dropped
        {"\357\273\277", L""},
        {"\357\273\277a\344b", L"a\uFFFDb"},     // marked, yet broken: nothing guessed
        {"\360\237\230\200!", L"\xD83D\xDE00!"}, // outside the BMP: a surrogate pair
        // Not valid UTF-8: overlong, surrogate, past U+10FFFF, cut short at the end.
        {"\300\257", L"À¯"},
        {"\355\240\200", L"í\u00A0\u20AC"},
        {"\364\220\200\200", L"ô\u0090\u20AC\u20AC"},
        {"Stra\303", L"StraÃ"},
        // UTF-16 with its mark; a pair is one character; a half character at the end and a lone surrogate half are
        // damage, read as far as whole.
        {"\377\376S\0t\0r\0a\0\337\0e\0 \0\344\0\r\0\n\0=\330\0\336!\0"s, L"Straße ä\r\n\xD83D\xDE00!"},
        {"\376\377\0S\0\374\0\r\0\n\330=\336\0 \254"s, L"Sü\r\n\xD83D\xDE00€"},
        {"\377\376"s, L""},
        {"\377\376a\0b"s, L"a", true},
        {"\376\377\0a\0"s, L"a", true},
        {"\377\376\0\334a\0=\330"s, L"\uFFFDa\uFFFD", true},
        {"\376\377\330=\0a"s, L"\uFFFDa", true},
    };
    const Windows1252Codec ansi;
    for (const auto& c : cases) {
        std::wstring damage = L"alt";
        EXPECT_EQ(decodeFileText(ansi, c.bytes, &damage), c.text) << ::testing::PrintToString(c.bytes);
        EXPECT_EQ(damage.empty(), !c.damaged) << ::testing::PrintToString(c.bytes) << damage;
    }
}

// Any text splits back into its lines (fuzz/record_checks.h); here line ends, short files and extra lines.
TEST(SplitRecords, LineEndsShortFilesAndExtraLines) {
    const std::wstring d(kDefaultText), longLine(200000, L'x');
    const struct {
        std::wstring text;
        int count;
        Lines records;
    } cases[] = {
        {L"a\r\nb\nc\rd", 4, {L"a", L"b", L"c", L"d"}},
        {L"a\r\n\r\nb\r\n", 3, {L"a", L"", L"b"}},
        {L"\n\r", 2, {L"", L""}}, // LF then CR is two line ends
        {L"\r\r\n", 2, {L"", L""}},
        {L"", 2, {d, d}},
        {L"a\r\n", 3, {L"a", d, d}},
        {L"a\r", 2, {L"a", d}},
        {L"last without end", 2, {L"last without end", d}},
        {L"1\r\n2\r\n3\r\n", 2, {L"1", L"2"}},
        {longLine + L"\r\ny", 2, {longLine, L"y"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(splitRecords(c.text, c.count), c.records) << c.text.substr(0, 20);
}

bool allEmpty(const auto& entries) {
    return std::ranges::all_of(entries, [](const auto& e) { return e.empty(); });
}

class Store : public ::testing::Test {
protected:
    MemoryStore store_;
    Windows1252Codec codec_;
};

TEST_F(Store, AMissingFileIsCreatedWithItsDefaultsAndLeavesOnlyItsHalfEmpty) {
    store_.files["tipp.dat"] = "eins\r\n";
    std::vector<std::wstring> problems;
    auto table = loadTable(store_, codec_, &problems);
    EXPECT_EQ(table.keytexts[0], actions(L"eins"));
    EXPECT_TRUE(allEmpty(table.padshortcuts));
    EXPECT_EQ(store_.files["tipps.dat"], repeat(kDefaultLine, 9));
    EXPECT_EQ(store_.files["tipp.dat"], "eins\r\n");

    store_.files.erase("tipp.dat");
    table = loadTable(store_, codec_, &problems);
    EXPECT_TRUE(allEmpty(table.keytexts));
    EXPECT_EQ(table.padshortcuts[9], actions(L"***nochnichtbenutzt***"));
    EXPECT_EQ(store_.files["tipp.dat"], repeat(kDefaultLine, 36));
    EXPECT_EQ(store_.files.size(), 2u);
    EXPECT_TRUE(problems.empty());
}

TEST_F(Store, LoadEncodesTextsAndTranslatesShortcutsByPosition) {
    store_.files["tipp.dat"] = repeat("x\r\n", 23) + "Name###Stra\337e\r\n" + repeat("y\r\n", 11) + "Z{1}\r\n";
    store_.files["tipps.dat"] = "alt + f4\r\nstring + F9\r\n";
    auto table = loadTable(store_, codec_, nullptr);
    EXPECT_EQ(table.keytexts[22], actions(L"x"));
    EXPECT_EQ(table.keytexts[23], actions(L"Name~Straße")); // key N
    EXPECT_EQ(table.keytexts[24], actions(L"y"));
    EXPECT_EQ(table.keytexts[35], actions(L"Z{{}1{}}"));
    EXPECT_EQ(table.padshortcuts[1], actions(L"%{F4}"));
    EXPECT_EQ(table.padshortcuts[2], actions(L"^{F9}"));
    EXPECT_EQ(table.padshortcuts[3], actions(L"***nochnichtbenutzt***"))
        << "a short file reads missing records as default";
    EXPECT_EQ(store_.writes, 0) << "loading never rewrites a file";

    // UTF-8 types its text, without the mark.
    store_.files["tipp.dat"] = "\357\273\277Stra\303\237e 0\r\nzwei###\342\202\254\r\n";
    table = loadTable(store_, codec_, nullptr);
    EXPECT_EQ((std::vector{table.keytexts[0], table.keytexts[1]}),
              (std::vector{actions(L"Straße 0"), actions(L"zwei~€")}));
}

// Notepad's "Unicode" tipp.dat, cut short by a byte: every reader gets each whole text on its key and a message,
// and a save keeps every text, now in the code page.
TEST_F(Store, AUtf16FileCutShortIsReadAsFarAsWholeAndSavedWhole) {
    Lines texts;
    std::string bytes = "\377\376";
    for (int i = 0; i < kKeyCount; ++i) {
        texts.push_back(L"Grüße " + std::wstring(1, keyName(i)));
        for (wchar_t c : texts.back() + L"\r\n")
            bytes += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
    }
    store_.files = {{"tipp.dat", bytes + "x"}, {"tipps.dat", "f1\r\n"}};
    Lines problems;
    EXPECT_EQ(loadTable(store_, codec_, &problems).keytexts[12], actions(L"Grüße C"));
    Lines keys = readForWindow(store_, codec_, "tipp.dat", kKeyCount, &problems), shortcuts(9, L"f1");
    EXPECT_EQ(keys, texts);
    EXPECT_EQ(problems,
              Lines(2, L"Die Datei tipp.dat konnte nicht ganz gelesen werden: Sie ist als UTF-16 gespeichert "
                       L"und beschädigt. Am Ende fehlt die Hälfte eines Zeichens. Alles andere wurde gelesen."));
    ASSERT_TRUE(saveAssignments(store_, codec_, keys, shortcuts, nullptr));
    std::string ansi;
    for (int i = 0; i < kKeyCount; ++i)
        ansi += "Gr\374\337e " + std::string(1, static_cast<char>(keyName(i))) + "\r\n";
    EXPECT_EQ(store_.files["tipp.dat"], ansi);
}

TEST_F(Store, FilesThatCannotBeCreatedOrReadAreReportedAndLeftAlone) {
    store_.blocked = {"tipp.dat"};
    store_.files["tipps.dat"] = "strgf\r\n";
    std::vector<std::wstring> problems;
    auto table = loadTable(store_, codec_, &problems);
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0].rfind(L"Die Datei tipp.dat konnte nicht angelegt werden: ", 0), 0u) << problems[0];
    EXPECT_EQ(table.padshortcuts[1], actions(L"^f"));
    EXPECT_TRUE(table.keytexts[0].empty());

    store_ = MemoryStore();
    store_.unreadable = {"tipp.dat", "tipps.dat"};
    problems.clear();
    table = loadTable(store_, codec_, &problems);
    EXPECT_TRUE(allEmpty(table.keytexts) && allEmpty(table.padshortcuts));
    EXPECT_EQ(store_.writes, 0);
    EXPECT_EQ(problems, (Lines{L"Die Datei tipps.dat konnte nicht gelesen werden: Der Zugriff wurde verweigert.",
                               L"Die Datei tipp.dat konnte nicht gelesen werden: Der Zugriff wurde verweigert."}));
}

TEST_F(Store, SaveWritesExactlyTheFieldsAndDefaultsEmptyOnes) {
    Lines keys(36, L"k");
    keys[0] = L"";
    keys[1] = L"   ";
    keys[2] = L"a###b {x} + ~";
    keys[35] = L"  Grüße aus Köln, Straße ÄÖÜ €  ";
    Lines shortcuts = {L"strg + f9", L"", L"3", L"4", L"5", L"6", L"7", L"8", L"9", L"zehn"};
    std::wstring error;
    ASSERT_TRUE(saveAssignments(store_, codec_, keys, shortcuts, &error));

    EXPECT_EQ(keys[0], kDefaultText) << "the field itself shows the default afterwards";
    EXPECT_EQ(shortcuts, (Lines{L"strg + f9", std::wstring(kDefaultText), L"3", L"4", L"5", L"6", L"7", L"8", L"9"}));
    EXPECT_EQ(store_.files["tipp.dat"], kDefaultLine + "   \r\na###b {x} + ~\r\n" + repeat("k\r\n", 32) +
                                            "  Gr\374\337e aus K\366ln, Stra\337e \304\326\334 \200  \r\n");
    EXPECT_EQ(store_.files["tipps.dat"], "strg + f9\r\n" + kDefaultLine + "3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9\r\n");
    EXPECT_EQ(readRecords(store_, codec_, "tipp.dat", 36), keys);
    EXPECT_EQ(loadTable(store_, codec_, nullptr).keytexts[35], actions(encodeText(keys[35])));
}

// A disk that fills up after any number of bytes, or a rename refused at any step, leaves both files byte for byte
// as they were and no scratch file behind, with or without a tipp.dat before; the error names the file.
TEST_F(Store, ASaveThatFailsAnywhereKeepsBothFilesAsTheyWere) {
    const std::map<std::string, std::string> starts[] = {
        {{"tipp.dat", repeat("alt\r\n", 36)}, {"tipps.dat", "strg + a\r\n"}},
        {{"tipps.dat", repeat("f1\r\n", 9)}},
    };
    for (const auto& before : starts) {
        Lines keys(36, L"neu"), shortcuts(9, L"alt + f4");
        MemoryStore whole;
        whole.files = before;
        std::wstring error;
        ASSERT_TRUE(saveAssignments(whole, codec_, keys, shortcuts, &error));
        const std::size_t needed = std::numeric_limits<std::size_t>::max() - whole.bytesLeft;
        std::set<std::wstring> failedFiles;
        auto failedSave = [&](MemoryStore& store, const std::string& fault) {
            store.files = before;
            EXPECT_FALSE(saveAssignments(store, codec_, keys, shortcuts, &error)) << fault;
            EXPECT_EQ(store.files, before) << fault;
            for (const wchar_t* name : {L"tipp.dat", L"tipps.dat"})
                if (error.starts_with(std::wstring(L"Die Datei ") + name + L" konnte nicht gespeichert werden: "))
                    failedFiles.insert(name);
            EXPECT_TRUE(error.ends_with(L"\n\nEs wurde nichts gespeichert.")) << fault << ": " << error;
        };
        for (std::size_t bytes = 0; bytes < needed; ++bytes) {
            MemoryStore store;
            store.bytesLeft = bytes;
            failedSave(store, "disk full after " + std::to_string(bytes) + " bytes");
        }
        for (int move = 0; move < whole.moves; ++move) {
            MemoryStore store;
            store.refusedMoves = {move};
            failedSave(store, "rename " + std::to_string(move) + " refused");
        }
        EXPECT_EQ(failedFiles, (std::set<std::wstring>{L"tipp.dat", L"tipps.dat"})) << "the error names the file";
        EXPECT_EQ(whole.files, (std::map<std::string, std::string>{{"tipp.dat", repeat("neu\r\n", 36)},
                                                                   {"tipps.dat", repeat("alt + f4\r\n", 9)}}));
    }
}

// The program killed at any step of a save (a write cut or not begun), also of one whose rename fails and is
// undone; then the next start's reading killed at any step of its own, or unable to rename, which leaves each
// file whole: once the files are read, both come from the same save and no scratch file is left.
TEST_F(Store, ASaveStoppedAnywhereIsFinishedOrUndoneWhenTheFilesAreNextRead) {
    using Files = std::map<std::string, std::string>;
    const Files starts[] = {{{"tipp.dat", "alt\r\n"}, {"tipps.dat", "strg + a\r\n"}}, {{"tipps.dat", "f2\r\n"}}};
    Lines keys(36, L"neu"), shortcuts(9, L"f1");
    const auto killed = [](const auto& action) {
        try {
            action();
            return false;
        } catch (const MemoryStore::Stopped&) {
            return true;
        }
    };
    for (const Files& before : starts) {
        MemoryStore whole;
        whole.files = before;
        ASSERT_TRUE(saveAssignments(whole, codec_, keys, shortcuts, nullptr));
        const Files& after = whole.files;
        const auto fileOf = [](const Files& files, const std::string& name) {
            return files.contains(name) ? files.at(name) : "(none)";
        };
        for (const std::set<int>& refused : {std::set<int>{}, {1}, {1, 2}})
            for (int stop = 0, stopped = 1; stopped; ++stop)
                for (const bool partly : {false, true}) {
                    MemoryStore store;
                    store.files = before;
                    store.refusedMoves = refused;
                    store.stopAt = stop;
                    store.partly = partly;
                    stopped = killed([&] { (void)saveAssignments(store, codec_, keys, shortcuts, nullptr); });
                    const Files left = store.files;
                    const std::string at = "stopped at " + std::to_string(stop) + (partly ? " partly" : "") +
                                           ", renames refused " + ::testing::PrintToString(refused);
                    for (int again = -1, recoveryStopped = 1; recoveryStopped; ++again) {
                        store.files = left;
                        store.operations = store.moves = 0;
                        store.stopAt = again;
                        store.refusedMoves = again < 0 ? std::set<int>{0, 1} : std::set<int>{};
                        recoveryStopped = killed([&] { finishInterruptedSave(store); }) || again < 0;
                        for (const std::string name : {"tipp.dat", "tipps.dat"})
                            EXPECT_TRUE(fileOf(store.files, name) == fileOf(before, name) ||
                                        fileOf(store.files, name) == fileOf(after, name))
                                << at << ", next read stopped at " << again << ": " << name;
                        store.stopAt = -1;
                        store.refusedMoves = {};
                        finishInterruptedSave(store);
                        EXPECT_TRUE(store.files == before || store.files == after)
                            << at << ", next read stopped at " << again << ": "
                            << ::testing::PrintToString(store.files);
                    }
                }
    }
}

// Should even putting the old tipp.dat back fail, its copy stays and the error says where it is.
TEST_F(Store, WhatCannotBeUndoneKeepsItsCopyAndIsNamed) {
    store_.files = {{"tipp.dat", "alt\r\n"}, {"tipps.dat", "strg + a\r\n"}};
    store_.refusedMoves = {1, 2};
    Lines keys(36, L"neu"), shortcuts(9, L"f1");
    std::wstring error;
    EXPECT_FALSE(saveAssignments(store_, codec_, keys, shortcuts, &error));
    EXPECT_EQ(store_.files["tipp.dat.~alt"], "alt\r\n");
    EXPECT_EQ(store_.files["tipps.dat"], "strg + a\r\n");
    EXPECT_TRUE(error.ends_with(L"Die Datei tipp.dat hat schon den neuen Inhalt; ihr alter Inhalt liegt in "
                                L"tipp.dat.~alt."))
        << error;
}

TEST_F(Store, AnOldFileThatCannotBeReadIsNotReplacedAndTheMessageSaysWhy) {
    store_.files = {{"tipp.dat", "alt\r\n"}, {"tipps.dat", "strg + a\r\n"}};
    store_.unreadable = {"tipp.dat"};
    Lines keys(36, L"neu"), shortcuts(9, L"f1");
    std::wstring error;
    EXPECT_FALSE(saveAssignments(store_, codec_, keys, shortcuts, &error));
    EXPECT_EQ(store_.files["tipp.dat"], "alt\r\n");
    EXPECT_NE(error.find(L"nicht sichern.\nDie Datei tipp.dat konnte nicht gelesen werden: Der Zugriff wurde"),
              std::wstring::npos)
        << error;
}

} // namespace
} // namespace ww
