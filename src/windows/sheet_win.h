#pragma once
// Prints the assignment sheet on the default printer, without any dialog.
#include "windows/sheet.h"

#include <string>
#include <vector>

namespace ww::win {

inline constexpr const wchar_t* kSheetDocumentName = L"Tastenbelegung";

// False with a German `error` when there is no default printer or the job failed; a started job is then
// cancelled. A job the user cancelled (in the printer's own prompt) is false with no `error`.
bool printOnDefaultPrinter(const std::vector<SheetLine>& lines, std::wstring* error);

} // namespace ww::win
