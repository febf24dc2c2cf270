#include "windows/sheet.h"

#include <algorithm>

namespace ww {

std::wstring sheetText(std::wstring_view text) {
    if (text.size() <= kSheetTextLimit) return std::wstring(text);
    return std::wstring(text.substr(0, kSheetTextLimit)) + L"...";
}

std::vector<SheetLine> sheetLines(const std::vector<std::wstring>& keyTexts,
                                  const std::vector<std::wstring>& captions) {
    const SheetLine headerGap{kHeaderCentiPoints, true, {}};
    std::vector<SheetLine> lines{
        headerGap, {kHeaderCentiPoints, true, {{Place::LeadIn, std::wstring(kSheetHeader)}}}, headerGap};
    const std::size_t count = std::min(keyTexts.size(), captions.size());
    for (std::size_t i = 0; i < count; ++i) {
        const std::wstring key = captions[i].empty() ? std::wstring() : captions[i].substr(captions[i].size() - 1);
        lines.push_back({kEntryCentiPoints,
                         false,
                         {{Place::NextZone, key},
                          {Place::NextZone, std::wstring(kSheetSeparator)},
                          {Place::AfterPrevious, sheetText(keyTexts[i])}}});
        lines.push_back({kEntryCentiPoints, false, {}});
    }
    return lines;
}

namespace {

int nextZone(int x, int zoneWidth) {
    return zoneWidth > 0 ? (x / zoneWidth + 1) * zoneWidth : x;
}

// Where each item of the line starts, and (last entry) where the line ends.
std::vector<int> itemPositions(PageSurface& surface, const SheetLine& line, const PageSurface::FontMetrics& metrics) {
    std::vector<int> positions;
    int x = 0;
    for (const SheetItem& item : line.items) {
        if (item.place == Place::LeadIn) x = kLeadInColumns * metrics.averageCharWidth;
        if (item.place == Place::NextZone) x = nextZone(x, kZoneColumns * metrics.averageCharWidth);
        positions.push_back(x);
        if (!item.text.empty()) x += surface.textWidth(item.text);
    }
    positions.push_back(x);
    return positions;
}

class Layout {
public:
    explicit Layout(PageSurface& surface) : surface_(surface) {}

    bool print(const SheetLine& line) {
        if (!useFont(line.centiPoints, line.bold)) return false;
        auto positions = itemPositions(surface_, line, metrics_);
        for (int size = line.centiPoints; positions.back() > surface_.pageWidth() && size > kSmallestCentiPoints;) {
            size = std::max(size - 50, kSmallestCentiPoints);
            if (!useFont(size, line.bold)) return false;
            positions = itemPositions(surface_, line, metrics_);
        }
        if (y_ > 0 && y_ + metrics_.lineHeight > surface_.pageHeight()) {
            if (!surface_.newPage()) return false;
            y_ = 0;
        }
        for (std::size_t i = 0; i < line.items.size(); ++i)
            if (!line.items[i].text.empty() && !surface_.drawText(positions[i], y_, line.items[i].text)) return false;
        y_ += metrics_.lineHeight;
        return true;
    }

private:
    bool useFont(int centiPoints, bool bold) {
        if (centiPoints == size_ && bold == bold_) return true;
        if (!surface_.setFont(centiPoints, bold, &metrics_)) return false;
        size_ = centiPoints;
        bold_ = bold;
        return true;
    }

    PageSurface& surface_;
    PageSurface::FontMetrics metrics_;
    int size_ = 0;
    bool bold_ = false;
    int y_ = 0;
};

} // namespace

std::wstring printFailureMessage(const PrintFailure& failure, std::wstring_view printer, std::wstring_view reason) {
    if (failure.code == kPrintCancelled && failure.step >= PrintStep::StartJob) return {};
    const std::wstring quoted = L"„" + std::wstring(printer) + L"“";
    std::wstring text;
    switch (failure.step) {
    case PrintStep::LoadSpooler:
        text = L"Die Druckfunktion von Windows lässt sich nicht laden, daher kann die Tastenbelegung nicht gedruckt "
               L"werden.";
        break;
    case PrintStep::FindPrinter:
        return L"Es ist kein Standarddrucker eingerichtet, daher kann die Tastenbelegung nicht gedruckt werden. Bitte "
               L"richten Sie in Windows einen Drucker ein und versuchen Sie es noch einmal.";
    case PrintStep::OpenPrinter:
        text = L"Der Drucker " + quoted + L" ist nicht erreichbar.";
        break;
    case PrintStep::StartJob:
        text = L"Der Drucker " + quoted + L" nimmt keinen Druckauftrag an.";
        break;
    case PrintStep::Print:
        text = L"Beim Drucken auf " + quoted + L" ist ein Fehler aufgetreten; der Druckauftrag wurde abgebrochen.";
        break;
    }
    // Some failing calls leave no error code; "completed successfully" must not follow a failure.
    if (failure.code != 0 && !reason.empty()) text += L" " + std::wstring(reason);
    return text;
}

bool printSheet(PageSurface& surface, const std::vector<SheetLine>& lines) {
    Layout layout(surface);
    for (const SheetLine& line : lines)
        if (!layout.print(line)) return false;
    return true;
}

} // namespace ww
