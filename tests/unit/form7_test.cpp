#include "memory_store.h"
#include "windows/form7.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ww {
namespace {

using Lines = std::vector<std::wstring>;
const std::wstring kDefault = L"*** Noch nicht benutzt ***";

// The overview's lines are checked on the real window (tests/e2e/lists_test.sh); here the files it cannot read.
TEST(Form7, MissingFilesReadAsDefaultsQuietlyUnreadableOnesAreReported) {
    MemoryStore store(MemoryStore::Files{{"tipp.dat", "eins\r\n"}});
    Lines problems;
    const Lines got = readOverview(store, Windows1252Codec{}, &problems);
    EXPECT_EQ((Lines{got.at(0), got.at(35), got.at(44)}),
              (Lines{L"1 = eins", L"Z = " + kDefault, L"Z9 = " + kDefault}));
    EXPECT_TRUE(problems.empty()) << "a missing file is no problem: the main window creates it";
    store.unreadable = {"tipp.dat"};
    EXPECT_EQ(readOverview(store, Windows1252Codec{}, &problems).at(0), L"1 = " + kDefault);
    EXPECT_EQ(problems, Lines{L"Die Datei tipp.dat konnte nicht gelesen werden: Der Zugriff wurde verweigert."});
}

TEST(ListLayout, FillsTheWindowLessTheMarginsButNeverPastTheClientAreaNorNegative) {
    const struct {
        int width, height, clientWidth, clientHeight;
        std::vector<int> list; // left, top, width, height
    } cases[] = {
        {3000, 6000, 2880, 5655, {1, 1, 2850, 5654}}, // thin frame: the margins; the height ends at the client area
        {3000, 6000, 2760, 5415, {1, 1, 2759, 5414}}, // thick frame: the client area
        {151, 301, 100, 100, {1, 1, 1, 1}},
        {100, 1000, 0, 0, {1, 1, 0, 0}},
    };
    for (const auto& c : cases) {
        const TwipsRect r = listLayout(c.width, c.height, c.clientWidth, c.clientHeight);
        EXPECT_EQ((std::vector{r.left, r.top, r.width, r.height}), c.list) << c.width << " x " << c.height;
    }
}

} // namespace
} // namespace ww
