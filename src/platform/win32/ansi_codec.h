#pragma once
// The assignment files' text in the system's ANSI code page, converted as Windows itself does.
#include "store/text_codec.h"

namespace ww::win {

class AnsiCodec final : public TextCodec {
public:
    std::wstring decode(std::string_view bytes) const override;
    // Characters the code page lacks become '?' (no best-fit look-alikes, so what is saved is what is shown).
    std::string encode(std::wstring_view text) const override;
    std::wstring unencodable(std::wstring_view text) const override;
};

} // namespace ww::win
