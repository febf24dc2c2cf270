#pragma once
// The control IDs of every window, by window and control name. The program names its controls with id("Form2.Text1")
// and the end-to-end test driver resolves the same names, so no test writes a number. A control array's element i
// has its first ID + i. 1 and 2 stay free: the dialog keys send them as IDOK and IDCANCEL.
#include <string_view>

namespace ww::ids {

struct NamedControl {
    std::wstring_view name;
    int id;
};
inline constexpr NamedControl kNamedControls[] = {
    {L"Form1.Label1", 100},       {L"Form2.Command1", 1000}, {L"Form2.Text1", 1100},
    {L"Form2.Label1", 1200},      {L"Form2.Command2", 1300}, {L"Form2.Command3", 1301},
    {L"Form2.Command4", 1302},    {L"Form5.Command1", 101},  {L"Form5.Command2", 102},
    {L"Form5.Command5", 105},     {L"Form5.Command6", 106},  {L"Form5.Command7", 107},
    {L"Form5.Command8", 108},     {L"Form5.Label1", 200},    {L"List1", 100}, // `Form6` and `Form7`
    {L"frmSplash.Command1", 101}, {L"frmSplash.Text1", 111}, {L"frmSplash.lblCompanyProduct", 112},
};

// The ID of "Window.Control", or of "Window.Control+N" for element N of a control array; 0 for an unknown name.
constexpr int controlId(std::wstring_view name) {
    const std::size_t plus = name.find(L'+');
    int element = 0;
    for (std::size_t i = plus == std::wstring_view::npos ? name.size() : plus + 1; i < name.size(); ++i)
        element = element * 10 + (name[i] - L'0');
    for (const NamedControl& c : kNamedControls)
        if (c.name == name.substr(0, plus)) return c.id + element;
    return 0;
}

// The same in the program's own code, where a name not in the table does not compile.
consteval int id(std::wstring_view name) {
    const int found = controlId(name);
    if (found == 0) throw "no control of that name";
    return found;
}

} // namespace ww::ids
