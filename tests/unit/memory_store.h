#pragma once
// Files in memory, for the store's tests and the fuzzers.
#include "store/file_store.h"

#include <map>
#include <set>
#include <string>

namespace ww::testing {

// A name in `unreadable` is a file that cannot be read; a name in `blocked` is no file (a folder, say) and cannot be
// created or replaced. Counts every attempt to write.
class MemoryStore final : public FileStore {
public:
    bool exists(const std::string& name) const override { return files.contains(name) || unreadable.contains(name); }
    std::optional<std::string> readAll(const std::string& name, std::wstring* error) const override {
        if (files.contains(name) && !unreadable.contains(name)) return files.at(name);
        *error = fileError(FileAction::Read, name, L"Der Zugriff wurde verweigert.");
        return std::nullopt;
    }
    bool replaceAll(const std::string& name, const std::string& bytes, std::wstring* error) override {
        return put(name, bytes, FileAction::Save, error);
    }
    bool createNew(const std::string& name, const std::string& bytes, std::wstring* error) override {
        return put(name, bytes, FileAction::Create, error);
    }

    std::map<std::string, std::string> files;
    std::set<std::string> unreadable, blocked;
    int writes = 0;

private:
    bool put(const std::string& name, const std::string& bytes, FileAction action, std::wstring* error) {
        ++writes;
        if (blocked.contains(name) || unreadable.contains(name) ||
            (action == FileAction::Create && files.contains(name))) {
            *error = fileError(action, name, L"Unter diesem Namen gibt es schon einen Eintrag.");
            return false;
        }
        files[name] = bytes;
        return true;
    }
};

} // namespace ww::testing
