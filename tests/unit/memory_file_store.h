#pragma once
// Assignment files in memory for the read-only list windows: there, missing, or there but unreadable.
#include "store/file_store.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace ww {

class MemoryFileStore final : public FileStore {
public:
    std::map<std::string, std::string> files;
    std::set<std::string> unreadable;

    bool exists(const std::string& name) const override { return files.contains(name) || unreadable.contains(name); }
    std::optional<std::string> readAll(const std::string& name, std::wstring* error) const override {
        if (files.contains(name) && !unreadable.contains(name)) return files.at(name);
        *error = fileError(FileAction::Read, name, L"Der Zugriff wurde verweigert.");
        return std::nullopt;
    }
    bool replaceAll(const std::string&, const std::string&, std::wstring*) override { return written(); }
    bool createNew(const std::string&, const std::string&, std::wstring*) override { return written(); }

private:
    static bool written() {
        ADD_FAILURE() << "a list window wrote a file";
        return false;
    }
};

} // namespace ww
