#pragma once
// Files in memory for the unit tests. A name in `unreadable` is a file that cannot be read; a name in `blocked`
// is no file (a folder, or a file another program holds open) and cannot be written or replaced. Faults on demand:
// `bytesLeft` is how many bytes the disk still takes (a write that needs more keeps what fitted and fails),
// `refusedMoves` which renames fail (counted from 0 in `moves`), `stopAt` at which write, rename or removal (counted
// from 0 in `operations`) the program is killed: that call throws Stopped, a write leaving half its bytes when
// `partly`.
#include "store/file_store.h"

#include <algorithm>
#include <limits>
#include <map>
#include <set>
#include <string>
#include <utility>

namespace ww {

// `count` lines of the text an unused record is stored as, written out apart from the program's own.
inline std::string defaultLines(int count) {
    std::string bytes;
    while (count-- > 0)
        bytes += "*** Noch nicht benutzt ***\r\n";
    return bytes;
}

class MemoryStore final : public FileStore {
public:
    using Files = std::map<std::string, std::string>;
    struct Stopped {};
    explicit MemoryStore(Files initial = {}) : files(std::move(initial)) {}

    bool exists(const std::string& name) const override { return files.contains(name) || unreadable.contains(name); }
    std::optional<std::string> readAll(const std::string& name, std::wstring* error) const override {
        if (files.contains(name) && !unreadable.contains(name)) return files.at(name);
        *error = fileError(FileAction::Read, name, L"Der Zugriff wurde verweigert.");
        return std::nullopt;
    }
    bool writeFile(const std::string& name, const std::string& bytes, std::wstring* reason) override {
        stop(name, &bytes);
        if (!writable(name, reason)) return false;
        const std::size_t fits = std::min(bytes.size(), bytesLeft);
        files[name] = bytes.substr(0, fits);
        bytesLeft -= fits;
        if (fits == bytes.size()) return true;
        *reason = L"Auf dem Datenträger ist nicht genügend Speicherplatz vorhanden.";
        return false;
    }
    bool moveFile(const std::string& from, const std::string& to, bool replace, std::wstring* reason) override {
        stop(from, nullptr);
        const bool refused = refusedMoves.contains(moves++);
        if (!files.contains(from) || !writable(to, reason) || (!replace && files.contains(to)) || refused) {
            *reason = L"Die Datei wird von einem anderen Prozess verwendet.";
            return false;
        }
        files[to] = files[from];
        files.erase(from);
        return true;
    }
    void removeFile(const std::string& name) override {
        stop(name, nullptr);
        files.erase(name);
    }

    Files files;
    std::set<std::string> unreadable, blocked;
    std::size_t bytesLeft = std::numeric_limits<std::size_t>::max();
    std::set<int> refusedMoves;
    int moves = 0;
    int stopAt = -1;
    bool partly = false;
    int operations = 0;

private:
    void stop(const std::string& name, const std::string* bytes) {
        if (operations++ != stopAt) return;
        if (bytes && partly) files[name] = bytes->substr(0, bytes->size() / 2);
        throw Stopped{};
    }
    bool writable(const std::string& name, std::wstring* reason) const {
        if (!blocked.contains(name) && !unreadable.contains(name)) return true;
        *reason = L"Die Datei wird von einem anderen Prozess verwendet.";
        return false;
    }
};

} // namespace ww
