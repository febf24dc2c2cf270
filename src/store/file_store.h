#pragma once
// The few file operations the store needs, so it can run against the disk or a test double.
#include <optional>
#include <string>
#include <string_view>

namespace ww {

class FileStore {
public:
    virtual ~FileStore() = default;
    // The program's `fileexists`: true only for a normal file; folders, hidden and system files and any error
    // count as "no file".
    virtual bool exists(const std::string& name) const = 0;
    // The whole file, or nothing if it cannot be opened or read; `error` then says why (German, for the user).
    virtual std::optional<std::string> readAll(const std::string& name, std::wstring* error) const = 0;
    // Replaces the file with `bytes` as a whole: written to a temporary file in the same folder first, so the
    // old content survives any failure. On failure returns false and says why in `error` (German).
    [[nodiscard]] virtual bool replaceAll(const std::string& name, const std::string& bytes, std::wstring* error) = 0;
    // Creates the file with `bytes` only if nothing of that name exists yet (a hidden file or a folder that
    // exists() does not count still blocks it), so a default file never overwrites anything.
    [[nodiscard]] virtual bool createNew(const std::string& name, const std::string& bytes, std::wstring* error) = 0;
};

enum class FileAction { Read, Save, Create };

// The German sentence for a failed file operation: "Die Datei tipp.dat konnte nicht gespeichert werden: <reason>".
std::wstring fileError(FileAction action, const std::string& name, std::wstring_view reason);

} // namespace ww
