#include "platform/win32/ansi_codec.h"
#include "platform/win32/handles.h"
#include "platform/win32/win_file_store.h"
#include "store/assignments.h"
#include "store/text_codec.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <set>

namespace ww::win {
namespace {

namespace fs = std::filesystem;
using Names = std::set<std::string>;

// Runs each test in a fresh current directory, as the program works in its own.
class CurrentFolder : public ::testing::Test {
protected:
    CurrentFolder() {
        static int number = 0;
        dir_ = fs::temp_directory_path() /
               (L"wortwerk-store-win-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++number));
        fs::create_directories(dir_);
        fs::current_path(dir_);
    }
    ~CurrentFolder() override {
        fs::current_path(previous_);
        for (const auto& entry : fs::recursive_directory_iterator(dir_))
            SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
        fs::remove_all(dir_);
    }

    static void write(const std::string& name, const std::string& bytes, DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
        std::ofstream(name, std::ios::binary) << bytes;
        ASSERT_TRUE(SetFileAttributesA(name.c_str(), attributes));
    }
    static std::string read(const std::string& name) {
        std::ifstream in(name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    static Names entries() {
        Names names;
        for (const auto& entry : fs::directory_iterator("."))
            names.insert(entry.path().filename().string());
        return names;
    }

    bool replace(const std::string& name, const std::string& bytes, std::wstring* error) {
        const FileContent content[] = {{name, bytes}};
        return replaceFiles(files_, content, error);
    }

    fs::path previous_ = fs::current_path();
    fs::path dir_;
    Win32FileStore files_;
};

TEST_F(CurrentFolder, ExistsFindsOnlyNormalFiles) {
    write("tipp.dat", "x");
    write("schreibgeschuetzt.dat", "x", FILE_ATTRIBUTE_READONLY);
    write("versteckt.dat", "x", FILE_ATTRIBUTE_HIDDEN);
    write("system.dat", "x", FILE_ATTRIBUTE_SYSTEM);
    fs::create_directory("ordner");
    for (const char* name : {"tipp.dat", "TIPP.DAT", "schreibgeschuetzt.dat"})
        EXPECT_TRUE(files_.exists(name)) << name;
    for (const char* name : {"fehlt.dat", "ordner", "versteckt.dat", "system.dat", "", "t*.dat", "tipp.da?",
                             "a<b>|.dat", "fehlt\\tipp.dat", "Q:\\kein\\laufwerk.dat"})
        EXPECT_FALSE(files_.exists(name)) << name;
}

TEST_F(CurrentFolder, ReplaceWritesWholeFilesOfAnyBytesAndSize) {
    std::string all;
    for (int b = 0; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    std::wstring error;
    ASSERT_TRUE(replace("tipp.dat", all + all, &error));
    EXPECT_EQ(files_.readAll("tipp.dat", &error), all + all);
    ASSERT_TRUE(replace("tipp.dat", "kurz", &error));
    EXPECT_EQ(read("tipp.dat"), "kurz") << "nothing of the longer old content remains";
    const std::string big(3 << 20, 'g'); // more than one write call
    ASSERT_TRUE(replace("gross.dat", big, &error));
    EXPECT_TRUE(files_.readAll("gross.dat", &error) == big);
    EXPECT_EQ(entries(), (Names{"gross.dat", "tipp.dat"})) << "no temporary file left behind";
}

TEST_F(CurrentFolder, FailuresKeepWhatWasThereAndSayWhy) {
    const std::wstring saveFailed = L"Die Datei tipp.dat konnte nicht gespeichert werden: ";
    fs::create_directory("tipp.dat");
    write("tipp.dat/innen.txt", "bleibt");
    std::wstring error;
    EXPECT_FALSE(replace("tipp.dat", "neu", &error));
    EXPECT_EQ(error.rfind(saveFailed, 0), 0u) << error;
    EXPECT_GT(error.size(), saveFailed.size()) << "the system's reason follows";
    EXPECT_EQ(read("tipp.dat/innen.txt"), "bleibt");
    EXPECT_FALSE(files_.readAll("tipp.dat", &error));
    EXPECT_EQ(error.rfind(L"Die Datei tipp.dat konnte nicht gelesen werden: ", 0), 0u) << error;
    EXPECT_FALSE(files_.readAll("fehlt.dat", &error));

    write("nur-lesen.dat", "alt", FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(replace("nur-lesen.dat", "neu", &error));
    EXPECT_EQ(read("nur-lesen.dat"), "alt");
    EXPECT_FALSE(replace("fehlt\\tipp.dat", "neu", &error));

    EXPECT_EQ(entries(), (Names{"nur-lesen.dat", "tipp.dat"})) << "no temporary file left behind";
}

TEST_F(CurrentFolder, CreateNewNeverReplacesAnything) {
    std::wstring error;
    ASSERT_TRUE(createNew(files_, "tipps.dat", "neu", &error));
    EXPECT_FALSE(createNew(files_, "tipps.dat", "anders", &error));
    EXPECT_EQ(error.rfind(L"Die Datei tipps.dat konnte nicht angelegt werden: ", 0), 0u) << error;
    // A hidden file is "not there" for exists(), yet it holds the user's texts.
    write("tipp.dat", "meins", FILE_ATTRIBUTE_HIDDEN);
    EXPECT_FALSE(createNew(files_, "tipp.dat", "standard", &error));
    EXPECT_EQ(read("tipp.dat"), "meins");
    EXPECT_EQ(read("tipps.dat"), "neu");
    EXPECT_EQ(entries(), (Names{"tipp.dat", "tipps.dat"}));
}

// A tipps.dat that another program holds open cannot be replaced once tipp.dat already is: tipp.dat gets its old
// bytes back by renaming, and nothing else is left in the folder.
TEST_F(CurrentFolder, ASaveThatCannotReplaceTippsDatPutsTippDatBack) {
    const AnsiCodec codec;
    write("tipp.dat", "alt\r\n");
    write("tipps.dat", "strg + a\r\n");
    UniqueFile held(CreateFileW(L"tipps.dat", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held);
    std::vector<std::wstring> keys(36, L"neu"), shortcuts(9, L"f1");
    std::wstring error;
    EXPECT_FALSE(saveAssignments(files_, codec, keys, shortcuts, &error));
    EXPECT_EQ(error.rfind(L"Die Datei tipps.dat konnte nicht gespeichert werden: ", 0), 0u) << error;
    EXPECT_TRUE(error.ends_with(L"Es wurde nichts gespeichert.")) << error;
    held.reset();
    EXPECT_EQ(read("tipp.dat"), "alt\r\n");
    EXPECT_EQ(read("tipps.dat"), "strg + a\r\n");
    EXPECT_EQ(entries(), (Names{"tipp.dat", "tipps.dat"}));
    ASSERT_TRUE(saveAssignments(files_, codec, keys, shortcuts, &error)) << error;
    EXPECT_EQ(read("tipps.dat").substr(0, 4), "f1\r\n");
}

TEST(AnsiCodec, MatchesTheSystemCodePage) {
    const AnsiCodec codec;
    if (GetACP() != 1252) GTEST_SKIP() << "the byte-exact checks need code page 1252, this system uses " << GetACP();
    EXPECT_EQ(codec.encode(L"Ā\u4E2D"), "??") << "no best-fit look-alikes";
    EXPECT_EQ(codec.unencodable(L"Ā\u2192Ā?\U0001F600 Straße"), L"Ā\u2192\U0001F600");
    // The system's own table and ours agree on every byte.
    const Windows1252Codec ours;
    for (int b = 0; b < 256; ++b) {
        const std::string byte(1, static_cast<char>(b));
        EXPECT_EQ(codec.decode(byte), ours.decode(byte)) << "byte " << b;
        EXPECT_EQ(codec.encode(ours.decode(byte)), byte) << "byte " << b;
    }
    // And on which characters cannot be saved.
    int disagreements = 0;
    for (wchar_t c = 1; c < 0xD800 && disagreements < 5; ++c) {
        const std::wstring_view one(&c, 1);
        if (codec.unencodable(one) != ours.unencodable(one)) {
            ADD_FAILURE() << "character " << static_cast<int>(c);
            ++disagreements;
        }
    }
}

} // namespace
} // namespace ww::win
