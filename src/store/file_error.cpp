#include "store/file_store.h"

namespace ww {

std::wstring fileError(FileAction action, const std::string& name, std::wstring_view reason) {
    const wchar_t* verb = action == FileAction::Read   ? L"gelesen"
                          : action == FileAction::Save ? L"gespeichert"
                                                       : L"angelegt";
    return L"Die Datei " + std::wstring(name.begin(), name.end()) + L" konnte nicht " + verb + L" werden: " +
           std::wstring(reason);
}

} // namespace ww
