#pragma once
// The printed assignment sheet without Win32: its lines, and their layout on pages (print zones, line heights,
// page breaks) through a small page-surface interface that a printer implements.
#include <string>
#include <string_view>
#include <vector>

namespace ww {

inline constexpr std::wstring_view kSheetHeader = L"T A S T E N B E L E G U N G   V O N   W O R T W E R K";
inline constexpr std::wstring_view kSheetSeparator = L" belegt mit    ";
inline constexpr std::size_t kSheetTextLimit = 60;
inline constexpr int kZoneColumns = 14;
inline constexpr int kLeadInColumns = 2;
inline constexpr int kHeaderCentiPoints = 2000;
inline constexpr int kEntryCentiPoints = 1000;
inline constexpr int kSmallestCentiPoints = 600; // a line too wide for the page shrinks down to this size

// A text longer than the limit is cut to its first 60 characters followed by "...".
std::wstring sheetText(std::wstring_view text);

enum class Place {
    AfterPrevious, // directly after the previous item
    NextZone,      // at the start of the next print zone
    LeadIn,        // two columns in, before the first item of a line
};

struct SheetItem {
    Place place;
    std::wstring text;
    bool operator==(const SheetItem&) const = default;
};

// One printed line in one font; a line without items is an empty line.
struct SheetLine {
    int centiPoints;
    bool bold;
    std::vector<SheetItem> items;
    bool operator==(const SheetLine&) const = default;
};

// The sheet for the 36 keys, from their texts and button captions in key order: an empty line, the header, an
// empty line, then each key's entry followed by an empty line. The key character is the caption's last one.
std::vector<SheetLine> sheetLines(const std::vector<std::wstring>& keyTexts, const std::vector<std::wstring>& captions);

// What the sheet needs of a printer, in device units. Each call returns false when the printer failed.
class PageSurface {
public:
    virtual ~PageSurface() = default;
    struct FontMetrics {
        int averageCharWidth = 0;
        int lineHeight = 0;
    };
    virtual bool setFont(int centiPoints, bool bold, FontMetrics* metrics) = 0;
    virtual int textWidth(std::wstring_view text) = 0;
    virtual int pageWidth() const = 0;
    virtual int pageHeight() const = 0;
    virtual bool drawText(int x, int y, std::wstring_view text) = 0;
    virtual bool newPage() = 0;
};

// The steps of printing that can fail, in order, and the error a failing call left (0 when it left none).
enum class PrintStep {
    LoadSpooler, // the system's print spooler library
    FindPrinter, // the default printer
    OpenPrinter, // a device context for it
    StartJob,    // the print job
    Print,       // pages and the end of the job
};
struct PrintFailure {
    PrintStep step;
    unsigned long code;
};
inline constexpr unsigned long kPrintCancelled = 1223; // ERROR_CANCELLED: the user cancelled the printer's own prompt

// What the user is told after printing failed: the step's message, then `reason` (the system's text for the code)
// when the call left a code. Empty for a job the user cancelled: that needs no message.
std::wstring printFailureMessage(const PrintFailure& failure, std::wstring_view printer, std::wstring_view reason);

// Lays the lines out from the top of the first page and starts a new page whenever a line would pass the bottom.
// A line wider than the page is set in a smaller size until it fits, so nothing is cut off at the right edge.
// Stops at the first failure of the surface and returns false.
bool printSheet(PageSurface& surface, const std::vector<SheetLine>& lines);

} // namespace ww
