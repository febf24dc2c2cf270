#include "store/assignments.h"
#include "windows/form2.h"
#include "memory_store.h"

#include <gtest/gtest.h>

#include <utility>

namespace ww {
namespace {

// Captions, selection and the questions are checked on the real window (tests/e2e/editor_test.sh).
class EditorTest : public ::testing::Test {
protected:
    EditorTest() { model_.load(store_, codec_, &problems_); }
    int step_ = 0;
    Form2Model model_{step_};
    MemoryStore store_{
        {{"tipp.dat", "eins\r\nzwei\r\n" + defaultLines(34)}, {"tipps.dat", "strg + f9\r\n" + defaultLines(8)}}};
    Windows1252Codec codec_;
    std::vector<std::wstring> problems_;
};

TEST(Form2Layout, EveryControlInsideTheWindowWithoutOverlap) {
    using namespace form2_layout;
    std::vector<TwipsRect> rects{kTextField, kSpeichern, kAusdrucken, kErledigt};
    for (int slot = 0; slot < kSlotCount; ++slot)
        rects.push_back(keyButton(slot));
    for (int word = 0; word < kWordCount; ++word)
        rects.push_back(form2_layout::word(word));
    for (std::size_t i = 0; i < rects.size(); ++i) {
        const auto& a = rects[i];
        EXPECT_TRUE(a.left >= 0 && a.top >= 0 && a.left + a.width <= kClientWidth && a.top + a.height <= kClientHeight)
            << i;
        for (std::size_t j = i + 1; j < rects.size(); ++j) {
            const auto& b = rects[j];
            EXPECT_TRUE(a.left + a.width <= b.left || b.left + b.width <= a.left || a.top + a.height <= b.top ||
                        b.top + b.height <= a.top)
                << i << " overlaps " << j;
        }
    }
}

// The bytes of every kind of field are the store's business (store_test.cpp); here the editor's own part.
TEST_F(EditorTest, SaveTurnsLineBreaksIntoHashesAndShowsEmptyFieldsAsTheDefault) {
    EXPECT_EQ(model_.field(36), L"strg + f9") << "tipps.dat fills Z1..Z9";
    EXPECT_TRUE(problems_.empty());
    model_.setField(0, L"");
    model_.setField(1, L"a\r\nb\nc\rd\n\re");
    ASSERT_EQ(model_.closeRequested(CloseRequest::Erledigt), CloseStep::AskDatenkontrolle);
    ASSERT_TRUE(model_.save(store_, codec_).saved);
    EXPECT_EQ(store_.files["tipp.dat"], defaultLines(1) + "a###b###c###d######e\r\n" + defaultLines(34));
    EXPECT_EQ(model_.field(0), kDefaultText) << "the field shows the default text";
    EXPECT_EQ(model_.field(1), L"a###b###c###d######e");
    EXPECT_EQ(model_.closeRequested(CloseRequest::Erledigt), CloseStep::Close);
}

TEST(Form2Paste, OneLineBreakAtTheEndIsDroppedTheOthersBecomeHashes) {
    const std::pair<std::wstring, std::wstring> cases[] = {
        {L"Zelle\r\n", L"Zelle"}, {L"Zeile\n", L"Zeile"}, {L"Zeile\r", L"Zeile"}, {L"a\r\n\r\n", L"a###"}};
    for (const auto& [clipboard, inserted] : cases)
        EXPECT_EQ(pastedText(clipboard), inserted);
}

// A keypad slot alone counts as an edit (the key slots do in the tests above).
TEST_F(EditorTest, ChangedFlagSurvivesEditingBackAndTheEndOfTheSessionNeverAsks) {
    model_.setField(44, L"neu");
    EXPECT_EQ(model_.closeRequested(CloseRequest::Erledigt), CloseStep::AskDatenkontrolle);
    model_.setField(44, L"*** Noch nicht benutzt ***"); // "Nein", then edited back
    EXPECT_EQ(model_.closeRequested(CloseRequest::CloseBox), CloseStep::AskDatenkontrolle);
    EXPECT_EQ(model_.closeRequested(CloseRequest::EndSession), CloseStep::Close);
}

TEST(Form2WordLight, StepsOnAcrossReopeningsAndShowsAllWordsUntilTheFirstTick) {
    int programStep = 0;
    std::string lit; // the words lit at each tick, one group per tick
    for (int opening = 0; opening < 3; ++opening) {
        Form2Model editor(programStep);
        for (int tick = 0; tick < (opening == 0 ? 4 : 3); ++tick, editor.tick()) {
            for (int w = 0; w < kWordCount; ++w)
                if (editor.wordEnabled(w)) lit += static_cast<char>('0' + w);
            lit += ' ';
        }
    }
    EXPECT_EQ(lit, "012345 1 2 3 012345 5 0 012345 2 3 ");
}

// A character the files cannot hold (named per key), or a blocked tipp.dat (where and how a save fails is the
// store's business, store_test.cpp): nothing is saved, the fields (an empty one too) and the changed flag stay.
TEST_F(EditorTest, AFailedSaveSaysWhyAndKeepsFieldsAndFlag) {
    const auto before = store_.files;
    model_.setField(0, L"");
    model_.setField(10, L"Łódź ł");
    model_.setField(38, L"strg + \xD83D\xDE00");
    model_.checkchanges();
    const SaveOutcome refused = model_.save(store_, codec_);
    EXPECT_FALSE(refused.saved);
    EXPECT_NE(refused.message.find(L"Taste A: „Ł“ „ź“ „ł“\nTaste Z3: „\xD83D\xDE00“\n"), std::wstring::npos)
        << refused.message;
    EXPECT_EQ(model_.field(10), L"Łódź ł");
    model_.setField(10, L"Lodz");
    model_.setField(38, L"alt + f4");
    store_.blocked = {"tipp.dat"};
    const SaveOutcome failed = model_.save(store_, codec_);
    EXPECT_FALSE(failed.saved);
    EXPECT_TRUE(failed.message.ends_with(L"Ihre Einträge bleiben im Fenster erhalten; bitte versuchen Sie es später "
                                         L"noch einmal."))
        << failed.message;
    EXPECT_EQ(store_.files, before);
    EXPECT_EQ(model_.field(0), L"");
    EXPECT_EQ(model_.field(38), L"alt + f4");
    EXPECT_TRUE(model_.changed());
}

// A text field cannot show a NUL character and gives back only what precedes it: unchanged, the record stays whole
// and nothing counts as changed; edited, it is the user's new text.
TEST_F(EditorTest, ARecordWithANulSurvivesItsTextFieldUntouched) {
    const std::string file = std::string("vor\0nach\r\n", 10) + defaultLines(35);
    store_.files["tipp.dat"] = file;
    model_.load(store_, codec_, &problems_);
    model_.takeShownText(0, L"vor");
    EXPECT_EQ(model_.closeRequested(CloseRequest::CloseBox), CloseStep::Close);
    ASSERT_TRUE(model_.save(store_, codec_).saved);
    EXPECT_EQ(store_.files["tipp.dat"], file);
    model_.takeShownText(0, L"vorher");
    EXPECT_EQ(model_.field(0), L"vorher");
}

} // namespace
} // namespace ww
