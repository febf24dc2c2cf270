#pragma once
// Assignment files in memory, for the read-only windows: files that are there, missing or unreadable.
#include "store/file_store.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

namespace ww {

class MemoryFileStore final : public FileStore {
public:
    std::map<std::string, std::string> files;
    std::set<std::string> unreadable; // there, but reading fails

    bool exists(const std::string& name) const override { return files.contains(name) || unreadable.contains(name); }
    std::optional<std::string> readAll(const std::string& name, std::wstring* error) const override {
        if (auto it = files.find(name); it != files.end() && !unreadable.contains(name)) return it->second;
        *error = fileError(FileAction::Read, name,
                           unreadable.contains(name) ? L"Der Zugriff wurde verweigert." : L"Nicht gefunden.");
        return std::nullopt;
    }
    bool replaceAll(const std::string& name, const std::string&, std::wstring*) override { return wrote(name); }
    bool createNew(const std::string& name, const std::string&, std::wstring*) override { return wrote(name); }

private:
    static bool wrote(const std::string& name) {
        ADD_FAILURE() << "a list window wrote " << name;
        return false;
    }
};

} // namespace ww
