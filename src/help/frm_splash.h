#pragma once
// `frmSplash`, the first-start notice, without Win32: its text, colours and layout in twips, the typing step, and
// the first-start check that decides when it appears.
#include "help/form5.h"
#include "platform/twips.h"

#include <cstddef>
#include <string_view>

namespace ww {

class FileStore;

inline constexpr int kSplashWidth = 7380; // client area in twips
inline constexpr int kSplashHeight = 4845;
inline constexpr unsigned kSplashTypingMs = 50; // `Timer1`

struct HelpColour {
    unsigned char r, g, b;
};
inline constexpr HelpColour kFrameColour{64, 0, 0};     // `Frame1` and everything inside it
inline constexpr HelpColour kHeadingColour{255, 0, 0};  // `lblCompanyProduct`
inline constexpr HelpColour kTypingColour{255, 255, 0}; // `Text1` 1

inline constexpr const wchar_t* kSplashHeading = L"Erster Start von Wortwerk";
inline constexpr const wchar_t* kSplashButton = L"Das hätte ich auch ohne diese dummen Sprüche hinbekommen.";
// 643 characters in 11 lines, every line followed by CR LF.
extern const std::wstring_view kSplashText;

inline constexpr FontSpec kHeadingFont{L"Arial", 1800, true};
inline constexpr FontSpec kTypingFont{L"MS Sans Serif", 975, true};
inline constexpr FontSpec kSplashButtonFont{L"MS Sans Serif", 825, true};

// Layout in twips; the heading and the typing area are placed relative to the frame.
inline constexpr TwipsRect kFrame1{150, 180, 7080, 4035};
inline constexpr TwipsRect kLblCompanyProduct{1440, 240, 4215, 435};
inline constexpr TwipsRect kText1{120, 720, 6855, 3135};
inline constexpr TwipsRect kSplashCommand1{960, 4320, 5775, 495};
// The heading runs across the typing area's width, centred where its own box is centred: in that box (4215 twips)
// the bold 18 pt heading does not fit on one line, and its second line would be cut off.
inline constexpr TwipsRect kHeadingBox{kText1.left, kLblCompanyProduct.top, kText1.width, kLblCompanyProduct.height};
// A rectangle given relative to the frame, in the window's client coordinates.
constexpr TwipsRect inFrame1(TwipsRect r) {
    return {kFrame1.left + r.left, kFrame1.top + r.top, r.width, r.height};
}

// The typing step: one more character of the text per tick (CR and LF count singly); after the last one the button
// shows and the timer stops.
class SplashTyping {
public:
    explicit SplashTyping(std::wstring_view full = kSplashText) : full_(full) {}

    // One tick of the typing timer; returns true while the timer should keep running.
    bool tick();
    std::wstring_view shown() const { return full_.substr(0, count_); }
    std::size_t count() const { return count_; }
    bool complete() const { return count_ == full_.size(); }
    bool buttonVisible() const { return complete(); }

private:
    std::wstring_view full_;
    std::size_t count_ = 0;
};

inline constexpr const char* kFirstStartMarker = "1.dat";

// The first-start check, kept for the whole run: the notice is due when no marker file exists; the marker is then
// created. A marker that cannot be created does not stop the notice, and the notice never comes twice in one run,
// so a folder that cannot be written does not bring it back at every load of the main window.
class FirstStart {
public:
    // True if the notice should be shown now.
    bool check(FileStore& files);

private:
    bool noticeShown_ = false;
};

} // namespace ww
