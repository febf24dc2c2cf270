#pragma once
// `Form2`, the assignment editor, without Win32: its 45 key slots, layout, the saved-text table, the changed flag,
// the save and close decisions and the word light.
#include "platform/twips.h"
#include "store/file_store.h"
#include "store/text_codec.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace ww {

inline constexpr int kSlotCount = 45; // key slots: 0..35 the keys "1".."9", "0", "A".."Z"; 36..44 Z1..Z9
inline constexpr int kFirstPadSlot = 36;
inline constexpr int kWordCount = 6;

inline constexpr const wchar_t* kForm2Title = L"Wortwerk";
inline constexpr const wchar_t* kSpeichernCaption = L"Speichern";
inline constexpr const wchar_t* kErledigtCaption = L"alles erledigt";
inline constexpr const wchar_t* kAusdruckenCaption = L"Tastenbelegung ausdrucken";
inline constexpr const wchar_t* kDatenkontrolleTitle = L"Datenkontrolle";
inline constexpr const wchar_t* kDatenkontrolleText =
    L"Sie haben Einträge geändert aber noch nicht gespeichert. Wollen Sie fortfahren ohne zu speichern?";
inline constexpr std::array<const wchar_t*, kWordCount> kWords = {L"Taste ", L"auswählen", L"und",
                                                                  L"den",    L"Text",      L"eingeben."};

// Button captions: "&1".."&9", "&0", "&a".."&z", then "Z1".."Z9" (no access key).
std::wstring slotCaption(int slot);

// Layout in twips.
namespace form2_layout {
inline constexpr int kClientWidth = 5175;
inline constexpr int kClientHeight = 4620;
TwipsRect keyButton(int slot);
TwipsRect word(int index);
inline constexpr TwipsRect kTextField{120, 2520, 4935, 375};
inline constexpr TwipsRect kSpeichern{120, 3960, 1215, 615};
inline constexpr TwipsRect kAusdrucken{1560, 3960, 1455, 615};
inline constexpr TwipsRect kErledigt{3240, 3960, 1695, 615};
} // namespace form2_layout

// A line break has no place in a one-line record: it becomes "###", which types as Enter.
std::wstring lineBreaksAsHashes(std::wstring_view text);
// What a paste into a field inserts: the lines joined by "###". A copied cell or line ends in a line break; that
// one at the very end is dropped, or the key would type an unwanted Enter (sending a chat message, a form).
std::wstring pastedText(std::wstring_view clipboard);

enum class CloseRequest { Erledigt, CloseBox, EndSession };
enum class CloseStep { Close, AskDatenkontrolle };

struct SaveOutcome {
    bool saved = false;
    std::wstring title;   // for the message box when nothing was saved
    std::wstring message; // German, says what went wrong and that nothing was lost
};

class Form2Model {
public:
    // `wordStep` lives as long as the program: the word light goes on where it stopped when the window reopens.
    explicit Form2Model(int& wordStep) : wordStep_(wordStep) {}

    // Fills every field and saved-text entry from the two files; a file that cannot be read gives the default
    // text for its slots, and `problems` says why (nothing for a file that is simply missing).
    void load(FileStore& files, const TextCodec& codec, std::vector<std::wstring>* problems);

    const std::wstring& field(int slot) const { return fields_.at(static_cast<std::size_t>(slot)); }
    void setField(int slot, std::wstring text) { fields_.at(static_cast<std::size_t>(slot)) = std::move(text); }
    // What the slot's text field shows now. The field shows a text only up to its first NUL character (a byte a
    // hand-edited file may hold); getting that back unchanged leaves the text whole and unchanged.
    void takeShownText(int slot, std::wstring shown);

    // Sets the changed flag at any field that differs from its saved text; never clears it.
    void checkchanges();
    bool changed() const { return changed_; }

    // Writes both files through the store's atomic save. Refuses (saving nothing) when a field holds characters
    // the files' code page cannot hold. On any failure the fields, the saved texts and the changed flag stay as
    // they were and both files keep their previous bytes.
    SaveOutcome save(FileStore& files, const TextCodec& codec);

    // "alles erledigt", the close box and the system menu ask when there are unsaved changes; the end of the
    // Windows session never asks.
    CloseStep closeRequested(CloseRequest request);

    // The texts of the 36 keys, for the printed sheet.
    std::vector<std::wstring> keyTexts() const;

    // Word light: one tick every 500 ms. Until this window's first tick every word shows.
    void tick();
    bool wordEnabled(int index) const { return !ticked_ || index == wordStep_; }

private:
    std::array<std::wstring, kSlotCount> fields_{};
    std::array<std::wstring, kSlotCount> saved_{};
    bool changed_ = false;
    bool ticked_ = false;
    int& wordStep_;
};

} // namespace ww
