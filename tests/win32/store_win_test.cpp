// What only the disk and the system's code page show; the store's logic is tested natively (tests/unit).
#include "platform/win32/ansi_codec.h"
#include "platform/win32/win_file_store.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <set>

namespace ww::win {
namespace {

namespace fs = std::filesystem;

// Runs each test in a fresh current directory, as the program works in its own.
class CurrentFolder : public ::testing::Test {
protected:
    CurrentFolder() {
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
    bool replace(const std::string& name, const std::string& bytes, std::wstring* error) {
        const FileContent content[] = {{name, bytes}};
        return replaceFiles(files_, content, error);
    }

    fs::path previous_ = fs::current_path();
    fs::path dir_ = fs::temp_directory_path() / L"wortwerk-store-win";
    Win32FileStore files_;
};

// Only a normal file exists: hidden and system files and folders do not, and a name is never a pattern.
TEST_F(CurrentFolder, ExistsFindsOnlyNormalFiles) {
    write("tipp.dat", "x", FILE_ATTRIBUTE_READONLY);
    write("versteckt.dat", "x", FILE_ATTRIBUTE_HIDDEN);
    write("system.dat", "x", FILE_ATTRIBUTE_SYSTEM);
    fs::create_directory("ordner");
    EXPECT_TRUE(files_.exists("TIPP.DAT"));
    for (const char* name : {"fehlt.dat", "ordner", "versteckt.dat", "system.dat", "t*.dat", "tipp.da?"})
        EXPECT_FALSE(files_.exists(name)) << name;
}

// Whole files of any bytes and size replace longer ones; a folder, a read-only file and a hidden file in the way
// keep what was there, and the error gives the system's reason; no scratch file is left behind.
TEST_F(CurrentFolder, ReplaceAndCreateWriteWholeFilesAndKeepWhatIsInTheirWay) {
    std::string all;
    for (int b = 0; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    const std::string big(3 << 20, 'g'); // more than one write call
    std::wstring error;
    ASSERT_TRUE(replace("tipp.dat", big + all, &error));
    EXPECT_TRUE(files_.readAll("tipp.dat", &error) == big + all);
    ASSERT_TRUE(replace("tipp.dat", "kurz", &error));
    EXPECT_EQ(files_.readAll("tipp.dat", &error), "kurz");

    const std::wstring saveFailed = L"Die Datei ordner konnte nicht gespeichert werden: ";
    fs::create_directory("ordner");
    EXPECT_FALSE(replace("ordner", "neu", &error));
    EXPECT_TRUE(error.starts_with(saveFailed) && error.size() > saveFailed.size()) << error;
    EXPECT_FALSE(files_.readAll("ordner", &error));
    EXPECT_TRUE(error.starts_with(L"Die Datei ordner konnte nicht gelesen werden: ")) << error;
    write("nur-lesen.dat", "alt", FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(replace("nur-lesen.dat", "neu", &error));
    EXPECT_EQ(files_.readAll("nur-lesen.dat", &error), "alt");
    write("versteckt.dat", "meins", FILE_ATTRIBUTE_HIDDEN); // "not there" for exists(), yet the user's
    EXPECT_FALSE(createNew(files_, "versteckt.dat", "standard", &error));
    EXPECT_TRUE(error.starts_with(L"Die Datei versteckt.dat konnte nicht angelegt werden: ")) << error;
    EXPECT_EQ(files_.readAll("versteckt.dat", &error), "meins");
    std::set<std::string> names; // no scratch file left behind
    for (const auto& entry : fs::directory_iterator("."))
        names.insert(entry.path().filename().string());
    EXPECT_EQ(names, (std::set<std::string>{"nur-lesen.dat", "ordner", "tipp.dat", "versteckt.dat"}));
}

// The system's conversion and ours agree on every byte and on which characters cannot be saved; no best-fit
// look-alikes.
TEST(AnsiCodec, MatchesTheSystemCodePage) {
    const AnsiCodec codec;
    if (GetACP() != 1252) GTEST_SKIP() << "the byte-exact checks need code page 1252, this system uses " << GetACP();
    EXPECT_EQ(codec.encode(L"Ā\u4E2D"), "??");
    EXPECT_EQ(codec.unencodable(L"Ā\u2192Ā?\U0001F600 Straße"), L"Ā\u2192\U0001F600");
    const Windows1252Codec ours;
    for (int b = 0; b < 256; ++b) {
        const std::string byte(1, static_cast<char>(b));
        EXPECT_EQ(codec.decode(byte), ours.decode(byte)) << "byte " << b;
        EXPECT_EQ(codec.encode(ours.decode(byte)), byte) << "byte " << b;
    }
    for (wchar_t c = 1; c < 0xD800 && !HasFailure(); ++c)
        EXPECT_EQ(codec.unencodable({&c, 1}), ours.unencodable({&c, 1})) << "character " << static_cast<int>(c);
}

} // namespace
} // namespace ww::win
