#pragma once
// The assignment files on disk, in the process's current directory, through the Win32 file API.
#include "store/file_store.h"

#include <string>

namespace ww::win {

class Win32FileStore final : public FileStore {
public:
    bool exists(const std::string& name) const override;
    std::optional<std::string> readAll(const std::string& name, std::wstring* error) const override;
    [[nodiscard]] bool writeFile(const std::string& name, const std::string& bytes, std::wstring* reason) override;
    [[nodiscard]] bool moveFile(const std::string& from, const std::string& to, bool replace,
                                std::wstring* reason) override;
    void removeFile(const std::string& name) override;
};

// The system's text for a Win32 error code, in the user's language, without the trailing line end.
std::wstring systemMessage(unsigned long code);

} // namespace ww::win
