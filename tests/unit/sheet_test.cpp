#include "windows/form2.h"
#include "windows/sheet.h"

#include <gtest/gtest.h>

namespace ww {
namespace {

// A printer whose characters all have the same width; records what is drawn where.
struct RecordingSurface final : PageSurface {
    struct Drawn {
        int page, x, y, centiPoints;
        bool bold;
        std::wstring text;
        bool operator==(const Drawn&) const = default;
    };
    explicit RecordingSurface(int height, int width = 100000) : height(height), width(width) {}

    bool setFont(int size, bool bold, FontMetrics* metrics) override {
        centiPoints = size;
        this->bold = bold;
        metrics->averageCharWidth = charWidth = size / 200; // 10 pt: 5 units a character
        metrics->lineHeight = size / 50;                    // 10 pt: 20 units a line
        return true;
    }
    int textWidth(std::wstring_view text) override { return charWidth * static_cast<int>(text.size()); }
    int pageWidth() const override { return width; }
    int pageHeight() const override { return height; }
    bool drawText(int x, int y, std::wstring_view text) override {
        if (static_cast<int>(drawn.size()) == failAt) return false;
        drawn.push_back({page, x, y, centiPoints, bold, std::wstring(text)});
        return true;
    }
    bool newPage() override { return !pagesFail && ++page > 0; }

    int height, width, centiPoints = 0, charWidth = 1, page = 1, failAt = -1;
    bool bold = false, pagesFail = false;
    std::vector<Drawn> drawn;
};

std::vector<std::wstring> keyCaptions() {
    std::vector<std::wstring> captions;
    for (int slot = 0; slot < kFirstPadSlot; ++slot)
        captions.push_back(slotCaption(slot));
    return captions;
}

// Characters of 5 units at 10 pt, lines of 20; the header at 20 pt two columns in after an empty line; each entry
// the key in the second print zone (14 columns), the separator in the third, the text right after it (cut after
// 60 characters), then an empty line.
TEST(Sheet, HeaderThenThirtySixEntriesInKeyOrderInTheirZones) {
    std::vector<std::wstring> texts(36, L"t");
    texts[0] = std::wstring(61, L'a');
    texts[1] = std::wstring(60, L'b');
    texts[10] = L""; // draws nothing
    RecordingSurface surface(100000);
    ASSERT_TRUE(printSheet(surface, sheetLines(texts, keyCaptions())));
    std::vector<RecordingSurface::Drawn> expected{
        {1, 2 * 10, 40, 2000, true, L"T A S T E N B E L E G U N G   V O N   W O R T W E R K"}};
    const std::wstring keys = L"1234567890abcdefghijklmnopqrstuvwxyz"; // no keypad entries
    for (int entry = 0, y = 3 * 40; entry < 36; ++entry, y += 2 * 20) {
        expected.push_back({1, 14 * 5, y, 1000, false, keys.substr(entry, 1)});
        expected.push_back({1, 28 * 5, y, 1000, false, L" belegt mit    "});
        if (entry != 10)
            expected.push_back(
                {1, 43 * 5, y, 1000, false, entry == 0 ? std::wstring(60, L'a') + L"..." : texts[entry]});
    }
    EXPECT_EQ(surface.drawn, expected);
}

TEST(Sheet, BreaksPagesBeforeALineWouldPassTheBottomAndStopsAtAFailure) {
    RecordingSurface surface(500);
    const std::vector<std::wstring> texts(36, L"t");
    ASSERT_TRUE(printSheet(surface, sheetLines(texts, keyCaptions())));
    // 120 units of header lines, then 72 lines of 20: 19 lines fit on page 1, 25 on pages 2 and 3, 3 on page 4.
    std::wstring keys;
    for (int page = 1; const auto& d : surface.drawn) {
        EXPECT_LE(d.y + (d.bold ? 40 : 20), 500);
        if (d.x != 14 * 5) continue;
        keys += (d.page == page ? L"" : L"|") + d.text;
        page = d.page;
    }
    EXPECT_EQ(keys, L"1234567890|abcdefghijkl|mnopqrstuvwxy|z");
    EXPECT_EQ(surface.drawn.back().page, surface.page);

    RecordingSurface failing(100000), noNewPage(500);
    failing.failAt = 5;
    EXPECT_FALSE(printSheet(failing, sheetLines(texts, keyCaptions())));
    EXPECT_EQ(failing.drawn.size(), 5u);
    noNewPage.pagesFail = true;
    EXPECT_FALSE(printSheet(noNewPage, sheetLines(texts, keyCaptions())));
}

TEST(Sheet, ALineWiderThanThePageShrinksUntilItFits) {
    std::vector<std::wstring> texts(36, L"t");
    texts[1] = std::wstring(61, L'b');
    RecordingSurface surface(100000, 400);
    ASSERT_TRUE(printSheet(surface, sheetLines(texts, keyCaptions())));
    EXPECT_EQ(surface.drawn[0].centiPoints, 1550)
        << "the largest size, in half points, at which 56 columns fit 400 units";
    const auto& longText = surface.drawn[6]; // header, then key, separator, text of entries 1 and 2
    EXPECT_EQ(longText.text, std::wstring(60, L'b') + L"...");
    EXPECT_LT(longText.centiPoints, 1000);
    EXPECT_LE(longText.x + longText.centiPoints / 200 * 63, 400);
    EXPECT_EQ(surface.drawn[7].centiPoints, 1000) << "the next entry is back at 10 pt";
}

// The message names the failed step and, unless the call gave none (code 0), its reason; a job the user cancelled
// (in the printer's own "save as" prompt, say) needs none.
TEST(Sheet, PrintFailureMessageNamesTheFailedStepAndStaysSilentWhenTheUserCancelled) {
    const struct {
        PrintFailure failure;
        std::wstring ends;
    } cases[] = {
        {{PrintStep::StartJob, kPrintCancelled}, L""},
        {{PrintStep::Print, kPrintCancelled}, L""},
        {{PrintStep::StartJob, 5}, L"Der Drucker „PDF“ nimmt keinen Druckauftrag an. Grund."},
        {{PrintStep::Print, 0}, L"der Druckauftrag wurde abgebrochen."},
        {{PrintStep::LoadSpooler, 126}, L"daher kann die Tastenbelegung nicht gedruckt werden. Grund."},
    };
    for (const auto& c : cases) {
        const std::wstring message = printFailureMessage(c.failure, L"PDF", L"Grund.");
        EXPECT_TRUE(message.ends_with(c.ends) && message.empty() == c.ends.empty()) << message;
    }
}

} // namespace
} // namespace ww
