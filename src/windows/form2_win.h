#pragma once
// `Form2`: the assignment editor window. Opened from the tray menu in place of the main window, which it brings
// back when it closes.
#include "platform/win32/handles.h"
#include "platform/win32/win_timer.h"
#include "ui/secondary_win.h"
#include "windows/form2.h"

#include <array>
#include <string>
#include <vector>

namespace ww {

class Form2 final : public SecondaryWindow {
public:
    explicit Form2(WindowHost& host);

protected:
    bool fill() override;
    void opened() override;
    void requestClose() override { OnCloseRequest(CloseRequest::CloseBox); }
    void onClosing() override { timer1_.setEnabled(false); }
    LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    std::vector<ControlRow> controlTable() override;
    bool onCreate() override;
    void layout() override;

private:
    void OnCommand(int id);
    void OnKeyButton(int slot);
    void OnSpeichern();
    void OnAusdrucken();
    void OnCloseRequest(CloseRequest request);
    void OnTimer();

    void hidefields();
    void enablekeys();
    void dimwords();
    void readFields();
    void showFieldTexts();

    Form2Model model_;
    std::array<HWND, kSlotCount> command1_{};
    std::array<HWND, kSlotCount> text1_{};
    std::array<HWND, kWordCount> label1_{};
    HWND command2_ = nullptr; // "Speichern"
    HWND command3_ = nullptr; // "alles erledigt"
    HWND command4_ = nullptr; // "Tastenbelegung ausdrucken"
    win::WindowTimer timer1_{1, 500};
};

} // namespace ww
