#include "store/assignments.h"
#include "store/file_store.h"
#include "store/text_codec.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>

namespace ww {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::wstring>;
using Names = std::set<std::string>;

const std::string kDefaultLine = "*** Noch nicht benutzt ***\r\n";

std::string repeat(const std::string& line, int times) {
    std::string out;
    while (times-- > 0)
        out += line;
    return out;
}

TEST(Windows1252Codec, EveryByteRoundTripsAndTheHighRangeIsWindows1252) {
    const Windows1252Codec codec;
    std::string all;
    for (int b = 0; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    EXPECT_EQ(codec.encode(codec.decode(all)), all);
    EXPECT_EQ(codec.decode("Stra\337e \344\366\374 \304\326\334"), L"Straße äöü ÄÖÜ");
    EXPECT_EQ(codec.decode(all.substr(0x80, 32)),
              L"€\u0081‚ƒ„…†‡ˆ‰Š‹Œ\u008DŽ\u008F\u0090\u2018\u2019\u201C\u201D•–—˜™š›œ\u009DžŸ");
    // What the code page lacks becomes one '?' per character, a character outside the BMP included.
    EXPECT_EQ(codec.encode(L"Āx\u0080\u4E2D\U0001F600"), "?x???");
}

TEST(SplitRecords, LineEndsShortFilesAndExtraLines) {
    const std::wstring d(kDefaultText);
    const struct {
        const wchar_t* text;
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
    };
    for (const auto& c : cases)
        EXPECT_EQ(splitRecords(c.text, c.count), c.records) << c.text;
}

TEST(SplitRecords, KeepsLongLinesAndEveryByte) {
    const std::wstring longLine(200000, L'x');
    EXPECT_EQ(splitRecords(longLine + L"\r\ny", 2), (Lines{longLine, L"y"}));
    std::mt19937 random(7);
    for (int round = 0; round < 200; ++round) {
        std::string bytes(300, '\0');
        for (char& b : bytes)
            b = static_cast<char>(random());
        const std::wstring text = Windows1252Codec().decode(bytes);
        // The records joined give back the text without its line ends.
        std::wstring stripped = text, joined;
        std::erase_if(stripped, [](wchar_t c) { return c == L'\r' || c == L'\n'; });
        for (const auto& record : splitRecords(text, 1000))
            if (record != kDefaultText) joined += record;
        ASSERT_EQ(joined, stripped) << "round " << round;
    }
}

// A fresh folder per test, removed afterwards.
class StoreFolder : public ::testing::Test {
protected:
    StoreFolder() { fs::create_directories(dir_); }
    ~StoreFolder() override { fs::remove_all(dir_); }

    void write(const std::string& name, const std::string& bytes) {
        std::ofstream(dir_ / name, std::ios::binary) << bytes;
    }
    std::string read(const std::string& name) {
        std::ifstream in(dir_ / name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    Names entries() {
        Names names;
        for (const auto& entry : fs::directory_iterator(dir_))
            names.insert(entry.path().filename().string());
        return names;
    }

    fs::path dir_ = fs::temp_directory_path() / ("wortwerk-store-" + std::to_string(std::random_device{}()));
    StdFileStore store_{dir_.string()};
    Windows1252Codec codec_;
};

bool allEmpty(const auto& texts) {
    return std::ranges::all_of(texts, [](const std::wstring& s) { return s.empty(); });
}

TEST_F(StoreFolder, AMissingFileIsCreatedWithItsDefaultsAndLeavesOnlyItsHalfEmpty) {
    write("tipp.dat", "eins\r\n");
    std::vector<std::wstring> problems;
    auto table = loadTable(store_, codec_, &problems);
    EXPECT_EQ(table.keytexts[0], L"eins");
    EXPECT_TRUE(allEmpty(table.padshortcuts));
    EXPECT_EQ(read("tipps.dat"), repeat(kDefaultLine, 9));
    EXPECT_EQ(read("tipp.dat"), "eins\r\n");

    fs::remove(dir_ / "tipp.dat");
    table = loadTable(store_, codec_, &problems);
    EXPECT_TRUE(allEmpty(table.keytexts));
    EXPECT_EQ(table.padshortcuts[9], L"***nochnichtbenutzt***");
    EXPECT_EQ(read("tipp.dat"), repeat(kDefaultLine, 36));
    EXPECT_EQ(entries(), (Names{"tipp.dat", "tipps.dat"}));

    AssignmentTable expected;
    for (int i = 0; i < kKeyCount; ++i)
        expected.keytexts[i] = kDefaultText;
    for (int k = 1; k <= kShortcutCount; ++k)
        expected.padshortcuts[k] = L"***nochnichtbenutzt***";
    table = loadTable(store_, codec_, &problems);
    EXPECT_EQ(table.keytexts, expected.keytexts);
    EXPECT_EQ(table.padshortcuts, expected.padshortcuts);
    EXPECT_TRUE(problems.empty());
}

TEST_F(StoreFolder, LoadEncodesTextsAndTranslatesShortcutsByPosition) {
    write("tipp.dat", repeat("x\r\n", 23) + "Name###Stra\337e\r\n" + repeat("y\r\n", 11) + "Z{1}\r\n");
    write("tipps.dat", "alt + f4\r\nstring + F9\r\n");
    const auto table = loadTable(store_, codec_, nullptr);
    EXPECT_EQ(table.keytexts[22], L"x");
    EXPECT_EQ(table.keytexts[23], L"Name~Straße"); // key N
    EXPECT_EQ(table.keytexts[24], L"y");
    EXPECT_EQ(table.keytexts[35], L"Z{{}1{}}");
    EXPECT_EQ(table.padshortcuts[1], L"%{F4}");
    EXPECT_EQ(table.padshortcuts[2], L"^{F9}");
    EXPECT_EQ(table.padshortcuts[3], L"***nochnichtbenutzt***") << "a short file reads missing records as default";
    EXPECT_EQ(read("tipps.dat"), "alt + f4\r\nstring + F9\r\n") << "loading never rewrites a file";
}

TEST_F(StoreFolder, AFolderInTheWayIsReportedAndLeftAlone) {
    fs::create_directory(dir_ / "tipp.dat");
    write("tipps.dat", "strgf\r\n");
    std::vector<std::wstring> problems;
    const auto table = loadTable(store_, codec_, &problems);
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0].rfind(L"Die Datei tipp.dat konnte nicht angelegt werden: ", 0), 0u) << problems[0];
    EXPECT_TRUE(fs::is_directory(dir_ / "tipp.dat"));
    EXPECT_EQ(table.padshortcuts[1], L"^f");
    EXPECT_EQ(table.keytexts[0], L"");
}

// Files that are there but cannot be read; counts every write.
class UnreadableStore final : public FileStore {
public:
    bool exists(const std::string&) const override { return true; }
    std::optional<std::string> readAll(const std::string& name, std::wstring* error) const override {
        *error = fileError(FileAction::Read, name, L"Der Zugriff wurde verweigert.");
        return std::nullopt;
    }
    bool replaceAll(const std::string&, const std::string&, std::wstring*) override { return ++writes, true; }
    bool createNew(const std::string&, const std::string&, std::wstring*) override { return ++writes, true; }
    int writes = 0;
};

TEST(LoadTable, UnreadableFilesAreReportedAndNeverReplaced) {
    UnreadableStore store;
    std::vector<std::wstring> problems;
    const auto table = loadTable(store, Windows1252Codec{}, &problems);
    EXPECT_TRUE(allEmpty(table.keytexts) && allEmpty(table.padshortcuts));
    EXPECT_EQ(store.writes, 0);
    EXPECT_EQ(problems, (Lines{L"Die Datei tipps.dat konnte nicht gelesen werden: Der Zugriff wurde verweigert.",
                               L"Die Datei tipp.dat konnte nicht gelesen werden: Der Zugriff wurde verweigert."}));
}

TEST_F(StoreFolder, SaveWritesExactlyTheFieldsAndDefaultsEmptyOnes) {
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
    EXPECT_EQ(read("tipp.dat"), kDefaultLine + "   \r\na###b {x} + ~\r\n" + repeat("k\r\n", 32) +
                                    "  Gr\374\337e aus K\366ln, Stra\337e \304\326\334 \200  \r\n");
    EXPECT_EQ(read("tipps.dat"), "strg + f9\r\n" + kDefaultLine + "3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9\r\n");
    EXPECT_EQ(readRaw(store_, codec_, "tipp.dat", 36, &error), keys);
    EXPECT_EQ(loadTable(store_, codec_, nullptr).keytexts[35], keys[35]);
}

TEST_F(StoreFolder, AFailedSaveKeepsTheOldFileAndStops) {
    write("tipp.dat", "alt\r\n");
    fs::create_directory(dir_ / "tipps.dat");
    Lines keys(36, L"neu");
    Lines shortcuts(9, L"f1");
    std::wstring error;
    EXPECT_FALSE(saveAssignments(store_, codec_, keys, shortcuts, &error));
    EXPECT_EQ(error.rfind(L"Die Datei tipps.dat konnte nicht gespeichert werden: ", 0), 0u) << error;
    EXPECT_EQ(read("tipp.dat"), repeat("neu\r\n", 36)) << "tipp.dat is written before tipps.dat";
    EXPECT_TRUE(fs::is_directory(dir_ / "tipps.dat"));

    fs::remove(dir_ / "tipps.dat");
    write("tipps.dat", "vorher\r\n");
    fs::remove(dir_ / "tipp.dat");
    fs::create_directory(dir_ / "tipp.dat");
    EXPECT_FALSE(saveAssignments(store_, codec_, keys, shortcuts, &error));
    EXPECT_EQ(error.rfind(L"Die Datei tipp.dat konnte nicht gespeichert werden: ", 0), 0u) << error;
    EXPECT_EQ(read("tipps.dat"), "vorher\r\n") << "a failure on tipp.dat leaves tipps.dat alone";
    EXPECT_EQ(entries(), (Names{"tipp.dat", "tipps.dat"})) << "no temporary file left behind";
}

TEST_F(StoreFolder, StdFileStoreReplacesWholeCreatesOnlyNewAndKeepsOldContentOnFailure) {
    std::wstring error;
    EXPECT_FALSE(store_.readAll("fehlt.dat", &error));
    EXPECT_EQ(error.rfind(L"Die Datei fehlt.dat konnte nicht gelesen werden: ", 0), 0u) << error;

    ASSERT_TRUE(store_.replaceAll("a.dat", std::string("lang\0er Inhalt", 14), &error));
    EXPECT_EQ(store_.readAll("a.dat", &error), std::string("lang\0er Inhalt", 14));
    ASSERT_TRUE(store_.replaceAll("a.dat", "kurz", &error));
    EXPECT_EQ(read("a.dat"), "kurz") << "nothing of the longer old content remains";

    EXPECT_FALSE(store_.createNew("a.dat", "x", &error));
    EXPECT_EQ(error.rfind(L"Die Datei a.dat konnte nicht angelegt werden: ", 0), 0u) << error;

    // The name fits, but the temporary name next to it is too long for the file system.
    const std::string name(250, 'n');
    write(name, "alt");
    EXPECT_FALSE(store_.replaceAll(name, "neu", &error));
    EXPECT_EQ(error.rfind(L"Die Datei nnn", 0), 0u);
    EXPECT_EQ(read(name), "alt");
    EXPECT_EQ(entries(), (Names{"a.dat", name})) << "no temporary file left behind";
}

} // namespace
} // namespace ww
