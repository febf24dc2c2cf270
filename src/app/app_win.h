#pragma once
// The running program: holds the file store and codec, loads and unloads the main window, opens the windows of the
// menu, keeps count of loaded windows and ends the program when none is left. The one place that names every window.
#include "help/frm_splash.h"
#include "platform/win32/ansi_codec.h"
#include "platform/win32/handles.h"
#include "platform/win32/win_file_store.h"
#include "ui/secondary_win.h"
#include "ui/window_host.h"

#include <memory>
#include <vector>

namespace ww {

class Form1;

class App final : public WindowHost {
public:
    App(); // both where Form1 is complete
    ~App() override;

    int run(int showCommand);
    Form1* mainWindow() const;

    // The one way to open a secondary window: creates it, or brings the open one to the front. Null if it could
    // not be created (the user has been told).
    template <typename W> W* openOrShow() {
        if (W* open = find<W>()) {
            open->bringToFront();
            return open;
        }
        W* window = static_cast<W*>(secondaries_.emplace_back(std::make_unique<W>(*this)).get());
        return window->open() ? window : failedToOpen(window);
    }
    // The open secondary window of that type, or null.
    template <typename W> W* find() const {
        for (auto& w : secondaries_)
            if (auto* open = dynamic_cast<W*>(w.get()); open && open->hwnd()) return open;
        return nullptr;
    }
    // Window objects whose HWND was destroyed inside their own handlers go once that handler has returned.
    void releaseRetired();

    HWND owner() override;
    void loaded() override;
    void destroyed(win::Window& window) override;
    void replaceMainWindow() override;
    void bringBackMainWindow() override;
    void assignmentFilesChanged() override;
    void open(unsigned command) override;
    void checkFirstStart() override;
    FileStore& files() override { return files_; }
    const TextCodec& codec() override { return codec_; }

private:
    // The root window of a message to a secondary window, which gets dialog keyboard handling (Tab, Alt+access key,
    // the arrow keys); otherwise null.
    HWND dialogWindowFor(HWND target) const;
    std::nullptr_t failedToOpen(SecondaryWindow* window);
    void retire(win::Window* window);

    win::UniqueWindow owner_; // destroyed last: it owns the other windows
    win::Win32FileStore files_;
    win::AnsiCodec codec_;
    FirstStart firstStart_; // the whole run: the notice comes at most once
    std::unique_ptr<Form1> form1_;
    std::vector<std::unique_ptr<SecondaryWindow>> secondaries_;
    std::vector<std::unique_ptr<win::Window>> retired_;
    int loaded_ = 0;
};

} // namespace ww
