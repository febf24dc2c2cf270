#pragma once
// The running program: loads and unloads the main window, keeps count of loaded windows and ends the program
// when none is left.
#include "platform/win32/handles.h"
#include "shell/secondary_win.h"

#include <memory>
#include <vector>

namespace ww {

class Form1;

class App {
public:
    static App& get();

    int run(int showCommand);
    // Loads the main window unless it is loaded; every closing window that replaced it calls this.
    void bringBackMainWindow();
    // The program's own unload of the main window (exit, or a window that takes its place).
    void unloadMainWindow();
    Form1* mainWindow() const;
    // The assignment files may have new contents (the editor saved them): an open overview shows them.
    void assignmentFilesChanged();

    // Loaded windows keep the program alive; the program ends when the last one unloads.
    void windowLoaded();
    void windowUnloaded();
    // Hidden owner of all our windows: an owned window gets no task-bar button.
    HWND owner();

    // The one way to open a secondary window: creates it, or brings the open one to the front. Null if it could
    // not be created (the user has been told).
    template <typename W> W* openOrShow() {
        for (auto& w : secondaries_)
            if (auto* open = dynamic_cast<W*>(w.get()); open && open->hwnd()) {
                open->bringToFront();
                return open;
            }
        auto created = std::make_unique<W>();
        W* window = created.get();
        secondaries_.push_back(std::move(created));
        return window->open() ? window : failedToOpen(window);
    }
    // The open secondary window of that type, or null.
    template <typename W> W* find() const {
        for (auto& w : secondaries_)
            if (auto* open = dynamic_cast<W*>(w.get()); open && open->hwnd()) return open;
        return nullptr;
    }
    // The root window of a message that should get dialog keyboard handling, or null.
    HWND dialogWindowFor(HWND target) const;

    // A window's HWND is gone; its object is released once the current message has been handled.
    void mainWindowDestroyed();
    void secondaryDestroyed(SecondaryWindow* window);
    void releaseRetired();

private:
    App() = default;
    template <typename W> W* failedToOpen(W* window) {
        reportOpenFailure(window);
        return nullptr;
    }
    void reportOpenFailure(SecondaryWindow* window);
    void retireLater();

    std::unique_ptr<Form1> form1_;
    std::vector<std::unique_ptr<Form1>> retiredForms_;
    std::vector<std::unique_ptr<SecondaryWindow>> secondaries_;
    std::vector<std::unique_ptr<SecondaryWindow>> retiredSecondaries_;
    win::UniqueWindow owner_;
    int loaded_ = 0;
};

} // namespace ww
