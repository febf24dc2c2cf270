#include "store/assignments.h"
#include "store/file_store.h"
#include "store/text_codec.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <set>

namespace ww {
namespace {

namespace fs = std::filesystem;

const std::string kDefaultLine = "*** Noch nicht benutzt ***\r\n";

std::string repeat(const std::string& line, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) {
        out += line;
    }
    return out;
}

TEST(Windows1252Codec, EveryByteSurvivesDecodeAndEncode) {
    const Windows1252Codec codec;
    std::string all;
    for (int b = 0; b < 256; ++b) {
        all.push_back(static_cast<char>(b));
    }
    const std::wstring text = codec.decode(all);
    ASSERT_EQ(text.size(), 256u);
    EXPECT_EQ(std::set<wchar_t>(text.begin(), text.end()).size(), 256u) << "two bytes decode to one character";
    EXPECT_EQ(codec.encode(text), all);
}

TEST(Windows1252Codec, MapsTheGermanCharactersAndTheHighControls) {
    const Windows1252Codec codec;
    EXPECT_EQ(codec.decode("Stra\337e \344\366\374 \304\326\334"), L"Straße äöü ÄÖÜ");
    EXPECT_EQ(codec.encode(L"Straße äöü ÄÖÜ"), "Stra\337e \344\366\374 \304\326\334");
    EXPECT_EQ(codec.decode("\x80\x84\x93\x9F\x81\x8D"), L"€„“Ÿ\u0081\u008D");
    EXPECT_EQ(codec.encode(L"€„“Ÿ"), "\x80\x84\x93\x9F");
    EXPECT_EQ(codec.decode(std::string("a\0b", 3)), std::wstring(L"a\0b", 3));
}

TEST(Windows1252Codec, UnrepresentableCharactersBecomeQuestionMarks) {
    const Windows1252Codec codec;
    EXPECT_EQ(codec.encode(L"Āx\u0080\u4E2D"), "?x??");
    // A character outside the BMP is one '?', whatever the width of wchar_t.
    EXPECT_EQ(codec.encode(L"a\U0001F600b"), "a?b");
}

TEST(SplitRecords, EveryKindOfLineEndEndsALine) {
    EXPECT_EQ(splitRecords(L"a\r\nb\nc\rd", 4), (std::vector<std::wstring>{L"a", L"b", L"c", L"d"}));
    EXPECT_EQ(splitRecords(L"a\r\n\r\nb\r\n", 3), (std::vector<std::wstring>{L"a", L"", L"b"}));
    EXPECT_EQ(splitRecords(L"\n\r", 2), (std::vector<std::wstring>{L"", L""})) << "LF then CR is two line ends";
    EXPECT_EQ(splitRecords(L"\r\r\n", 2), (std::vector<std::wstring>{L"", L""}));
}

TEST(SplitRecords, MissingRecordsReadAsDefaultAndExtraLinesAreIgnored) {
    const std::wstring def(kDefaultText);
    EXPECT_EQ(splitRecords(L"", 2), (std::vector<std::wstring>{def, def}));
    EXPECT_EQ(splitRecords(L"a\r\n", 3), (std::vector<std::wstring>{L"a", def, def}));
    EXPECT_EQ(splitRecords(L"last without end", 2), (std::vector<std::wstring>{L"last without end", def}));
    EXPECT_EQ(splitRecords(L"a\r", 2), (std::vector<std::wstring>{L"a", def}));
    EXPECT_EQ(splitRecords(L"1\r\n2\r\n3\r\n4\r\n", 2), (std::vector<std::wstring>{L"1", L"2"}));
    EXPECT_EQ(splitRecords(L"1\r\n2", 2), (std::vector<std::wstring>{L"1", L"2"}));
}

TEST(SplitRecords, KeepsLongLinesAndAnyCharacter) {
    const Windows1252Codec codec;
    const std::wstring longLine(200000, L'x');
    EXPECT_EQ(splitRecords(longLine + L"\r\ny", 2), (std::vector<std::wstring>{longLine, L"y"}));

    std::mt19937 random(7);
    for (int round = 0; round < 200; ++round) {
        std::string bytes;
        for (int i = 0; i < 300; ++i) {
            bytes.push_back(static_cast<char>(random() % 256));
        }
        const std::wstring text = codec.decode(bytes);
        const auto records = splitRecords(text, 1000);
        // Joining the records must give back the text without its line ends.
        std::wstring joined;
        std::wstring stripped;
        for (wchar_t c : text) {
            if (c != L'\r' && c != L'\n') {
                stripped += c;
            }
        }
        for (const auto& record : records) {
            if (record != kDefaultText) {
                joined += record;
            }
        }
        ASSERT_EQ(joined, stripped);
    }
}

TEST(KeyName, FollowsKeyOrder) {
    EXPECT_EQ(keyName(0), L'1');
    EXPECT_EQ(keyName(8), L'9');
    EXPECT_EQ(keyName(9), L'0');
    EXPECT_EQ(keyName(10), L'A');
    EXPECT_EQ(keyName(23), L'N');
    EXPECT_EQ(keyName(35), L'Z');
    EXPECT_EQ(keyName(36), L'\0');
    EXPECT_EQ(keyName(-1), L'\0');
}

TEST(DefaultFileBytes, AreTheDefaultLines) {
    const Windows1252Codec codec;
    EXPECT_EQ(defaultFileBytes(codec, 9), repeat(kDefaultLine, 9));
    EXPECT_EQ(defaultFileBytes(codec, 36).size(), 36u * 28u);
}

// A fresh folder per test, removed afterwards.
class StoreFolder : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = fs::temp_directory_path() /
               ("wortwerk-store-" + std::string(info->name()) + "-" + std::to_string(std::random_device{}()));
        fs::create_directories(dir_);
        store_ = std::make_unique<StdFileStore>(dir_.string());
    }
    void TearDown() override { fs::remove_all(dir_); }

    void write(const std::string& name, const std::string& bytes) {
        std::ofstream(dir_ / name, std::ios::binary) << bytes;
    }
    std::string read(const std::string& name) {
        std::ifstream in(dir_ / name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    std::set<std::string> entries() {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir_)) {
            names.insert(entry.path().filename().string());
        }
        return names;
    }

    fs::path dir_;
    std::unique_ptr<StdFileStore> store_;
    Windows1252Codec codec_;
};

