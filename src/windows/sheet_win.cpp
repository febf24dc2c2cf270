#include "windows/sheet_win.h"

#include "platform/twips.h"
#include "platform/win32/handles.h"
#include "platform/win32/win_file_store.h"

#include <windows.h>
#include <winspool.h>

namespace ww::win {

namespace {

struct DcTraits {
    static HDC invalid() { return nullptr; }
    static void close(HDC h) { ::DeleteDC(h); }
};
using UniqueDc = Unique<HDC, DcTraits>;

// A printer DC's stock font is a screen font that printers lack; the sheet uses a face every Windows has.
constexpr const wchar_t* kSheetFace = L"Arial";

class GdiPageSurface final : public PageSurface {
public:
    explicit GdiPageSurface(HDC dc) : dc_(dc) { SetBkMode(dc_, TRANSPARENT); }
    GdiPageSurface(const GdiPageSurface&) = delete;
    GdiPageSurface& operator=(const GdiPageSurface&) = delete;
    ~GdiPageSurface() override {
        if (original_) SelectObject(dc_, original_);
    }

    bool setFont(int centiPoints, bool bold, FontMetrics* metrics) override {
        LOGFONTW lf{};
        lf.lfHeight = fontHeightForCentiPoints(centiPoints, static_cast<unsigned>(GetDeviceCaps(dc_, LOGPIXELSY)));
        lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
        lf.lfCharSet = DEFAULT_CHARSET;
        lstrcpynW(lf.lfFaceName, kSheetFace, LF_FACESIZE);
        UniqueFont font(CreateFontIndirectW(&lf));
        if (!font || !select(font.get())) return false;
        font_ = std::move(font); // the previous font is no longer selected
        TEXTMETRICW tm{};
        if (!GetTextMetricsW(dc_, &tm)) return false;
        metrics->averageCharWidth = tm.tmAveCharWidth;
        metrics->lineHeight = tm.tmHeight + tm.tmExternalLeading;
        return true;
    }

    int textWidth(std::wstring_view text) override {
        SIZE size{};
        GetTextExtentPoint32W(dc_, text.data(), static_cast<int>(text.size()), &size);
        return size.cx;
    }

    int pageWidth() const override { return GetDeviceCaps(dc_, HORZRES); }
    int pageHeight() const override { return GetDeviceCaps(dc_, VERTRES); }

    bool drawText(int x, int y, std::wstring_view text) override {
        return TextOutW(dc_, x, y, text.data(), static_cast<int>(text.size())) != FALSE;
    }

    bool newPage() override {
        if (EndPage(dc_) <= 0 || StartPage(dc_) <= 0) return false;
        SetBkMode(dc_, TRANSPARENT);
        return !font_ || select(font_.get()); // some drivers reset the DC at a new page
    }

private:
    bool select(HFONT font) {
        HGDIOBJ previous = SelectObject(dc_, font);
        if (!previous || previous == HGDI_ERROR) return false;
        if (!original_) original_ = previous;
        return true;
    }

    HDC dc_;
    HGDIOBJ original_ = nullptr;
    UniqueFont font_;
};

bool fail(std::wstring* error, const std::wstring& what, DWORD code) {
    // Some failing calls leave no error code; "completed successfully" must not follow a failure.
    if (error) *error = code ? what + L" " + systemMessage(code) : what;
    return false;
}

std::wstring defaultPrinter(DWORD* code) {
    DWORD size = 0;
    GetDefaultPrinterW(nullptr, &size);
    *code = GetLastError();
    if (size == 0 || *code != ERROR_INSUFFICIENT_BUFFER) return {};
    std::wstring name(size, L'\0');
    if (!GetDefaultPrinterW(name.data(), &size)) {
        *code = GetLastError();
        return {};
    }
    name.resize(wcslen(name.c_str()));
    return name;
}

} // namespace

bool printOnDefaultPrinter(const std::vector<SheetLine>& lines, std::wstring* error) {
    DWORD code = ERROR_SUCCESS;
    const std::wstring printer = defaultPrinter(&code);
    if (printer.empty()) {
        if (error)
            *error = L"Es ist kein Standarddrucker eingerichtet, daher kann die Tastenbelegung nicht gedruckt "
                     L"werden. Bitte richten Sie in Windows einen Drucker ein und versuchen Sie es noch einmal.";
        return false;
    }
    const std::wstring quoted = L"„" + printer + L"“";
    UniqueDc dc(CreateDCW(L"WINSPOOL", printer.c_str(), nullptr, nullptr));
    if (!dc) return fail(error, L"Der Drucker " + quoted + L" ist nicht erreichbar.", GetLastError());

    DOCINFOW doc{};
    doc.cbSize = sizeof doc;
    doc.lpszDocName = kSheetDocumentName;
    if (StartDocW(dc.get(), &doc) <= 0)
        return fail(error, L"Der Drucker " + quoted + L" nimmt keinen Druckauftrag an.", GetLastError());
    bool ok = StartPage(dc.get()) > 0;
    if (ok) {
        GdiPageSurface surface(dc.get());
        ok = printSheet(surface, lines);
    }
    ok = ok && EndPage(dc.get()) > 0;
    if (ok && EndDoc(dc.get()) > 0) return true;
    const DWORD failure = GetLastError();
    AbortDoc(dc.get());
    return fail(error,
                L"Beim Drucken auf " + quoted + L" ist ein Fehler aufgetreten; der Druckauftrag wurde abgebrochen.",
                failure);
}

} // namespace ww::win
