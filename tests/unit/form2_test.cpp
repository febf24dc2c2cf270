#include "store/assignments.h"
#include "windows/form2.h"
#include "memory_store.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <set>

namespace ww {
namespace {

std::string lines(std::initializer_list<const char*> records, int count) {
    std::string bytes;
    for (const char* r : records)
        bytes += std::string(r) + "\r\n", --count;
    while (count-- > 0)
        bytes += "*** Noch nicht benutzt ***\r\n";
    return bytes;
}

class EditorTest : public ::testing::Test {
protected:
    EditorTest() {
        store_.files["tipp.dat"] = lines({"eins", "zwei"}, 36);
        store_.files["tipps.dat"] = lines({"strg + f9"}, 9);
        model_.load(store_, codec_, &problems_);
    }
    int step_ = 0;
    Form2Model model_{step_};
    MemoryStore store_;
    Windows1252Codec codec_;
    std::vector<std::wstring> problems_;
};

TEST(Form2Layout, CaptionsAndButtonsInsideTheWindowWithoutOverlap) {
    std::wstring all;
    for (int slot = 0; slot < kSlotCount; ++slot)
        all += slotCaption(slot) + L" ";
    EXPECT_EQ(all, L"&1 &2 &3 &4 &5 &6 &7 &8 &9 &0 &a &b &c &d &e &f &g &h &i &j &k &l &m &n &o &p &q &r &s &t &u "
                   L"&v &w &x &y &z Z1 Z2 Z3 Z4 Z5 Z6 Z7 Z8 Z9 ");
    EXPECT_EQ(slotKeyName(10), L"A");
    EXPECT_EQ(slotKeyName(38), L"Z3");

    std::vector<TwipsRect> rects;
    for (int slot = 0; slot < kSlotCount; ++slot)
        rects.push_back(form2_layout::keyButton(slot));
    for (int word = 0; word < kWordCount; ++word)
        rects.push_back(form2_layout::word(word));
    for (auto r :
         {form2_layout::textField(), form2_layout::speichern(), form2_layout::ausdrucken(), form2_layout::erledigt()})
        rects.push_back(r);
    for (std::size_t i = 0; i < rects.size(); ++i) {
        const auto& a = rects[i];
        EXPECT_TRUE(a.left >= 0 && a.top >= 0 && a.left + a.width <= form2_layout::kClientWidth &&
                    a.top + a.height <= form2_layout::kClientHeight)
            << i;
        for (std::size_t j = i + 1; j < rects.size(); ++j) {
            const auto& b = rects[j];
            const bool apart = a.left + a.width <= b.left || b.left + b.width <= a.left || a.top + a.height <= b.top ||
                               b.top + b.height <= a.top;
            EXPECT_TRUE(apart) << i << " overlaps " << j;
        }
    }
}

TEST_F(EditorTest, LoadAndSelect) {
    EXPECT_EQ(model_.field(0), L"eins");
    EXPECT_EQ(model_.savedText(1), L"zwei");
    EXPECT_EQ(model_.field(35), kDefaultText);
    EXPECT_EQ(model_.field(36), L"strg + f9");
    EXPECT_TRUE(problems_.empty());
    EXPECT_FALSE(model_.selected());
    for (int slot = 0; slot < kSlotCount; ++slot)
        EXPECT_TRUE(model_.keyEnabled(slot) && !model_.fieldVisible(slot)) << slot;

    model_.select(10);
    EXPECT_TRUE(model_.fieldVisible(10));
    EXPECT_FALSE(model_.keyEnabled(10));
    model_.select(38);
    EXPECT_EQ(model_.selected(), 38);
    EXPECT_TRUE(model_.keyEnabled(10) && !model_.fieldVisible(10));
    EXPECT_TRUE(model_.fieldVisible(38) && !model_.keyEnabled(38));
    EXPECT_FALSE(model_.changed()) << "selecting changes nothing";
}

TEST_F(EditorTest, FilesDeletedShortenedOrUnreadableGiveDefaults) {
    store_.files.erase("tipps.dat");
    store_.files["tipp.dat"] = "nur eine Zeile";
    model_.load(store_, codec_, &problems_);
    EXPECT_EQ(model_.field(0), L"nur eine Zeile");
    EXPECT_EQ(model_.field(1), kDefaultText);
    EXPECT_EQ(model_.field(44), kDefaultText);
    EXPECT_TRUE(problems_.empty()) << "a deleted file is no problem: the main window recreates it";

    store_.files["tipps.dat"] = "x\r\n";
    store_.unreadable.insert("tipps.dat");
    model_.load(store_, codec_, &problems_);
    ASSERT_EQ(problems_.size(), 1u);
    EXPECT_EQ(problems_[0].rfind(L"Die Datei tipps.dat konnte nicht gelesen werden", 0), 0u);
    EXPECT_EQ(model_.field(36), kDefaultText);
}

TEST_F(EditorTest, SaveWritesEmptyAsDefaultBlanksAndHashesAsTyped) {
    model_.select(2);
    model_.setField(0, L"");
    model_.setField(1, L"   ");
    model_.setField(2, L"Name###Straße {x}");
    model_.setField(44, L"");
    model_.checkchanges();
    ASSERT_TRUE(model_.changed());
    const SaveOutcome outcome = model_.save(store_, codec_);
    ASSERT_TRUE(outcome.saved) << outcome.message;

    EXPECT_EQ(store_.files["tipp.dat"], lines({"*** Noch nicht benutzt ***", "   ",
                                               "Name###Stra\xDF"
                                               "e {x}"},
                                              36));
    EXPECT_EQ(store_.files["tipps.dat"], lines({"strg + f9"}, 9));
    EXPECT_EQ(model_.field(0), kDefaultText) << "the field shows the default text";
    EXPECT_EQ(model_.savedText(1), L"   ");
    EXPECT_FALSE(model_.changed());
    EXPECT_EQ(model_.selected(), 2) << "the selection stays";
    EXPECT_EQ(model_.closeRequested(CloseRequest::Erledigt), CloseStep::Close);
}

TEST_F(EditorTest, ChangedFlagSurvivesEditingBackUntilSaved) {
    model_.setField(0, L"neu");
    EXPECT_EQ(model_.closeRequested(CloseRequest::Erledigt), CloseStep::AskDatenkontrolle);
    model_.setField(0, L"eins"); // "Nein", then edited back
    EXPECT_EQ(model_.closeRequested(CloseRequest::Erledigt), CloseStep::AskDatenkontrolle);
    EXPECT_EQ(model_.closeRequested(CloseRequest::CloseBox), CloseStep::AskDatenkontrolle);
    EXPECT_EQ(model_.closeRequested(CloseRequest::EndSession), CloseStep::Close);

    Form2Model reopened(step_);
    reopened.load(store_, codec_, nullptr);
    EXPECT_EQ(reopened.closeRequested(CloseRequest::Erledigt), CloseStep::Close) << "the flag starts at 0";
}

TEST(Form2WordLight, StepsOnAcrossReopeningsAndShowsAllWordsUntilTheFirstTick) {
    int programStep = 0;
    std::vector<int> lit;
    const auto litWord = [](const Form2Model& m) {
        int found = -1, count = 0;
        for (int w = 0; w < kWordCount; ++w)
            if (m.wordEnabled(w)) found = w, ++count;
        return count == 1 ? found : -count;
    };
    for (int opening = 0; opening < 3; ++opening) {
        Form2Model editor(programStep);
        EXPECT_EQ(litWord(editor), -kWordCount) << "all words show until the first tick";
        for (int tick = 0; tick < (opening == 0 ? 3 : 2); ++tick) {
            editor.tick();
            lit.push_back(litWord(editor));
        }
    }
    EXPECT_EQ(lit, (std::vector<int>{1, 2, 3, 4, 5, 0, 1}));
}

TEST_F(EditorTest, UnstorableCharactersAndLineBreaks) {
    const std::string before = store_.files["tipp.dat"];
    model_.setField(10, L"Łódź ł");
    model_.setField(38, L"strg + \U0001F600");
    model_.setField(1, L"Zeile 1\r\nZeile 2\nZeile 3\r");
    SaveOutcome outcome = model_.save(store_, codec_);
    EXPECT_FALSE(outcome.saved);
    EXPECT_NE(outcome.message.find(L"Taste A: „Ł“ „ź“ „ł“\nTaste Z3: „\U0001F600“\n"), std::wstring::npos)
        << outcome.message;
    EXPECT_EQ(outcome.message.find(L"Taste 2"), std::wstring::npos);
    EXPECT_EQ(store_.files["tipp.dat"], before) << "nothing saved";
    EXPECT_EQ(model_.field(10), L"Łódź ł");

    model_.setField(10, L"Lodz");
    model_.setField(38, L"");
    outcome = model_.save(store_, codec_);
    ASSERT_TRUE(outcome.saved) << outcome.message;
    EXPECT_EQ(model_.field(1), L"Zeile 1###Zeile 2###Zeile 3###");
    const char* d = "*** Noch nicht benutzt ***";
    EXPECT_EQ(store_.files["tipp.dat"],
              lines({"eins", "Zeile 1###Zeile 2###Zeile 3###", d, d, d, d, d, d, d, d, "Lodz"}, 36));
    EXPECT_EQ(lineBreaksAsHashes(L"\n\ra"), L"######a");
}

TEST_F(EditorTest, AFailedSaveKeepsFieldsFlagAndBothFilesByteForByte) {
    // tipp.dat blocked, tipps.dat blocked, and a disk that fills up half way: the new tipp.dat (986 bytes) fits,
    // tipps.dat does not.
    const struct {
        const char* blocked;
        std::size_t bytesLeft;
        const wchar_t* failedFile;
    } faults[] = {{"tipp.dat", SIZE_MAX, L"tipp.dat"}, {"tipps.dat", SIZE_MAX, L"tipps.dat"}, {"", 1000, L"tipps.dat"}};
    for (const auto& fault : faults) {
        const auto before = store_.files;
        model_.setField(0, L"");
        model_.setField(40, L"alt + f4");
        model_.checkchanges();
        store_.blocked = {fault.blocked};
        store_.bytesLeft = fault.bytesLeft;
        const SaveOutcome outcome = model_.save(store_, codec_);
        EXPECT_FALSE(outcome.saved);
        EXPECT_EQ(outcome.message.rfind(L"Die Datei " + std::wstring(fault.failedFile) +
                                            L" konnte nicht gespeichert "
                                            L"werden: ",
                                        0),
                  0u)
            << outcome.message;
        EXPECT_NE(outcome.message.find(L"Es wurde nichts gespeichert."), std::wstring::npos);
        EXPECT_EQ(store_.files, before) << fault.failedFile;
        EXPECT_EQ(model_.field(0), L"") << "an empty field stays empty";
        EXPECT_EQ(model_.field(40), L"alt + f4");
        EXPECT_EQ(model_.savedText(40), kDefaultText);
        EXPECT_TRUE(model_.changed());
    }
    store_.blocked.clear();
    store_.bytesLeft = SIZE_MAX;
    EXPECT_TRUE(model_.save(store_, codec_).saved);
}

// A text field cannot show a NUL character and gives back only what precedes it: unchanged, the record stays whole
// and nothing counts as changed; edited, it is the user's new text.
TEST_F(EditorTest, ARecordWithANulSurvivesItsTextFieldUntouched) {
    const std::string file = std::string("vor\0nach\r\n", 10) + lines({"zwei"}, 35);
    store_.files["tipp.dat"] = file;
    model_.load(store_, codec_, &problems_);
    model_.takeShownText(0, L"vor");
    EXPECT_EQ(model_.closeRequested(CloseRequest::CloseBox), CloseStep::Close);
    ASSERT_TRUE(model_.save(store_, codec_).saved);
    EXPECT_EQ(store_.files["tipp.dat"], file);
    model_.takeShownText(0, L"vorher");
    EXPECT_EQ(model_.closeRequested(CloseRequest::CloseBox), CloseStep::AskDatenkontrolle);
    EXPECT_EQ(model_.field(0), L"vorher");
}

} // namespace
} // namespace ww