bool tableEmpty(const AssignmentTable& table) {
    for (const auto& text : table.keytexts) {
        if (!text.empty()) {
            return false;
        }
    }
    for (const auto& shortcut : table.padshortcuts) {
        if (!shortcut.empty()) {
            return false;
        }
    }
    return true;
}

TEST_F(StoreFolder, FirstStartCreatesBothDefaultFilesAndTheNextLoadReadsThem) {
    std::vector<std::wstring> problems;
    EXPECT_TRUE(tableEmpty(loadTable(*store_, codec_, &problems)));
    EXPECT_TRUE(problems.empty());
    EXPECT_EQ(read("tipp.dat"), repeat(kDefaultLine, 36));
    EXPECT_EQ(read("tipps.dat"), repeat(kDefaultLine, 9));
    EXPECT_EQ(entries(), (std::set<std::string>{"tipp.dat", "tipps.dat"}));

    const auto table = loadTable(*store_, codec_, &problems);
    EXPECT_TRUE(problems.empty());
    for (int i = 0; i < 36; ++i) {
        EXPECT_EQ(table.keytexts[i], L"*** Noch nicht benutzt ***");
    }
    for (int i = 36; i < 41; ++i) {
        EXPECT_EQ(table.keytexts[i], L"");
    }
    for (int k = 1; k <= 9; ++k) {
        EXPECT_EQ(table.padshortcuts[k], L"***nochnichtbenutzt***");
    }
    EXPECT_EQ(table.padshortcuts[0], L"");
    EXPECT_EQ(table.padshortcuts[10], L"");
}

TEST_F(StoreFolder, LoadEncodesTextsAndTranslatesShortcutsByPosition) {
    std::string keys = repeat("x\r\n", 23) + "Name###Stra\337e\r\n" + repeat("y\r\n", 11) + "Z{1}\r\n";
    write("tipp.dat", keys);
    write("tipps.dat", "alt + f4\r\nstring + F9\r\n");
    const auto table = loadTable(*store_, codec_, nullptr);
    EXPECT_EQ(table.keytexts[0], L"x");
    EXPECT_EQ(table.keytexts[23], L"Name~Straße"); // key N
    EXPECT_EQ(table.keytexts[24], L"y");
    EXPECT_EQ(table.keytexts[35], L"Z{{}1{}}");
    EXPECT_EQ(table.padshortcuts[1], L"%{F4}");
    EXPECT_EQ(table.padshortcuts[2], L"^{F9}");
    EXPECT_EQ(table.padshortcuts[3], L"***nochnichtbenutzt***") << "a short file reads missing records as default";
    EXPECT_EQ(read("tipps.dat"), "alt + f4\r\nstring + F9\r\n") << "loading never rewrites a file";
}

