#pragma once
// `Form5`, the help window, without Win32: its five topic texts, its buttons and layout in twips, and which topic
// text is shown.
#include "platform/twips.h"
#include "ui/control_ids.h"

#include <array>

namespace ww {

inline constexpr const wchar_t* kForm5Title = L"H I L F E";
inline constexpr int kForm5Width = 6660; // client area in twips
inline constexpr int kForm5Height = 6180;

inline constexpr int kHelpTopicCount = 5; // topics A to E: the labels `Label1` 0 to 4
inline constexpr int kCloseHelp = -1;     // the button that closes the window instead of showing a topic

struct Form5Button {
    const wchar_t* name; // the control's name, "Form5.Command1", which gives its ID
    const wchar_t* caption;
    TwipsRect box;
    FontSpec font;
    int topic; // index of the topic text it shows, or kCloseHelp
    int id() const { return ids::controlId(name); }
};

struct HelpTopicText {
    const wchar_t* text;
    TwipsRect box; // the boxes overlap; only one text is visible at a time
};

inline constexpr FontSpec kHelpTextFont{L"MS Sans Serif", 975, false};

// The topic buttons from top to bottom, then the close button.
const std::array<Form5Button, 6>& form5Buttons();
const std::array<HelpTopicText, kHelpTopicCount>& helpTopics();
const Form5Button* form5ButtonById(int id);

// The buttons' boxes when each needs at least `minHeights` (twips) for its caption, in the order of form5Buttons():
// a button too low for its caption grows downwards and pushes the buttons below it, which keep a gap of 105 twips.
// Wherever the captions fit, these are the designed boxes.
std::array<TwipsRect, 6> form5ButtonBoxes(const std::array<int, 6>& minHeights);

// Which of the overlapping topic texts is visible: none after opening, at most one after the topic step.
class HelpTopicView {
public:
    void show(int topic); // the topic step: hide every topic text, then show this one
    bool visible(int topic) const;

private:
    std::array<bool, kHelpTopicCount> visible_{};
};

} // namespace ww
