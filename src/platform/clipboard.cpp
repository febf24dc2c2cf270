#include "platform/clipboard.h"

namespace ww {

CopyResult putText(Clipboard& clipboard, std::wstring_view text, ClipboardRetry retry) {
    for (int attempt = 1; !clipboard.open(); ++attempt) {
        if (attempt >= retry.attempts) return CopyResult::Busy;
        clipboard.wait(retry.pause);
    }
    const bool copied = clipboard.replaceText(text);
    clipboard.close();
    return copied ? CopyResult::Copied : CopyResult::Failed;
}

} // namespace ww
