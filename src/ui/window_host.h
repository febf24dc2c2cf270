#pragma once
// What a window may ask of the program that holds it. Every window gets its host at construction; none reaches the
// program in any other way.
#include "store/file_store.h"
#include "store/text_codec.h"

#include <windows.h>

namespace ww {

namespace win {
class Window;
}

class WindowHost {
public:
    virtual ~WindowHost() = default;

    // Hidden owner of the program's windows: an owned window gets no task-bar button.
    virtual HWND owner() = 0;
    // A window was created; loaded windows keep the program alive.
    virtual void loaded() = 0;
    // The window's HWND is gone; its object is released once the current message has been handled.
    virtual void destroyed(win::Window& window) = 0;
    // The window that opened takes the main window's place: the main window unloads.
    virtual void replaceMainWindow() = 0;
    // The window that closes gives the place back: the main window loads again, hidden.
    virtual void bringBackMainWindow() = 0;
    // The assignment files have new contents (the editor saved them): an open overview shows them.
    virtual void assignmentFilesChanged() = 0;
    // Opens the window of a menu command, or brings the open one to the front.
    virtual void open(unsigned command) = 0;
    // The first-start check on the main window's first timer tick: opens the first-start notice when it is due.
    virtual void checkFirstStart() = 0;

    // Where the assignment files are kept, and their text encoding.
    virtual FileStore& files() = 0;
    virtual const TextCodec& codec() = 0;
};

} // namespace ww