TEST_F(StoreFolder, OnlyTheMissingFileIsCreatedAndOnlyItsHalfStaysEmpty) {
    write("tipp.dat", "eins\r\n");
    auto table = loadTable(*store_, codec_, nullptr);
    EXPECT_EQ(table.keytexts[0], L"eins");
    EXPECT_EQ(table.padshortcuts[1], L"");
    EXPECT_EQ(read("tipps.dat"), repeat(kDefaultLine, 9));
    EXPECT_EQ(read("tipp.dat"), "eins\r\n");

    fs::remove(dir_ / "tipp.dat");
    table = loadTable(*store_, codec_, nullptr);
    EXPECT_EQ(table.keytexts[0], L"");
    EXPECT_EQ(table.padshortcuts[9], L"***nochnichtbenutzt***");
    EXPECT_EQ(read("tipp.dat"), repeat(kDefaultLine, 36));
}

TEST_F(StoreFolder, AFolderInTheWayIsReportedAndLeftAlone) {
    fs::create_directory(dir_ / "tipp.dat");
    write("tipps.dat", "strgf\r\n");
    std::vector<std::wstring> problems;
    const auto table = loadTable(*store_, codec_, &problems);
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_NE(problems[0].find(L"Die Datei tipp.dat konnte nicht"), std::wstring::npos);
    EXPECT_TRUE(fs::is_directory(dir_ / "tipp.dat"));
    EXPECT_EQ(table.padshortcuts[1], L"^f");
    EXPECT_EQ(table.keytexts[0], L"");
    EXPECT_EQ(entries(), (std::set<std::string>{"tipp.dat", "tipps.dat"})) << "no temporary file left behind";
}

// A file that is there but cannot be read; counts every write.
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
    EXPECT_TRUE(tableEmpty(loadTable(store, Windows1252Codec{}, &problems)));
    EXPECT_EQ(store.writes, 0);
    ASSERT_EQ(problems.size(), 2u);
    EXPECT_EQ(problems[0], L"Die Datei tipps.dat konnte nicht gelesen werden: Der Zugriff wurde verweigert.");
    EXPECT_NE(problems[1].find(L"tipp.dat"), std::wstring::npos);
}

TEST_F(StoreFolder, SaveWritesExactlyTheFieldsAndDefaultsEmptyOnes) {
    std::vector<std::wstring> keys(36, L"k");
    keys[0] = L"";
    keys[1] = L"   ";
    keys[2] = L"a###b {x} + ~";
    keys[35] = L"  Grüße aus Köln, Straße ÄÖÜ €  ";
    std::vector<std::wstring> shortcuts = {L"strg + f9", L""};
    std::wstring error;
    ASSERT_TRUE(saveAssignments(*store_, codec_, keys, shortcuts, &error)) << std::string(error.begin(), error.end());

    EXPECT_EQ(keys[0], kDefaultText) << "the field itself shows the default afterwards";
    EXPECT_EQ(keys[1], L"   ");
    ASSERT_EQ(shortcuts.size(), 9u);
    EXPECT_EQ(shortcuts[1], kDefaultText);
    EXPECT_EQ(read("tipp.dat"), kDefaultLine + "   \r\na###b {x} + ~\r\n" + repeat("k\r\n", 32) +
                                    "  Gr\374\337e aus K\366ln, Stra\337e \304\326\334 \200  \r\n");
    EXPECT_EQ(read("tipps.dat"), "strg + f9\r\n" + repeat(kDefaultLine, 8));
    EXPECT_EQ(entries(), (std::set<std::string>{"tipp.dat", "tipps.dat"}));

    const auto back = readRaw(*store_, codec_, "tipp.dat", 36, &error);
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, keys);
    EXPECT_EQ(loadTable(*store_, codec_, nullptr).keytexts[35], L"  Grüße aus Köln, Straße ÄÖÜ €  ");
}

