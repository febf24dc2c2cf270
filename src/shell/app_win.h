#pragma once
// The running program: loads and unloads the main window, keeps count of loaded windows and ends the program
// when none is left.
#include "platform/win32/handles.h"

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

    // Loaded windows keep the program alive; the program ends when the last one unloads.
    void windowLoaded();
    void windowUnloaded();
    // Hidden owner of all our windows: an owned window gets no task-bar button.
    HWND owner();

    // The main window's HWND is gone; its object is released once the current message has been handled.
    void mainWindowDestroyed();
    void releaseRetired();

private:
    App() = default;

    std::unique_ptr<Form1> form1_;
    std::vector<std::unique_ptr<Form1>> retiredForms_;
    win::UniqueWindow owner_;
    int loaded_ = 0;
};

} // namespace ww
