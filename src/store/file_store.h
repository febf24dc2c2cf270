#pragma once
// The few file operations the store needs, so it can run against the disk or a test double, and the whole-file
// replacement built on them.
#include <optional>
#include <span>
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
    // Creates the file (replacing a file of that name) and writes `bytes` through to the disk. A failure may leave
    // part of the bytes behind, so only scratch files are written this way. `reason` gets the system's words.
    [[nodiscard]] virtual bool writeFile(const std::string& name, const std::string& bytes, std::wstring* reason) = 0;
    // Gives the file `from` the name `to` in one step, so that `to` is always either the old or the new file.
    // Without `replace` it fails if anything of that name exists (also a folder or a hidden file).
    [[nodiscard]] virtual bool moveFile(const std::string& from, const std::string& to, bool replace,
                                        std::wstring* reason) = 0;
    virtual void removeFile(const std::string& name) = 0;
};

enum class FileAction { Read, ReadPart, Save, Create };

// The German sentence for a failed file operation: "Die Datei tipp.dat konnte nicht gespeichert werden: <reason>"
// (ReadPart: "... konnte nicht ganz gelesen werden: ...").
std::wstring fileError(FileAction action, const std::string& name, std::wstring_view reason);

struct FileContent {
    std::string name;
    std::string bytes;
};

// Replaces the files as one: either every file gets its new bytes, or every file keeps its old bytes and `error`
// says which file failed and why, ending "Es wurde nichts gespeichert." The new bytes go to scratch files first
// and the old bytes of every file but the last to a copy (an empty one for a file that did not exist), so undoing
// needs no more writing, only renaming; a program stopped at any moment leaves each file whole, old or new, and
// finishReplacement() then makes them all old or all new. Should undoing fail as well, `error` names the files that
// already hold their new bytes, and the scratch files stay for finishReplacement() to complete the save.
[[nodiscard]] bool replaceFiles(FileStore& files, std::span<const FileContent> contents, std::wstring* error);

// Finishes a replaceFiles() of these files (one or two, in the same order) that was stopped: if the first file was
// already replaced (its copy is there, its scratch file is not), the others are put in place too; otherwise the
// scratch files of the unfinished save are removed. A rename that fails leaves everything as it is, each file
// whole, to be finished at the next call. Does nothing when no scratch file is there.
void finishReplacement(FileStore& files, std::span<const std::string> names);

// Creates the file with `bytes` only if nothing of that name exists yet (a hidden file or a folder that exists()
// does not count still blocks it), so a default file never overwrites anything.
[[nodiscard]] bool createNew(FileStore& files, const std::string& name, const std::string& bytes, std::wstring* error);

} // namespace ww