TEST_F(StoreFolder, ExtraLinesAreLostAtTheNextSave) {
    write("tipps.dat", repeat("z\r\n", 12));
    std::wstring error;
    auto shortcuts = *readRaw(*store_, codec_, "tipps.dat", 9, &error);
    std::vector<std::wstring> keys(36, L"k");
    ASSERT_TRUE(saveAssignments(*store_, codec_, keys, shortcuts, &error));
    EXPECT_EQ(read("tipps.dat"), repeat("z\r\n", 9));
}

TEST_F(StoreFolder, AFailedSaveKeepsTheOldFileAndStops) {
    write("tipp.dat", "alt\r\n");
    fs::create_directory(dir_ / "tipps.dat");
    std::vector<std::wstring> keys(36, L"neu");
    std::vector<std::wstring> shortcuts(9, L"f1");
    std::wstring error;
    EXPECT_FALSE(saveAssignments(*store_, codec_, keys, shortcuts, &error));
    EXPECT_EQ(error.rfind(L"Die Datei tipps.dat konnte nicht gespeichert werden: ", 0), 0u);
    EXPECT_EQ(read("tipp.dat"), repeat("neu\r\n", 36)) << "tipp.dat is written before tipps.dat";
    EXPECT_TRUE(fs::is_directory(dir_ / "tipps.dat"));

    fs::remove(dir_ / "tipps.dat");
    write("tipps.dat", "vorher\r\n");
    fs::remove(dir_ / "tipp.dat");
    fs::create_directory(dir_ / "tipp.dat");
    EXPECT_FALSE(saveAssignments(*store_, codec_, keys, shortcuts, &error));
    EXPECT_NE(error.find(L"tipp.dat"), std::wstring::npos);
    EXPECT_EQ(read("tipps.dat"), "vorher\r\n") << "a failure on tipp.dat leaves tipps.dat alone";
    EXPECT_EQ(entries(), (std::set<std::string>{"tipp.dat", "tipps.dat"}));
}

TEST_F(StoreFolder, ReplaceKeepsTheOldContentWhenTheTemporaryFileCannotBeMade) {
    // The name fits, but the temporary name next to it is too long for the file system.
    const std::string name(250, 'n');
    write(name, "alt");
    std::wstring error;
    EXPECT_FALSE(store_->replaceAll(name, "neu", &error));
    EXPECT_EQ(error.rfind(L"Die Datei nnn", 0), 0u);
    EXPECT_EQ(read(name), "alt");
    EXPECT_EQ(entries(), (std::set<std::string>{name}));
}

TEST_F(StoreFolder, StdFileStoreBasics) {
    std::wstring error;
    EXPECT_FALSE(store_->exists("fehlt.dat"));
    EXPECT_FALSE(store_->readAll("fehlt.dat", &error));
    EXPECT_EQ(error.rfind(L"Die Datei fehlt.dat konnte nicht gelesen werden: ", 0), 0u);

    fs::create_directory(dir_ / "ordner");
    EXPECT_FALSE(store_->exists("ordner"));
    EXPECT_FALSE(store_->readAll("ordner", &error));

    ASSERT_TRUE(store_->replaceAll("a.dat", std::string("lang\0er Inhalt", 14), &error));
    EXPECT_TRUE(store_->exists("a.dat"));
    ASSERT_TRUE(store_->replaceAll("a.dat", "kurz", &error));
    EXPECT_EQ(store_->readAll("a.dat", &error), "kurz") << "nothing of the longer old content remains";
    ASSERT_TRUE(store_->replaceAll("a.dat", "", &error));
    EXPECT_EQ(store_->readAll("a.dat", &error), "");

    EXPECT_FALSE(store_->createNew("a.dat", "x", &error));
    EXPECT_EQ(error.rfind(L"Die Datei a.dat konnte nicht angelegt werden: ", 0), 0u);
    EXPECT_FALSE(store_->createNew("ordner", "x", &error));
    EXPECT_TRUE(store_->createNew("b.dat", "neu", &error));
    EXPECT_EQ(read("b.dat"), "neu");
    EXPECT_EQ(entries(), (std::set<std::string>{"a.dat", "b.dat", "ordner"}));
}

} // namespace
} // namespace ww
