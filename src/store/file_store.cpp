#include "store/file_store.h"

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <random>
#include <system_error>

namespace ww {

namespace fs = std::filesystem;

namespace {

std::wstring germanReason(std::error_code ec) {
    if (ec == std::errc::no_such_file_or_directory) {
        return L"Die Datei oder der Ordner wurde nicht gefunden.";
    }
    if (ec == std::errc::is_a_directory) {
        return L"Unter diesem Namen liegt ein Ordner.";
    }
    if (ec == std::errc::permission_denied || ec == std::errc::operation_not_permitted) {
        return L"Der Zugriff wurde verweigert.";
    }
    if (ec == std::errc::file_exists) {
        return L"Unter diesem Namen gibt es schon einen Eintrag.";
    }
    if (ec == std::errc::no_space_on_device) {
        return L"Auf dem Datenträger ist kein Platz mehr.";
    }
    if (ec == std::errc::read_only_file_system) {
        return L"Der Datenträger ist schreibgeschützt.";
    }
    return L"Systemfehler " + std::to_wstring(ec.value()) + L".";
}

// Streams report failure without a reason; errno of the failed call is the best there is.
std::error_code lastError() {
    return {errno != 0 ? errno : EIO, std::generic_category()};
}

bool fail(std::wstring* error, FileAction action, const std::string& name, std::error_code ec) {
    if (error) {
        *error = fileError(action, name, germanReason(ec));
    }
    return false;
}

std::string randomSuffix() {
    static std::mt19937_64 generator{std::random_device{}()};
    static constexpr char kHex[] = "0123456789abcdef";
    std::string suffix;
    for (auto bits = generator(); suffix.size() < 12; bits >>= 4) {
        suffix.push_back(kHex[bits & 0xF]);
    }
    return suffix;
}

} // namespace

StdFileStore::StdFileStore(std::string folder) : folder_(std::move(folder)) {}

std::string StdFileStore::path(const std::string& name) const {
    return (fs::path(folder_) / name).string();
}

bool StdFileStore::exists(const std::string& name) const {
    std::error_code ec;
    return fs::is_regular_file(path(name), ec);
}

std::optional<std::string> StdFileStore::readAll(const std::string& name, std::wstring* error) const {
    const std::string file = path(name);
    std::error_code ec;
    if (fs::is_directory(file, ec)) {
        fail(error, FileAction::Read, name, std::make_error_code(std::errc::is_a_directory));
        return std::nullopt;
    }
    errno = 0;
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        fail(error, FileAction::Read, name, lastError());
        return std::nullopt;
    }
    std::string bytes;
    char buffer[16384];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        bytes.append(buffer, static_cast<std::size_t>(in.gcount()));
    }
    if (in.bad() || !in.eof()) {
        fail(error, FileAction::Read, name, lastError());
        return std::nullopt;
    }
    return bytes;
}

bool StdFileStore::writeTemp(const std::string& name, const std::string& bytes, FileAction action, std::string* temp,
                             std::wstring* error) const {
    *temp = path(name) + ".tmp-" + randomSuffix();
    errno = 0;
    std::ofstream out(*temp, std::ios::binary | std::ios::trunc);
    if (!out) {
        return fail(error, action, name, lastError());
    }
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    out.close();
    if (out.fail()) {
        const auto ec = lastError();
        std::error_code ignored;
        fs::remove(*temp, ignored);
        return fail(error, action, name, ec);
    }
    return true;
}

bool StdFileStore::replaceAll(const std::string& name, const std::string& bytes, std::wstring* error) {
    std::string temp;
    if (!writeTemp(name, bytes, FileAction::Save, &temp, error)) {
        return false;
    }
    std::error_code ec;
    fs::rename(temp, path(name), ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(temp, ignored);
        return fail(error, FileAction::Save, name, ec);
    }
    return true;
}

bool StdFileStore::createNew(const std::string& name, const std::string& bytes, std::wstring* error) {
    std::error_code ec;
    if (fs::exists(fs::symlink_status(path(name), ec))) {
        return fail(error, FileAction::Create, name, std::make_error_code(std::errc::file_exists));
    }
    std::string temp;
    if (!writeTemp(name, bytes, FileAction::Create, &temp, error)) {
        return false;
    }
    fs::rename(temp, path(name), ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(temp, ignored);
        return fail(error, FileAction::Create, name, ec);
    }
    return true;
}

} // namespace ww
