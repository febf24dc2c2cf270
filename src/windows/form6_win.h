#pragma once
// `Form6`: the clipboard pick list. It replaces the main window while open and brings it back when it closes.
#include "platform/win32/handles.h"
#include "shell/secondary_win.h"

#include <string>
#include <vector>

namespace ww {

class Form6 final : public SecondaryWindow {
public:
    bool open() override;

protected:
    LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void layout() override;

private:
    bool OnCreate();
    void OnSize(WPARAM kind);
    void OnSelChange();
    void OnClose();
    void OnShowProblems();

    HWND List1 = nullptr;
    win::UniqueFont font_;
    std::vector<std::wstring> lines_;
    std::vector<std::wstring> problems_;
};

} // namespace ww
