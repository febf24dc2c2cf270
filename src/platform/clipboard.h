#pragma once
// Putting text on the clipboard, which another program may hold open for a moment: a few short tries, then give
// up and leave the clipboard as it was. The operations are an interface so the retries can run against a double.
#include <chrono>
#include <string_view>

namespace ww {

class Clipboard {
public:
    virtual ~Clipboard() = default;
    // False while another program holds the clipboard open.
    virtual bool open() = 0;
    // Only while open: empties the clipboard and puts `text` on it as Unicode text.
    virtual bool replaceText(std::wstring_view text) = 0;
    virtual void close() = 0;
    virtual void wait(std::chrono::milliseconds pause) = 0;
};

// About half a second in small steps: long enough for another program's brief hold, short enough that the window
// never seems to hang.
struct ClipboardRetry {
    int attempts = 25;
    std::chrono::milliseconds pause{20};
};

enum class CopyResult { Copied, Busy, Failed };

// Busy: the clipboard stayed held by another program and was not touched. The clipboard is never left open.
CopyResult putText(Clipboard& clipboard, std::wstring_view text, ClipboardRetry retry = {});

} // namespace ww
