#pragma once
// The system clipboard for `putText`; the owner window becomes the clipboard's owner when it sets text.
#include "platform/clipboard.h"

#include <windows.h>

namespace ww::win {

class Win32Clipboard final : public Clipboard {
public:
    explicit Win32Clipboard(HWND owner) : owner_(owner) {}
    bool open() override;
    bool replaceText(std::wstring_view text) override;
    void close() override;
    void wait(std::chrono::milliseconds pause) override;

private:
    HWND owner_;
};

} // namespace ww::win
