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
    void onClosing() override { Timer1.setEnabled(false); }
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
    std::array<HWND, kSlotCount> Command1{};
    std::array<HWND, kSlotCount> Text1{};
    std::array<HWND, kWordCount> Label1{};
    HWND Command2 = nullptr; // "Speichern"
    HWND Command3 = nullptr; // "alles erledigt"
    HWND Command4 = nullptr; // "Tastenbelegung ausdrucken"
    win::WindowTimer Timer1{1, 500};
};

} // namespace ww
