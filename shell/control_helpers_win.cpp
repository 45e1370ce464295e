#include "shell/control_helpers_win.h"

std::string WindowText(HWND window)
{
    std::string text(static_cast<size_t>(GetWindowTextLengthA(window)) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

void AddComboItem(HWND combo, const std::string& text, int data)
{
    const auto at = SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    SendMessageA(combo, CB_SETITEMDATA, at, data);
}

int SelectedComboData(HWND combo, int none)
{
    const auto at = SendMessageA(combo, CB_GETCURSEL, 0, 0);
    return at == CB_ERR ? none : static_cast<int>(SendMessageA(combo, CB_GETITEMDATA, at, 0));
}

bool SelectComboData(HWND combo, int data)
{
    const int count = static_cast<int>(SendMessageA(combo, CB_GETCOUNT, 0, 0));
    int position = count > 0 ? 0 : -1;
    for (int i = 0; i < count; ++i)
        if (static_cast<int>(SendMessageA(combo, CB_GETITEMDATA, i, 0)) == data)
            position = i;
    SendMessageA(combo, CB_SETCURSEL, position, 0);
    return position >= 0 && SelectedComboData(combo, data - 1) == data;
}

void ShowControls(HWND form, std::initializer_list<int> ids, bool show)
{
    for (int id : ids)
        ShowWindow(GetDlgItem(form, id), show ? SW_SHOW : SW_HIDE);
}
