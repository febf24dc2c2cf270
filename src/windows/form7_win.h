#pragma once
// `Form7`: the overview window. Belongs to no other window, so it outlives the main window's unloads and Exit.
#include "platform/win32/handles.h"
#include "shell/secondary_win.h"

#include <string>
#include <vector>

namespace ww {

class Form7 final : public SecondaryWindow {
public:
    bool open() override;

protected:
    LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void layout() override;

private:
    bool OnCreate();
    void OnSize(WPARAM kind);
    void OnShowProblems();

    HWND List1 = nullptr;
    win::UniqueFont font_;
    std::vector<std::wstring> problems_;
};

} // namespace ww
