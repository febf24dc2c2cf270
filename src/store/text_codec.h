#pragma once
// Converts between the single-byte ANSI bytes of the assignment files and the program's wide strings.
#include <string>
#include <string_view>

namespace ww {

class TextCodec {
public:
    virtual ~TextCodec() = default;
    virtual std::wstring decode(std::string_view bytes) const = 0;
    // Characters the code page cannot hold become '?', as the platform's own conversion does.
    virtual std::string encode(std::wstring_view text) const = 0;
};

// Windows-1252, the ANSI code page of German Windows; every byte decodes and encodes back to itself.
class Windows1252Codec final : public TextCodec {
public:
    std::wstring decode(std::string_view bytes) const override;
    std::string encode(std::wstring_view text) const override;
};

} // namespace ww
