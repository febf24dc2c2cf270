#include "store/assignments.h"
#include "windows/form2.h"
#include "memory_store.h"

#include <gtest/gtest.h>

#include <cstdint>

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

// Captions, selection and the questions are checked on the real window (tests/e2e/editor_test.sh).
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

TEST(Form2Layout, EveryControlInsideTheWindowWithoutOverlap) {
    std::vector<TwipsRect> rects;
    for (int slot = 0; slot < kSlotCount; ++slot)
        rects.push_back(form2_layout::keyButton(slot));
    for (int word = 0; word < kWordCount; ++word)
        rects.push_back(form2_layout::word(word));
    for (auto r :
         {form2_layout::kTextField, form2_layout::kSpeichern, form2_layout::kAusdrucken, form2_layout::kErledigt})
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

// The bytes of every kind of field are the store's business (store_test.cpp); here the editor's own part.
TEST_F(EditorTest, SaveTurnsLineBreaksIntoHashesAndShowsEmptyFieldsAsTheDefault) {
    EXPECT_EQ(model_.field(1), L"zwei");
    EXPECT_EQ(model_.field(36), L"strg + f9") << "tipps.dat fills Z1..Z9";
    EXPECT_TRUE(problems_.empty());
    model_.setField(0, L"");
    model_.setField(1, L"a\r\nb\nc\rd\n\re");
    ASSERT_EQ(model_.closeRequested(CloseRequest::Erledigt), CloseStep::AskDatenkontrolle);
    const SaveOutcome outcome = model_.save(store_, codec_);
    ASSERT_TRUE(outcome.saved) << outcome.message;

    EXPECT_EQ(store_.files["tipp.dat"], lines({"*** Noch nicht benutzt ***", "a###b###c###d######e"}, 36));
    EXPECT_EQ(model_.field(0), kDefaultText) << "the field shows the default text";
    EXPECT_EQ(model_.field(1), L"a###b###c###d######e");
    EXPECT_EQ(model_.closeRequested(CloseRequest::Erledigt), CloseStep::Close);
}

TEST(Form2Paste, OneLineBreakAtTheEndIsDroppedTheOthersBecomeHashes) {
    const struct {
        std::wstring clipboard, inserted;
    } cases[] = {
        {L"Zelle\r\n", L"Zelle"},
        {L"Zeile\n", L"Zeile"},
        {L"Zeile\r", L"Zeile"},
        {L"a\r\n\r\n", L"a###"},
        {L"Name\r\nStraße\r\n", L"Name###Straße"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(pastedText(c.clipboard), c.inserted);
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

TEST_F(EditorTest, UnstorableCharactersAreNamedPerKeyAndNothingIsSaved) {
    const auto before = store_.files;
    model_.setField(10, L"Łódź ł");
    model_.setField(38, L"strg + \xD83D\xDE00");
    const SaveOutcome outcome = model_.save(store_, codec_);
    EXPECT_FALSE(outcome.saved);
    EXPECT_NE(outcome.message.find(L"Taste A: „Ł“ „ź“ „ł“\nTaste Z3: „\xD83D\xDE00“\n"), std::wstring::npos)
        << outcome.message;
    EXPECT_EQ(outcome.message.find(L"Taste 2"), std::wstring::npos);
    EXPECT_EQ(store_.files, before);
    EXPECT_EQ(model_.field(10), L"Łódź ł");
}

// The store names the file that failed (store_test.cpp); here a blocked tipp.dat, and a disk that fills up half way
// (the new tipp.dat, 986 bytes, fits; tipps.dat does not).
TEST_F(EditorTest, AFailedSaveKeepsFieldsFlagAndBothFilesByteForByte) {
    const auto before = store_.files;
    model_.setField(0, L"");
    model_.setField(40, L"alt + f4");
    model_.checkchanges();
    for (const std::size_t bytesLeft : {SIZE_MAX, std::size_t{1000}}) {
        store_.blocked = {bytesLeft == SIZE_MAX ? "tipp.dat" : ""};
        store_.bytesLeft = bytesLeft;
        const SaveOutcome outcome = model_.save(store_, codec_);
        EXPECT_FALSE(outcome.saved);
        EXPECT_TRUE(
            outcome.message.ends_with(L"Es wurde nichts gespeichert. Ihre Einträge bleiben im Fenster erhalten; "
                                      L"bitte versuchen Sie es später noch einmal."))
            << outcome.message;
        EXPECT_EQ(store_.files, before) << bytesLeft;
        EXPECT_EQ(model_.field(0), L"") << "an empty field stays empty";
        EXPECT_EQ(model_.field(40), L"alt + f4");
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
