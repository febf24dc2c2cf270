#include "windows/sheet_win.h"

#include "platform/twips.h"
#include "platform/win32/handles.h"
#include "platform/win32/system_library.h"
#include "platform/win32/win_file_store.h"

#include <windows.h>

#include <optional>

namespace ww::win {

namespace {

static_assert(kPrintCancelled == ERROR_CANCELLED);

// A printer DC's stock font is a screen font that printers lack; the sheet uses a face every Windows has.
constexpr const wchar_t* kSheetFace = L"Arial";

// Makes one call and, when it fails, keeps its error code in `*code`. The code is cleared first: a call that fails
// without setting one reads 0, never the code of an earlier call.
template <typename Call> bool attempt(Call call, DWORD* code) {
    SetLastError(ERROR_SUCCESS);
    if (call()) return true;
    *code = GetLastError();
    return false;
}

class GdiPageSurface final : public PageSurface {
public:
    explicit GdiPageSurface(HDC dc) : dc_(dc) {}
    GdiPageSurface(const GdiPageSurface&) = delete;
    GdiPageSurface& operator=(const GdiPageSurface&) = delete;
    ~GdiPageSurface() override {
        if (original_) SelectObject(dc_, original_);
    }

    // The error code of the call that failed.
    DWORD error() const { return error_; }

    bool startPage() {
        if (!attempt([&] { return StartPage(dc_) > 0; }, &error_)) return false;
        SetBkMode(dc_, TRANSPARENT);
        return !font_ || select(font_.get()); // some drivers reset the DC at a new page
    }

    bool endPage() {
        return attempt([&] { return EndPage(dc_) > 0; }, &error_);
    }

    bool endDocument() {
        return endPage() && attempt([&] { return EndDoc(dc_) > 0; }, &error_);
    }

    bool setFont(int centiPoints, bool bold, FontMetrics* metrics) override {
        LOGFONTW lf{};
        lf.lfHeight = fontHeightForCentiPoints(centiPoints, static_cast<unsigned>(GetDeviceCaps(dc_, LOGPIXELSY)));
        lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
        lf.lfCharSet = DEFAULT_CHARSET;
        lstrcpynW(lf.lfFaceName, kSheetFace, LF_FACESIZE);
        HFONT created = nullptr;
        if (!attempt([&] { return (created = CreateFontIndirectW(&lf)) != nullptr; }, &error_)) return false;
        UniqueFont font(created);
        if (!select(font.get())) return false;
        font_ = std::move(font); // the previous font is no longer selected
        TEXTMETRICW tm{};
        if (!attempt([&] { return GetTextMetricsW(dc_, &tm) != FALSE; }, &error_)) return false;
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
        return attempt([&] { return TextOutW(dc_, x, y, text.data(), static_cast<int>(text.size())) != FALSE; },
                       &error_);
    }

    bool newPage() override { return endPage() && startPage(); }

private:
    bool select(HFONT font) {
        HGDIOBJ previous = nullptr;
        if (!attempt([&] { return (previous = SelectObject(dc_, font)) && previous != HGDI_ERROR; }, &error_))
            return false;
        if (!original_) original_ = previous;
        return true;
    }

    HDC dc_;
    HGDIOBJ original_ = nullptr;
    UniqueFont font_;
    DWORD error_ = ERROR_SUCCESS;
};

using GetDefaultPrinterFn = BOOL(WINAPI*)(wchar_t*, DWORD*);

bool defaultPrinter(GetDefaultPrinterFn getDefaultPrinter, std::wstring* name, DWORD* code) {
    DWORD size = 0;
    // Asked for the size only, it fails with ERROR_INSUFFICIENT_BUFFER when there is a default printer.
    if (attempt([&] { return getDefaultPrinter(nullptr, &size); }, code) || size == 0 ||
        *code != ERROR_INSUFFICIENT_BUFFER)
        return false;
    name->assign(size, L'\0');
    if (!attempt([&] { return getDefaultPrinter(name->data(), &size); }, code)) return false;
    name->resize(wcslen(name->c_str()));
    return !name->empty();
}

std::optional<PrintFailure> print(const std::vector<SheetLine>& lines, std::wstring* printer) {
    DWORD code = ERROR_SUCCESS;
    // The spooler is no KnownDLL: imported, it would be looked for beside the program first. Loaded here from the
    // system folder, it is there for printing only; the printer DC below finds it already loaded.
    const UniqueModule spooler = loadSystemLibrary(L"winspool.drv", &code);
    if (!spooler) return PrintFailure{PrintStep::LoadSpooler, code};
    const auto getDefaultPrinter = systemFunction<GetDefaultPrinterFn>(spooler.get(), "GetDefaultPrinterW");
    if (!getDefaultPrinter) return PrintFailure{PrintStep::LoadSpooler, GetLastError()};
    if (!defaultPrinter(getDefaultPrinter, printer, &code)) return PrintFailure{PrintStep::FindPrinter, code};

    HDC created = nullptr;
    if (!attempt([&] { return (created = CreateDCW(L"WINSPOOL", printer->c_str(), nullptr, nullptr)) != nullptr; },
                 &code))
        return PrintFailure{PrintStep::OpenPrinter, code};
    const UniqueDc dc(created);
    DOCINFOW doc{};
    doc.cbSize = sizeof doc;
    doc.lpszDocName = kSheetDocumentName;
    if (!attempt([&] { return StartDocW(dc.get(), &doc) > 0; }, &code)) return PrintFailure{PrintStep::StartJob, code};

    GdiPageSurface surface(dc.get());
    if (surface.startPage() && printSheet(surface, lines) && surface.endDocument()) return std::nullopt;
    AbortDoc(dc.get());
    return PrintFailure{PrintStep::Print, surface.error()};
}

} // namespace

bool printOnDefaultPrinter(const std::vector<SheetLine>& lines, std::wstring* error) {
    std::wstring printer;
    const std::optional<PrintFailure> failure = print(lines, &printer);
    if (!failure) return true;
    if (error) *error = printFailureMessage(*failure, printer, failure->code ? systemMessage(failure->code) : L"");
    return false;
}

} // namespace ww::win
