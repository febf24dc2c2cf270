#pragma once
// Converts between the bytes of the assignment files and the program's wide strings.
#include <functional>
#include <string>
#include <string_view>

namespace ww {

// The platform's ANSI code page, in which the assignment files are written.
class TextCodec {
public:
    virtual ~TextCodec() = default;
    virtual std::wstring decode(std::string_view bytes) const = 0;
    // Characters the code page cannot hold become '?', as the platform's own conversion does.
    virtual std::string encode(std::wstring_view text) const = 0;
    // The characters of `text` that encode() cannot keep, each once, in order of first appearance (a surrogate
    // pair counts as one character); empty if the whole text can be saved as it is.
    virtual std::wstring unencodable(std::wstring_view text) const = 0;
};

// Windows-1252, the ANSI code page of German Windows; every byte decodes and encodes back to itself.
class Windows1252Codec final : public TextCodec {
public:
    std::wstring decode(std::string_view bytes) const override;
    std::string encode(std::wstring_view text) const override;
    std::wstring unencodable(std::wstring_view text) const override;
};

// The text of an assignment file. Editors save UTF-8 today: a file that starts with the UTF-8 byte-order mark, or
// that is valid UTF-8 and has bytes above 0x7F, is read as UTF-8 without the mark. Notepad's "Unicode" files start
// with the UTF-16 mark (little- or big-endian) and are read as UTF-16. Any other file goes through `ansi`.
// A damaged UTF-16 file (a half character at the end, a lone surrogate half) is read as far as it is whole, each
// lone half as U+FFFD, and `damage` (may be null; cleared otherwise) says what is wrong, in German, for the user.
std::wstring decodeFileText(const TextCodec& ansi, std::string_view bytes, std::wstring* damage = nullptr);

// The characters of `text` (a surrogate pair counts as one) for which `lacks` holds, each once, in order.
std::wstring charactersWhere(std::wstring_view text, const std::function<bool(std::wstring_view)>& lacks);

} // namespace ww
