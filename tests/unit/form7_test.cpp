#include "memory_store.h"
#include "windows/form7.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ww {
namespace {

using Lines = std::vector<std::wstring>;
const std::wstring kDefault = L"*** Noch nicht benutzt ***";

TEST(Form7, OverviewShowsEveryStoredLineAfterItsKeyPrefixInKeyOrder) {
    MemoryStore store;
    std::string tipp;
    for (int i = 0; i < 36; ++i)
        tipp += (i == 23 ? std::string("Name###Stra\337e {x}") : "t" + std::to_string(i)) + "\r\n";
    store.files["tipp.dat"] = tipp + "extra\r\n";
    store.files["tipps.dat"] = "strg + a\r\nstrgf9\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\nneun\r\nzehn\r\n";
    Lines problems;
    const Lines got = readOverview(store, Windows1252Codec{}, &problems);
    ASSERT_EQ(got.size(), 45u);
    EXPECT_TRUE(problems.empty());
    const std::wstring keys = L"1234567890ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    for (int i = 0; i < 36; ++i)
        EXPECT_EQ(got[i], keys.substr(i, 1) + L" = " + (i == 23 ? L"Name###Straße {x}" : L"t" + std::to_wstring(i)));
    EXPECT_EQ(got[36], L"Z1 = strg + a") << "shortcuts as written, not translated";
    EXPECT_EQ(got[37], L"Z2 = strgf9");
    EXPECT_EQ(got[43], L"Z8 = 8");
    EXPECT_EQ(got[44], L"Z9 = neun");
}

TEST(Form7, ShortMissingDamagedAndUnreadableFilesNeverFail) {
    MemoryStore store;
    store.files["tipp.dat"] = std::string("eins\r\nzw\0ei\rdr\377", 15); // short, a NUL, a lone CR, no last line end
    Lines problems;
    Lines got = readOverview(store, Windows1252Codec{}, &problems);
    ASSERT_EQ(got.size(), 45u);
    EXPECT_EQ(got[0], L"1 = eins");
    EXPECT_EQ(got[1], std::wstring(L"2 = zw\0ei", 9));
    EXPECT_EQ(got[2], L"3 = drÿ");
    EXPECT_EQ(got[35], L"Z = " + kDefault);
    EXPECT_EQ(got[36], L"Z1 = " + kDefault) << "tipps.dat is missing";
    EXPECT_EQ(got[44], L"Z9 = " + kDefault);
    EXPECT_TRUE(problems.empty()) << "a missing file is no problem: the main window creates it";

    store.unreadable = {"tipp.dat"};
    got = readOverview(store, Windows1252Codec{}, &problems);
    ASSERT_EQ(got.size(), 45u);
    EXPECT_EQ(got[0], L"1 = " + kDefault);
    EXPECT_EQ(problems, Lines{L"Die Datei tipp.dat konnte nicht gelesen werden: Der Zugriff wurde verweigert."});
}

TEST(ListLayout, FillsTheWindowLessTheMarginsAndNeverGoesNegative) {
    const struct {
        int width, height;
        std::vector<int> list; // left, top, width, height
    } cases[] = {
        {3000, 6000, {1, 1, 2850, 5700}}, {4000, 8000, {1, 1, 3850, 7700}}, {151, 301, {1, 1, 1, 1}},
        {150, 300, {1, 1, 0, 0}},         {100, 1000, {1, 1, 0, 700}},      {0, 0, {1, 1, 0, 0}},
    };
    for (const auto& c : cases) {
        const TwipsRect r = listLayout(c.width, c.height);
        EXPECT_EQ((std::vector{r.left, r.top, r.width, r.height}), c.list) << c.width << " x " << c.height;
    }
}

} // namespace
} // namespace ww
